// Print and Page Setup of the File menu.
#include "print/PrintCommands.h"

#include "print/PCANCEL.h"
#include "print/PageSettings.h"
#include "print/Printer.h"

namespace print {

void FilePrint(Workspace& workspace)
{
    if (!workspace.ActiveDocument())
        return;
    PCANCEL::showPrinting(sharedPrinter());
}

void FilePageSetup(Workspace& workspace)
{
    // The preview draws on the shared printer, which a running job holds.
    if (PCANCEL::running())
        return;
    ShowPageSetup();
    workspace.focusActiveText();
}

}  // namespace print
