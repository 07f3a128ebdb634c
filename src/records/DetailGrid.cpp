#include "records/DetailGrid.h"

#include "core/Globals.h"
#include "core/numbering/Validators.h"
#include "platform/db/Db.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "platform/widgets/ByteLimit.h"
#include "platform/widgets/FlexGrid.h"
#include "platform/widgets/Keys.h"

#include <QEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>

// ---- DetailRowArray ----------------------------------------------------------------------------

DetailRowArray::DetailRowArray(int keyColumn) : keyColumn_(keyColumn)
{
    Clear();
}

QString DetailRowArray::at(int row, int col) const
{
    if (row < 0 || row >= int(rows_.size()) || col < 0 || col > keyColumn_)
        return {};
    return rows_[size_t(row)][col];
}

QStringList DetailRowArray::Row(int row) const
{
    if (row >= 0 && row < int(rows_.size()))
        return rows_[size_t(row)];
    QStringList empty;
    for (int c = 0; c <= keyColumn_; ++c)
        empty << QString();
    return empty;
}

void DetailRowArray::touch(int row)
{
    if (row < 1)
        return;  // row 0 holds nothing
    // Rows are mostly written in ascending order, a row's cells one after another.
    if (touched_.empty() || *touched_.rbegin() < row)
        touched_.insert(touched_.end(), row);
    else if (*touched_.rbegin() != row)
        touched_.insert(row);
}

void DetailRowArray::touchRows(int from, int to)
{
    for (int r = std::max(from, 1); r <= to; ++r)
        touch(r);
}

void DetailRowArray::set(int row, int col, const QString& text)
{
    if (row < 0 || row >= int(rows_.size()) || col < 0 || col > keyColumn_)
        return;
    QString& cell = rows_[size_t(row)][col];
    if (cell == text && cell.isNull() == text.isNull())
        return;  // "" and a null text may be bound differently: both are kept as given
    cell = text;
    touch(row);
}

void DetailRowArray::setCount(short n)
{
    // Rows coming into the count are read by the save from now on, whatever they hold.
    touchRows(count_ + 1, n);
    count_ = n;
}

void DetailRowArray::Redim(int upperRow)
{
    const int upper = std::max(upperRow, 0);
    // Counted rows cut off the array read "" from now on.
    touchRows(upper + 1, std::min<int>(count_, UpperRow()));
    QStringList empty;
    for (int c = 0; c <= keyColumn_; ++c)
        empty << QString();
    rows_.resize(size_t(upper + 1), empty);
}

void DetailRowArray::GrowTo(int upperRow)
{
    if (upperRow > UpperRow())
        Redim(upperRow);
}

void DetailRowArray::Clear()
{
    rows_.clear();
    count_ = 0;
    Redim(0);
    touched_.clear();
}

DetailRowSet DetailRowArray::RowSet(const DeletedRowKeys& deleted) const
{
    DetailRowSet out;
    for (int r = 1; r <= Count(); ++r)
        out.rows << Row(r);
    for (qint64 k : deleted.Keys())
        out.deletedKeys << k;
    return out;
}

qint64 DeletedRowKeys::Key(int position) const
{
    if (position < 1 || position > int(keys_.size()))
        return 0;
    return keys_[size_t(position - 1)];
}

// ---- Rules -------------------------------------------------------------------------------------

SpareRowCase SpareRowStep(const DetailGridDef& def, DetailRowArray& rows, int& gridRows, int row, int col)
{
    int n = rows.Count();
    if (col == 1 && n == 1) {
        n = 2;
        ++gridRows;
        rows.setCount(short(n));
        rows.GrowTo(n + 1);
        return SpareRowCase::A;
    }
    if (row > n && col == 1 && n != 0) {
        ++n;
        ++gridRows;
        rows.setCount(short(n));
        rows.GrowTo(n + 1);
        return SpareRowCase::B;
    }
    if (col == 1 && n == 0) {
        n = 1;
        ++gridRows;
        rows.setCount(short(n));
        rows.GrowTo(2);
        return SpareRowCase::C;
    }
    // A blank last row is dropped when the editor goes elsewhere; with no counted row there is
    // nothing to drop (the count never goes below 0).
    if (n >= 1 && row != n && rows.at(n, 1).isEmpty() && !(def.Has(DetailGridDef::kKeepBlankSecondRow) && n == 2)) {
        if (row != 1) {
            rows.setCount(short(n - 1));
            --gridRows;
        } else if (gridRows != n + 1) {
            gridRows = n + 1;
        }
        return SpareRowCase::D;
    }
    return SpareRowCase::None;
}

