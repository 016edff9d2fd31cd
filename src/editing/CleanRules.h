#pragma once
// The search-and-replace rules of Clean, which turns URL-encoded text (fields
// joined by "&", spaces as "+", other characters as "%XX") back into text.
#include <QString>
#include <QVector>

struct CleanRule {
    QString pattern;      // matched case-insensitively; never holds a line break
    QString replacement;  // may hold line breaks
};

// The rules in the order they run. The order matters: "&" and "+" go before
// "%26" and "%2B" so decoded ampersands and pluses survive, and "%25" goes
// after rules 3-12 but before 14-23, so a "%" it yields forms a code that
// only the later rules decode.
const QVector<CleanRule>& cleanRules();

// A replacement as the text control stores it: every line break (CR LF, lone
// CR, lone LF) becomes a paragraph break, which its Text shows as CR LF.
QString asControlText(const QString& text);

// The offset the caret takes for index: clamped to the text, and the LF of a
// CR LF (which the caret cannot sit before) becomes the paragraph's end.
int controlCaretPosition(const QString& text, int index);
