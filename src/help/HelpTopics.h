#pragma once
// Where the help's pages live, which page answers which question, and the
// maker's page on the web.
#include <QString>
#include <QUrl>

namespace help {

// The folder of the help pages in the program's resources.
inline const QString ResourceFolder = QStringLiteral(":/help");
inline const QString ContentsPage = QStringLiteral("contents.html");
// The keyword index and full-text search; filled in when it is shown.
inline const QString SearchPage = QStringLiteral("search.html");
// The keyword index: one "keyword<TAB>page[#anchor]" a line.
inline const QString KeywordFile = QStringLiteral("keywords.txt");
// The viewer's style sheet.
inline const QString StyleSheetFile = QStringLiteral("help.css");

// Context topics of the common dialogs' Help buttons.
enum Topic { TopicFileDialogs = 1, TopicFontAndColorDialogs = 2 };

// The page for a context topic; the contents page for an unknown one.
QString topicPage(int context);

// On-Line Support opens this page; the help links only to the maker's site.
inline const QUrl MakerWebPage = QUrl(QStringLiteral("https://pagewell.org/support"));
bool isMakerSite(const QUrl& url);

}  // namespace help
