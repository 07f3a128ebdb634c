// Arranging the inner windows of the main window.
#pragma once

#include <QRect>
#include <QSize>
#include <vector>

class QMdiArea;

// Rectangles for n windows tiling area: horizontally = stacked one above the other, each
// the full width; vertically = side by side, each the full height.  Leftover pixels go to
// the last window so the tiles cover the area exactly.
std::vector<QRect> TileRects(int n, const QRect& area, bool horizontally);

// Positions for n minimized windows of the given size, in rows from the area's bottom-left.
std::vector<QRect> IconRects(int n, const QRect& area, const QSize& iconSize);

// Top-left corners for cascading windows of the given sizes (bottom-most first) in area: each
// one step right of and below the one before, starting again at the top-left corner when a
// window would reach past the area's bottom.  The sizes stay as they are.
std::vector<QPoint> CascadePositions(const std::vector<QSize>& sizes, const QRect& area, int step);

enum class Arrange { Cascade = 0, TileHorizontal = 1, TileVertical = 2, Icons = 3 };
void ArrangeWindows(QMdiArea* area, Arrange how);
