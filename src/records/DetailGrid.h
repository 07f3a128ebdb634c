// A detail grid of a record window: the child rows of the current record (a customer's
// contact persons, a vendor's contact persons, a customer's delivery addresses) in a
// flex grid, with a text box floated over one cell for typing and a row array the save reads.
//
// A window describes each grid with a DetailGridDef (a table of column descriptors and a few
// rules) and creates one DetailGrid for each of them on its tab page:
//
//     static const DetailGridDef kContacts = {
//         "ManGrid", "ManGridTxt", "廠商聯絡人", "廠商編號", "總序",
//         {{"項次", 500, 0, "項次"}, {"聯絡人", 1300, 16, "聯絡人"}, ... {"備註", 4000, 0, "備註"}},
//         /*emailColumn*/ 7, DetailGridDef::kKeepBlankSecondRow | DetailGridDef::kLimitsOnlyWithRows};
//     contacts_ = new DetailGrid(kContacts, Picture3[3], this);
//     contacts_->SetChangeHook([this] { DataChanged = true; Command2[5]->setEnabled(...); });
//     contacts_->SetDeleteRowButton(Command2[10]);
//     ...  contacts_->Load(vendorNumber);            // on every change of the current record
//     ...  contacts_->SetEditMode(EditMode);         // ModeText::changed does this
//     ...  DetailStatements(kContacts, number, contacts_->RowSet())   // inside the save
//
// The rules that need no widget (row array, removed keys, spare row, Enter walk, row delete,
// the save's statements) are plain functions over the grid's definition, so tests call them directly.
#pragma once

#include "records/RecordPart.h"
#include "records/RecordSave.h"

#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <set>
#include <vector>

class FlexGrid;
class QWidget;

// ---- Descriptors -----------------------------------------------------------------------------

struct DetailGridColumn {
    QString caption;
    int widthTwips;
    int byteLimit;  // bytes of code page 950, 0 = none
    // The table column stored from this grid column; "" = not stored.  Column 0 (the item
    // number) may name one: it is then written as a number.
    QString field;
};

struct DetailGridDef {
    enum Rule {
        // The spare-row rule that drops a blank last row leaves a blank second row counted.
        kKeepBlankSecondRow = 1,
        // The per-column byte limits hold only after stored rows were read (a new record, or
        // one without rows, has no limits); without this flag they are set on every load.
        kLimitsOnlyWithRows = 2,
        // Every spare-row step lays out every row's height (else only the rows it adds).
        kRelayoutEveryStep = 4,
    };
    QString gridName;    // object names of the grid and its editor
    QString editorName;
    QString table;       // the detail table
    QString linkColumn;  // its column holding the record's code
    QString keyField;    // its identity column (序號, 總序)
    std::vector<DetailGridColumn> columns;  // grid columns 0.. (0 = item number, not edited)
    int emailColumn = -1;                   // checked as an e-mail address, -1 = none
    int rules = 0;
    QString deleteSeparator = QStringLiteral(" ");  // between item number and name in the question
    int rowTwips = 300;

    // Row-array columns: 0 item number, 1..LastEditableColumn() the cells, KeyColumn() the key.
    int KeyColumn() const { return int(columns.size()); }
    int LastEditableColumn() const { return int(columns.size()) - 1; }
    int CellByteLimitSize() const { return int(columns.size()) + 2; }
    bool Has(Rule r) const { return (rules & r) != 0; }
};

// ---- Plain rules -----------------------------------------------------------------------------

// The texts behind a detail grid: rows 0..UpperRow(), columns 0..KeyColumn().  Row 0 holds
// nothing; rows 1..Count() are the counted rows in grid order (column 0 the item number,
// the middle columns the cell texts, the key column the stored row's key or "" for a new row).
// The array may hold more rows than the count; those are empty.  Reads outside the array give
// "" and writes outside it are ignored, so no index can run off either end.
//
// Every change of the rows passes through set, setCount and Redim, and each marks the rows it
// changes as touched: a cell given another text, a row that comes into the count, a counted row
// cut off the array.  A row not touched since ClearTouched() holds what it held then.
class DetailRowArray {
public:
    explicit DetailRowArray(int keyColumn);

    int KeyColumn() const { return keyColumn_; }
    short Count() const { return count_; }
    void setCount(short n);
    int UpperRow() const { return int(rows_.size()) - 1; }

    QString at(int row, int col) const;
    void set(int row, int col, const QString& text);
    QString Key(int row) const { return at(row, keyColumn_); }
    // Columns 0..KeyColumn() of a row ("" for each outside the array).
    QStringList Row(int row) const;

