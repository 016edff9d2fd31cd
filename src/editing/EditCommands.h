#pragma once
// The Edit menu's and the context menu's commands on the active document.
#include "core/Workspace.h"

namespace editing {

void mnuEditUndo_Click(Workspace& workspace);
void mnuClear_Click(Workspace& workspace);
void mnuEditCut_Click(Workspace& workspace);
void mnuEditCopy_Click(Workspace& workspace);
void mnuEditPaste_Click(Workspace& workspace);
void mnuAppend_Click(Workspace& workspace);
void mnuSelectAll_Click(Workspace& workspace);
void mnuClearAll_Click(Workspace& workspace);
void mnuClean_Click(Workspace& workspace);  // URL-encoded text back to plain text
void mnuTime_Click(Workspace& workspace);   // the Date and Time dialog

// When the items are offered; computed as their menu opens.
bool hasText(Workspace& workspace);
bool hasSelection(Workspace& workspace);
bool canUndo(Workspace& workspace);
bool clipboardHasText(Workspace& workspace);
bool canAppend(Workspace& workspace);

}  // namespace editing
