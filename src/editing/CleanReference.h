#pragma once
// Clean defined rule by rule, exactly as the command drives the text
// control: a pre-check Find without a start, then Find from the search
// position, SelText, position = match + 1, and SelStart = 0 between rules.
// Slow (every replacement copies the text) but plainly right; the fast
// single-pass plan is checked against it.
#include "editing/CleanRules.h"
#include "editing/TextControlModel.h"

// Runs the rules on anything with the text control's Find, SelText and
// SelStart (the model below, or the real control). True if anything was
// replaced, each replacement being one change of the control.
//
// After rule 1 (" " LF, stored as " " CR LF) the next search starts on the
// inserted CR; after rule 8 (CR LF) it starts on the LF, an offset the caret
// cannot take. Find uses such a start as it is: no pattern begins with a
// line break, so it finds exactly what a search from the paragraph's end
// would, and only Find's selection, never the bare start, places the caret.
template <class TextControl>
bool runCleanRules(TextControl& control, const QVector<CleanRule>& rules = cleanRules())
{
    bool changed = false;
    for (int r = 0; r < rules.size(); ++r) {
        const CleanRule& rule = rules[r];
        if (control.Find(rule.pattern) >= 0) {
            int position = 0;
            for (;;) {
                const int found = control.Find(rule.pattern, position);
                if (found < 0)
                    break;
                control.setSelText(rule.replacement);
                changed = true;
                position = found + 1;
            }
        }
        // The caret stays behind the last rule's last replacement.
        if (r + 1 < rules.size())
            control.setSelStart(0);
    }
    return changed;
}

struct CleanResult {
    QString text;
    int selStart = 0;
    int selLength = 0;
    bool changed = false;
    QVector<int> formatOrigins;  // see TextControlModel::formatOrigins()
};

// Clean of text (CR LF breaks, as the control's Text gives it) with the
// caret or selection the user left.
CleanResult cleanReference(const QString& text, int selStart, int selLength,
                           const QVector<CleanRule>& rules = cleanRules());
