#pragma once
#include <QList>

// n stops dividing a width (twips) into n + 1 equal parts, each part
// rounded to a whole twip with halves to the even neighbour.
QList<int> evenTabStops(int widthTwips, int count);
