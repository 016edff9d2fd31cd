#pragma once
// The Index and Search page of the help viewer, made for the words in its
// search box.
#include <QString>
#include <QStringList>

class HelpLibrary;

// The library's search page with, in place of its "<!--results-->" marker,
// the whole keyword index when the query has no words, else the keywords
// and the pages that hold every word of it.
QString searchPageHtml(const HelpLibrary& library, const QString& query);

// The text as HTML with every occurrence of the words in bold, ignoring case.
QString highlightedHtml(const QString& text, const QStringList& words);
