#pragma once
#include <QDate>
#include <QLocale>
#include <QString>

// Panel 2: "Line=5 of 10 Column=3". An empty count stays empty.
QString statusLineText(int line, const QString& lineCount, int column);
// Panel 3: the date as "mmmm dd, yyyy" in the locale's month names.
QString statusDateText(const QDate& date, const QLocale& locale = QLocale());
