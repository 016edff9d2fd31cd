#include "print/PageSettings.h"

#include "core/Conversions.h"
#include "core/DateTimeFormat.h"
#include "core/Settings.h"

#include <QLocale>

namespace {

const PageSettings BuiltIn;

QString readKey(const char* key)
{
    return GetSetting(AppTitle, PageSetupSection, QString::fromLatin1(key));
}

QString headerOrFooter(const QString& stored, const QString& builtIn)
{
    if (stored.isEmpty())
        return builtIn;
    if (stored == NoHeaderOrFooter)
        return QString();
    return stored;
}

double margin(const QString& stored, double builtIn)
{
    return stored.isEmpty() ? builtIn : marginInches(stored);
}

}  // namespace

PageSettings& pageSettings()
{
    static PageSettings settings;
    return settings;
}

StoredPageSetup readStoredPageSetup()
{
    return {readKey("Header"), readKey("Footer"), readKey("Left"),
            readKey("Right"),  readKey("Top"),    readKey("Bottom")};
}

void writeStoredPageSetup(const StoredPageSetup& stored)
{
    // All six at once: another copy's Save cannot end up mixed with this one.
    UpdateSettings(AppTitle, [&](SettingsStore::Transaction& settings) {
        const std::pair<const char*, const QString*> keys[] = {
            {"Header", &stored.Header}, {"Footer", &stored.Footer}, {"Left", &stored.Left},
            {"Right", &stored.Right},   {"Top", &stored.Top},       {"Bottom", &stored.Bottom}};
        for (const auto& [key, value] : keys)
            settings.setValue(PageSetupSection, QString::fromLatin1(key), *value);
    });
}

QString expandDateHeader(const QString& header, const QDate& today)
{
    if (header != QLatin1String("&d"))
        return header;
    return formatDateTime(QDateTime(today, QTime(0, 0)), QStringLiteral("dddd, mmmm dd, yyyy"), QLocale());
}

PageSettings pageSettingsFromStored(const StoredPageSetup& stored, const QDate& today)
{
    PageSettings settings;
    settings.PageHeader = expandDateHeader(headerOrFooter(stored.Header, BuiltIn.PageHeader), today);
    settings.PageFooter = headerOrFooter(stored.Footer, BuiltIn.PageFooter);
    settings.MarginLeft = margin(stored.Left, BuiltIn.MarginLeft);
    settings.MarginRight = margin(stored.Right, BuiltIn.MarginRight);
    settings.MarginTop = margin(stored.Top, BuiltIn.MarginTop);
    settings.MarginBottom = margin(stored.Bottom, BuiltIn.MarginBottom);
    return settings;
}

double marginInches(const QString& text)
{
    constexpr double LargestPaperInches = 200;
    return conv::bounded(conv::leadingValue(text), 0, LargestPaperInches);
}

QString marginBoxText(double inches)
{
    return QString::number(inches, 'f', QLocale::FloatingPointShortest);
}

bool isMarginEntry(const QString& text)
{
    int periods = 0;
    int digits = 0;
    for (const QChar c : text) {
        if (c == u'.')
            ++periods;
        else if (c >= u'0' && c <= u'9')
            ++digits;
        else
            return false;
    }
    return digits > 0 && periods <= 1;
}

void LoadPageSettings()
{
    pageSettings() = pageSettingsFromStored(readStoredPageSetup(), QDate::currentDate());
}
