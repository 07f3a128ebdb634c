// The employee window: the employees (RV17A) grouped by the departments (RV17).  On the left a
// department picker, a sort choice, "包含離職" and the list; on the right the current employee in
// bound boxes on three tab pages, with a photo; the button bar below.  One instance.
#pragma once

#include "platform/db/Db.h"
#include "records/DateBox.h"
#include "records/EntryRules.h"
#include "records/RecordList.h"
#include "records/RecordMode.h"
#include "records/RecordWindow.h"
#include "staff/PersonnelRules.h"

#include <array>
#include <optional>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class RecordBoxes;

namespace dbmodel {
class FieldBinding;
}

class PersonnelFrm : public RecordWindowOf<PersonnelFrm> {
public:
    explicit PersonnelFrm(QWidget* parent = nullptr, const QPixmap& titlePicture = QPixmap());
    ~PersonnelFrm() override;

    // ---- Controls (and the kit's Picture1, Image1, Picture4) --------------------------------
    std::array<QComboBox*, 3> DataCombo1{};    // 0 department, 1 employee find, 2 floating department picker
    QComboBox* Combo2 = nullptr;               // sort "姓名" / "編號"
    QCheckBox* Check2 = nullptr;               // 包含離職
    std::array<QPushButton*, 8> Command3{};    // 5 photo "...", 7 grouping
    QTableView* DataGrid1 = nullptr;
    QTabBar* TabStrip1 = nullptr;
    std::array<QWidget*, 5> Picture2{};        // 0 bottom strip, 1-4 pages
    std::array<QWidget*, 20> Text1{};          // QLineEdit; 19 QPlainTextEdit
    std::array<QWidget*, 11> Text2{};          // QLineEdit; 10 QPlainTextEdit
    std::array<QLineEdit*, 7> Text3{};
    std::vector<QLabel*> Labels;               // captions of the boxes
    QLineEdit* CreatDatetext = nullptr;
    QLabel* PartnameLab = nullptr;
    QLabel* Picture3 = nullptr;                // photo
    QCheckBox* Check1 = nullptr;               // chk0
    QComboBox* Combo1 = nullptr;               // floating pick list
    MaskedDateBox* DateMaskTXT = nullptr;
    std::array<QPushButton*, 8> Command2{};    // button bar, by BarButton
    // The buttons of the bar (Command2's indexes).
    enum BarButton { kRefresh = 0, kNew, kChange, kSpare, kDelete, kSave, kCancel, kExit };

    // ---- State -----------------------------------------------------------------------------
    ModeText EditMode;          // AddNew, Change or Browse
    db::Recordset DepartRs;
    RecordList List;                             // the employee list and the grid's clone
    db::Recordset& WorkmanRs = List.Rs;
    db::Recordset& EmployeeGridClone = List.ListRs;
    QString ReportText;
    bool DataChanged = false;
    bool HintsOff = false;
    BoxRef TargetBox{BoxArray::Text1, 0};
    BoxRef NextBox{BoxArray::Text1, 1};

    QWidget* Box(BoxRef box) const;
    QString BoxText(BoxRef box) const;
    void SetBoxText(BoxRef box, const QString& text);
    QString Text(int text1Index) const { return BoxText({BoxArray::Text1, text1Index}); }

    // ---- List (Part of the window's life) ------------------------------------------------------
    void LinkDataGWorkMan();
    void LinkDbgridWkmRs();
    // 修改 and 刪除 are offered while the list shows employees.
    void EditButtonsFollowList();
    void LoadLanguage();
    void Form_Activate() override;
    void TabStrip1_Click();
    void Command3_Click(int index);

    // ---- Finds and the department picker -----------------------------------------------------
    void Brisklookworkman(const QString& text);
    void BRisklookworkmanType(const QString& text);
    void FondworkmanType();
    QString 取得部門名稱(const QString& code);

    // ---- Record cycle ------------------------------------------------------------------------
    void Command2_Click(int index);
    void AddNew();
    void 修改();
    // The button bar for browsing or editing; the mode runs it.
    void CommandSty(bool editing);
    // The list side usable while browsing only (the boxes follow the mode).
    void EDITTrueORFalse(bool browse);
    void FileSave();
    void SaveButtonStyle();
    void 報告();

protected:
    void Form_Resize() override;
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(const QPixmap& titlePicture);
    void buildPages();
    void formLoad();
    void showPhoto();
    void selectTab(int page);
    // The bar's error handling: 3021 "無紀錄", 3260 the description and "請稍後再試", any other
    // the description and its number with Abort (ends the program), Retry, Ignore.
    ButtonErrorPolicy ButtonErrors() override;
    void deleteRow();
    void cancel();
    // After a save: the list on the saved employee (false when the list could not be read:
    // it catches up at its next reading), then the window browsing, or adding the next.
    bool showSaved(bool added, const QString& number);
    void endSave(bool added, bool placed);

    // Field entry (PersonnelFrmEntry.cpp).
    void boxChanged(BoxRef box);
    void boxGotFocus(BoxRef box);
    void boxLostFocus(BoxRef box);
    bool boxKey(BoxRef box, QKeyEvent* key);
    void boxHover(BoxRef box);
    void focusBox(BoxRef box);
    // The kit's focus colour on a box.
    void showFocus(BoxRef box, bool focused);
    // Lays the pick list Combo1 over a box with its items; `firstWhenEmpty` puts the first
    // item into an empty box (the job grades).
    void LocatCombo1(BoxRef box, const QStringList& items, bool firstWhenEmpty = false);
    void DataKeyin(BoxRef box);
    void maskLeft();
    void maskEnter();
    bool editing() const { return !EditMode.isEmpty(); }
    std::optional<BoxRef> boxOf(QObject* widget) const;

    std::array<RecordBoxes*, 3> boxes_{};  // the field tables of Text1, Text2, Text3
    bool mouseOnGrid_ = false;  // a mouse button went down on the list
    bool built_ = false;
    bool loading_ = true;
    PickList* pickList_ = nullptr;  // Combo1(0) over the grade, gender and background boxes
    PickList* picker_ = nullptr;    // DataCombo1(2) over the department box
    LeaveGuard guard_;              // a check is putting the focus back
    bool closing_ = false;
    bool maskCovers_ = false;  // the masked date box is laid over TargetBox
    BoxRef reportedBox_{BoxArray::Text3, -1};  // the date box whose stored non-date was reported
};
