// The customer window's two detail grids: contact persons (ManGrid, table RV12A) and delivery
// addresses (DeliveGrid, table RV12B), each with the text box floated over its current cell
// for typing (ManGridTxt, EditGridTXT) and the row array the save reads.
//
// The rules that need no widget (row array, removed keys, spare row, Enter walk, row delete)
// are plain code below; CustomerDetailGrids holds the widgets and wires them to those rules.
#pragma once

#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class FlexGrid;
class QWidget;

// ---- Plain rules ---------------------------------------------------------------------------

// The texts behind a detail grid: rows 0..UpperRow(), columns 0..KeyColumn().  Row 0 holds
// nothing; rows 1..Count() are the counted rows in grid order (column 0 the item number,
// the middle columns the cell texts, the key column the stored row's 序號 or "" for a new row).
// The array may hold more rows than the count; those are empty.  Reads outside the array give
// "" and writes outside it are ignored, so no index can run off either end.
class DetailRowArray {
public:
    explicit DetailRowArray(int keyColumn);

    int KeyColumn() const { return keyColumn_; }
    short Count() const { return count_; }
    void setCount(short n) { count_ = n; }
    int UpperRow() const { return int(rows_.size()) - 1; }

    QString at(int row, int col) const;
    void set(int row, int col, const QString& text);
    QString Key(int row) const { return at(row, keyColumn_); }

    // Rows 0..upperRow, keeping the contents of the rows that stay; new rows are empty.
    void Redim(int upperRow);
    // Grows to rows 0..upperRow when smaller; never shrinks.
    void GrowTo(int upperRow);
    // Rows 0..0, count 0.
    void Clear();

private:
    int keyColumn_;
    short count_ = 0;
    std::vector<QStringList> rows_;
};

// Keys (序號) of stored rows removed in a grid, deleted by the next save.
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

enum class DetailKind { Contacts, Deliveries };

struct DetailColumn {
    QString caption;
    int widthTwips;
    int byteLimit;  // 0 = none
};
// Grid columns 0.. of each grid (column 0 is the item number).
const std::vector<DetailColumn>& DetailColumns(DetailKind kind);
int LastEditableColumn(DetailKind kind);  // 8 contacts, 6 deliveries
int KeyColumnOf(DetailKind kind);         // 9 contacts, 7 deliveries
int CellByteLimitSize(DetailKind kind);   // 11 contacts (0..10), 9 deliveries (0..8)

// The spare-row operation, run before the editor is placed at (row, col): the first matching
// case changes the row count, the grid's row total and the array.
enum class SpareRowCase { None, A, B, C, D };
SpareRowCase SpareRowStep(DetailKind kind, DetailRowArray& rows, int& gridRows, int row, int col);

// Enter in the editor at (row, col): where it goes, or a beep and no move.  col1Text is the
// grid's text of column 1 of the current row.
struct EnterMove {
    int row;
    int col;
    bool beep;
};
EnterMove EnterWalk(DetailKind kind, int row, int col, const QString& col1Text);

// Whether a typed key is refused: the text already holds `limit` bytes or more (0 = no limit)
// and the key is not Backspace.
bool KeyRefused(int limit, const QString& text, int keyAscii);
// What of an input-method commit still fits: the commit cut so that the text, with the
// selection replaced, stays within `limit` bytes (whole characters only).
QString FitCommit(int limit, const QString& textWithoutSelection, const QString& commit);

// Removes counted row r (1..Count()): remembers its key when it has one, moves the rows below
// up with their item numbers renumbered, shrinks the count and the array.  False (and no
// change) when r is not a counted row.
bool RemoveDetailRow(DetailRowArray& rows, DeletedRowKeys& deleted, int r);

// The delete question for row r ("" for cells the array does not hold).
QString DeleteRowQuestion(DetailKind kind, const DetailRowArray& rows, int r);

// ---- The widgets ---------------------------------------------------------------------------

class CustomerDetailGrids;

