#include "document/TextEdits.h"

#include <QElapsedTimer>
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

using textedits::PauseEveryMs;
using textedits::SliceLength;

// A long change's edit block ends at each pause, so that the pause sees a
// whole document and Undo can paint between the blocks. A change cancelled
// at a pause is undone.
class Pauses {
public:
    // afterFirst: pause after the first step too, as the caller may have
    // gone a while without painting.
    Pauses(QTextCursor& cursor, std::function<bool(qint64 done)> keepGoing, bool afterFirst)
        : m_cursor(cursor), m_keepGoing(std::move(keepGoing)),
          m_undoneTo(cursor.document()->availableUndoSteps()), m_due(afterFirst)
    {
        m_clock.start();
        m_cursor.beginEditBlock();
    }

    // Between steps; false when cancelled, the change then undone.
    bool operator()(qint64 done)
    {
        if (!m_keepGoing || (!m_due && m_clock.elapsed() < PauseEveryMs))
            return true;
        m_due = false;
        m_cursor.endEditBlock();
        if (!m_keepGoing(done)) {
            QTextDocument* document = m_cursor.document();
            while (document->availableUndoSteps() > m_undoneTo)
                document->undo();
            document->clearUndoRedoStacks(QTextDocument::RedoStack);
            return false;
        }
        m_cursor.beginEditBlock();
        m_clock.restart();
        return true;
    }

    void finish() { m_cursor.endEditBlock(); }

private:
    QTextCursor& m_cursor;
    std::function<bool(qint64)> m_keepGoing;
    int m_undoneTo;
    bool m_due;
    QElapsedTimer m_clock;
};

struct Fragment {
    int start;  // document position
    int length;
    int formatIndex;
    QTextCharFormat format;
};

// The format runs of one paragraph as it is before its edits.
class Paragraph {
public:
    Paragraph(const QTextBlock& block, int offset)
        : m_next(block.next()), m_start(block.position()), m_offset(offset), m_text(block.text())
    {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            m_fragments.push_back({fragment.position(), fragment.length(),
                                   fragment.charFormatIndex(), fragment.charFormat()});
        }
    }

    int toPosition(int offset) const { return offset - m_offset + m_start; }
    int endOffset() const { return m_offset + int(m_text.size()); }  // of its CR
    // Edits split a paragraph but never join it to the next, so the block
    // after it stays the one it had.
    const QTextBlock& next() const { return m_next; }

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
    QTextBlock m_next;
    int m_start;   // position before its edits
    int m_offset;  // text offset (CR LF = 2) of the paragraph's start
    QString m_text;
    std::vector<Fragment> m_fragments;
};

struct Run {
    QString text;
    QTextCharFormat format;
    int formatIndex;
};

// A stretch of one paragraph, in positions before the paragraph's edits, and
// what replaces it.
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

    // `shift` is how far the paragraph's earlier rewrites moved it.
    void apply(QTextCursor& cursor, int& shift) const
    {
        cursor.setPosition(start + shift);
        cursor.setPosition(end + shift, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        for (const Run& run : runs)
            cursor.insertText(run.text, run.format);
        shift = cursor.position() - end;
    }
};

}  // namespace

// Front to back, one paragraph at a time, so that only the paragraph being
// edited is held apart from the document.
bool applyTextEdits(QTextDocument* document, const std::function<bool(TextEdit&)>& next,
                    const std::function<bool(int offset)>& keepGoing)
{
    TextEdit edit;
    if (!next(edit))
        return true;
    QTextCursor cursor(document);
    Pauses pause(cursor, keepGoing ? std::function<bool(qint64)>(keepGoing) : nullptr, false);
    Paragraph paragraph(document->begin(), 0);
    Rewrite rewrite{0, 0, {}};
    bool open = false;
    int shift = 0;
    do {
        // An edit never holds a paragraph break, so it lies in one paragraph.
        if (edit.position > paragraph.endOffset()) {
            if (open)
                rewrite.apply(cursor, shift);
            open = false;
            shift = 0;
            if (!pause(edit.position))
                return false;
            QTextBlock block = paragraph.next();
            int offset = paragraph.endOffset() + 2;
            for (; block.next().isValid() && offset + block.length() + 1 <= edit.position; block = block.next())
                offset += block.length() + 1;
            paragraph = Paragraph(block, offset);
        }
        const int start = paragraph.toPosition(edit.position);
        if (open && paragraph.holdsObject(rewrite.end, start)) {
            rewrite.apply(cursor, shift);
            open = false;
        }
        if (!open)
            rewrite = Rewrite{start, start, {}};
        open = true;
        rewrite.appendKept(paragraph, start);
        if (!edit.text.isEmpty())
            rewrite.append(edit.text, paragraph.at(paragraph.toPosition(edit.formatSource)));
        rewrite.end = start + edit.removed;
    } while (next(edit));
    if (open)
        rewrite.apply(cursor, shift);
    pause.finish();
    return true;
}

void applyTextEdits(QTextDocument* document, const QVector<TextEdit>& edits)
{
    auto it = edits.begin();
    applyTextEdits(document, [&](TextEdit& edit) {
        if (it == edits.end())
            return false;
        edit = *it++;
        return true;
    });
}

bool replaceInSlices(QTextCursor& cursor, const QString& text, const QTextCharFormat& format,
                     const std::function<bool(qint64 done)>& keepGoing)
{
    const int start = cursor.selectionStart();
    QTextCursor editor(cursor.document());
    Pauses pause(editor, keepGoing, true);
    qint64 done = 0;
    for (int end = cursor.selectionEnd(); end > start;) {
        const int from = std::max(start, end - SliceLength);
        editor.setPosition(from);
        editor.setPosition(end, QTextCursor::KeepAnchor);
        editor.removeSelectedText();
        done += end - from;
        end = from;
        if (!pause(done))
            return false;
    }
    editor.setPosition(start);
    for (qsizetype at = 0; at < text.size();) {
        qsizetype length = std::min<qsizetype>(SliceLength, text.size() - at);
        if (text[at + length - 1].isHighSurrogate())
            ++length;  // never half a character
        length = std::min(length, text.size() - at);
        editor.insertText(text.mid(at, length), format);
        at += length;
        done += length;
        if (!pause(done))
            return false;
    }
    pause.finish();
    cursor = editor;
    return true;
}
