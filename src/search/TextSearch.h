#pragma once
// Searches over the control's Text() with the text control's own matching
// rules (its case folding and whole-word test), for what its Find cannot
// do: look backward, and find every match of a Replace All loop at once.
// Offsets are Text() offsets (a paragraph break counts two).
#include <QStringView>
#include <QVector>

namespace textsearch {

enum Option { WholeWord = 2, MatchCase = 4 };

// Letters, digits and the underscore make up words.
bool isWordChar(QChar c);

// The nearest match that starts before `before`, or -1.
int findBackward(QStringView text, QStringView what, int before, int options);

struct ReplaceAllMatches {
    QVector<int> positions;  // of the replaced matches in the original text, ascending, disjoint
    int caret = -1;          // just after the last replacement in the new text; -1 when none
};

// The matches the Replace All loop replaces when each search starts where
// the previous replacement ends, the first one at `start`. A replacement is
// never searched again, but it is what the whole-word test sees before a
// match that follows it directly.
ReplaceAllMatches replaceAllMatches(QStringView text, QStringView what, QStringView replacement, int start,
                                    int options);

}  // namespace textsearch
