#include "editing/DateTimeEntries.h"

#include "core/Conversions.h"
#include "core/DateTimeFormat.h"

QStringList dateTimeEntries(const QDateTime& now, const QLocale& locale)
{
    const QDateTime today(now.date(), QTime(0, 0));
    const auto format = [&locale](const QDateTime& moment, const char* pattern) {
        return formatDateTime(moment, QLatin1String(pattern), locale);
    };
    const QString time = format(now, "h:mm AMPM");
    const QString twoSpaces = QStringLiteral("  ");
    return {
        format(now, "mmm dd, yyyy") + twoSpaces + time,
        format(now, "General Date"),
        format(today, "Long Date"),
        format(today, "dddd, mmm d, yyyy") + twoSpaces + time,
        format(today, "dddd, mmm d, yyyy"),
        format(now, "mmmm dd, yyyy"),
        format(now, "mmm dd, yyyy"),
        format(today, "Medium Date"),
        format(today, "General Date"),
        format(now, "yy/mm/dd"),
        time,
        format(now, "Medium Time"),
        format(now, "Long Time"),
        format(now, "h:mm:s"),
        format(now, "Short Time"),
    };
}

int preselectedDateTimeEntry(const QString& stored)
{
    if (stored.isEmpty())
        return 0;
    const double position = conv::roundHalfEven(conv::bounded(conv::leadingValue(stored), -1, DateTimeEntryCount));
    return position >= 0 && position < DateTimeEntryCount ? int(position) : 0;
}