// The floating text box over a detail grid's current cell.
class GridEditBox : public QLineEdit {
public:
    GridEditBox(CustomerDetailGrids* owner, DetailKind kind, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QPointer<CustomerDetailGrids> owner_;
    DetailKind kind_;
};

// Both detail grids of the customer window.  The grids and editors are created on the two tab
// pages given (the window lays the grids out on their pages).
class CustomerDetailGrids : public QObject {
public:
    CustomerDetailGrids(QWidget* manPage, QWidget* delivePage, QObject* parent = nullptr);
    ~CustomerDetailGrids() override;

    FlexGrid* ManGrid() const { return man_.grid; }
    QLineEdit* ManGridTxt() const { return man_.txt; }
    FlexGrid* DeliveGrid() const { return delive_.grid; }
    QLineEdit* EditGridTXT() const { return delive_.txt; }

    // The window's mode: the editors show only while adding or changing ("addnew"/"change").
    void SetEditMode(const QString& editMode);
    QString EditMode() const { return editMode_; }
    // The window's 刪除一行 button (Command2(10)): a grid click enables it on a counted row.
    void SetDeleteRowButton(QWidget* button) { deleteRowButton_ = button; }

    // Building and loading (the customer code selects the rows of RV12A / RV12B on gConn).
    void SetManGrid();
    void ReadMinDate(const QString& code);
    void SetDeliveGrid();
    void ReadDeliveDate(const QString& code);

    // 刪除一行 on the grid of the selected tab (1 basic data: nothing, 2 contacts, 3 deliveries).
    void 刪除一行(int selectedTab);
    // 發信給聯絡人: mail the contact at the grid's current row.
    void MailCom_Click();
    // 關聯公司地址: a new delivery row from the customer's own short name, phone, fax and
    // address.  True when a row was added (the window then hides the button).
    bool AddressCom_Click(const QString& shortName, const QString& phone, const QString& fax,
                          const QString& address);

    // What the save reads.
    const DetailRowArray& ManRowData() const { return man_.rows; }
    short ManRowCount() const { return man_.rows.Count(); }
    const DetailRowArray& DeliveRowData() const { return delive_.rows; }
    short DeliveRowCount() const { return delive_.rows.Count(); }
    const DeletedRowKeys& ManDeletedRowKeys() const { return man_.deleted; }
    const DeletedRowKeys& DeliveDeletedRowKeys() const { return delive_.deleted; }
    void ClearDeletedRowKeys();

    // Per-column byte limits of the editors (0 = none).
    const std::vector<short>& ManCellByteLimit() const { return man_.limits; }
    const std::vector<short>& DeliveCellByteLimit() const { return delive_.limits; }

    // Place the editor over (row, col) of its grid (callers pass the grid's Row and Col).
    void POSitionMan(int row, int col);
    void POSition(int row, int col);
    void 驗證明細折行man();
    void 驗證明細折行();

    // Event handlers (the widgets call them; public so the window and tests can drive them).
    void GridClick(DetailKind kind);
    void GridScroll(DetailKind kind);
    void EditorChange(DetailKind kind);
    // Returns true when the key is refused.
    bool EditorKeyPress(DetailKind kind, int keyAscii);
    void EditorLostFocus(DetailKind kind);
    int CurrentByteLimit(DetailKind kind) const;

private:
    struct Side {
        Side(DetailKind k) : kind(k), rows(KeyColumnOf(k)) {}
        DetailKind kind;
        FlexGrid* grid = nullptr;
        GridEditBox* txt = nullptr;
        DetailRowArray rows;
        DeletedRowKeys deleted;
        std::vector<short> limits;  // CellByteLimit
        bool moving = false;        // GridMoving: Enter is moving the editor
    };
    Side& side(DetailKind kind) { return kind == DetailKind::Contacts ? man_ : delive_; }
    const Side& side(DetailKind kind) const { return kind == DetailKind::Contacts ? man_ : delive_; }
    void build(Side& s);
    void load(Side& s, const QString& code);
    void place(Side& s, int row, int col);
    void showCell(Side& s);
    void spareRows(Side& s);
    void hideEditor(Side& s);

    Side man_{DetailKind::Contacts};
    Side delive_{DetailKind::Deliveries};
    short ManEditRow = 0;  // the contact cell the editor was last placed on
    short ManEditCol = 0;
    int quietHide_ = 0;    // > 0 while the program itself hides an editor
    QString editMode_;
    QPointer<QWidget> deleteRowButton_;

    friend class GridEditBox;
};