    // Rows 0..upperRow, keeping the contents of the rows that stay; new rows are empty.
    void Redim(int upperRow);
    // Grows to rows 0..upperRow when smaller; never shrinks.
    void GrowTo(int upperRow);
    // Rows 0..0, count 0, nothing touched.
    void Clear();

    // The rows (1..) touched since the last ClearTouched(), in ascending order; some may lie
    // beyond the count.
    const std::set<int>& Touched() const { return touched_; }
    void ClearTouched() { touched_.clear(); }

    // The counted rows and the removed keys as the save reads them.
    DetailRowSet RowSet(const class DeletedRowKeys& deleted) const;

private:
    void touch(int row);
    void touchRows(int from, int to);

    int keyColumn_;
    short count_ = 0;
    std::vector<QStringList> rows_;
    std::set<int> touched_;
};

// Keys of stored rows removed in a grid, deleted by the next save.
class DeletedRowKeys {
public:
    short Count() const { return short(keys_.size()); }
    qint64 Key(int position) const;  // positions 1..Count(); 0 outside
    const std::vector<qint64>& Keys() const { return keys_; }
    void Append(qint64 key) { keys_.push_back(key); }
    void Clear() { keys_.clear(); }

private:
    std::vector<qint64> keys_;
};

// The spare-row operation, run before the editor is placed at (row, col): the first matching
// case changes the row count, the grid's row total and the array.
enum class SpareRowCase { None, A, B, C, D };
SpareRowCase SpareRowStep(const DetailGridDef& def, DetailRowArray& rows, int& gridRows, int row, int col);

// Enter in the editor at (row, col): where it goes, or a beep and no move.  col1Text is the
// grid's text of column 1 of the current row.
struct EnterMove {
    int row;
    int col;
    bool beep;
};
EnterMove EnterWalk(const DetailGridDef& def, int row, int col, const QString& col1Text);

// Whether a typed key is refused: the text already holds `limit` bytes or more (0 = no limit)
// and the key is not Backspace.
bool KeyRefused(int limit, const QString& text, int keyAscii);

// Removes counted row r (1..Count()): remembers its key when it has one, moves the rows below
// up with their item numbers renumbered, shrinks the count and the array.  False (and no
// change) when r is not a counted row.
bool RemoveDetailRow(DetailRowArray& rows, DeletedRowKeys& deleted, int r);

// The delete question for row r ("" for cells the array does not hold).
QString DeleteRowQuestion(const DetailGridDef& def, const DetailRowArray& rows, int r);

// The statements that store a grid's rows under a record code: an UPDATE by key for each
// stored row, an INSERT for each new row with a name (column 1), then a DELETE for each
// removed key.  Every value is a bound parameter.
QVector<db::Statement> DetailStatements(const DetailGridDef& def, const QString& code, const DetailRowSet& rows);

// How many rows DetailStatements inserts for `rows`: the new rows with a name.
int InsertedRowCount(const DetailGridDef& def, const DetailRowSet& rows);
// Inside the save's transaction, after its statements: the keys the table gave the `count` rows
// just inserted under `code`, in the order they were inserted.  The table numbers its rows in
// ascending order and the transaction holds it, so they are the code's `count` highest keys.
QVector<qint64> InsertedKeys(db::Connection& conn, const DetailGridDef& def, const QString& code, int count);

// The first counted row (1..) whose e-mail cell the address check refuses, with its message;
// row 0 when every address passes or the grid has no e-mail column.
struct RefusedCell {
    int row = 0;
    QString message;
};
RefusedCell FirstRefusedEmail(const DetailGridDef& def, const DetailRowArray& rows);

// ---- The widget ------------------------------------------------------------------------------

class DetailGrid;

// The floating text box over a detail grid's cell.
class GridEditBox : public QLineEdit {
public:
    GridEditBox(DetailGrid* owner, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QPointer<DetailGrid> owner_;
};

// One detail grid with its editor, created on a tab page (the grid fills the page).
//
// The editor belongs to one cell at a time: Place() opens it on a cell, and what is typed goes
// into that cell only, wherever the grid's own cursor has gone meanwhile.  A cell whose check
// refuses its text (the e-mail column) keeps the editor: clicks elsewhere bring it back there
// until the text passes or the edit ends.
class DetailGrid : public QObject, public RecordPart {
public:
    DetailGrid(const DetailGridDef& def, QWidget* page, QObject* parent = nullptr);
    ~DetailGrid() override;

    const DetailGridDef& Def() const { return def_; }
    FlexGrid* Grid() const { return grid_; }
    QLineEdit* Editor() const { return txt_; }

