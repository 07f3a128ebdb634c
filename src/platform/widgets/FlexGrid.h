// A grid keeping MSFlexGrid's indices over QTableWidget.
//
// Row 0 is the caption row and column 0 the fixed column (shown as the table's headers, so they
// stay put when the body scrolls); body cell (r, c) with r, c >= 1 is table cell (r-1, c-1).
// Cell (0, 0) is the corner above the fixed column; its text is drawn there.
// Sizes and positions are in twips, measured from the grid's own top-left corner.
#pragma once

#include <QHash>
#include <QTableWidget>

class FlexGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget* parent = nullptr);

    int Rows() const;                 // including the caption row
    void setRows(int rows);           // >= 1
    int Cols() const;                 // including the fixed column
    void setCols(int cols);           // >= 1
    int Row() const { return row_; }
    void setRow(int row);
    int Col() const { return col_; }
    void setCol(int col);

    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);
    QString Text() const { return TextMatrix(row_, col_); }  // the current cell
    void setText(const QString& text) { setTextMatrix(row_, col_, text); }

    int ColWidth(int col) const;      // twips
    void setColWidth(int col, int twips);
    int RowHeight(int row) const;     // twips
    void setRowHeight(int row, int twips);
    int CellWidth() const { return ColWidth(col_); }
    int CellHeight() const { return RowHeight(row_); }
    int ColPos(int col) const;        // left edge of the column, twips from the grid's left
    int RowPos(int row) const;        // top edge of the row, twips from the grid's top

    // Inserts a row at `index` (default: at the end) whose cells are the tab-separated texts,
    // starting at column 0.
    void AddItem(const QString& tabbedText, int index = -1);
    void RemoveItem(int index);
    void Clear();                     // every text, captions included; sizes stay

signals:
    void cellClicked(int row, int col);  // VB Click, with Row/Col already moved there
    void scrolled();                     // VB Scroll
    void rowColChanged();                // VB RowColChange

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableWidgetItem* itemFor(int row, int col, bool create);
    void fillHeaders();
    QHash<int, int> colTwips_;  // widths as set, so a set width reads back unchanged
    QHash<int, int> rowTwips_;
    QString corner_;            // the text of cell (0, 0), drawn on the corner button
    QWidget* cornerButton_ = nullptr;
    int row_ = 1;
    int col_ = 1;
};
