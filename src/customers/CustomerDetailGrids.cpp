#include "CustomerDetailGrids.h"

#include "core/Globals.h"
#include "core/numbering/Validators.h"
#include "platform/db/Db.h"
#include "platform/shell/Shell.h"
#include "platform/text/VbText.h"
#include "platform/ui/Ui.h"
#include "platform/widgets/FlexGrid.h"

#include <QEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>

namespace {

const int kRowTwips = 300;

struct ColumnDef {
    const char* caption;
    int width;
    int limit;
    const char* field;  // the table's column shown in this grid column
};

const ColumnDef kManColumns[] = {
    {"項次", 500, 0, nullptr},        {"聯絡人", 1300, 16, "RV12A1"}, {"稱謂", 1100, 10, "稱謂"},
    {"職銜", 1100, 10, "RV12A2"},     {"分機", 1000, 10, "RV12A3"},   {"行動電話", 1200, 12, "RV12A5"},
    {"e-mail", 4000, 50, "RV12A6"},   {"Skype", 2000, 10, "RV12A4"},  {"備註", 4000, 0, "備註"},
};
const ColumnDef kDeliveColumns[] = {
    {"項次", 500, 0, nullptr},      {"送貨名稱", 1300, 25, "送貨名稱"}, {"聯絡人", 1300, 10, "RV12B2"},
    {"電話", 2000, 15, "RV12B3"},   {"傳真", 2000, 15, "RV12B4"},       {"地址", 4000, 50, "RV12B5"},
    {"備註", 4000, 20, "RV12B6"},
};

template <size_t N>
std::vector<DetailColumn> columnsOf(const ColumnDef (&defs)[N])
{
    std::vector<DetailColumn> out;
    for (const ColumnDef& d : defs)
        out.push_back({QString::fromUtf8(d.caption), d.width, d.limit});
    return out;
}

const char* fieldOf(DetailKind kind, int col)
{
    return kind == DetailKind::Contacts ? kManColumns[col].field : kDeliveColumns[col].field;
}

const int kEmailColumn = 6;

}  // namespace

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

void DetailRowArray::set(int row, int col, const QString& text)
{
    if (row < 0 || row >= int(rows_.size()) || col < 0 || col > keyColumn_)
        return;
    rows_[size_t(row)][col] = text;
}

void DetailRowArray::Redim(int upperRow)
{
    QStringList empty;
    for (int c = 0; c <= keyColumn_; ++c)
        empty << QString();
    rows_.resize(size_t(std::max(upperRow, 0) + 1), empty);
}

void DetailRowArray::GrowTo(int upperRow)
{
    if (upperRow > UpperRow())
        Redim(upperRow);
}

void DetailRowArray::Clear()
{
    rows_.clear();
    Redim(0);
    count_ = 0;
}

qint64 DeletedRowKeys::Key(int position) const
{
    if (position < 1 || position > int(keys_.size()))
        return 0;
    return keys_[size_t(position - 1)];
}

// ---- Column tables -----------------------------------------------------------------------------

const std::vector<DetailColumn>& DetailColumns(DetailKind kind)
{
    static const std::vector<DetailColumn> man = columnsOf(kManColumns);
    static const std::vector<DetailColumn> delive = columnsOf(kDeliveColumns);
    return kind == DetailKind::Contacts ? man : delive;
}

int LastEditableColumn(DetailKind kind) { return kind == DetailKind::Contacts ? 8 : 6; }
int KeyColumnOf(DetailKind kind) { return kind == DetailKind::Contacts ? 9 : 7; }
int CellByteLimitSize(DetailKind kind) { return kind == DetailKind::Contacts ? 11 : 9; }

// ---- Rules -------------------------------------------------------------------------------------