EnterMove EnterWalk(const DetailGridDef& def, int row, int col, const QString& col1Text)
{
    const int c = col + 1;
    if (c > def.LastEditableColumn())
        return {row + 1, 1, false};
    if (col1Text.isEmpty())
        return {row, col, true};
    return {row, c, false};
}

bool KeyRefused(int limit, const QString& text, int keyAscii)
{
    return limit > 0 && vb::ByteLen(text) >= limit && keyAscii != 8;
}

bool RemoveDetailRow(DetailRowArray& rows, DeletedRowKeys& deleted, int r)
{
    const int count = rows.Count();
    if (r < 1 || r > count)
        return false;
    const QString key = vb::Trim(rows.Key(r));
    if (!key.isEmpty())
        deleted.Append(vb::CLng(vb::Val(key)));
    const int keyCol = rows.KeyColumn();
    if (r < count) {
        for (int i = r; i <= count - 1; ++i) {
            rows.set(i, 0, QString::number(i));
            for (int c = 1; c <= keyCol; ++c)
                rows.set(i, c, rows.at(i + 1, c));
        }
        for (int c = 0; c <= keyCol; ++c)
            rows.set(count, c, QString());
    }
    rows.setCount(short(count - 1));
    rows.Redim(count - 1);
    return true;
}

QString DeleteRowQuestion(const DetailGridDef& def, const DetailRowArray& rows, int r)
{
    return QStringLiteral("確定刪除 ") + rows.at(r, 0) + def.deleteSeparator + rows.at(r, 1) + QStringLiteral(" 這一行?");
}

namespace {

QString Cell(const QStringList& row, int column)
{
    return column < row.size() ? row.at(column) : QString();
}

// The stored key of a row: Val of its key cell, 0 for a row not stored yet.
qint64 KeyOf(const QStringList& row, int keyColumn)
{
    const double v = vb::Val(Cell(row, keyColumn));
    return v > 0 && v < 9.2e18 ? qint64(v) : 0;
}

}  // namespace

QVector<db::Statement> DetailStatements(const DetailGridDef& def, const QString& code, const DetailRowSet& rows)
{
    // The stored columns in grid order, then the link to the record.
    QStringList fields;
    std::vector<int> gridColumns;
    for (int c = 0; c <= def.LastEditableColumn(); ++c) {
        if (def.columns[size_t(c)].field.isEmpty())
            continue;
        fields << def.columns[size_t(c)].field;
        gridColumns.push_back(c);
    }
    fields << def.linkColumn;
    QStringList sets, marks;
    for (const QString& f : fields) {
        sets << f + QStringLiteral(" =?");
        marks << QStringLiteral("?");
    }
    const QString update = QStringLiteral("UPDATE ") + def.table + QStringLiteral(" SET ") +
                           sets.join(QStringLiteral(" , ")) + QStringLiteral(" WHERE ") + def.keyField +
                           QStringLiteral("=?");
    const QString insert = QStringLiteral("INSERT INTO ") + def.table + QStringLiteral(" (") +
                           fields.join(QLatin1Char(',')) + QStringLiteral(") VALUES (") +
                           marks.join(QStringLiteral(", ")) + QStringLiteral(")");

    QVector<db::Statement> out;
    for (const QStringList& r : rows.rows) {
        db::Params values;
        for (int c : gridColumns)
            values << (c == 0 ? QVariant(qint64(vb::Val(Cell(r, 0)))) : QVariant(Cell(r, c)));
        values << code;
        if (const qint64 key = KeyOf(r, def.KeyColumn())) {
            values << key;
            out.push_back({update, values, true});
        } else if (!vb::Trim(Cell(r, 1)).isEmpty()) {
            out.push_back({insert, values});
        }
    }
    for (qint64 k : rows.deletedKeys)
        out.push_back({QStringLiteral("DELETE FROM ") + def.table + QStringLiteral(" where ") + def.keyField +
                           QStringLiteral("= ?"),
                       {k},
                       true});
    return out;
}

