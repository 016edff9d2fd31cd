#pragma once
// Clean defined rule by rule, exactly as the command drives the text
// control: a pre-check Find without a start, then Find from the search
// position, SelText, position = match + 1, and SelStart = 0 between rules.
// Slow (every replacement copies the text) but plainly right; the fast
// single-pass plan is checked against it.
#include "editing/CleanRules.h"

#include <QString>
#include <QVector>

// A plain stand-in for the text control's Text, selection, Find and SelText
// on a QString with CR LF paragraph breaks. It also tracks, for every
// character, the index of the original character whose format it carries.
// It shares no code with the program's Clean beyond the rule table.
class TextControlModel {
public:
    TextControlModel(const QString& text, int selStart, int selLength);

    const QString& Text() const { return m_text; }
    int SelStart() const { return m_selStart; }
    int SelLength() const { return m_selLength; }
    void setSelStart(int start) { SetSel(start, start); }
    // The caret cannot sit between the CR and LF of a break.
    void SetSel(int start, int end);

    // Replaces the selection (or inserts at the caret) and leaves the caret
    // behind the inserted text. Line breaks become CR LF; the inserted
    // characters take the format of the first replaced one (of the one
    // before the caret when nothing is selected).
    void setSelText(const QString& text);

    // Case-insensitive. Without a start: from the caret to the end, or within
    // the selection if there is one. Selects the match and returns its index,
    // or returns -1 and leaves the selection alone.
    int Find(const QString& what, int start = -1);

    // For each character of Text(), the original index whose format it has
    // (-1 for text inserted into an empty control).
    const QVector<int>& formatOrigins() const { return m_origins; }

private:
    QString m_text;
    QVector<int> m_origins;
    int m_selStart = 0;
    int m_selLength = 0;
};

// Runs the rules on anything with the text control's Find, SelText and
// SelStart (the model above, or the real control). True if anything was
// replaced. After rule 1 the next search starts on the inserted CR's LF, an
// offset the caret cannot take; Find uses it as it is, and only Find's
// selection places the caret.
template <class TextControl>
bool runCleanRules(TextControl& control, const QVector<CleanRule>& rules = cleanRules())
{
    bool changed = false;
    for (int r = 0; r < rules.size(); ++r) {
        if (control.Find(rules[r].pattern) >= 0) {
            for (int position = 0, found; (found = control.Find(rules[r].pattern, position)) >= 0;) {
                control.setSelText(rules[r].replacement);
                changed = true;
                position = found + 1;
            }
        }
        if (r + 1 < rules.size())  // the caret stays behind the last rule's last replacement
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

CleanResult cleanReference(const QString& text, int selStart, int selLength,
                           const QVector<CleanRule>& rules = cleanRules());
