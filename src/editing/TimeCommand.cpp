#include "app/frmMain.h"
#include "document/frmDocument.h"
#include "editing/frmTime.h"

void frmMain::mnuTime_Click()
{
    if (!ActiveDocument())
        return;
    frmTime dialog(this);
    dialog.exec();
    if (frmDocument* document = ActiveDocument())
        document->setFocus();
}
