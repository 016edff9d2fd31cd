#pragma once
// Clean computed fast: one left-to-right pass per rule over a plain copy of
// the text, with the same result as running the rules one Find and SelText at
// a time on the text control, expressed as edits against the original text so
// the document can take them as one undoable change that keeps every
// untouched character's format.
#include "document/TextEdits.h"
#include "editing/CleanRules.h"

#include <QString>
#include <QVector>

using CleanEdit = TextEdit;

struct CleanPlan {
    QVector<CleanEdit> edits;  // ascending and disjoint
    QString text;              // the text after Clean
    int selStart = 0;          // caret (or selection) after Clean
    int selLength = 0;
    bool changed = false;      // whether any rule replaced anything
};

// text has CR LF paragraph breaks, as the control's Text gives it; selStart
// and selLength are the caret or selection the user left.
CleanPlan cleanPlan(const QString& text, int selStart, int selLength,
                    const QVector<CleanRule>& rules = cleanRules());
