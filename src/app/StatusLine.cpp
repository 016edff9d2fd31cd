#include "app/StatusLine.h"

QString statusLineText(int line, const QString& lineCount, int column)
{
    return QLatin1String("Line=") + QString::number(line) + QLatin1String(" of ") + lineCount
           + QLatin1String(" Column=") + QString::number(column);
}

QString statusDateText(const QDate& date, const QLocale& locale)
{
    return locale.toString(date, QStringLiteral("MMMM dd, yyyy"));
}
