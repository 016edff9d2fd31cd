#include "document/TextEdits.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <vector>

// Editing a QTextDocument costs about two microseconds per cursor operation
// whatever its size, so one remove and one insert per match is too slow for
// a million matches. Instead each paragraph's edits are merged into one
// stretch, from the first edit to the last, which is removed and inserted
// again, kept characters included, in runs of one character format: for
// text of one format that is one removal and one insertion per paragraph.
// Stretches never cross a paragraph break (that would lose paragraph
// formats) nor an embedded object (which insertText cannot recreate).

namespace {

struct Fragment {
    int start;  // document position
    int length;
    int formatIndex;
    QTextCharFormat format;
};

// The format runs of one paragraph as it is before the edits.
class Paragraph {
public:
    Paragraph(const QTextBlock& block, int number)
        : m_start(block.position()), m_offset(block.position() + number), m_text(block.text())
    {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            m_fragments.push_back({fragment.position(), fragment.length(),
                                   fragment.charFormatIndex(), fragment.charFormat()});
        }
    }

    int toPosition(int offset) const { return offset - m_offset + m_start; }
    int endOffset() const { return m_offset + int(m_text.size()); }  // of its CR

    const Fragment& at(int position) const
    {
        auto it = std::upper_bound(m_fragments.begin(), m_fragments.end(), position,
                                   [](int p, const Fragment& f) { return p < f.start; });
        return *(it - 1);
    }

    QStringView text(int position, int length) const
    {
        return QStringView(m_text).mid(position - m_start, length);
    }

    bool holdsObject(int from, int to) const
    {
        for (int p = from; p < to;) {
            const Fragment& f = at(p);
            if (f.format.objectType() != QTextFormat::NoObject)
                return true;
            p = f.start + f.length;
        }
        return false;
    }

private:
    int m_start;
    int m_offset;  // text offset (CR LF = 2) of the paragraph's start
    QString m_text;
    std::vector<Fragment> m_fragments;
};

struct Run {
    QString text;
    QTextCharFormat format;
    int formatIndex;
};

// A stretch of one paragraph and what replaces it.
struct Rewrite {
    int start;
    int end;
    std::vector<Run> runs;

    void append(QStringView text, const Fragment& f)
    {
        if (text.isEmpty())
            return;
        if (!runs.empty() && runs.back().formatIndex == f.formatIndex)
            runs.back().text.append(text);
        else
            runs.push_back({text.toString(), f.format, f.formatIndex});
    }

    void appendKept(const Paragraph& paragraph, int to)
    {
        while (end < to) {
            const Fragment& f = paragraph.at(end);
            const int stop = std::min(to, f.start + f.length);
            append(paragraph.text(end, stop - end), f);
            end = stop;
        }
    }
};

// All rewrites, in document order, from the document as it is.
std::vector<Rewrite> planRewrites(const QTextDocument* document, const QVector<TextEdit>& edits)
{
    std::vector<Rewrite> rewrites;
    QTextBlock block = document->begin();
    int number = 0;
    Paragraph paragraph(block, number);
    bool open = false;
    for (const TextEdit& edit : edits) {
        // An edit never holds a paragraph break, so it lies in one paragraph.
        if (edit.position > paragraph.endOffset()) {
            open = false;
            while (block.next().isValid() && block.next().position() + number + 1 <= edit.position) {
                block = block.next();
                ++number;
            }
            paragraph = Paragraph(block, number);
        }
        const int start = paragraph.toPosition(edit.position);
        if (open && paragraph.holdsObject(rewrites.back().end, start))
            open = false;
        if (!open)
            rewrites.push_back({start, start, {}});
        open = true;
        Rewrite& rewrite = rewrites.back();
        rewrite.appendKept(paragraph, start);
        if (!edit.text.isEmpty())
            rewrite.append(edit.text, paragraph.at(paragraph.toPosition(edit.formatSource)));
        rewrite.end = start + edit.removed;
    }
    return rewrites;
}

}  // namespace

void applyTextEdits(QTextDocument* document, const QVector<TextEdit>& edits)
{
    if (edits.isEmpty())
        return;
    const std::vector<Rewrite> rewrites = planRewrites(document, edits);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    // Back to front, so positions not yet reached stay valid.
    for (auto it = rewrites.rbegin(); it != rewrites.rend(); ++it) {
        cursor.setPosition(it->start);
        cursor.setPosition(it->end, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        for (const Run& run : it->runs)
            cursor.insertText(run.text, run.format);
    }
    cursor.endEditBlock();
}
