#pragma once
// The word count rule, computed in one pass over the text.
//
// A text counts the runs of characters between separators (blank, tab, the
// pair CR LF, and "|") that are at least two characters long, except the
// run after the last separator, which never counts: "one two three" with a
// line break after it counts 3, without it 2. A lone CR or LF separates
// nothing.
#include <QString>
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

// The same count of a Text() of `length` characters handed over in
// consecutive pieces, holding no more than a slice of it at a time.
class DocumentWordCount {
public:
    explicit DocumentWordCount(qsizetype length) : m_length(length) {}
    void add(QStringView piece);
    int total() const;  // once every piece is in

private:
    qsizetype m_length;
    qsizetype m_pendingStart = 0;  // Text() offset of m_pending, where the next slice begins
    QString m_pending;
    int m_total = 0;
};

}  // namespace wordcount
