#include "app/WindowArrangement.h"

#include <algorithm>

namespace arrange {

// Splits length into count parts that differ by at most one pixel and add up
// to exactly length.
static QList<int> splitEvenly(int length, int count)
{
    QList<int> sizes;
    for (int i = 0; i < count; ++i)
        sizes << (length * (i + 1)) / count - (length * i) / count;
    return sizes;
}

QList<QRect> tileHorizontal(const QRect& area, int count)
{
    QList<QRect> rects;
    int y = area.top();
    for (int height : splitEvenly(area.height(), std::max(count, 0))) {
        rects << QRect(area.left(), y, area.width(), height);
        y += height;
    }
    return rects;
}

QList<QRect> tileVertical(const QRect& area, int count)
{
    QList<QRect> rects;
    int x = area.left();
    for (int width : splitEvenly(area.width(), std::max(count, 0))) {
        rects << QRect(x, area.top(), width, area.height());
        x += width;
    }
    return rects;
}

QList<QPoint> iconPositions(const QRect& area, const QSize& iconSize, int count)
{
    QList<QPoint> points;
    const int perRow = std::max(1, area.width() / std::max(1, iconSize.width()));
    for (int i = 0; i < count; ++i) {
        const int row = i / perRow;
        const int column = i % perRow;
        points << QPoint(area.left() + column * iconSize.width(),
                         area.bottom() + 1 - (row + 1) * iconSize.height());
    }
    return points;
}

QRect cascadeSlot(const QRect& area, const QSize& size, int step, int index)
{
    const QSize shown = size.boundedTo(area.size()).expandedTo(QSize(0, 0));
    step = std::max(step, 1);
    const int slack = std::min(area.width() - shown.width(), area.height() - shown.height());
    const int offset = (std::max(index, 0) % (slack / step + 1)) * step;
    return QRect(area.topLeft() + QPoint(offset, offset), shown);
}

QList<QRect> cascade(const QRect& area, int count, int step)
{
    QList<QRect> rects;
    for (int i = 0; i < count; ++i)
        rects << cascadeSlot(area, QSize(area.width() * 2 / 3, area.height() * 2 / 3), step, i);
    return rects;
}

QRect fitOnScreen(const QRect& placement, const QSize& decoration, const QRect& screen)
{
    const QSize outer = (placement.size() + decoration).boundedTo(screen.size());
    const int left = std::clamp(placement.left(), screen.left(), screen.right() + 1 - outer.width());
    const int top = std::clamp(placement.top(), screen.top(), screen.bottom() + 1 - outer.height());
    return QRect(QPoint(left, top), outer - decoration);
}

}  // namespace arrange
