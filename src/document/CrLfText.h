#pragma once
// A document's text as the program sees it: every paragraph break counts as
// the two characters CR LF, so paragraph n starts n characters after its
// position in the document.
#include <QString>
#include <vector>

class QTextDocument;

// The paragraph separators (U+2029) of raw text as CR LF.
QString withCrLfBreaks(const QString& raw);

int crLfLength(const QTextDocument& document);
int crLfIndex(const QTextDocument& document, int position);
// An index on the CR or LF of a break means the paragraph's end.
int documentPosition(const QTextDocument& document, int index);

// The text kept as one string: edits since it was built are replayed on it
// when next needed, rather than rebuilding it from the whole document.
class CrLfTextCache {
public:
    const QString& text(const QTextDocument& document) const;
    // To be called from the document's contentsChange, for every change.
    void noteChange(QTextDocument& document, int position, int removed, int added);

private:
    struct Edit {
        qsizetype at, removed;
        QString inserted;
    };
    mutable QString m_text;
    mutable bool m_valid = false;
    mutable std::vector<Edit> m_edits;
    int m_blockCount = 1;
};