SpareRowCase SpareRowStep(DetailKind kind, DetailRowArray& rows, int& gridRows, int row, int col)
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
    if (n >= 1 && row != n && rows.at(n, 1).isEmpty() && (kind != DetailKind::Contacts || n != 2)) {
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

EnterMove EnterWalk(DetailKind kind, int row, int col, const QString& col1Text)
{
    const int c = col + 1;
    if (c > LastEditableColumn(kind))
        return {row + 1, 1, false};
    if (col1Text.isEmpty())
        return {row, col, true};
    return {row, c, false};
}

bool KeyRefused(int limit, const QString& text, int keyAscii)
{
    return limit > 0 && vb::ByteLen(text) >= limit && keyAscii != 8;
}

QString FitCommit(int limit, const QString& textWithoutSelection, const QString& commit)
{
    if (limit <= 0)
        return commit;
    const int room = limit - vb::ByteLen(textWithoutSelection);
    return room > 0 ? vb::LeftBytes(commit, room) : QString();
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

QString DeleteRowQuestion(DetailKind kind, const DetailRowArray& rows, int r)
{
    const QString sep = kind == DetailKind::Contacts ? QStringLiteral(" ") : QStringLiteral(" : ");
    return QStringLiteral("確定刪除 ") + rows.at(r, 0) + sep + rows.at(r, 1) + QStringLiteral(" 這一行?");
}

// ---- The editor box ----------------------------------------------------------------------------

GridEditBox::GridEditBox(CustomerDetailGrids* owner, DetailKind kind, QWidget* parent)
    : QLineEdit(parent), owner_(owner), kind_(kind)
{
    QFont f(QStringLiteral("新細明體"));
    f.setPointSizeF(9.75);
    setFont(f);
    hide();
}

void GridEditBox::keyPressEvent(QKeyEvent* event)
{
    int keyAscii = 0;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
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
    const bool refused = owner_->EditorKeyPress(kind_, keyAscii);
    if (keyAscii == 13 || refused) {
        event->accept();  // Enter has done its work: the box has nothing more to do with it
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// Chinese arrives as input-method commits: a commit is cut to what the column still holds.
void GridEditBox::inputMethodEvent(QInputMethodEvent* event)
{
    const int limit = owner_ ? owner_->CurrentByteLimit(kind_) : 0;
    const QString commit = event->commitString();
    if (limit <= 0 || commit.isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QString rest = text();
    if (hasSelectedText())
        rest.remove(selectionStart(), selectedText().size());
    const QString kept = FitCommit(limit, rest, commit);
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
    owner_->EditorLostFocus(kind_);
}

// ---- CustomerDetailGrids -----------------------------------------------------------------------

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

CustomerDetailGrids::CustomerDetailGrids(QWidget* manPage, QWidget* delivePage, QObject* parent)
    : QObject(parent)
{
    for (Side* s : {&man_, &delive_}) {
        QWidget* page = s->kind == DetailKind::Contacts ? manPage : delivePage;
        s->grid = new FlexGrid(page);
        s->grid->setObjectName(s->kind == DetailKind::Contacts ? QStringLiteral("ManGrid")
                                                                : QStringLiteral("DeliveGrid"));
        new FillPage(page, s->grid);
        // A click never scrolls the grid under the editor it places; Enter scrolls on purpose.
        s->grid->setAutoScroll(false);
        s->txt = new GridEditBox(this, s->kind, page);
        s->txt->setObjectName(s->kind == DetailKind::Contacts ? QStringLiteral("ManGridTxt")
                                                               : QStringLiteral("EditGridTXT"));
        s->limits.assign(size_t(CellByteLimitSize(s->kind)), 0);
        const DetailKind kind = s->kind;
        connect(s->grid, &FlexGrid::cellClicked, this, [this, kind](int, int) { GridClick(kind); });
        connect(s->grid, &FlexGrid::scrolled, this, [this, kind] { GridScroll(kind); });
        connect(s->txt, &QLineEdit::textChanged, this, [this, kind] { EditorChange(kind); });
    }
    SetManGrid();
    SetDeliveGrid();
}

CustomerDetailGrids::~CustomerDetailGrids() = default;

void CustomerDetailGrids::SetEditMode(const QString& editMode)
{
    editMode_ = editMode;
    if (editMode_.isEmpty()) {
        hideEditor(man_);
        hideEditor(delive_);
    }
}

void CustomerDetailGrids::ClearDeletedRowKeys()
{
    man_.deleted.Clear();
    delive_.deleted.Clear();
}

void CustomerDetailGrids::SetManGrid() { build(man_); }
void CustomerDetailGrids::SetDeliveGrid() { build(delive_); }
void CustomerDetailGrids::ReadMinDate(const QString& code) { load(man_, code); }
void CustomerDetailGrids::ReadDeliveDate(const QString& code) { load(delive_, code); }
void CustomerDetailGrids::POSitionMan(int row, int col) { place(man_, row, col); }
void CustomerDetailGrids::POSition(int row, int col) { place(delive_, row, col); }
void CustomerDetailGrids::驗證明細折行man() { spareRows(man_); }
void CustomerDetailGrids::驗證明細折行() { spareRows(delive_); }

void CustomerDetailGrids::build(Side& s)
{
    FlexGrid* g = s.grid;
    const std::vector<DetailColumn>& cols = DetailColumns(s.kind);
    g->Clear();
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    g->setRows(2);
    g->setCols(int(cols.size()));
    g->setRow(0);
    for (int c = 0; c < int(cols.size()); ++c) {
        g->setCol(c);
        g->setTextMatrix(0, c, cols[size_t(c)].caption);
        g->setColWidth(c, cols[size_t(c)].widthTwips);
    }
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    g->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void CustomerDetailGrids::load(Side& s, const QString& rawCode)
{
    hideEditor(s);
    // The code is trimmed for both grids, as the save writes it.
    const QString code = vb::Trim(rawCode);
    const std::vector<DetailColumn>& cols = DetailColumns(s.kind);
    // Every column's limit is set on every load, whether or not the customer has rows.
    s.limits.assign(size_t(CellByteLimitSize(s.kind)), 0);
    for (int c = 0; c < int(cols.size()); ++c)
        s.limits[size_t(c)] = short(cols[size_t(c)].byteLimit);
    s.grid->Clear();
    build(s);
    s.rows.Clear();

    const QString table = s.kind == DetailKind::Contacts ? QStringLiteral("RV12A") : QStringLiteral("RV12B");
    db::Recordset rs;
    rs.Open(QStringLiteral("Select ") + table + QStringLiteral(".* From ") + table + QStringLiteral(" Where (") +
                table + QStringLiteral(".") + table + QStringLiteral("0 = ? )"),
            gConn, db::adOpenStatic,
            db::adLockReadOnly, {code});
    if (!rs.Eof()) {
        s.grid->setRows(int(rs.RecordCount()) + 2);
        for (int r = 1; r < s.grid->Rows(); ++r)
            s.grid->setRowHeight(r, kRowTwips);
        const int key = KeyColumnOf(s.kind);
        int n = 0;
        s.grid->setUpdatesEnabled(false);
        for (; !rs.Eof(); rs.MoveNext()) {
            ++n;
            s.rows.Redim(n);
            for (int c = 0; c < int(cols.size()); ++c) {
                const QString v = c == 0 ? QString::number(n) : vb::Nz(rs.value(QString::fromUtf8(fieldOf(s.kind, c))));
                s.grid->setTextMatrix(n, c, v);
                s.rows.set(n, c, v);
            }
            s.rows.set(n, key, vb::Nz(rs.value(QStringLiteral("序號"))));
            s.rows.setCount(short(n));
        }
        s.grid->setRow(n);  // the last row read stays current
        s.grid->setUpdatesEnabled(true);
    }
    s.grid->scrollToTop();  // the list opens at its top whichever row ends up current
    s.grid->show();
}

void CustomerDetailGrids::hideEditor(Side& s)
{
    if (!s.txt || s.txt->isHidden())
        return;
    ++quietHide_;
    s.txt->hide();
    --quietHide_;
}

void CustomerDetailGrids::spareRows(Side& s)
{
    FlexGrid* g = s.grid;
    const int R = g->Row();
    const int C = g->Col();
    int gridRows = g->Rows();
    const SpareRowCase which = SpareRowStep(s.kind, s.rows, gridRows, R, C);
    if (gridRows != g->Rows()) {
        g->setRows(gridRows);
        if (g->Row() != R || g->Col() != C) {
            g->setCol(C);
            g->setRow(R);
        }
    }
    if (which == SpareRowCase::A || which == SpareRowCase::C || s.kind == DetailKind::Deliveries) {
        for (int r = 1; r < g->Rows(); ++r)
            g->setRowHeight(r, kRowTwips);
    } else if (which == SpareRowCase::B) {
        g->setRowHeight(s.rows.Count() + 1, kRowTwips);
    }
}

// Scrolls the grid so that its current cell is in view.
void CustomerDetailGrids::showCell(Side& s)
{
    FlexGrid* g = s.grid;
    if (g->Row() >= 1 && g->Row() < g->Rows() && g->Col() >= 1 && g->Col() < g->Cols())
        g->scrollTo(g->model()->index(g->Row() - 1, g->Col() - 1));
}

void CustomerDetailGrids::place(Side& s, int row, int col)
{
    spareRows(s);
    FlexGrid* g = s.grid;
    if (row < 0 || row >= g->Rows() || col < 1 || col >= g->Cols())
        return;  // no such cell to cover
    if (s.kind == DetailKind::Contacts) {
        ManEditRow = short(row);
        ManEditCol = short(col);
    }
    const int w = g->ColWidth(col) + 50;
    const int h = g->RowHeight(row) + 50;
    const int left = vb::PixelsToTwips(g->x()) + g->ColPos(col) + 10;
    const int top = vb::PixelsToTwips(g->y()) + g->RowPos(row) + 10;
    s.txt->setGeometry(vb::TwipsToPixels(left), vb::TwipsToPixels(top), vb::TwipsToPixels(w),
                       vb::TwipsToPixels(h));
    s.txt->setText(g->TextMatrix(row, col));
    s.txt->show();
    s.txt->raise();
    s.txt->setFocus(Qt::OtherFocusReason);
    s.txt->setCursorPosition(int(s.txt->text().size()));
    ui::DoEvents();
}

void CustomerDetailGrids::GridClick(DetailKind kind)
{
    if (editMode_.isEmpty())
        return;
    Side& s = side(kind);
    FlexGrid* g = s.grid;
    const int row = g->Row();
    if (deleteRowButton_)
        deleteRowButton_->setEnabled(!(row > s.rows.Count()));
    if (vb::Trim(g->TextMatrix(row, 1)).isEmpty() && g->Col() != 1)
        g->setCol(1);
    place(s, g->Row(), g->Col());
}

void CustomerDetailGrids::GridScroll(DetailKind kind)
{
    Side& s = side(kind);
    if (!s.moving)
        hideEditor(s);
}

void CustomerDetailGrids::EditorChange(DetailKind kind)
{
    Side& s = side(kind);
    FlexGrid* g = s.grid;
    const int r = g->Row();
    const int c = g->Col();
    if (r < 1 || r >= g->Rows() || c < 1 || c >= g->Cols())
        return;  // the caption row is never typed into
    g->setTextMatrix(r, c, s.txt->text());
    s.rows.GrowTo(r);
    s.rows.set(r, c, g->TextMatrix(r, c));
}

int CustomerDetailGrids::CurrentByteLimit(DetailKind kind) const
{
    const Side& s = side(kind);
    const int c = s.grid->Col();
    if (c < 0 || c >= int(s.limits.size()))
        return 0;
    return s.limits[size_t(c)];
}

bool CustomerDetailGrids::EditorKeyPress(DetailKind kind, int keyAscii)
{
    Side& s = side(kind);
    FlexGrid* g = s.grid;
    if (keyAscii == 13) {
        s.moving = true;
        const EnterMove m = EnterWalk(kind, g->Row(), g->Col(), g->TextMatrix(g->Row(), 1));
        if (m.beep) {
            ui::Beep();
        } else if (m.row != g->Row()) {
            // Past the last row of the grid a spare row is added to walk onto.
            if (m.row >= g->Rows()) {
                g->setRows(m.row + 1);
                g->setRowHeight(m.row, kRowTwips);
            }
            g->setCol(1);
            g->setRow(m.row);
            showCell(s);
            place(s, g->Row(), g->Col());
            s.txt->setFocus(Qt::OtherFocusReason);
        } else {
            g->setCol(m.col);
            showCell(s);
            place(s, g->Row(), m.col);
        }
        s.txt->setCursorPosition(int(s.txt->text().size()));
        s.moving = false;
    }
    return KeyRefused(CurrentByteLimit(kind), s.txt->text(), keyAscii);
}

void CustomerDetailGrids::EditorLostFocus(DetailKind kind)
{
    Side& s = side(kind);
    hideEditor(s);
    if (kind != DetailKind::Contacts || ManEditCol != kEmailColumn)
        return;
    // The cell the editor covered was an e-mail address: check it and return there when wrong.
    QString message;
    IsValidEmail(s.txt->text(), message);
    if (vb::Trim(message).isEmpty())
        return;
    ui::MsgBox(message);
    s.grid->setCol(ManEditCol);
    s.grid->setRow(ManEditRow);
    place(s, s.grid->Row(), s.grid->Col());
}

void CustomerDetailGrids::刪除一行(int selectedTab)
{
    if (selectedTab != 2 && selectedTab != 3)
        return;
    Side& s = selectedTab == 2 ? man_ : delive_;
    FlexGrid* g = s.grid;
    const int r = g->Row();
    if (ui::MsgBox(DeleteRowQuestion(s.kind, s.rows, r), ui::Buttons::YesNo, ui::Icon::None,
                   QStringLiteral("刪除資料")) != ui::Answer::Yes)
        return;
    if (!RemoveDetailRow(s.rows, s.deleted, r)) {
        ui::MsgBox(QStringLiteral("超過範圍,也許刪過頭了..."));
        return;
    }
    g->RemoveItem(r);
    s.txt->show();
    g->setRow(r - 1);
    place(s, g->Row(), g->Col());
    hideEditor(s);
}

void CustomerDetailGrids::MailCom_Click()
{
    const int row = man_.grid->Row();
    if (row <= 0)
        return;
    const QString e = vb::Trim(man_.rows.at(row, kEmailColumn));
    if (!e.isEmpty())
        shellsvc::OpenUrl(QStringLiteral("mailto:") + e);
    else
        ui::MsgBox(QStringLiteral("行 ") + QString::number(row) +
                   QStringLiteral(" 的郵件地址是空的，請點選有郵件地址那行。"));
}

bool CustomerDetailGrids::AddressCom_Click(const QString& shortName, const QString& phone, const QString& fax,
                                           const QString& address)
{
    if (vb::Trim(shortName).isEmpty() || vb::Trim(address).isEmpty()) {
        ui::MsgBox(QStringLiteral("客戶簡稱或公司地址未輸入。"));
        return false;
    }
    DetailRowArray& rows = delive_.rows;
    FlexGrid* g = delive_.grid;
    const int n = rows.Count() + 1;
    rows.setCount(short(n));
    g->setRows(n + 1);
    g->setRow(n);
    const QStringList cells = {QString::number(n), vb::Trim(shortName), QString(), vb::Trim(phone),
                               vb::Trim(fax),      vb::Trim(address),   QString()};
    g->AddItem(cells.join(QLatin1Char('\t')), n);
    rows.Redim(n);
    for (int c = 0; c <= rows.KeyColumn(); ++c)
        rows.set(n, c, c < int(cells.size()) ? cells[c] : QString());
    g->setRowHeight(g->Row(), kRowTwips);
    return true;
}
