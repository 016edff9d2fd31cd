#pragma once
// The Help menu's commands.
#include "core/Workspace.h"

namespace help {

void mnuHelpContents_Click(Workspace& workspace);
void mnuHelpSearch_Click(Workspace& workspace);
void mnuWeb_Click(Workspace& workspace);  // On-Line Support
void mnuHelpAbout_Click(Workspace& workspace);

}  // namespace help
