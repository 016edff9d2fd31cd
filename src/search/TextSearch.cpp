#include "search/TextSearch.h"

#include <algorithm>
#include <optional>

namespace textsearch {

namespace {

Qt::CaseSensitivity caseOf(int options) { return (options & MatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive; }

bool startsWord(std::optional<QChar> before) { return !before || !isWordChar(*before); }

bool endsWord(QStringView text, qsizetype end) { return end >= text.size() || !isWordChar(text[end]); }

}  // namespace

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

int findBackward(QStringView text, QStringView what, int before, int options)
{
    before = std::min(before, int(text.size()));
    if (what.isEmpty() || before <= 0)
        return -1;
    const Qt::CaseSensitivity cs = caseOf(options);
    // lastIndexOf reads a negative start as counted from the end, so the
    // loop stops at 0 itself.
    for (qsizetype at = text.lastIndexOf(what, before - 1, cs); at >= 0;
         at = at > 0 ? text.lastIndexOf(what, at - 1, cs) : -1) {
        if (!(options & WholeWord))
            return int(at);
        const std::optional<QChar> previous = at > 0 ? std::optional<QChar>(text[at - 1]) : std::nullopt;
        if (startsWord(previous) && endsWord(text, at + what.size()))
            return int(at);
    }
    return -1;
}

ReplaceAllMatches replaceAllMatches(QStringView text, QStringView what, QStringView replacement, int start,
                                    int options)
{
    ReplaceAllMatches result;
    if (what.isEmpty())
        return result;
    const Qt::CaseSensitivity cs = caseOf(options);
    const qsizetype found = what.size();
    qsizetype previousEnd = -1;  // just after the last replaced match
    // The character that precedes previousEnd once the replacements are
    // made; none when only replaced text (all of it empty) lies before it.
    std::optional<QChar> beforePreviousEnd;
    qsizetype at = text.indexOf(what, std::clamp<qsizetype>(start, 0, text.size()), cs);
    while (at >= 0) {
        std::optional<QChar> previous;
        if (at == previousEnd)
            previous = beforePreviousEnd;
        else if (at > 0)
            previous = text[at - 1];
        if ((options & WholeWord) && !(startsWord(previous) && endsWord(text, at + found))) {
            at = text.indexOf(what, at + 1, cs);
            continue;
        }
        result.positions.append(int(at));
        beforePreviousEnd = replacement.isEmpty() ? previous : std::optional<QChar>(replacement.back());
        previousEnd = at + found;
        at = text.indexOf(what, previousEnd, cs);
    }
    if (!result.positions.isEmpty()) {
        const qsizetype growth = replacement.size() - found;
        result.caret = int(result.positions.last() + (result.positions.size() - 1) * growth + replacement.size());
    }
    return result;
}

}  // namespace textsearch
