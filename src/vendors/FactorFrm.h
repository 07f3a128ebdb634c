// The vendor window: one vendor (an RV11 row) at a time in boxes above and on three tab pages
// (basic data, the twelve trade flags, the contact persons), beside a list of vendors that
// shows one category or all of them, with a sort choice, a filter for vendors no longer traded
// with and two type-ahead boxes.  Built from the record-window kit; one instance.
#pragma once

#include "platform/db/Db.h"
#include "records/EntryRules.h"
#include "records/FieldTable.h"
#include "records/FindDialog.h"
#include "records/RecordExtras.h"
#include "records/RecordList.h"
#include "records/RecordMode.h"
#include "records/RecordWindow.h"
#include "vendors/VendorList.h"

#include <array>

class QCheckBox;
class QKeyEvent;
class QLineEdit;
class QRadioButton;
class DetailGrid;

class FactorFrm : public RecordWindowOf<FactorFrm> {
public:
    // The buttons of the bar Command2(0..6, 10), by what they do: Command2[kSave],
    // Command2_Click(kSave).
    enum Button : int {
        kFind = 0,       // 查詢
        kAdd = 1,        // 新增
        kChange = 2,     // 修改
        kClose = 3,      // 離開
        kDelete = 4,     // 刪除
        kSave = 5,       // 存檔
        kCancel = 6,     // 放棄
        kDeleteRow = 10, // 刪除一行 (a contact row)
    };
    explicit FactorFrm(QWidget* parent = nullptr, const QPixmap& titlePicture = QPixmap());
    ~FactorFrm() override;

    static constexpr int kBoxes = 25;

    // ---- Controls (and the kit's Picture1, Image1, Picture4) ------------------------------
    std::array<QLabel*, 2> Label5{};         // "排序:", "速查:"
    QComboBox* Combo1 = nullptr;             // sort choice
    QCheckBox* Check1 = nullptr;             // "不含無往來"
    std::array<QPushButton*, 6> Command3{};  // 0 refresh, 1 view switch, 4 home page, 5 e-mail
    std::array<QComboBox*, 2> DataCombo2{};  // 0 category type-ahead, 1 vendor type-ahead
    std::array<QTableView*, 2> DataGrid1{};  // 1: the vendor list
    QRadioButton* Option1 = nullptr;         // "查詢狀態"
    QTabBar* TabStrip1 = nullptr;            // "BasicData", "次類別", "聯絡人"
    QWidget* Picture5 = nullptr;             // record header above the pages
    std::array<QWidget*, 4> Picture3{};      // pages 1-3
    std::vector<QWidget*> Text1;             // record boxes 0-24 (box 19 multi-line)
    std::vector<QLabel*> Label4;             // their labels
    std::array<QCheckBox*, 12> Check2{};     // trade flags
    std::array<QPushButton*, 11> Command2{}; // button bar (0-6, 10)
    AuditStrip* Picture2 = nullptr;          // audit strip: Label1 captions, Label2 values
    std::array<QLabel*, 4> Label1{};         // "建檔者:" ...
    std::array<QLabel*, 4> Label2{};         // their values
    QComboBox* DataCombo1 = nullptr;         // category picker over box 0
    QComboBox* Combo2 = nullptr;             // status pick list over box 16
    QComboBox* Combo3 = nullptr;             // pick list shared by boxes 20-23
    QLineEdit* FactoryFondText = nullptr;    // hidden: the find window's condition
    DetailGrid* ManGrid = nullptr;           // contact persons on page 3

    QString BoxText(int n) const;
    void SetBoxText(int n, const QString& text);

    // ---- State -----------------------------------------------------------------------------
    RecordList List;                 // FactoryRs (List.Rs) and the list's clone FactoryGridRs (List.ListRs)
    db::Recordset& FactoryRs() { return List.Rs; }
    db::Recordset& FactoryGridRs() { return List.ListRs; }
    db::Recordset FactoryTypeRs;     // RV1: its current row is the category of the classified view
    ModeText EditMode;
    bool DataChanged = false;
    bool ListSyncArmed = true;
    bool IsEditing = false;
    QString ReportText;
    QString CurrentTypeCode;
    FindCondition FondCondition;       // the condition FactoryFondText shows, with its values apart
    PickList* CategoryList = nullptr;   // DataCombo1 over box 0
    PickList* StatusList = nullptr;     // Combo2 over box 16
    PickList* SharedList = nullptr;     // Combo3 over boxes 20-23

    // ---- List and find (FactorFrm.cpp) -----------------------------------------------------
    void LoadLanguage();
    void LinkGridData1(const QString& categoryCode);
    void LineDataGridMain();
    // Holds a condition handed over (FondCondition, its text in FactoryFondText) and re-reads
    // the list with it.
    void SetFindCondition(const FindCondition& condition);
    // The category code of the current view: the current category in "分類顯示", else "".
    QString ViewCategoryCode() const;
    // The code of the current category (the current row of FactoryTypeRs), whatever the view.
    QString CurrentCategoryCode() const;
    bool HasCurrentVendor() const;
    // The record side follows FactoryRs: audit labels, contact persons, checklist.
    void ShowRecordSide();
    void ReadMinDate(const QString& vendorNumber);
    void 報告();

    // Categories, view, type-ahead, web and mail.
    void 開啟廠商類別();
    QString 取得廠商類別名稱(const QString& code);
    void 分類狀況();
    void Command3_Click(int index);
    void Brisklookfactorytype();
    void BrisklookOtherDate();
    void FontFactoryType();

    // Event handlers.
    void DataGrid1_RowColChange();
    void TabStrip1_Click();
    void Combo1_Click();
    void Check1_Click();
    void Check2_Click(int index);
    void Form_Activate() override;

    // ---- Record cycle, save, field entry (FactorFrmRecord.cpp) ------------------------------
    void Command2_Click(int index);
    // The button bar and what follows it for browsing or editing; the mode runs it.
    void CommandSty(bool editing);
    void CommandEnable(bool enabled);
    void AddNew();
    void 修改();
    void CancelEdit();
    void 刪除();
    void FileSave();
    bool CheckSaveFACTOR();  // the number and the widths; true = refuse
    void Text1_Change(int index);
    void Text1_GotFocus(int index);
    void Text1_LostFocus(int index);
    // Keys of a record box; true = the key is consumed.
    bool Text1_Key(int index, QKeyEvent* key);
    // The category picker over box 0 is left (Enter, Tab, a click elsewhere, a save while it is
    // open): box 0 and box 9 take the category it names, and box 1 a number of that category.
    void DataCombo1_LostFocus();

protected:
    void Form_Resize() override;
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(const QPixmap& titlePicture);
    void buildRecord();
    void formLoad();
    void bindRecord();
    void setViewColour();
    void fillCategoryPickers();
    bool recordEvent(QObject* watched, QEvent* event);
    void saveButtonRule();
    // After a save: the list on the saved vendor, then the window back in browse mode.
    void showSaved(bool added, const QString& number);
    void endEdit();
    ButtonErrorPolicy ButtonErrors() override;

    RecordBoxes* boxes_ = nullptr;
    QuickFindBox* vendorFind_ = nullptr;
    int shownTab_ = -1;
    bool loading_ = true;
    bool settingCategoryText_ = false;
    LeaveGuard guard_;  // a leave check is putting the focus back
};
