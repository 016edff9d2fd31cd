#include "document/DocumentSearch.h"

#include "document/CrLfText.h"
#include "document/StoredText.h"
#include "document/TextSearch.h"

#include <QTextDocument>
#include <algorithm>
#include <optional>

namespace textsearch {

namespace {

// Matches are looked for in windows this long, overlapping by the length
// of the search text less one.
constexpr int Window = 1 << 20;

// A search text with a line break can match half of a CR LF, which the
// stored text (one character per break) does not hold: such a search reads
// Text() itself.
bool holdsBreak(QStringView what)
{
    return what.contains(u'\r') || what.contains(u'\n') || what.contains(QChar::ParagraphSeparator);
}

Qt::CaseSensitivity caseOf(int options) { return (options & MatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive; }

bool accepted(const StoredText& stored, int position, int length, int options)
{
    if (!(options & WholeWord))
        return true;
    const std::optional<QChar> before = position > 0 ? std::optional<QChar>(stored.at(position - 1)) : std::nullopt;
    const QChar after = stored.at(position + length);  // the final break at worst
    return isWholeWord(before, QStringView(&after, 1), 0);
}

}  // namespace

int findInDocument(const QTextDocument& document, QStringView what, int start, int end, int options,
                   const std::function<void()>& between)
{
    if (what.isEmpty())
        return -1;
    if (holdsBreak(what))
        return findForward(crLfText(document), what, start, end, options);
    const int length = int(what.size());
    const int from = documentPosition(document, std::max(start, 0));
    const int to = documentPosition(document, std::max(end, start));
    const StoredText stored(document);
    QString scratch;
    for (int window = from; window + length <= to; window += Window) {
        if (between && window != from)
            between();
        const QStringView text = stored.view(window, std::min(Window + length - 1, to - window), scratch);
        for (qsizetype at = text.indexOf(what, 0, caseOf(options)); at >= 0 && at < Window;
             at = text.indexOf(what, at + 1, caseOf(options))) {
            if (accepted(stored, window + int(at), length, options))
                return crLfIndex(document, window + int(at));
        }
    }
    return -1;
}

int findBackwardInDocument(const QTextDocument& document, QStringView what, int before, int options,
                           const std::function<void()>& between)
{
    if (what.isEmpty() || before <= 0)
        return -1;
    if (holdsBreak(what))
        return findBackward(crLfText(document), what, before, options);
    const int length = int(what.size());
    const StoredText stored(document);
    const int textEnd = stored.length() - 1;
    QString scratch;
    // Each window holds the matches that start in [low, high).
    const int first = documentPosition(document, before);
    for (int high = first; high > 0; high -= Window) {
        if (between && high != first)
            between();
        const int low = std::max(0, high - Window);
        const QStringView text = stored.view(low, std::min(high + length - 1, textEnd) - low, scratch);
        for (qsizetype at = text.lastIndexOf(what, high - low - 1, caseOf(options)); at >= 0;
             at = at > 0 ? text.lastIndexOf(what, at - 1, caseOf(options)) : -1) {
            if (accepted(stored, low + int(at), length, options))
                return crLfIndex(document, low + int(at));
        }
    }
    return -1;
}

}  // namespace textsearch
