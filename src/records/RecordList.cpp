#include "records/RecordList.h"

#include "core/Globals.h"
#include "core/numbering/ListFillers.h"
#include "platform/db/Probes.h"
#include "platform/dbmodel/RecordsetModel.h"
#include "platform/text/VbText.h"
#include "records/RecordMode.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QListView>
#include <QSignalBlocker>
#include <QTableView>

RecordList::RecordList(QObject* parent) : QObject(parent) {}

void RecordList::Attach(QTableView* view, const std::vector<ListColumn>& columns)
{
    view_ = view;
    columns_ = columns;
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    // Tab and Shift+Tab leave the list for the next control, as in any list box.
    view->setTabKeyNavigation(false);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(vb::TwipsToPixels(270));
    view->verticalHeader()->hide();
    view->horizontalHeader()->setHighlightSections(false);
    model_ = new dbmodel::RecordsetModel(this);
    view->setModel(model_);
    // The list's cursor moved (a click, a find, a reload): the window follows.
    connect(model_, &dbmodel::RecordsetModel::currentRowChanged, this, [this](int row) {
        select(row);
        if (held_ || !RowChanged || !ListRs.IsOpen() || !Rs.IsOpen())
            return;
        if (ListRs.Bof() || ListRs.Eof())
            return;
        // A record being added or changed is never left behind by a move of the list.
        if (Rs.EditMode() != db::adEditNone)
            return;
        if (Follows && !Follows())
            return;
        held_ = true;
        TrapDbErrors([&] {
            Rs.setBookmark(ListRs.bookmark());
            RowChanged();
        });
        held_ = false;
    });
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (current.isValid() && !selecting_)
            TrapDbErrors([&] { model_->moveTo(current.row()); });
    });
}

// Exactly one row shows selected: the list's current row.
void RecordList::select(int row)
{
    if (row < 0)
        return;
    int col = 0;
    if (ListRs.IsOpen() && !columns_.empty())
        col = std::max(0, ListRs.FieldIndex(columns_.front().field));
    const QModelIndex index = model_->index(row, col);
    selecting_ = true;
    view_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    selecting_ = false;
    view_->scrollTo(index);
}

void RecordList::SetCaption(int column, const QString& caption)
{
    if (column < 0 || column >= int(columns_.size()))
        return;
    columns_[size_t(column)].caption = caption;
    if (ListRs.IsOpen())
        model_->setHeaderData(ListRs.FieldIndex(columns_[size_t(column)].field), Qt::Horizontal, caption);
}

void RecordList::Open(const QString& sql, const db::Params& params)
{
    db::Recordset rs;
    rs.Open(sql, gConn, db::adOpenDynamic, db::adLockOptimistic, params);
    Rs = rs;
    Relink();
}

void RecordList::Relink()
{
    // A list that is already a clone of Rs without a filter or sort of its own holds what a new
    // clone would: it is kept and goes back to its first row, as a new clone stands, instead of
    // copying the place of every row (a million customers) again.
    if (ListRs.IsOpen() && ListRs.SharesRows(Rs) && ListRs.filter().isEmpty() && ListRs.sort().isEmpty() &&
        ListRs.EditMode() == db::adEditNone) {
        if (ListRs.RecordCount() > 0)
            ListRs.MoveFirst();
        return;
    }
    ListRs = Rs.Clone();
    model_->setRecordset(ListRs);
    std::vector<int> shown;
    for (const ListColumn& c : columns_) {
        const int i = ListRs.FieldIndex(c.field);
        shown.push_back(i);
        if (i >= 0) {
            model_->setHeaderData(i, Qt::Horizontal, c.caption);
        }
    }
    for (int c = 0; c < model_->columnCount(); ++c)
        view_->setColumnHidden(c, std::find(shown.begin(), shown.end(), c) == shown.end());
    for (size_t k = 0; k < columns_.size(); ++k)
        if (shown[k] >= 0)
            view_->setColumnWidth(shown[k], vb::TwipsToPixels(columns_[k].widthTwips));
}

bool RecordList::HasCurrent() const { return db::HasCurrentRow(Rs); }

bool RecordList::ShowCurrent() { return db::TryGoToRowOf(ListRs, Rs); }

bool RecordList::ShowRow(const QString& column, const QString& value)
{
    if (!Rs.IsOpen())
        return false;
    const int field = Rs.FieldIndex(column);
    if (field < 0)
        return false;
    const long n = Rs.RecordCount();
    for (long i = 0; i < n; ++i) {
        if (vb::Nz(Rs.valueAt(i, field)).compare(value, Qt::CaseInsensitive) == 0) {
            Rs.SetAbsolutePosition(i + 1);
            ListRs.setBookmark(Rs.bookmark());
            return true;
        }
    }
    return false;
}

