// The customer window: one customer (an RV12 row) at a time in boxes on three tab pages, a
// list of customers on the left that moves the current record, a sort choice, a category
// view and a quick-find box above the list, and the action buttons below.  One instance.
#pragma once

#include "customers/CustomFond.h"
#include "platform/db/Db.h"
#include "records/EntryRules.h"
#include "records/FieldTable.h"
#include "records/RecordList.h"
#include "records/RecordMode.h"
#include "records/RecordWindow.h"

#include <array>

class AuditStrip;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QKeyEvent;
class CustomerDetailGrids;

// Boxes 0 to 23 in box order.
const std::vector<RecordField>& CustomerFields();

class CustomFrom : public RecordWindowOf<CustomFrom> {
public:
    // The action buttons Command2(0..10), by what they do: Command2[kSave], Command2_Click(kSave).
    enum Button : int {
        kFind = 0,       // 查詢
        kAdd = 1,        // 新增
        kChange = 2,     // 修改
        kCopy = 3,       // 複製 (hidden)
        kDelete = 4,     // 刪除
        kSave = 5,       // 存檔
        kCancel = 6,     // 放棄
        kPrint = 7,      // 列印 (hidden)
        kClose = 8,      // 離開
        kReload = 9,     // 重整
        kDeleteRow = 10, // 刪除一行 (a contact or delivery row)
    };
    // Loads the window: captions, the sort setting, the customer list.  The title picture is
    // the main window's.
    explicit CustomFrom(QWidget* parent = nullptr, const QPixmap& titlePicture = QPixmap());
    ~CustomFrom() override;

    static constexpr int kBoxes = 24;

    // ---- Controls (and the kit's Picture1, Image1, Picture4) ------------------------------
    QComboBox* Combo1 = nullptr;  // sort choice "簡稱" / "代號"
    std::array<QPushButton*, 3> Command1{};  // 0 category toggle, 1 "排序", 2 "速查"
    QComboBox* Combo3 = nullptr;             // category list
    std::array<QComboBox*, 2> DataCombo1{};  // 0 quick find, 1 salesperson list (floating)
    std::array<QTableView*, 1> DataGrid1{};  // the customer list
    QRadioButton* Option1 = nullptr;         // "顯示所有資料" (hidden)
    QTabBar* TabStrip2 = nullptr;            // "bascdata", "man", "devaddres"
    QWidget* Picture5 = nullptr;             // strip between the tabs and the pages
    std::array<QWidget*, 4> Picture3{};      // pages 1-3
    QPushButton* MailCom = nullptr;          // on Picture5: mail the current contact
    QPushButton* AddressCom = nullptr;       // on Picture5: the customer's own address as a delivery row
    CustomerDetailGrids* Grids = nullptr;    // ManGrid on page 2, DeliveGrid on page 3
    std::vector<QWidget*> Text1;             // record boxes (QLineEdit; box 16 QPlainTextEdit)
    std::vector<QLabel*> Label3;
    std::vector<QPushButton*> Command2;       // action buttons 0..10
    std::array<QPushButton*, 2> Command5{};   // 1: open the web site
    AuditStrip* Audit = nullptr;              // audit strip
    QWidget* Picture2 = nullptr;              // the same
    std::array<QLabel*, 4> Label1{};          // "建檔者:" ...
    std::array<QLabel*, 4> Label2{};          // their values
    QComboBox* Combo2 = nullptr;              // floating pick list
    QLineEdit* Text6 = nullptr;               // hidden: the find window's condition

    // Box n as a line edit (nullptr for the remarks box 16), the remarks box, any box's text.
    QLineEdit* Box(int n) const;
    QPlainTextEdit* Remarks() const;
    QString BoxText(int n) const;
    void SetBoxText(int n, const QString& text);

