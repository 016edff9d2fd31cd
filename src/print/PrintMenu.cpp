// Print and Page Setup of the File menu.
#include "app/frmMain.h"
#include "print/PCANCEL.h"
#include "print/PageSettings.h"
#include "print/Printer.h"

void frmMain::FilePrint()
{
    if (!ActiveDocument())
        return;
    PCANCEL::showPrinting(sharedPrinter());
}

void frmMain::FilePageSetup()
{
    // The preview draws on the shared printer, which a running job holds.
    if (PCANCEL::running())
        return;
    ShowPageSetup();
    focusActiveText();
}
