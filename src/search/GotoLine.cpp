#include "search/GotoLine.h"

#include "core/Conversions.h"
#include "search/SearchSupport.h"

#include <limits>

namespace search {

std::optional<int> requestedLineIndex(const QString& lineNumber)
{
    const double value = conv::leadingValue(lineNumber == QLatin1String("0") ? QStringLiteral("1") : lineNumber);
    const double index = value - 1;
    if (index < std::numeric_limits<int>::min() || index > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(index);
}

LineJump lineJump(const QString& lineNumber, const std::function<int(int)>& lineStart)
{
    const std::optional<int> line = requestedLineIndex(lineNumber);
    const int position = line ? lineStart(*line) : -1;
    if (position < 0)
        return {PastTheEnd, false};
    return {position, position >= FarPosition};
}

}  // namespace search