    // ---- State -----------------------------------------------------------------------------
    RecordList List;                           // the main recordset and the list's clone
    db::Recordset& CustomerRs = List.Rs;       // every bound box follows its current row
    db::Recordset& CustomerListRs = List.ListRs;  // clone behind the list
    bool GridsReady = false;
    bool keepSavedGrids_ = false;
    ModeText EditMode;
    bool FieldsChanged = false;
    bool NewRecordFlag = false;
    QString NotesText;
    QString SaveNote;  // the status line after a save ("" = empty)
    FindCondition FondCondition;   // the condition Text6 shows, with its values apart

    // ---- Procedures ------------------------------------------------------------------------
    void LoadLanguage();
    void SetGrid();
    void LinkDataGrid();
    void LinkMainRs();
    // Holds a condition handed over (FondCondition, its text in Text6) and re-reads the list
    // with it.
    void SetFindCondition(const FindCondition& condition);
    // Quick find: moves the list to the first customer whose code, else short name, begins
    // with the quick-find text.
    void TessarineCustomData();
    // Puts a text into the quick-find box, which finds the customer.
    void SetQuickFindText(const QString& text);
    // Completeness notes into the help panel.
    void 報告();
    // Unbound fields of the current customer into the window, and back into the row (the
    // audit strip writes its own).
    void RS2TEXT();
    void Text2Rs();
    // The contact persons the current customer has (0 before the contact grid is loaded).
    int ContactRowCount() const;
    // Loads the detail grids of a customer code.
    void ReadDeliveDate(const QString& code);
    void ReadMinDate(const QString& code);
    // Reads both grids for a customer code, except while a save ends (keepSavedGrids_): the
    // save shows them itself once the list is back on the saved customer.
    void ShowGrids(const QString& code);
    // True when the window stands on a customer.
    bool HasCurrentCustomer() const;

    // ---- Event handlers --------------------------------------------------------------------
    void DataGrid1_RowColChange();
    void Command1_Click(int index);
    void Combo1_Click();
    void Combo3_Click();
    void TabStrip2_Click();
    void Command5_Click(int index);
    void Command2_Click(int index);
    void Text1_Change(int index);
    void Form_Activate() override;

    // ---- Record cycle, save and delete, field entry (CustomFromRecord.cpp) ----------------
    void AddNew();
    void Modification();
    void CancleModif();
    // The current customer and its detail rows read again from the database before a change.
    void ReReadCustomer();
    // The button bar and the list side for browsing or editing; the mode runs it.
    void CommandSty(bool editing);
    void EditEnabled(bool editing);
    void 記錄初值();
    void SaveFile();
    bool 存檔檢查基本資料();  // true = may save
    bool SaveCheck_Custom();   // true = refuse
    void DeleteDateItem();
    void Text1_GotFocus(int index);
    void Text1_LostFocus(int index);
    // Keys of a record box: F3/F4/F5, arrows, Enter, the numeric boxes.  True = consumed.
    bool Text1_Key(int index, QKeyEvent* key);

protected:
    void Form_Resize() override;
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(const QPixmap& titlePicture);
    void formLoad();

    RecordBoxes* boxes_ = nullptr;
    QuickFindBox* quickFind_ = nullptr;
    bool loading_ = true;

    // Record cycle (CustomFromRecord.cpp).
    void setupRecordCycle();
    bool recordEvent(QObject* watched, QEvent* event);
    // 3314 and 3021 have their own messages, any other error asks Abort, Retry or Ignore.
    ButtonErrorPolicy ButtonErrors() override;
    void returnFocus(int box);
    void afterSave(bool added, const QString& code, db::Bookmark mark);
    QStringList salesNames_;  // the salesperson names DataCombo1(1) was last filled with
    db::DataVersion salesVersion_;  // the file as it stood when they were read
    PickList* picks_ = nullptr;  // Combo2 over the boxes with a list
    PickList* sales_ = nullptr;  // DataCombo1(1) over the salesperson box
    LeaveGuard leave_;
};
