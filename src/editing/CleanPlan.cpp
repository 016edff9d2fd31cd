#include "editing/CleanPlan.h"

#include <QStringView>
#include <algorithm>
#include <array>

// The table's shape lets one pass do the work of all its rules: patterns are
// a single character or "%" and two characters (one is six, "%0D%0A"), and no
// two matches can overlap. Replacements hold none of the characters patterns
// are made of, so a rule never matches across an earlier replacement, with
// one exception: the "%" of "%25", which with the two characters after it
// forms a code that only the rules after "%25" decode.

namespace {

// A character as Find compares it without case: folded, and -1 for anything
// that does not fold to ASCII.
int folded(QChar c)
{
    char32_t u = c.unicode();
    if (u >= 128)
        u = QChar::toCaseFolded(u);
    if (u >= 128)
        return -1;
    return u >= 'A' && u <= 'Z' ? int(u + 32) : int(u);
}

constexpr int None = -1;

struct RuleIndex {
    std::array<int, 128> single;           // rule of a one-character pattern
    std::array<int, 128 * 128> afterPercent;  // rule of "%" and two characters
    QVector<QString> inserted;             // replacements as the control stores them

    RuleIndex()
    {
        single.fill(None);
        afterPercent.fill(None);
        const QVector<CleanRule>& rules = cleanRules();
        for (int r = int(rules.size()) - 1; r >= 0; --r) {
            const QString& pattern = rules[r].pattern;
            if (pattern.size() == 1)
                single[folded(pattern[0])] = r;
            else
                afterPercent[folded(pattern[1]) * 128 + folded(pattern[2])] = r;
        }
        for (const CleanRule& rule : rules)
            inserted << asControlText(rule.replacement);
    }

    // The rule of the code whose two characters after "%" begin at `at`.
    int code(QStringView text, qsizetype at) const
    {
        if (at + 2 > text.size())
            return None;
        const int high = folded(text[at]), low = folded(text[at + 1]);
        return high < 0 || low < 0 ? None : afterPercent[high * 128 + low];
    }
};

const RuleIndex& ruleIndex()
{
    static const RuleIndex index;
    return index;
}

bool matchesRest(QStringView text, qsizetype at, const QString& pattern)
{
    if (at + pattern.size() > text.size())
        return false;
    for (qsizetype k = 3; k < pattern.size(); ++k) {
        if (folded(text[at + k]) != folded(pattern[k]))
            return false;
    }
    return true;
}

// The first rule's pre-check, the only one that depends on the caret: Find
// without a start searches from the caret, within the selection if any.
bool firstRuleRuns(const QString& text, int selStart, int selLength)
{
    const QString& pattern = cleanRules().front().pattern;
    const int start = controlCaretPosition(text, selStart);
    const int selectionEnd = controlCaretPosition(text, selStart + selLength);
    const int end = selectionEnd > start ? selectionEnd : int(text.size());
    const qsizetype at = text.indexOf(pattern, start, Qt::CaseInsensitive);
    return at >= 0 && at + pattern.size() <= end;
}

}  // namespace

CleanEdits::CleanEdits(const QString& text, int selStart, int selLength)
    : m_text(text), m_firstRuleRuns(firstRuleRuns(text, selStart, std::max(selLength, 0)))
{
}

bool CleanEdits::next(CleanEdit& edit)
{
    const RuleIndex& index = ruleIndex();
    const QVector<CleanRule>& rules = cleanRules();
    const QStringView text(m_text);
    for (qsizetype i = m_at; i < text.size(); ++i) {
        const int c = folded(text[i]);
        if (c < 0)
            continue;
        int rule = index.single[c];
        qsizetype length = 1;
        if (rule == None && c == '%') {
            rule = index.code(text, i + 1);
            length = rule == None ? 0 : rules[rule].pattern.size();
            if (rule != None && length > 3 && !matchesRest(text, i, rules[rule].pattern))
                rule = None;
            // A "%" produced here joins the next two characters into a code
            // that a later rule decodes.
            if (rule != None && rules[rule].replacement == QLatin1String("%")) {
                const int joined = index.code(text, i + length);
                if (joined > rule && rules[joined].pattern.size() == 3) {
                    rule = joined;
                    length += 2;
                }
            }
        }
        if (rule == None || (rule == 0 && !m_firstRuleRuns))
            continue;
        edit = {int(i), int(length), index.inserted[rule], int(i)};
        m_shift += edit.text.size() - length;
        if (rule == rules.size() - 1)  // the caret stays behind the last rule's last replacement
            m_caret = int(i + length + m_shift);
        m_at = i + length;
        return true;
    }
    m_at = text.size();
    return false;
}

CleanPlan cleanPlan(const QString& text, int selStart, int selLength)
{
    CleanEdits edits(text, selStart, selLength);
    CleanPlan plan;
    for (CleanEdit edit; edits.next(edit);)
        plan.edits.append(edit);
    plan.selStart = edits.caret();
    plan.changed = !plan.edits.isEmpty();
    return plan;
}