int InsertedRowCount(const DetailGridDef& def, const DetailRowSet& rows)
{
    int n = 0;
    for (const QStringList& r : rows.rows)
        if (KeyOf(r, def.KeyColumn()) == 0 && !vb::Trim(Cell(r, 1)).isEmpty())
            ++n;
    return n;
}

QVector<qint64> InsertedKeys(db::Connection& conn, const DetailGridDef& def, const QString& code, int count)
{
    QVector<qint64> keys;
    if (count <= 0)
        return keys;
    {
        // Only the rows wanted are read; the recordset is gone before the save writes again.
        db::Recordset rs = conn.ExecuteQuery(QStringLiteral("Select ") + def.keyField + QStringLiteral(" From ") +
                                                 def.table + QStringLiteral(" Where ") + def.linkColumn +
                                                 QStringLiteral(" = ? Order By ") + def.keyField +
                                                 QStringLiteral(" Desc"),
                                             {code});
        for (; !rs.Eof() && keys.size() < count; rs.MoveNext())
            keys.prepend(rs.value(def.keyField).toLongLong());
    }
    return keys;
}

RefusedCell FirstRefusedEmail(const DetailGridDef& def, const DetailRowArray& rows)
{
    if (def.emailColumn < 1)
        return {};
    for (int r = 1; r <= rows.Count(); ++r) {
        QString message;
        IsValidEmail(rows.at(r, def.emailColumn), message);
        if (!vb::Trim(message).isEmpty())
            return {r, message};
    }
    return {};
}

// ---- The editor box ----------------------------------------------------------------------------

GridEditBox::GridEditBox(DetailGrid* owner, QWidget* parent) : QLineEdit(parent), owner_(owner)
{
    QFont f(QStringLiteral("新細明體"));
    f.setPointSizeF(9.75);
    setFont(f);
    hide();
}

