#pragma once
// Clean computed in one pass over the text, with the same result as running
// the rules one Find and SelText at a time on the text control, expressed as
// edits against the original text so the document can take them as one
// undoable change that keeps every untouched character's format.
#include "document/TextEdits.h"
#include "editing/CleanRules.h"

#include <QString>
#include <QVector>

using CleanEdit = TextEdit;

struct CleanPlan {
    QVector<CleanEdit> edits;  // ascending and disjoint; edits of one rule share their text
    int selStart = 0;          // the caret after Clean; nothing is selected
    bool changed = false;      // whether any rule replaced anything
};

// Clean's edits one at a time, so that they need not all be held at once.
// text has CR LF paragraph breaks, as the control's Text gives it, and must
// outlive the object; selStart and selLength are the caret or selection the
// user left.
class CleanEdits {
public:
    CleanEdits(const QString& text, int selStart, int selLength);
    // The next edit, or false when there are no more.
    bool next(CleanEdit& edit);
    // The caret after Clean (nothing is selected), once next returned false.
    int caret() const { return m_caret; }

private:
    const QString& m_text;
    qsizetype m_at = 0;     // where the search goes on
    qsizetype m_shift = 0;  // length after Clean minus length before, so far
    int m_caret = 0;
    bool m_firstRuleRuns;
};

// All of them at once.
CleanPlan cleanPlan(const QString& text, int selStart, int selLength);
