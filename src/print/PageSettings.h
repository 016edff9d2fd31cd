#pragma once
// The page settings that printing uses: header and footer texts with their
// codes ("&f" file name, "&d" date, "&p" page number) and the four margins in
// inches, as loaded from the store at start-up or confirmed in Page Setup.
#include <QDate>
#include <QString>

struct PageSettings {
    QString PageHeader = QStringLiteral("&f");  // empty: no header
    QString PageFooter = QStringLiteral("Page &p");  // empty: no footer
    double MarginLeft = 0.75;
    double MarginRight = 0.25;
    double MarginTop = 0.5;
    double MarginBottom = 0;
};

// The page settings in effect for this run.
PageSettings& pageSettings();

// The six texts of the "Page Setup" section, as stored.
struct StoredPageSetup {
    QString Header, Footer, Left, Right, Top, Bottom;
};

inline const QString PageSetupSection = QStringLiteral("Page Setup");
inline const QString NoHeaderOrFooter = QStringLiteral("None");

StoredPageSetup readStoredPageSetup();
// Writes the six keys in the order Header, Footer, Left, Right, Top, Bottom.
void writeStoredPageSetup(const StoredPageSetup& stored);

// Stored texts to settings: empty keys give the built-in values, "None" no
// header or footer, margins the number their text starts with.
PageSettings pageSettingsFromStored(const StoredPageSetup& stored, const QDate& today);

// A header that is exactly "&d" becomes the date, e.g. "Friday, December 04, 2026".
QString expandDateHeader(const QString& header, const QDate& today);

// A margin text read as the number it starts with, in inches, bounded to
// what a sheet of paper could hold.
double marginInches(const QString& text);

// A margin as its box shows it: shortest decimal, "." and a leading zero.
QString marginBoxText(double inches);

// What a margin box may hold when OK is pressed: digits with at most one
// period, and at least one digit.
bool isMarginEntry(const QString& text);

// Loads the page settings from the store; called once at start-up.
void LoadPageSettings();

// The Page Setup command: the dialog, started from the stored settings.
void ShowPageSetup();
