#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// n stops dividing a width (twips) into n + 1 equal parts, each part
// rounded to a whole twip with halves to the even neighbour.
QList<int> evenTabStops(int widthTwips, int count);

// How many stops a stored ("Tab Set", "Tab") value gives new documents:
// none when it does not read as a whole number, at most ten.
int storedTabStopCount(const QString& stored);

// The Tab Set list: " 1" to " 10", each number with its leading blank.
QStringList tabSetEntries();

// The entry the stored ("Tab Set", "Tab") value selects: its number less
// one, or the fourth entry when it is missing or selects none.
int preselectedTabSetEntry(const QString& stored);
