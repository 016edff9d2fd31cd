#include "document/TabStops.h"

#include "core/Conversions.h"

namespace {
constexpr int MaxTabStops = 10;
constexpr int DefaultEntry = 3;  // " 4"
}  // namespace

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

QStringList tabSetEntries()
{
    QStringList entries;
    for (int n = 1; n <= MaxTabStops; ++n)
        entries << conv::numberWithSign(n);
    return entries;
}

int storedTabStopCount(const QString& stored)
{
    const std::optional<int> count = conv::toInt16(stored);
    return count ? int(conv::bounded(*count, 0, MaxTabStops)) : 0;
}

int preselectedTabSetEntry(const QString& stored)
{
    // Read as the document window reads it, so an entry always matches the
    // number of stops new documents get.
    const std::optional<int> number = conv::toInt16(stored);
    if (!number || *number < 1 || *number > MaxTabStops)
        return DefaultEntry;
    return *number - 1;
}
