#include "document/TextSearch.h"

#include <algorithm>

namespace textsearch {

namespace {

Qt::CaseSensitivity caseOf(int options) { return (options & MatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive; }

std::optional<QChar> characterBefore(QStringView text, qsizetype at)
{
    return at > 0 ? std::optional<QChar>(text[at - 1]) : std::nullopt;
}

// Whether the match of `length` characters at `at` counts under options.
bool accepted(QStringView text, qsizetype at, qsizetype length, int options)
{
    return !(options & WholeWord) || isWholeWord(characterBefore(text, at), text, at + length);
}

}  // namespace

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

bool isWholeWord(std::optional<QChar> before, QStringView text, qsizetype end)
{
    const bool startsWord = !before || !isWordChar(*before);
    const bool endsWord = end >= text.size() || !isWordChar(text[end]);
    return startsWord && endsWord;
}

int findForward(QStringView text, QStringView what, int start, int end, int options)
{
    if (what.isEmpty())
        return -1;
    const int length = int(text.size());
    const int from = std::clamp(start, 0, length);
    const int to = std::clamp(end, from, length);
    const Qt::CaseSensitivity cs = caseOf(options);
    for (qsizetype at = text.indexOf(what, from, cs); at >= 0 && at + what.size() <= to;
         at = text.indexOf(what, at + 1, cs)) {
        if (accepted(text, at, what.size(), options))
            return int(at);
    }
    return -1;
}

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
        if (accepted(text, at, what.size(), options))
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
        const std::optional<QChar> previous = at == previousEnd ? beforePreviousEnd : characterBefore(text, at);
        if ((options & WholeWord) && !isWholeWord(previous, text, at + found)) {
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
