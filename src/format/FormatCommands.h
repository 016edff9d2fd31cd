#pragma once
// The Options menu's formatting commands on the active document. Color
// Print and Word Wrap invert their own check marks.
#include "core/Workspace.h"

namespace format {

void mnuFont_Click(Workspace& workspace);
void mnuColor_Click(Workspace& workspace);
void mnuColorPrint_Click(Workspace& workspace);
void mnuTab_Click(Workspace& workspace);
void mnuWrap_Click(Workspace& workspace);

}  // namespace format
