#pragma once
// Searches over the control's Text() with the text control's own matching
// rules (its case folding and whole-word test): forward as its Find does,
// backward, and every match of a Replace All loop at once. Offsets are
// Text() offsets (a paragraph break counts two).
#include <QStringView>
#include <QVector>
#include <optional>

namespace textsearch {

enum Option { WholeWord = 2, MatchCase = 4 };

// Letters, digits and the underscore make up words.
bool isWordChar(QChar c);

// Whether a match that ends at `end` in text, with `before` the character
// just before it (none at the start of the text), is a whole word.
bool isWholeWord(std::optional<QChar> before, QStringView text, qsizetype end);

// The first match at or after `start` that ends by `end`, or -1. The
// whole-word test looks at the characters just outside the range too.
int findForward(QStringView text, QStringView what, int start, int end, int options);

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
