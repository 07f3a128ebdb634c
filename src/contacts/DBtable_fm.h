// The member window: its boxes and list columns are made from the columns of the table it edits
// (the main window names it in gTableSetName), one member at a time in the boxes of the field
// pane, the members in the list of the grid pane with a filter, a sort column and a quick find
// above it, the record's audit values in the status bar and the button bar below.  Editing goes
// through the boxes and 存檔; 查詢 turns the boxes into a query by form.
#pragma once

#include "contacts/MemberLayout.h"
#include "platform/db/Db.h"
#include "records/EntryRules.h"
#include "records/RecordList.h"
#include "records/RecordMode.h"
#include "records/RecordWindow.h"

#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class AuditStrip;
class QComboBox;
class QInputMethodEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class RecordBoxes;

class DBtable_fm : public RecordWindow {
public:
    explicit DBtable_fm(QWidget* parent = nullptr, const QPixmap& titlePicture = QPixmap());
    ~DBtable_fm() override;

    // Loaded() is false when the window could not be built (no table name, no such table): it
    // is then to be deleted unshown.

    // Called when the window is unloaded (closed, by its buttons or its frame's close box).
    std::function<void()> Unloaded;

    // ---- Controls ------------------------------------------------------------------------
    QWidget* TopPicture = nullptr;
    QLabel* Image1 = nullptr;
    QRadioButton* ChangFlagOpt = nullptr;         // "更改旗標": a box changed while editing
    QWidget* Picture1 = nullptr;                  // field pane
    std::vector<QLabel*> Fields_name;             // 0..LastFieldIndex
    std::vector<QLineEdit*> Fields_Text;          // 0..LastFieldIndex
    QLabel* Label4 = nullptr;                     // "備註:"
    QPlainTextEdit* MemoFieldTxt = nullptr;
    std::array<QPushButton*, 1> Command4{};       // mail button beside 電子信箱
    QComboBox* Combo2 = nullptr;                  // pick list over 類別 and 性別
    QWidget* Picture4 = nullptr;                  // grid pane
    std::array<QLabel*, 4> Label2{};              // 排序欄位, 過濾欄位, 快速查詢, 過濾條件
    std::array<QComboBox*, 2> Combo1{};           // 0 filter column, 1 sort column
    QComboBox* Combo3 = nullptr;                  // filter value
    std::array<QPushButton*, 2> Command3{};       // 0 apply the filter, 1 quick find
    std::array<QLineEdit*, 2> Text1{};            // 1 quick-find text
    QTableView* DataGrid1 = nullptr;
    AuditStrip* Picture3 = nullptr;               // status bar
    std::array<QLabel*, 2> Label3{};              // "狀態:", the state text
    std::array<QLabel*, 4> CreatTxt{};            // 建檔日期, 建檔者, 修改日期, 修改者
    QWidget* Picture2 = nullptr;                  // button bar
    std::array<QPushButton*, 15> Command2{};  // by BarButton
    // The buttons of the bar (Command2's indexes).
    enum BarButton {
        kNew = 0, kChange, kDelete, kFirst, kPrevious, kNext, kLast, kClose,
        kSave, kCancel, kEnterQuery, kRunQuery, kLeaveQuery, kPrint, kRelate
    };
    QPushButton* Command1 = nullptr;              // "資料重整"

    // ---- State -----------------------------------------------------------------------------
    QString TableName;
    std::vector<QString> FieldNames;
    std::vector<int> FieldTypes;
    int LastFieldIndex = -1;
    ModeText EditMode;     // Browse, AddNew, Edit or Find
    bool QueryMode = false;
    QWidget* PickTarget = nullptr;
    QWidget* PickNextBox = nullptr;
    RecordList List;       // MainRs (List.Rs) and GridRs (List.ListRs)
    db::Recordset& MainRs() { return List.Rs; }
    db::Recordset& GridRs() { return List.ListRs; }
    const MemberFieldLayout& Layout() const { return layout_; }

    // ---- Procedures ------------------------------------------------------------------------
    int GetfieldIndex(const QString& name) const;
    void ReConnObj();
    void 讀入查詢清單(const QString& field, QComboBox* combo);
    void 顯示訊息();
    void AddNew();
    void FileSave();
    // The button bar and the list side for browsing or editing; the mode runs it (the query
    // mode keeps its own bar).
    void CommandSty(bool editing);
    void SaveChecked(bool& ok);

    // ---- Events ------------------------------------------------------------------------------
    void Command1_Click();
    void Command2_Click(int index);
    void Command3_Click(int index);
    void Command4_Click(int index);
    void Combo1_Click(int index);
    void Combo3_Change();

protected:
    void Form_Resize() override;
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(const QPixmap& titlePicture);
    void formLoad();
    bool LOAD_SET();
    void GetFields(const QString& table, db::Connection& conn);
    void buildFields();
    void SetGrid();
    void showAudit();
    void enableList(bool enabled);
    void bindBoxes(bool bound);
    void startEdit();
    void cancel();
    void deleteRow();
    void move(int index);
    void enterQuery();
    void runQuery();
    void leaveQuery();
    void quickFind();
    // Every data error of a button is offered Abort, Retry and Ignore with its Chinese text.
    ButtonErrorPolicy ButtonErrors() override;

    // Box input (DBtable_fmInput.cpp).
    bool boxEvent(QObject* watched, QEvent* event);
    bool refuseInputText(int index, const QInputMethodEvent* im);
    void Fields_Text_Change(int index);
    void Fields_Text_GotFocus(int index);
    void Fields_Text_LostFocus(int index);
    bool Fields_Text_KeyPress(int index, QKeyEvent* key);
    void Fields_Text_DblClick(int index);
    void Fields_Text_MouseMove(int index);
    bool Memo_KeyPress(QKeyEvent* key);

    MemberFieldLayout layout_;
    RecordBoxes* boxes_ = nullptr;
    PickList* pick_ = nullptr;
    LeaveGuard guard_;
    bool loading_ = true;
};
