#include "shell/WindowArrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

std::vector<QRect> TileRects(int n, const QRect& area, bool horizontally)
{
    std::vector<QRect> out;
    if (n <= 0)
        return out;
    const int total = horizontally ? area.height() : area.width();
    const int each = total / n;
    for (int i = 0; i < n; ++i) {
        const int start = i * each;
        const int len = (i == n - 1) ? total - start : each;
        if (horizontally)
            out.emplace_back(area.left(), area.top() + start, area.width(), len);
        else
            out.emplace_back(area.left() + start, area.top(), len, area.height());
    }
    return out;
}

std::vector<QRect> IconRects(int n, const QRect& area, const QSize& iconSize)
{
    std::vector<QRect> out;
    const int perRow = std::max(1, area.width() / std::max(1, iconSize.width()));
    for (int i = 0; i < n; ++i) {
        const int col = i % perRow, row = i / perRow;
        out.emplace_back(area.left() + col * iconSize.width(),
                         area.bottom() + 1 - (row + 1) * iconSize.height(), iconSize.width(), iconSize.height());
    }
    return out;
}

std::vector<QPoint> CascadePositions(const std::vector<QSize>& sizes, const QRect& area, int step)
{
    std::vector<QPoint> out;
    int k = 0;  // place in the current run down the area
    for (const QSize& size : sizes) {
        if (k > 0 && area.top() + k * step + size.height() > area.bottom() + 1)
            k = 0;
        out.emplace_back(area.left() + k * step, area.top() + k * step);
        ++k;
    }
    return out;
}

void ArrangeWindows(QMdiArea* area, Arrange how)
{
    if (!area)
        return;
    std::vector<QMdiSubWindow*> normal, minimized;
    for (QMdiSubWindow* w : area->subWindowList(QMdiArea::StackingOrder)) {
        if (!w->isVisible())
            continue;
        (w->isMinimized() ? minimized : normal).push_back(w);
    }
    const QRect inner = area->viewport()->rect();
    if (how == Arrange::Cascade) {
        // Each window keeps its own size (a record window has a fixed one); only the positions
        // are staggered, by the height of a title bar, the active window in front.
        for (QMdiSubWindow* w : normal)
            if (w->isMaximized())
                w->showNormal();
        std::vector<QSize> sizes;
        for (QMdiSubWindow* w : normal)
            sizes.push_back(w->size());
        const int step = normal.empty() || !normal.front()->widget() ? 0 : normal.front()->widget()->geometry().top();
        const auto at = CascadePositions(sizes, inner, std::max(step, 1));
        for (size_t i = 0; i < normal.size(); ++i)
            normal[i]->move(at[i]);
        return;
    }
    if (how == Arrange::Icons) {
        const QSize icon = minimized.empty() ? QSize() : minimized.front()->size();
        const auto rects = IconRects(int(minimized.size()), inner, icon);
        for (size_t i = 0; i < minimized.size(); ++i)
            minimized[i]->move(rects[i].topLeft());
        return;
    }
    // The active window first, as the window system did.
    std::reverse(normal.begin(), normal.end());
    const auto rects = TileRects(int(normal.size()), inner, how == Arrange::TileHorizontal);
    for (size_t i = 0; i < normal.size(); ++i) {
        if (normal[i]->isMaximized())
            normal[i]->showNormal();
        normal[i]->setGeometry(rects[i]);
    }
}
