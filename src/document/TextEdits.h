#pragma once
// Puts many edits into a document as one undoable change.
#include <QString>
#include <QVector>

#include <functional>

class QTextCharFormat;
class QTextCursor;
class QTextDocument;

namespace textedits {
// How often a long change pauses, and, for replaceInSlices, how many
// characters Qt removes or inserts in a few milliseconds. Tests shorten both.
inline int PauseEveryMs = 40;
inline int SliceLength = 1 << 17;
}  // namespace textedits

// `removed` characters at `position` give way to `text`. Offsets are into the
// original text (CR LF counts two). The text takes the character format of
// the original character at `formatSource` (-1 when `text` is empty).
struct TextEdit {
    int position = 0;
    int removed = 0;
    QString text;
    int formatSource = -1;
};

// The edits are ascending and disjoint, with offsets into the document's
// text (paragraph breaks counting as CR LF). Every character that no edit
// removes keeps its format. One undo reverts them all. The caret is the
// caller's.
void applyTextEdits(QTextDocument* document, const QVector<TextEdit>& edits);
// The same with the edits taken one at a time from `next`, which returns
// false when there are no more, so that they need not all be held at once.
// Every so often, between paragraphs and with the document in a state it
// can be painted in, `keepGoing` is told the offset reached; when it returns
// false the edits made so far are undone and the result is false. Each pause
// ends an undo step: the caller joins them again (RichTextBox::groupUndoSteps).
bool applyTextEdits(QTextDocument* document, const std::function<bool(TextEdit&)>& next,
                    const std::function<bool(int offset)>& keepGoing = {});

// As cursor.insertText(text, format) over the cursor's selection, with
// pauses as above (told the characters removed and inserted so far): the
// selection goes from its end back, then the text goes in from the front,
// neither in one stretch, so that the pauses come often at any size. On
// success the cursor stands after the text; a cancelled change is undone.
bool replaceInSlices(QTextCursor& cursor, const QString& text, const QTextCharFormat& format,
                     const std::function<bool(qint64 done)>& keepGoing);
