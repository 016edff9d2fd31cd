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
    const QString original = text->Text();
    CleanEdits edits(original, text->SelStart(), text->SelLength());
    applyTextEdits(text->document(), [&edits](TextEdit& edit) { return edits.next(edit); });
    text->SetSel(edits.caret(), edits.caret());
    QApplication::restoreOverrideCursor();
}

}  // namespace editing
