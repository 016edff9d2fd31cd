#pragma once
// Puts a Clean plan into a document as one undoable edit.
#include "editing/CleanPlan.h"

class QTextDocument;

// The document must hold the text the plan was made from (paragraph breaks
// counting as CR LF in the plan's offsets). Replacement text takes the
// character format of the first character it replaces; every other
// character keeps its format. One undo reverts the whole Clean. The caret
// is the caller's: plan.selStart and plan.selLength.
void applyCleanToDocument(QTextDocument* document, const CleanPlan& plan);