    // The window's mode: the editor shows only while adding or changing ("addnew"/"change").
    void SetEditMode(const QString& editMode);
    QString EditMode() const { return editMode_; }
    // As a part of the record cycle: the editor hidden while read-only, and no save while a
    // cell's text cannot be taken (ReadyToSave).
    void SetReadOnly(bool readOnly) override { SetEditMode(readOnly ? QString() : QStringLiteral("change")); }
    bool RefuseSave(const QString&) override { return !ReadyToSave(); }
    // The window's delete-row button: a grid click enables it on a counted row.
    void SetDeleteRowButton(QWidget* button) { deleteRowButton_ = button; }
    // Runs after every change of a cell's text by the editor (a window marks its record changed).
    void SetChangeHook(std::function<void()> hook) { changed_ = std::move(hook); }

    // Clears the grid and lays out its columns and captions.
    void Build();
    // Reloads the rows of a record code (trimmed) from the detail table on gConn; "" leaves an
    // empty grid.  Unsaved edits are dropped.
    void Load(const QString& code);
    // The rows of no record: an empty grid.
    void Clear() { Load(QString()); }

    // Places the editor over (row, col), running the spare-row step first.
    void Place(int row, int col);
    void SpareRows();
    // Asks, then removes the grid's current row.
    void DeleteRow();
    // Appends a counted row with the given cells (columns 1..), item number added.
    void AppendRow(const QStringList& cells);

    // What the save reads.
    const DetailRowArray& RowData() const { return rows_; }
    short RowCount() const { return rows_.Count(); }
    const DeletedRowKeys& DeletedKeys() const { return deleted_; }
    void ClearDeletedRowKeys() { deleted_.Clear(); }
    DetailRowSet RowSet() const { return rows_.RowSet(deleted_); }
    // What a save under `code` must write: the new rows, the stored rows whose stored cells
    // changed since they were read (every stored row when the record's code is not the one they were
    // read under), and the removed keys.  A save of one changed row among thousands writes one,
    // and only the rows touched since the rows were read or taken in are compared.
    DetailRowSet ChangedRowSet(const QString& code) const;
    // After a committed save under `code` of ChangedRowSet(code), with the keys the new rows got
    // (InsertedKeys): when the grid shows exactly what the save stored (the rows of the code
    // they were read under, every new row named and below the stored ones), it takes the save
    // in place: new rows carry their keys, the rows shown count as read, the removed keys are
    // forgotten, the spare row follows the last row as after a load, and no row counts as
    // touched.  Nothing is read.
    // False (and no change) when the grid must be read again to show what is stored.
    bool TakeSaved(const QString& code, const QVector<qint64>& insertedKeys);
    // Shows the rows of `code` while a save ends: no read when TakeSaved took in that code's
    // rows and nothing changed them since, else Load(code).
    void ShowSaved(const QString& code);
    // Per-column byte limits of the editor (0 = none).
    const std::vector<short>& CellByteLimit() const { return limits_; }

    // Before a save: the open editor's text is in its cell already; a refused e-mail address
    // anywhere in the rows is shown, the editor opens on it and the result is false.
    bool ReadyToSave();

    // The cell the editor was last opened on.
    int EditRow() const { return editRow_; }
    int EditCol() const { return editCol_; }

    // Event handlers (the widgets call them; public so windows and tests can drive them).
    void Click();
    void Scroll();
    void EditorChange();
    bool EditorKeyPress(int keyAscii);  // true = the key is refused
    void EditorLostFocus();
    int CurrentByteLimit() const;

private:
    void hideEditor();
    void showCell();
    bool cellPasses();
    bool loaded() const;
    void setLimits(bool withRows);

    DetailGridDef def_;
    FlexGrid* grid_ = nullptr;
    GridEditBox* txt_ = nullptr;
    DetailRowArray rows_;
    DeletedRowKeys deleted_;
    std::vector<short> limits_;
    QString loadedCode_;                   // the code the stored rows were read under
    std::map<QString, QStringList> read_;  // key -> the cells as read
    bool taken_ = false;    // TakeSaved took in the rows and nothing changed them since
    bool moving_ = false;   // Enter is moving the editor
    int editRow_ = 0;       // the cell the editor belongs to
    int editCol_ = 0;
    bool refused_ = false;  // the editor's cell holds a refused text and keeps the editor
    bool shownRefusal_ = false;  // its message was shown when the editor was last left
    int quietHide_ = 0;     // > 0 while the program itself hides the editor
    QString editMode_;
    QPointer<QWidget> deleteRowButton_;
    std::function<void()> changed_;

    friend class GridEditBox;
};
