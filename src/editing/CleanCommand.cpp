// Clean: URL-encoded text back to plain text, as one undoable edit.
#include "document/RichTextBox.h"
#include "document/TextEdits.h"
#include "document/frmDocument.h"
#include "editing/CleanPlan.h"
#include "editing/EditCommands.h"

#include <QAction>
#include <QApplication>

namespace editing {

void mnuClean_Click(Workspace& workspace)
{
    frmDocument* document = workspace.ActiveDocument();
    if (!document)
        return;
    RichTextBox* text = document->txtText;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CleanPlan plan = cleanPlan(text->Text(), text->SelStart(), text->SelLength());
    if (plan.changed)
        applyTextEdits(text->document(), plan.edits);
    text->SetSel(plan.selStart, plan.selStart + plan.selLength);
    QApplication::restoreOverrideCursor();
}

}  // namespace editing
