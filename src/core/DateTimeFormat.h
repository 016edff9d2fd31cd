#pragma once
// Dates and times as text, the way the platform's Format does it, for a given
// moment and locale: the program's own format strings ("mmm dd, yyyy",
// "h:mm AMPM") and the named formats ("Long Date", "Medium Time", ...),
// which use the locale's names, AM/PM designators and regional patterns.
#include <QDateTime>
#include <QLocale>
#include <QString>

// The locale's regional date and time patterns, in Qt's pattern syntax
// (d dd dddd M MM MMM MMMM yy yyyy h hh H HH m mm s ss AP ap 'text').
struct RegionalPatterns {
    QString shortDate;
    QString longDate;
    QString longTime;
};

// Qt's patterns for the locale, adjusted to what the desktop's regional
// settings show: short dates with the full year, long times without a time
// zone, and the United States long date with a two-digit day.
RegionalPatterns regionalPatterns(const QLocale& locale);

// format is a format string of the program's syntax or a named format:
// "d" "dd" day, "ddd" "dddd" weekday name, "m" "mm" month (minutes directly
// after "h" or "hh"), "mmm" "mmmm" month name, "yy" "yyyy" year, "h" "hh"
// hour (12-hour when the format holds "AMPM"), "s" "ss" seconds, "AMPM" the
// designator; anything else is copied. Named formats: "General Date",
// "Long Date", "Medium Date", "Short Date", "Long Time", "Medium Time",
// "Short Time".
QString formatDateTime(const QDateTime& moment, const QString& format, const QLocale& locale);

// A moment written in one of the locale's patterns (Qt's syntax).
QString formatWithPattern(const QDateTime& moment, const QString& pattern, const QLocale& locale);
