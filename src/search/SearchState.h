#pragma once
// The application-wide search state that carries a search from the Find
// dialog to later Find Next commands.
#include <QString>
#include <QtGlobal>

// The text of the last search started from the Find dialog; empty until
// then and after a failed search.
extern QString SearchText;
// The text control's Find options for it: 2 whole words, 4 match case.
extern qint16 SearchOptions;

// The Find options for the two check boxes of the Find and Replace dialogs.
inline qint16 searchOptionsFor(bool wholeWord, bool matchCase)
{
    return qint16((wholeWord ? 2 : 0) + (matchCase ? 4 : 0));
}
