#pragma once
// A plain stand-in for the text control's Text, selection, Find and SelText,
// on a QString with CR LF paragraph breaks, so the Clean rules can be run
// step for step without a widget. It also tracks, for every character, the
// index of the original character whose format it carries.
#include <QString>
#include <QVector>

// The offset the caret takes for index: clamped to the text, and the LF of a
// CR LF (which the caret cannot sit before) becomes the paragraph's end.
int controlCaretPosition(const QString& text, int index);

class TextControlModel {
public:
    TextControlModel(const QString& text, int selStart, int selLength);

    const QString& Text() const { return m_text; }
    int SelStart() const { return m_selStart; }
    int SelLength() const { return m_selLength; }
    void setSelStart(int start);  // drops the selection
    void SetSel(int start, int end);

    // Replaces the selection (or inserts at the caret) and leaves the caret
    // behind the inserted text with nothing selected. Line breaks become
    // CR LF; the inserted characters take the format of the first replaced
    // one (of the one before the caret when nothing is selected).
    void setSelText(const QString& text);

    // Case-insensitive, as with options 0. Without a start: from the caret
    // to the end, or within the selection if there is one; otherwise from
    // start to the end (or to end). Selects the match and returns its index,
    // or returns -1 and leaves the selection alone.
    int Find(const QString& what, int start = -1, int end = -1);

    // For each character of Text(), the original index whose format it has
    // (-1 for text inserted into an empty control).
    const QVector<int>& formatOrigins() const { return m_origins; }

private:
    QString m_text;
    QVector<int> m_origins;
    int m_selStart = 0;
    int m_selLength = 0;
};
