#pragma once
// The fifteen entries of the Date and Time dialog, and which one it selects
// when it opens.
#include <QDateTime>
#include <QLocale>
#include <QStringList>

constexpr int DateTimeEntryCount = 15;

// The entries for the moment `now`, in order. Some use today, i.e. now's
// date at midnight.
QStringList dateTimeEntries(const QDateTime& now, const QLocale& locale);

// The entry to preselect from the stored "Date/Time" / "Format" value: the
// position its leading number gives, or 0 when it is empty or not a
// position in the list.
int preselectedDateTimeEntry(const QString& stored);
