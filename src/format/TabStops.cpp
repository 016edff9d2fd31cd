#include "format/TabStops.h"

#include "app/Conversions.h"

QList<int> evenTabStops(int widthTwips, int count)
{
    QList<int> stops;
    if (count <= 0)
        return stops;
    const int step = int(conv::roundHalfEven(double(widthTwips) / (count + 1)));
    for (int i = 1; i <= count; ++i)
        stops << i * step;
    return stops;
}
