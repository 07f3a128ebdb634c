// The personal-contact window: one contact (an RV18A row) at a time in boxes on two tab pages,
// the list of contacts on the left with a category view, a sort choice and a quick-find box,
// the photo of the contact and the button bar below.  One instance.
#pragma once

#include "platform/db/Db.h"
#include "records/DateBox.h"
#include "records/EntryRules.h"
#include "records/FindDialog.h"
#include "records/RecordList.h"
#include "records/RecordMode.h"
#include "records/RecordWindow.h"

#include <array>

class QLineEdit;
class QPlainTextEdit;
class QKeyEvent;
class OtherFindFrm;
class QuickFindBox;
class RecordBoxes;

class OtherFrm : public RecordWindowOf<OtherFrm> {
public:
    explicit OtherFrm(QWidget* parent = nullptr, const QPixmap& titlePicture = QPixmap());
    ~OtherFrm() override;

    // ---- Controls (and the kit's Picture1, Image1, Picture4) ------------------------------
    std::array<QPushButton*, 6> Command3{};  // 1 picture, 3 category view, 4 e-mail, 5 web page
    QComboBox* Combo2 = nullptr;             // categories of the category view
    std::array<QComboBox*, 2> Combo1{};      // 0 floating pick list, 1 sort choice
    std::array<QLabel*, 2> PanelLabel{};     // "排序:", "速查:"
    std::array<QComboBox*, 2> DataCombo2{};  // 1 quick find
    std::array<QTableView*, 2> DataGrid1{};  // 1 the contact list
    QTabBar* TabStrip1 = nullptr;            // "Basic", "Addres"
    std::array<QWidget*, 3> Frame1{};        // pages 1 and 2
    std::vector<QWidget*> Text1;             // QLineEdit; box 18 QPlainTextEdit
    std::vector<QLabel*> Label1;
    QLabel* Picture3 = nullptr;              // the photo
    MaskedDateBox* DateMaskTXT = nullptr;    // "____/__/__" over the birthday
    std::array<QPushButton*, 8> Command2{};  // button bar, by BarButton
    // The buttons of the bar (Command2's indexes).
    enum BarButton { kFind = 0, kNew, kChange, kExit, kDelete, kSave, kCancel, kRefresh };

    QLineEdit* Box(int n) const;
    QPlainTextEdit* Remarks() const;
    QString BoxText(int n) const;
    void SetBoxText(int n, const QString& text);

    // ---- State -----------------------------------------------------------------------------
    ModeText EditMode;           // AddNew, Change or Browse; the boxes take typing only while editing
    bool CanEdit = false;
    bool DataChanged = false;
    bool GridRowSync = false;
    int CurrentBoxIndex = -1;
    QWidget* CurrentBox = nullptr;
    QWidget* PickTarget = nullptr;
    QWidget* PickNext = nullptr;
    db::Bookmark SavedBookmark = 0;
    QString ReportText;
    RecordList List;             // MainRs (List.Rs) and its clone ListRs (List.ListRs) behind the list
    db::Recordset& MainRs() { return List.Rs; }
    db::Recordset& ListRs() { return List.ListRs; }

    // ---- Procedures ------------------------------------------------------------------------
    void SetGrid();
    void 載入個人通訊分類(QComboBox* combo);
    void LinkDatag2();
    void LinkDataGo1();
    void TessarineOtherDate();
    // Re-reads the list with the find window's condition (its values bound).
    void FondSub(const FindCondition& condition);
    void AddNew();
    void Modification();
    void FileSave();
    void 刪除();
    void 放棄();
    void 報告();
    // The button bar and what follows it for browsing or editing; the mode runs it.
    void CommandSty(bool editing);
    void SaveCommandCheck();
    // The find window the next 查詢 shows (created hidden when none is loaded).
    OtherFindFrm* FindWindow();

    // ---- Events ------------------------------------------------------------------------------
    void Command2_Click(int index);
    void Command3_Click(int index);
    void Text1_Change(int index);
    void Form_Activate() override;

protected:
    void Form_Resize() override;
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(const QPixmap& titlePicture);
    void formLoad();
    void selectTab(int page);
    void loadPhoto();
    void showPhoto(const QString& path);
    bool SaveCheck_OTHER();  // the number and the widths; true = refuse (the reason shown)
    void showSaved(const QString& number);

    // Box input (OtherFrmInput.cpp).
    void Text1_GotFocus(int index);
    void Text1_LostFocus(int index);
    bool Text1_Key(int index, QKeyEvent* key);
    void Text1_DblClick(int index);
    void Text1_MouseMove(int index);
    void DateMask_GotFocus();
    bool DateMask_LostFocus();
    void returnFocus(QWidget* box);
    bool inputEvent(QObject* watched, QEvent* event);
    // Every data error of a button is reported in the window's own message (showError).
    ButtonErrorPolicy ButtonErrors() override;
    // failureText: what a save did not do, said last.
    void showError(long number, const QString& text, const QString& failureText = {});

    RecordBoxes* boxes_ = nullptr;
    QuickFindBox* quickFind_ = nullptr;
    QPointer<OtherFindFrm> find_;
    PickList* pick_ = nullptr;  // Combo1(0) over the category and sex boxes
    LeaveGuard guard_;
    bool loading_ = true;
};
