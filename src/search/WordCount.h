#pragma once
// The word count rule, computed in one pass over the text.
//
// A text counts the runs of characters between separators (blank, tab, the
// pair CR LF, and "|") that are at least two characters long, except the
// run after the last separator, which never counts: "one two three" with a
// line break after it counts 3, without it 2. A lone CR or LF separates
// nothing.
#include <QStringView>

namespace wordcount {

// Texts longer than this are counted in slices of this length.
constexpr int SliceLength = 22000;
// Each slice begins where the last this-many characters of the one before
// begin, so consecutive slices share them.
constexpr int SliceOverlap = 20;

// The count of one text (a whole short document, or one slice).
int countWords(QStringView text);

// The count of a document's Text(): whole up to SliceLength characters,
// beyond that the sum over the slices.
int countDocumentWords(QStringView text);

}  // namespace wordcount
