// Clean: URL-encoded text back to plain text, as one undoable edit.
#include "document/LoadProgress.h"
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
    const int selStart = text->SelStart(), selLength = text->SelLength();
    const QString changedMark = document->Label1();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString original = text->Text();
    CleanEdits edits(original, selStart, selLength);
    LoadProgress progress(document, original.size(), QApplication::translate("Clean", "Cleaning..."));
    const int undoSteps = text->document()->availableUndoSteps();
    const bool done = applyTextEdits(
        text->document(), [&edits](TextEdit& edit) { return edits.next(edit); },
        [&progress](int offset) { return progress.advance(offset); });
    if (done) {
        text->groupUndoSteps(undoSteps);
        text->SetSel(edits.caret(), edits.caret());
    } else {  // cancelled: as it was
        text->SetSel(selStart, selStart + selLength);
        document->setLabel1(changedMark);
    }
    QApplication::restoreOverrideCursor();
}

}  // namespace editing
