#include "FlexGrid.h"

#include "platform/text/VbText.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QScrollBar>
#include <QStringList>

FlexGrid::FlexGrid(QWidget* parent) : QTableWidget(parent)
{
    setRowCount(1);
    setColumnCount(1);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    connect(this, &QTableWidget::cellClicked, this, [this](int r, int c) {
        row_ = r + 1;
        col_ = c + 1;
        emit rowColChanged();
        emit cellClicked(row_, col_);
    });
    connect(this, &QTableWidget::currentCellChanged, this, [this](int r, int c, int, int) {
        if (r < 0 || c < 0)
            return;
        if (r + 1 != row_ || c + 1 != col_) {
            row_ = r + 1;
            col_ = c + 1;
            emit rowColChanged();
        }
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { emit scrolled(); });
    cornerButton_ = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    if (cornerButton_)
        cornerButton_->installEventFilter(this);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { emit scrolled(); });
}

int FlexGrid::Rows() const { return rowCount() + 1; }
int FlexGrid::Cols() const { return columnCount() + 1; }

// Qt numbers header sections that have no item; a flex grid shows them blank.
void FlexGrid::fillHeaders()
{
    for (int r = 0; r < rowCount(); ++r)
        if (!verticalHeaderItem(r))
            setVerticalHeaderItem(r, new QTableWidgetItem(QString()));
    for (int c = 0; c < columnCount(); ++c)
        if (!horizontalHeaderItem(c))
            setHorizontalHeaderItem(c, new QTableWidgetItem(QString()));
}

void FlexGrid::setRows(int rows)
{
    setRowCount(std::max(rows, 1) - 1);
    fillHeaders();
}

void FlexGrid::setCols(int cols)
{
    setColumnCount(std::max(cols, 1) - 1);
    fillHeaders();
}

void FlexGrid::setRow(int row)
{
    row_ = row;
    if (row >= 1 && row < Rows() && col_ >= 1 && col_ < Cols()) {
        QSignalBlocker b(this);
        setCurrentCell(row - 1, col_ - 1);
    }
    emit rowColChanged();
}

void FlexGrid::setCol(int col)
{
    col_ = col;
    if (row_ >= 1 && row_ < Rows() && col >= 1 && col < Cols()) {
        QSignalBlocker b(this);
        setCurrentCell(row_ - 1, col - 1);
    }
    emit rowColChanged();
}

QTableWidgetItem* FlexGrid::itemFor(int row, int col, bool create)
{
    if (row < 0 || col < 0 || row >= Rows() || col >= Cols())
        return nullptr;
    if (row == 0 && col == 0)
        return nullptr;  // the corner is no item (see corner_)
    if (row == 0) {
        QTableWidgetItem* it = horizontalHeaderItem(col - 1);
        if (!it && create) {
            it = new QTableWidgetItem;
            setHorizontalHeaderItem(col - 1, it);
        }
        return it;
    }
    if (col == 0) {
        QTableWidgetItem* it = verticalHeaderItem(row - 1);
        if (!it && create) {
            it = new QTableWidgetItem;
            setVerticalHeaderItem(row - 1, it);
        }
        return it;
    }
    QTableWidgetItem* it = item(row - 1, col - 1);
    if (!it && create) {
        it = new QTableWidgetItem;
        setItem(row - 1, col - 1, it);
    }
    return it;
}

// The corner button paints a blank header section; ours carries the corner's text.
bool FlexGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == cornerButton_ && event->type() == QEvent::Paint) {
        QStyleOptionHeader opt;
        opt.initFrom(cornerButton_);
        opt.rect = cornerButton_->rect();
        opt.text = corner_;
        opt.textAlignment = Qt::AlignCenter;
        opt.position = QStyleOptionHeader::OnlyOneSection;
        opt.orientation = Qt::Horizontal;
        QStylePainter painter(cornerButton_);
        painter.drawControl(QStyle::CE_Header, opt);
        return true;
    }
    return QTableWidget::eventFilter(watched, event);
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    if (row == 0 && col == 0)
        return corner_;
    auto* self = const_cast<FlexGrid*>(this);
    QTableWidgetItem* it = self->itemFor(row, col, false);
    return it ? it->text() : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text)
{
    if (row == 0 && col == 0) {
        corner_ = text;
        if (cornerButton_)
            cornerButton_->update();
        return;
    }
    if (QTableWidgetItem* it = itemFor(row, col, true))
        it->setText(text);
}

// A size set in twips reads back as set while the pixels still agree with it.
static int twipsOf(const QHash<int, int>& set, int index, int pixels)
{
    auto it = set.find(index);
    if (it != set.end() && vb::TwipsToPixels(*it) == pixels)
        return *it;
    return vb::PixelsToTwips(pixels);
}

int FlexGrid::ColWidth(int col) const
{
    const int px = col == 0 ? verticalHeader()->width() : columnWidth(col - 1);
    return twipsOf(colTwips_, col, px);
}

void FlexGrid::setColWidth(int col, int twips)
{
    colTwips_[col] = twips;
    if (col == 0)
        verticalHeader()->setFixedWidth(vb::TwipsToPixels(twips));
    else if (col < Cols())
        setColumnWidth(col - 1, vb::TwipsToPixels(twips));
}

int FlexGrid::RowHeight(int row) const
{
    const int px = row == 0 ? horizontalHeader()->height() : rowHeight(row - 1);
    return twipsOf(rowTwips_, row, px);
}

void FlexGrid::setRowHeight(int row, int twips)
{
    rowTwips_[row] = twips;
    if (row == 0)
        horizontalHeader()->setFixedHeight(vb::TwipsToPixels(twips));
    else if (row < Rows())
        QTableWidget::setRowHeight(row - 1, vb::TwipsToPixels(twips));
}

int FlexGrid::ColPos(int col) const
{
    const int origin = frameWidth();
    if (col == 0)
        return vb::PixelsToTwips(origin);
    return vb::PixelsToTwips(origin + verticalHeader()->width() + columnViewportPosition(col - 1));
}

int FlexGrid::RowPos(int row) const
{
    const int origin = frameWidth();
    if (row == 0)
        return vb::PixelsToTwips(origin);
    return vb::PixelsToTwips(origin + horizontalHeader()->height() + rowViewportPosition(row - 1));
}

void FlexGrid::AddItem(const QString& tabbedText, int index)
{
    if (index < 1 || index > Rows())
        index = Rows();
    insertRow(index - 1);
    fillHeaders();
    const QStringList cells = tabbedText.split(QLatin1Char('\t'));
    for (int c = 0; c < cells.size() && c < Cols(); ++c)
        setTextMatrix(index, c, cells[c]);
}

void FlexGrid::RemoveItem(int index)
{
    if (index >= 1 && index < Rows())
        removeRow(index - 1);
}

void FlexGrid::Clear()
{
    setTextMatrix(0, 0, QString());
    for (int r = 0; r < Rows(); ++r)
        for (int c = 0; c < Cols(); ++c)
            if (QTableWidgetItem* it = itemFor(r, c, false))
                it->setText(QString());
}
