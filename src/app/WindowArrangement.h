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
// Window number index (from 0) of a cascade of windows of one size, each
// step pixels lower and further right than the one before; where the next
// would stick out of the area, the steps start again at its top-left corner.
QRect cascadeSlot(const QRect& area, const QSize& size, int step, int index);
// count windows cascaded, each two thirds of the area (Cascade).
QList<QRect> cascade(const QRect& area, int count, int step);
// A top-level window's placement, as move() and resize() take it: the
// top-left corner of the window with its frame, and the size inside the
// frame, which adds decoration. Shrunk and moved so that the whole framed
// window lies on the screen, its title bar and buttons in reach.
QRect fitOnScreen(const QRect& placement, const QSize& decoration, const QRect& screen);

}  // namespace arrange
