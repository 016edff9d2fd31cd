#pragma once
// Print and Page Setup of the File menu.
#include "core/Workspace.h"

namespace print {

void FilePrint(Workspace& workspace);
void FilePageSetup(Workspace& workspace);

}  // namespace print
