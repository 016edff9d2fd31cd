#include "search/SearchSteps.h"

#include "document/RichTextBox.h"
#include "document/DocumentSearch.h"
#include "document/LoadProgress.h"
#include "search/ReplaceAll.h"

namespace search {

namespace {

// Find from `start` (-1: the caret) up to `end` (-1: the end of the text);
// the match, if any, replaced when a replacement is given.
int step(RichTextBox& text, const QString& what, const QString* replacement, int start, int end, int options)
{
    const int result = text.Find(what, start, end, options);
    if (result != -1 && replacement)
        text.setSelText(*replacement);
    return result + 1;
}

}  // namespace

int findInDirection(RichTextBox& text, const QString& what, int options, Direction direction, bool passSelection)
{
    if (direction == Direction::Down)
        return text.Find(what, text.SelStart() + (passSelection ? 1 : 0), -1, options);
    BusyPainting painting;
    const int at = textsearch::findBackwardInDocument(*text.document(), what, text.SelStart(), options,
                                                      std::ref(painting));
    if (at >= 0)
        text.SetSel(at, at + int(what.size()));
    return at;
}

int findStep(RichTextBox& text, const QString& what, int options)
{
    const int start = text.SelStart() + (text.SelLength() > 0 ? 1 : 0);
    return step(text, what, nullptr, start, -1, options);
}

int replaceStep(RichTextBox& text, const QString& what, const QString& replacement, int options)
{
    const int end = int(text.SendMessage(RichTextBox::WM_GETTEXTLENGTH, 0, 0));
    return step(text, what, &replacement, -1, end, options);
}

int replaceNextStep(RichTextBox& text, const QString& what, const QString& replacement, int start, int options)
{
    return step(text, what, &replacement, start, -1, options);
}

int replaceAllStep(RichTextBox& text, const QString& what, const QString& replacement, int start, int options)
{
    const int selStart = text.SelStart(), selLength = text.SelLength();
    if (text.Find(what, -1, -1, options) == -1)
        return -1;
    const int next = replaceAllFrom(text, what, replacement, start, options);
    if (next == ReplaceAllCancelled)
        text.SetSel(selStart, selStart + selLength);
    return next == -1 ? start : next;
}

}  // namespace search
