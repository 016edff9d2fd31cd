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

}  // namespace arrange
