// The Edit menu's and the context menu's plain editing commands.
#include "editing/EditCommands.h"

#include "core/Clipboard.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"

#include <QApplication>

namespace {

RichTextBox* activeText(const Workspace& workspace)
{
    frmDocument* document = workspace.ActiveDocument();
    return document ? document->txtText : nullptr;
}

}  // namespace

namespace editing {

void mnuEditUndo_Click(Workspace& workspace)
{
    RichTextBox* text = activeText(workspace);
    if (!text)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    text->SendMessage(RichTextBox::EM_UNDO, 0, 0);
    QApplication::restoreOverrideCursor();
}

void mnuEditCut_Click(Workspace& workspace)
{
    RichTextBox* text = activeText(workspace);
    if (!text)
        return;
    Clipboard::Clear();
    Clipboard::SetText(text->SelText());
    text->setSelText(QString());
}

void mnuEditCopy_Click(Workspace& workspace)
{
    RichTextBox* text = activeText(workspace);
    if (!text)
        return;
    Clipboard::Clear();
    Clipboard::SetText(text->SelText());
}

void mnuEditPaste_Click(Workspace& workspace)
{
    if (RichTextBox* text = activeText(workspace))
        text->setSelText(Clipboard::GetText());
}

void mnuAppend_Click(Workspace& workspace)
{
    RichTextBox* text = activeText(workspace);
    if (!text)
        return;
    if (Clipboard::GetFormat(Clipboard::vbCFText)) {
        Clipboard::SetText(Clipboard::GetText() + QLatin1String("\r\n\r\n") + text->SelText());
    } else {
        Clipboard::Clear();
        Clipboard::SetText(text->SelText());
    }
}

void mnuClear_Click(Workspace& workspace)
{
    frmDocument* document = workspace.ActiveDocument();
    if (!document)
        return;
    document->txtText->setSelText(QString());
    document->setLabel1(QStringLiteral("x"));
}

void mnuClearAll_Click(Workspace& workspace)
{
    frmDocument* document = workspace.ActiveDocument();
    if (!document)
        return;
    document->txtText->setText(QString());
    document->setLabel1(QStringLiteral("x"));
}

void mnuSelectAll_Click(Workspace& workspace)
{
    if (RichTextBox* text = activeText(workspace))
        text->SendMessage(RichTextBox::EM_SETSEL, 0, -1);
}

bool hasText(Workspace& workspace)
{
    RichTextBox* text = activeText(workspace);
    return text && text->TextLength() > 0;
}

bool hasSelection(Workspace& workspace)
{
    RichTextBox* text = activeText(workspace);
    return text && text->SelLength() > 0;
}

bool canUndo(Workspace& workspace)
{
    RichTextBox* text = activeText(workspace);
    return text && text->SendMessage(RichTextBox::EM_CANUNDO, 0, 0) != 0;
}

bool clipboardHasText(Workspace&) { return Clipboard::GetFormat(Clipboard::vbCFText); }

bool canAppend(Workspace& workspace) { return hasSelection(workspace) && clipboardHasText(workspace); }

}  // namespace editing