bool RecordList::ShowAdded()
{
    if (!Rs.IsOpen() || !ListRs.IsOpen())
        return false;
    Hold hold(*this);
    try {
        if (!Rs.PlaceRow())
            return false;
        ListRs.setBookmark(Rs.bookmark());
    } catch (const db::DbError&) {
        return false;  // the window reads the list again
    }
    return true;
}

void RecordList::CancelChange()
{
    if (!Rs.IsOpen())
        return;
    Hold hold(*this);
    try {
        Rs.CancelUpdate();
        Rs.Resync();
    } catch (const db::DbError&) {
        // Deleted on another computer (3167): the row has left Rs and the list, which is what
        // the user is to see.  A file that cannot be read now leaves the row as it was read.
    }
}

void FillDistinctFromRows(QComboBox* box, const db::Recordset& rs, const QString& column)
{
    ListTarget target(box);
    target.clear();
    const int field = rs.FieldIndex(column);
    if (field < 0)
        throw db::DbError(3265, QStringLiteral("Item cannot be found in the collection (%1)").arg(column));
    for (const QVariant& v : rs.DistinctValues(field)) {
        const QString text = v.isNull() ? QString() : v.toString();
        if (!text.isEmpty())
            target.add(text);
    }
    target.show();
    // As addItems leaves it: a fixed list on its first entry, an editable box on none.
    box->setCurrentIndex(!box->isEditable() && box->count() > 0 ? 0 : -1);
}

// ---- Quick find ----------------------------------------------------------------------------------

long FindRow(const db::Recordset& rs, const QString& column, const std::function<bool(const QVariant&)>& matches)
{
    const int field = rs.FieldIndex(column);
    if (field < 0)
        throw db::DbError(3265, QStringLiteral("Item cannot be found in the collection (%1)").arg(column));
    const long n = rs.RecordCount();
    for (long i = 0; i < n; ++i)
        if (matches(rs.valueAt(i, field)))
            return i;
    return -1;
}

long FindPrefix(const db::Recordset& rs, const QString& column, const QString& prefix)
{
    const auto matches = [&prefix](const QVariant& v) { return v.toString().startsWith(prefix, Qt::CaseInsensitive); };
    // A list read on demand (a long one) gives the few rows that can match from the column's
    // index, as each letter typed into a quick-find box asks again; a list held whole, or a
    // prefix that many rows start with, is tested row by row in the list's order.
    constexpr long kMostCandidates = 2000;
    const int field = rs.FieldIndex(column);
    if (const auto candidates = field >= 0 ? rs.PositionsStartingWith(field, prefix, kMostCandidates) : std::nullopt) {
        for (const long p : *candidates)
            if (matches(rs.valueAt(p, field)))
                return p;
        return -1;
    }
    return FindRow(rs, column, matches);
}

bool FindCodeOrName(db::Recordset& rs, const QString& codeColumn, const QString& nameColumn, const QString& text)
{
    long found = FindPrefix(rs, codeColumn, text);
    if (found < 0)
        found = FindPrefix(rs, nameColumn, text);
    if (found < 0)
        return false;
    rs.SetAbsolutePosition(found + 1);
    return true;
}

QuickFindBox::QuickFindBox(QWidget* parent, const QString& column) : QComboBox(parent), column_(column)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMaxVisibleItems(20);
    if (auto* list = qobject_cast<QListView*>(view()))
        list->setUniformItemSizes(true);
}

void QuickFindBox::showPopup()
{
    fill();
    QComboBox::showPopup();
}

void QuickFindBox::fill()
{
    const QString text = currentText();
    QStringList names;
    try {
        if (source_.IsOpen()) {
            const int field = source_.FieldIndex(column_);
            const long n = source_.RecordCount();
            names.reserve(int(n));
            for (long i = 0; field >= 0 && i < n; ++i)
                names << dbmodel::DisplayText(source_.valueAt(i, field));
        }
    } catch (const db::DbError&) {
        names.clear();
    }
    const QSignalBlocker block(this);
    clear();
    addItems(names);
    setCurrentIndex(-1);
    setEditText(text);
}

QTableView* ListView(QWidget* panel, QWidget* window, const QString& name, const QString& tip)
{
    auto* view = new QTableView(panel);
    view->setObjectName(name);
    if (!tip.isEmpty())
        view->setToolTip(tip);
    view->viewport()->setAttribute(Qt::WA_Hover);
    view->viewport()->installEventFilter(window);
    return view;
}
