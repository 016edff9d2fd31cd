#include "search/ReplaceAll.h"

#include "document/LoadProgress.h"
#include "document/RichTextBox.h"
#include "document/TextEdits.h"
#include "document/TextFileCodec.h"
#include "document/TextSearch.h"

#include <QCoreApplication>

namespace search {

namespace {

bool holdsLineBreak(const QString& text)
{
    return text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar::ParagraphSeparator);
}

// A search text with a line break matches across paragraphs, or half of a
// CR LF, which the one-pass edit cannot express: such a search takes the
// loop itself, one edit (and one undo step) per match.
int replaceStepByStep(RichTextBox& text, const QString& what, const QString& replacement, int start, int options)
{
    const int step = int(storedReplacement(replacement).size());
    int next = -1;
    for (int result; (result = text.Find(what, start, -1, options)) != -1;) {
        text.setSelText(replacement);
        start = next = step + result;
    }
    return next;
}

}  // namespace

QString storedReplacement(const QString& replacement)
{
    QString stored = normalizeLineBreaks(replacement);
    stored.replace(QChar::ParagraphSeparator, u'\n');
    return stored.replace(QLatin1String("\n"), QLatin1String("\r\n"));
}

int replaceAllFrom(RichTextBox& text, const QString& what, const QString& replacement, int start, int options)
{
    if (holdsLineBreak(what))
        return replaceStepByStep(text, what, replacement, start, options);
    const QString stored = storedReplacement(replacement);
    QString original = text.Text();
    const textsearch::ReplaceAllMatches matches =
        textsearch::replaceAllMatches(original, what, stored, start, options);
    if (matches.positions.isEmpty())
        return -1;
    const qsizetype length = original.size();
    original = QString();  // the document is the one copy from here on
    const int removed = int(what.size());
    auto position = matches.positions.cbegin();
    const auto nextEdit = [&](TextEdit& edit) {
        if (position == matches.positions.cend())
            return false;
        edit = {*position, removed, stored, stored.isEmpty() ? -1 : *position};
        ++position;
        return true;
    };
    LoadProgress progress(&text, length, QCoreApplication::translate("ReplaceAll", "Replacing..."));
    const int undoSteps = text.document()->availableUndoSteps();
    if (!applyTextEdits(text.document(), nextEdit, [&progress](int offset) { return progress.advance(offset); }))
        return ReplaceAllCancelled;
    text.groupUndoSteps(undoSteps);
    text.setSelStart(matches.caret);
    return matches.caret;
}

}  // namespace search
