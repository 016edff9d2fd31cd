// Clean: URL-encoded text back to plain text, as one undoable edit.
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "editing/CleanDocument.h"
#include "editing/CleanPlan.h"

#include <QAction>
#include <QApplication>

void frmMain::mnuClean_Click(int index)
{
    frmDocument* document = ActiveDocument();
    if (index != 1 || !document)
        return;
    RichTextBox* text = document->txtText;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CleanPlan plan = cleanPlan(text->Text(), text->SelStart(), text->SelLength());
    if (plan.changed)
        applyCleanToDocument(text->document(), plan);
    text->SetSel(plan.selStart, plan.selStart + plan.selLength);
    QApplication::restoreOverrideCursor();
}
