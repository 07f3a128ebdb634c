// The window of a code/name table (vendor categories, departments): a list on the left, the
// current row in bound boxes on the right, and a button bar to add, change, delete and save.
// Saving an add goes straight on to the next add with the next code; only 放棄 leaves add mode.
#pragma once

#include "codetables/CodeTable.h"
#include "platform/db/Db.h"
#include "records/RecordList.h"
#include "records/RecordMode.h"
#include "records/RecordWindow.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace dbmodel {
class FieldBinding;
}

class CodeTableFrm : public RecordWindow {
public:
    CodeTableFrm(const CodeTableDef& def, const QPixmap& titlePicture = QPixmap(), QWidget* parent = nullptr);
    ~CodeTableFrm() override;

    const CodeTableDef& Def() const { return def_; }

    // ---- Controls --------------------------------------------------------------------------
    QLabel* Image1 = nullptr;
    std::vector<QLabel*> Label1;           // box captions
    std::vector<QLineEdit*> Text1;         // bound boxes: code, name, ...
    QComboBox* Combo1 = nullptr;           // sort choice (only when the table sorts)
    QLineEdit* Text2 = nullptr;            // type-ahead box (only when the table sorts)
    QPushButton* Command2 = nullptr;       // type-ahead button "..."
    QTableView* DataGrid1 = nullptr;
    std::array<QPushButton*, 7> Command1{};  // by index; nullptr where the window has none

    // ---- State -----------------------------------------------------------------------------
    RecordList List;                       // the table's rows and the list's clone
    db::Recordset& TableRs = List.Rs;      // the boxes follow its current row
    db::Recordset& GridRs = List.ListRs;   // clone behind the list
    ModeText EditMode;          // AddNew, Change or Browse
    bool IsEditing = false;
    bool DataChanged = false;
    db::Bookmark SavedBookmark = -1;

    // The button of a role (nullptr when the window has none).
    QPushButton* Button(CodeTableButton role) const;
    // Presses a button: what a click does.
    void Click(CodeTableButton role);
    // Opens the window's add mode when it is browsing (the vendor and employee windows do this
    // when no category or department exists yet).
    void StartAdd();

    // ---- Procedures ------------------------------------------------------------------------
    void 連線資料庫();         // (re)opens the list with the sort choice
    // The buttons for browsing or editing; the mode runs it.
    void CommandSty(bool editing);
    bool SaveCheck();           // true = refuse (message shown)
    void TypeAhead();           // the type-ahead box's find
    void Form_Activate() override;

protected:
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build(const QPixmap& titlePicture);
    void rebindGrid();
    void syncGridTo(db::Bookmark mark);
    void setBoxesEditable();
    void updateSaveButton();
    void focusBox(int i);
    void colour(QLineEdit* box, bool editing);
    // A click's steps: no current record ends the click quietly; any other data error asks
    // Abort (ends the program), Retry (the step again) or Ignore (the next step).
    ButtonErrorPolicy ButtonErrors() override;
    bool codeIsDuplicate();
    void addNew();
    void change();
    void deleteRow();
    void refresh();
    void save();
    void cancel();
    void codeLeft();

    const CodeTableDef& def_;
    dbmodel::FieldBinding* binding_ = nullptr;
    bool mouseOnGrid_ = false;  // a mouse button went down on the list
    bool codeLocked_ = false;   // change mode: the code may not change
    bool checking_ = false;     // a leave check is showing its message
};

// The vendor-category window (one instance), shown inside the main window and brought to the
// front; with addMode its add button is pressed (when it is browsing), as the vendor window does
// when no category exists yet.  A window made here shows `titlePicture`, the main window's.
CodeTableFrm* OpenDevrItemFrm(bool addMode = false, const QPixmap& titlePicture = QPixmap());
// The department window in the same way (the employee window asks for it when no department exists).
CodeTableFrm* OpenDipartmant1FRM(bool addMode = false, const QPixmap& titlePicture = QPixmap());
// The open instances (empty while closed).
QPointer<CodeTableFrm>& DevrItemFrm();
QPointer<CodeTableFrm>& Dipartmant1FRM();
