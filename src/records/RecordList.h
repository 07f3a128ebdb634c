// The main recordset of a record window and the list beside the boxes: the recordset every
// bound box follows (`Rs`), the clone the list shows (`ListRs`), the list's model on a table
// view, and the rule that keeps the two in step.  Also the quick-find box above the list.
//
//     list_.Attach(DataGrid1[1], {{"RV111", 1000, "廠商編號"}, {"RV112", 1200, "廠商簡稱"}});
//     list_.RowChanged = [this] { ... RS2TEXT(); contacts_->Load(number); 報告(); };
//     list_.Open("select * from RV11 where RV110=? Order By rv111", {code});  // Rs and ListRs anew
//     boxes_->Binding()->setRecordset(list_.Rs);
//     ...after a save:
//     if (!list_.ShowRow("RV111", number)) { clear the filter; list_.Open(all); list_.ShowRow(...); }
#pragma once

#include "platform/db/Db.h"

#include <QComboBox>
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QTableView;

namespace dbmodel {
class RecordsetModel;
}

// A column the list shows.
struct ListColumn {
    QString field;
    int widthTwips;
    QString caption;
};

// The list's view `name` on the window's list panel: the mouse over its rows is reported to
// `window`'s event filter (the help line); `tip` is its hover help.
QTableView* ListView(QWidget* panel, QWidget* window, const QString& name, const QString& tip = {});

class RecordList : public QObject {
public:
    explicit RecordList(QObject* parent = nullptr);

    db::Recordset Rs;      // every bound box follows its current row
    db::Recordset ListRs;  // the clone behind the list

    // Sets the view up as the record list (whole rows, one selected, no editing) with the
    // columns it shows.
    void Attach(QTableView* view, const std::vector<ListColumn>& columns);
    QTableView* View() const { return view_; }
    dbmodel::RecordsetModel* Model() const { return model_; }
    void SetCaption(int column, const QString& caption);

    // Opens Rs anew (dynamic, optimistic) and relinks the list; an error is thrown with the
    // previous recordsets left in place.
    void Open(const QString& sql, const db::Params& params = {});
    // Makes ListRs a new clone of Rs and shows it (LinkDataGrid).
    void Relink();
    // True while Rs stands on a row.
    bool HasCurrent() const;
    // Moves the list to Rs's row; false, the list where it was, when Rs stands on no row or
    // the list does not hold it (its filter leaves it out).
    bool ShowCurrent();

    // Runs when the list's cursor moves to another row (a click, a find, a reload) while no row
    // change is being held back and Rs is not being edited: Rs is on the list's row by then.
    std::function<void()> RowChanged;
    // When set and answering false, a move of the list moves the list alone: Rs stays where it
    // is and RowChanged does not run (a window whose list follows only some moves).
    std::function<bool()> Follows;
    // Holds row changes back while alive (a save or delete under way).
    class Hold {
    public:
        explicit Hold(RecordList& list) : list_(list), was_(list.held_) { list_.held_ = true; }
        ~Hold() { list_.held_ = was_; }

    private:
        RecordList& list_;
        bool was_;
    };
    bool Held() const { return held_; }

    // Moves Rs and the list to the first row whose column equals the value (letter case
    // ignored); false when the listed rows hold none (a filter leaves it out).
    bool ShowRow(const QString& column, const QString& value);

    // After the save of an added record (Rs on its row): the row takes its place in the list's
    // order, in Rs and in the list, and the list shows it, without reading the table again.
    // False, with nothing moved, when the list's statement leaves the row out or its order
    // cannot be told here: the window then reads the list again.
    bool ShowAdded();
    // Abandons a change of the current record: the typed values go and the record alone is
    // read again from the database (a record deleted there meanwhile leaves the list).
    void CancelChange();

private:
    void select(int row);

    QTableView* view_ = nullptr;
    dbmodel::RecordsetModel* model_ = nullptr;
    std::vector<ListColumn> columns_;
    bool held_ = false;
    bool selecting_ = false;
};

// Fills a list box with the distinct non-empty values of a column over the rows `rs` holds, in
// the column's order, as FillDistinctCombo reads them from the table: for a list that already
// holds every row of the table, nothing is read again.
void FillDistinctFromRows(QComboBox* box, const db::Recordset& rs, const QString& column);

// Position (0-based, in the cursor's order) of the first row whose value in the column
// `matches`; -1 when none does.  A missing column is error 3265.
long FindRow(const db::Recordset& rs, const QString& column, const std::function<bool(const QVariant&)>& matches);
// The first row whose column begins with the text, letter case ignored.
long FindPrefix(const db::Recordset& rs, const QString& column, const QString& prefix);
// Type-ahead in a list of codes and names: moves `rs` to the first row whose code begins with
// `text`, else to the first whose name does (letter case ignored).  False, with `rs` where it
// was, when neither does: the window then says it found nothing.
bool FindCodeOrName(db::Recordset& rs, const QString& codeColumn, const QString& nameColumn, const QString& text);

// The quick-find box: an editable box whose drop-down list offers one column of a recordset
// as it stands when the list is opened (nothing is read before).
class QuickFindBox : public QComboBox {
public:
    QuickFindBox(QWidget* parent, const QString& column);
    void setSource(const db::Recordset& rs) { source_ = rs; }
    void showPopup() override;

private:
    void fill();
    db::Recordset source_;
    QString column_;
};
