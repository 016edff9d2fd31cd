#include "document/frmDocument.h"
#include "editing/EditCommands.h"
#include "editing/frmTime.h"

namespace editing {

void mnuTime_Click(Workspace& workspace)
{
    if (!workspace.ActiveDocument())
        return;
    frmTime dialog(workspace.widget());
    dialog.exec();
    if (frmDocument* document = workspace.ActiveDocument())
        document->setFocus();
}

}  // namespace editing
