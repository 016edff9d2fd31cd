#pragma once
// Where the Window menu's arrangements put the document windows.
#include <QList>
#include <QRect>
#include <QSize>

namespace arrange {

// n windows one above the other, each the full width (Tile Horizontal).
QList<QRect> tileHorizontal(const QRect& area, int count);
// n windows side by side, each the full height (Tile Vertical).
QList<QRect> tileVertical(const QRect& area, int count);
// Minimized windows lined up from the bottom-left corner, row after row
// upwards (Arrange Icons).
QList<QPoint> iconPositions(const QRect& area, const QSize& iconSize, int count);

}  // namespace arrange