void GridEditBox::keyPressEvent(QKeyEvent* event)
{
    int keyAscii = 0;
    if (IsEnter(event))
        keyAscii = 13;
    else if (event->key() == Qt::Key_Backspace)
        keyAscii = 8;
    else if (event->key() != Qt::Key_Delete && !event->text().isEmpty() && event->text()[0].unicode() >= 32 &&
             !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        keyAscii = event->text()[0].unicode();
    if (keyAscii == 0 || !owner_) {  // not a typed character: the box handles it as any box
        QLineEdit::keyPressEvent(event);
        return;
    }
    owner_->shownRefusal_ = false;  // typed after the refusal: the save says it again
    const bool refused = owner_->EditorKeyPress(keyAscii);
    if (keyAscii == 13 || refused) {
        event->accept();  // Enter has done its work: the box has nothing more to do with it
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// Chinese arrives as input-method commits: each character is taken as a typed key would be.
void GridEditBox::inputMethodEvent(QInputMethodEvent* event)
{
    const int limit = owner_ ? owner_->CurrentByteLimit() : 0;
    const QString commit = event->commitString();
    if (limit <= 0 || commit.isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QString rest = text();
    if (hasSelectedText())
        rest.remove(selectionStart(), selectedText().size());
    const QString kept = TypedCommit(limit, rest, commit);
    if (kept == commit) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&cut);
}

void GridEditBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Another program or a context menu taking the focus is not leaving the box.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (!owner_ || owner_->quietHide_ > 0 || isHidden())
        return;
    // Nor is the window closing (a container above the page going away); the page itself
    // hidden under the box (another tab chosen) is.
    for (QWidget* w = parentWidget() ? parentWidget()->parentWidget() : nullptr; w; w = w->parentWidget())
        if (w->isHidden())
            return;
    owner_->EditorLostFocus();
}

// ---- DetailGrid --------------------------------------------------------------------------------

namespace {

// Keeps a grid filling its tab page.
class FillPage : public QObject {
public:
    FillPage(QWidget* page, QWidget* grid) : QObject(grid), grid_(grid)
    {
        page->installEventFilter(this);
        grid->setGeometry(page->rect());
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            grid_->setGeometry(static_cast<QWidget*>(watched)->rect());
        return false;
    }

private:
    QWidget* grid_;
};

}  // namespace

DetailGrid::DetailGrid(const DetailGridDef& def, QWidget* page, QObject* parent)
    : QObject(parent), def_(def), rows_(def.KeyColumn())
{
    grid_ = new FlexGrid(page);
    grid_->setObjectName(def_.gridName);
    new FillPage(page, grid_);
    // A click never scrolls the grid under the editor it places; Enter scrolls on purpose.
    grid_->setAutoScroll(false);
    txt_ = new GridEditBox(this, page);
    txt_->setObjectName(def_.editorName);
    limits_.assign(size_t(def_.CellByteLimitSize()), 0);
    connect(grid_, &FlexGrid::cellClicked, this, [this](int, int) { Click(); });
    connect(grid_, &FlexGrid::scrolled, this, [this] { Scroll(); });
    connect(txt_, &QLineEdit::textChanged, this, [this] { EditorChange(); });
    Build();
}

DetailGrid::~DetailGrid() = default;

void DetailGrid::SetEditMode(const QString& editMode)
{
    editMode_ = editMode;
    if (editMode_.isEmpty()) {
        refused_ = false;
        hideEditor();
    }
}

void DetailGrid::Build()
{
    FlexGrid* g = grid_;
    g->Clear();
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->setRows(2);
    g->setCols(int(def_.columns.size()));
    g->setRow(0);
    for (int c = 0; c < int(def_.columns.size()); ++c) {
        g->setCol(c);
        g->setTextMatrix(0, c, def_.columns[size_t(c)].caption);
        g->setColWidth(c, def_.columns[size_t(c)].widthTwips);
    }
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    g->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void DetailGrid::Load(const QString& rawCode)
{
    hideEditor();
    refused_ = false;
    editRow_ = editCol_ = 0;
    // The code is trimmed, as the save writes it.
    const QString code = vb::Trim(rawCode);
    const auto& cols = def_.columns;
    setLimits(false);
    grid_->Clear();
    Build();
    rows_.Clear();
    read_.clear();
    taken_ = false;
    loadedCode_ = code;
    if (code.isEmpty()) {  // no record: nothing to read
        grid_->scrollToTop();
        grid_->show();
        return;
    }

    db::Recordset rs;
    rs.Open(QStringLiteral("Select ") + def_.table + QStringLiteral(".* From ") + def_.table +
                QStringLiteral(" Where (") + def_.linkColumn + QStringLiteral(" = ? )"),
            gConn, db::adOpenStatic, db::adLockReadOnly, {code});
    if (!rs.Eof()) {
        setLimits(true);
        grid_->setRows(int(rs.RecordCount()) + 2);
        for (int r = 1; r < grid_->Rows(); ++r)
            grid_->setRowHeight(r, def_.rowTwips);
        const int key = def_.KeyColumn();
        int n = 0;
        grid_->setUpdatesEnabled(false);
        for (; !rs.Eof(); rs.MoveNext()) {
            ++n;
            rows_.Redim(n);
            for (int c = 0; c < int(cols.size()); ++c) {
                const QString v = c == 0 ? QString::number(n) : vb::Nz(rs.value(cols[size_t(c)].field));
                grid_->setTextMatrix(n, c, v);
                rows_.set(n, c, v);
            }
            rows_.set(n, key, vb::Nz(rs.value(def_.keyField)));
            rows_.setCount(short(n));
            read_[rows_.Key(n)] = rows_.Row(n);
        }
        grid_->setRow(n);  // the last row read stays current
        grid_->setUpdatesEnabled(true);
    }
    rows_.ClearTouched();  // the rows hold what was read
    grid_->scrollToTop();  // the list opens at its top whichever row ends up current
    grid_->show();
}

void DetailGrid::setLimits(bool withRows)
{
    limits_.assign(size_t(def_.CellByteLimitSize()), 0);
    if (!withRows && def_.Has(DetailGridDef::kLimitsOnlyWithRows))
        return;
    for (int c = 0; c < int(def_.columns.size()); ++c)
        limits_[size_t(c)] = short(def_.columns[size_t(c)].byteLimit);
}

bool DetailGrid::TakeSaved(const QString& code, const QVector<qint64>& insertedKeys)
{
    taken_ = false;
    if (loadedCode_.isEmpty() || vb::Trim(code) != loadedCode_)
        return false;  // every row was written under another code
    const int n = rows_.Count();
    const int key = def_.KeyColumn();
    // What a load would show: the stored rows in the order they were read, then the new rows
    // in the order they were inserted.  A new row without a name was not stored.  A row not
    // touched holds what was read or last taken in, so it is a stored row as it is stored.
    std::vector<int> touched;
    int newRows = 0;
    int firstNew = 0;
    for (int r : rows_.Touched()) {
        if (r > n)
            break;
        touched.push_back(r);
        if (vb::Trim(rows_.Key(r)).isEmpty()) {
            if (vb::Trim(rows_.at(r, 1)).isEmpty())
                return false;
            if (newRows++ == 0)
                firstNew = r;
        } else if (newRows > 0) {
            return false;
        }
    }
    // Every row from the first new one down is new (none of them an untouched stored row).
    if (newRows > 0 && newRows != n - firstNew + 1)
        return false;
    if (newRows != insertedKeys.size())
        return false;

    hideEditor();
    refused_ = false;
    editRow_ = editCol_ = 0;
    FlexGrid* g = grid_;
    int next = 0;
    for (int r : touched) {
        if (vb::Trim(rows_.Key(r)).isEmpty())
            rows_.set(r, key, QString::number(insertedKeys[next++]));
        // Item numbers as a load gives them: a removed row leaves the ones below it (all
        // touched by the move) to be written again, and a typed row has none yet.
        const QString item = QString::number(r);
        rows_.set(r, 0, item);
        if (g->TextMatrix(r, 0) != item)
            g->setTextMatrix(r, 0, item);
        read_[rows_.Key(r)] = rows_.Row(r);
    }
    for (qint64 k : deleted_.Keys())
        read_.erase(QString::number(k));
    deleted_.Clear();
    rows_.Redim(n);
    rows_.ClearTouched();  // the rows hold what was stored
    // One empty spare row below the last, as a load leaves it.
    const int rowsWanted = n + 2;
    if (g->Rows() != rowsWanted) {
        const bool grows = g->Rows() < rowsWanted;
        const int from = g->Rows();
        g->setRows(rowsWanted);
        if (grows)
            for (int r = from; r < rowsWanted; ++r)
                g->setRowHeight(r, def_.rowTwips);
    }
    for (int c = 0; c < g->Cols(); ++c)
        if (!g->TextMatrix(n + 1, c).isEmpty())
            g->setTextMatrix(n + 1, c, QString());
    setLimits(n > 0);
    taken_ = true;
    return true;
}

void DetailGrid::ShowSaved(const QString& code)
{
    if (taken_ && vb::Trim(code) == loadedCode_) {
        hideEditor();
        refused_ = false;
        editRow_ = editCol_ = 0;
        return;
    }
    Load(code);
}

void DetailGrid::hideEditor()
{
    if (!txt_ || txt_->isHidden())
        return;
    ++quietHide_;
    txt_->hide();
    --quietHide_;
}

void DetailGrid::SpareRows()
{
    FlexGrid* g = grid_;
    const int R = g->Row();
    const int C = g->Col();
    int gridRows = g->Rows();
    const SpareRowCase which = SpareRowStep(def_, rows_, gridRows, R, C);
    if (which != SpareRowCase::None)
        taken_ = false;
    if (gridRows != g->Rows()) {
        g->setRows(gridRows);
        if (g->Row() != R || g->Col() != C) {
            g->setCol(C);
            g->setRow(R);
        }
    }
    if (which == SpareRowCase::A || which == SpareRowCase::C || def_.Has(DetailGridDef::kRelayoutEveryStep)) {
        for (int r = 1; r < g->Rows(); ++r)
            g->setRowHeight(r, def_.rowTwips);
    } else if (which == SpareRowCase::B) {
        g->setRowHeight(rows_.Count() + 1, def_.rowTwips);
    }
}

// Scrolls the grid so that its current cell is in view.
void DetailGrid::showCell()
{
    FlexGrid* g = grid_;
    if (g->Row() >= 1 && g->Row() < g->Rows() && g->Col() >= 1 && g->Col() < g->Cols())
        g->scrollTo(g->model()->index(g->Row() - 1, g->Col() - 1));
}

void DetailGrid::Place(int row, int col)
{
    SpareRows();
    FlexGrid* g = grid_;
    if (row < 0 || row >= g->Rows() || col < 1 || col >= g->Cols())
        return;  // no such cell to cover
    const int w = g->ColWidth(col) + 50;
    const int h = g->RowHeight(row) + 50;
    const int left = vb::PixelsToTwips(g->x()) + g->ColPos(col) + 10;
    const int top = vb::PixelsToTwips(g->y()) + g->RowPos(row) + 10;
    txt_->setGeometry(vb::TwipsToPixels(left), vb::TwipsToPixels(top), vb::TwipsToPixels(w), vb::TwipsToPixels(h));
    // From here on the editor belongs to this cell.
    editRow_ = row;
    editCol_ = col;
    txt_->setText(g->TextMatrix(row, col));
    txt_->show();
    txt_->raise();
    txt_->setFocus(Qt::OtherFocusReason);
    txt_->setCursorPosition(int(txt_->text().size()));
    ui::DoEvents();
}

void DetailGrid::Click()
{
    if (editMode_.isEmpty())
        return;
    FlexGrid* g = grid_;
    if (refused_) {
        // The refused cell keeps the editor until its text passes.
        g->setCol(editCol_);
        g->setRow(editRow_);
        Place(editRow_, editCol_);
        return;
    }
    const int row = g->Row();
    if (deleteRowButton_)
        deleteRowButton_->setEnabled(!(row > rows_.Count()));
    if (vb::Trim(g->TextMatrix(row, 1)).isEmpty() && g->Col() != 1)
        g->setCol(1);
    Place(g->Row(), g->Col());
}

void DetailGrid::Scroll()
{
    if (!moving_)
        hideEditor();
}

bool DetailGrid::loaded() const
{
    return editRow_ >= 1 && editRow_ < grid_->Rows() && editCol_ >= 1 && editCol_ < grid_->Cols();
}

void DetailGrid::EditorChange()
{
    // What the editor holds belongs to the cell it was opened on, never to another.
    if (!loaded())
        return;
    taken_ = false;
    grid_->setTextMatrix(editRow_, editCol_, txt_->text());
    rows_.GrowTo(editRow_);
    rows_.set(editRow_, editCol_, txt_->text());
    if (changed_)
        changed_();
}

int DetailGrid::CurrentByteLimit() const
{
    const int c = loaded() ? editCol_ : grid_->Col();
    if (c < 0 || c >= int(limits_.size()))
        return 0;
    return limits_[size_t(c)];
}

bool DetailGrid::EditorKeyPress(int keyAscii)
{
    FlexGrid* g = grid_;
    if (keyAscii == 13) {
        moving_ = true;
        const int row = loaded() ? editRow_ : g->Row();
        const int col = loaded() ? editCol_ : g->Col();
        const EnterMove m = EnterWalk(def_, row, col, g->TextMatrix(row, 1));
        if (m.beep) {
            ui::Beep();
        } else if (!cellPasses()) {
            // The address must pass before the editor leaves its cell.
        } else if (m.row != row) {
            // Past the last row of the grid a spare row is added to walk onto.
            if (m.row >= g->Rows()) {
                g->setRows(m.row + 1);
                g->setRowHeight(m.row, def_.rowTwips);
            }
            g->setCol(1);
            g->setRow(m.row);
            showCell();
            Place(g->Row(), g->Col());
            txt_->setFocus(Qt::OtherFocusReason);
        } else {
            g->setRow(row);
            g->setCol(m.col);
            showCell();
            Place(row, m.col);
        }
        txt_->setCursorPosition(int(txt_->text().size()));
        moving_ = false;
    }
    return KeyRefused(CurrentByteLimit(), txt_->text(), keyAscii);
}

// Whether the editor's cell may be left: an e-mail cell holding an address the check refuses
// shows the check's message and keeps the editor.
bool DetailGrid::cellPasses()
{
    if (!loaded() || editCol_ != def_.emailColumn) {
        refused_ = false;
        return true;
    }
    QString message;
    IsValidEmail(txt_->text(), message);
    if (vb::Trim(message).isEmpty()) {
        refused_ = false;
        return true;
    }
    refused_ = true;
    shownRefusal_ = true;
    ui::MsgBox(message);
    return false;
}

void DetailGrid::EditorLostFocus()
{
    hideEditor();
    if (cellPasses())
        return;
    // Back to the refused cell.
    grid_->setCol(editCol_);
    grid_->setRow(editRow_);
    Place(editRow_, editCol_);
}

bool DetailGrid::ReadyToSave()
{
    const RefusedCell bad = FirstRefusedEmail(def_, rows_);
    if (bad.row == 0)
        return true;
    // The editor has just said so when it was left for the save button.
    const bool told = shownRefusal_ && refused_ && bad.row == editRow_;
    shownRefusal_ = false;
    if (!told)
        ui::MsgBox(bad.message);
    refused_ = true;
    if (!editMode_.isEmpty()) {
        grid_->setCol(def_.emailColumn);
        grid_->setRow(bad.row);
        Place(bad.row, def_.emailColumn);
    }
    return false;
}

void DetailGrid::DeleteRow()
{
    FlexGrid* g = grid_;
    const int r = g->Row();
    if (ui::MsgBox(DeleteRowQuestion(def_, rows_, r), ui::Buttons::YesNo, ui::Icon::None,
                   QStringLiteral("刪除資料")) != ui::Answer::Yes)
        return;
    if (!RemoveDetailRow(rows_, deleted_, r)) {
        ui::MsgBox(QStringLiteral("超過範圍,也許刪過頭了..."));
        return;
    }
    refused_ = false;
    taken_ = false;
    g->RemoveItem(r);
    txt_->show();
    g->setRow(r - 1);
    Place(g->Row(), g->Col());
    hideEditor();
    // A removed row is a change of the record like a typed cell: the save may write it.
    if (changed_)
        changed_();
}

void DetailGrid::AppendRow(const QStringList& cells)
{
    FlexGrid* g = grid_;
    const int n = rows_.Count() + 1;
    taken_ = false;
    rows_.setCount(short(n));
    g->setRows(n + 1);
    g->setRow(n);
    QStringList row = cells;
    row.prepend(QString::number(n));
    g->AddItem(row.join(QLatin1Char('\t')), n);
    rows_.Redim(n);
    for (int c = 0; c <= rows_.KeyColumn(); ++c)
        rows_.set(n, c, c < int(row.size()) ? row[c] : QString());
    g->setRowHeight(g->Row(), def_.rowTwips);
    if (changed_)
        changed_();
}

DetailRowSet DetailGrid::ChangedRowSet(const QString& code) const
{
    if (vb::Trim(code) != loadedCode_)
        return RowSet();
    DetailRowSet out;
    for (qint64 k : deleted_.Keys())
        out.deletedKeys << k;
    // Only the stored columns count: an item number the grid shows but does not store changes
    // for every row below a removed one, and those rows are not written again for it.
    auto storedSame = [this](const QStringList& a, const QStringList& b) {
        for (int c = 0; c <= def_.LastEditableColumn(); ++c)
            if (!def_.columns[size_t(c)].field.isEmpty() && a.value(c) != b.value(c))
                return false;
        return true;
    };
    // A row not touched since it was read (or taken in) holds what was read.
    for (int r : rows_.Touched()) {
        if (r > rows_.Count())
            break;
        const QStringList row = rows_.Row(r);
        const QString key = row.value(def_.KeyColumn());
        const auto it = read_.find(key);
        if (vb::Trim(key).isEmpty() || it == read_.end() || !storedSame(it->second, row))
            out.rows << row;
    }
    return out;
}
