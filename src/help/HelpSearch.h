#pragma once
// Full-text search over the help's pages.
#include <QList>
#include <QString>

class HelpLibrary;

struct HelpSearchResult {
    QString page;     // file name of the page
    QString title;
    QString snippet;  // a line of the page around the first match
    int score = 0;    // matches in the text, ten for each in the title, more for the words together
};

// The pages whose title or text hold every word of the query, ignoring case
// (a word also matches inside a longer one: "print" finds "printing"),
// best first, then by title. The search page itself is never a result.
QList<HelpSearchResult> searchHelp(const HelpLibrary& library, const QString& query);

// About `width` characters of the text around the match at position with
// length: on one line, cut at blanks, with "..." where text was left out.
QString snippetAround(const QString& text, qsizetype position, qsizetype length, qsizetype width = 160);
