// The Edit menu, the document context menu and the plain editing commands.
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "core/Clipboard.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

namespace {

RichTextBox* activeText(const frmMain& main)
{
    frmDocument* document = main.ActiveDocument();
    return document ? document->txtText : nullptr;
}

}  // namespace

void frmMain::connectEditCommands()
{
    connect(mnuEdit, &QMenu::aboutToShow, this, &frmMain::mnuEdit_Click);
    connect(mnuCEdit, &QMenu::aboutToShow, this, &frmMain::mnuCEdit_Click);
    connect(mnuEditUndo, &QAction::triggered, this, &frmMain::mnuEditUndo_Click);
    connect(mnuClear, &QAction::triggered, this, &frmMain::mnuClear_Click);
    connect(mnuEditCut, &QAction::triggered, this, &frmMain::mnuEditCut_Click);
    connect(mnuEditCopy, &QAction::triggered, this, &frmMain::mnuEditCopy_Click);
    connect(mnuEditPaste, &QAction::triggered, this, &frmMain::mnuEditPaste_Click);
    connect(mnuAppend, &QAction::triggered, this, &frmMain::mnuAppend_Click);
    connect(mnuSelectAll, &QAction::triggered, this, &frmMain::mnuSelectAll_Click);
    connect(mnuClearAll, &QAction::triggered, this, &frmMain::mnuClearAll_Click);
    for (int i = 0; i < int(mnuCEditItem.size()); ++i)
        connect(mnuCEditItem[i], &QAction::triggered, this, [this, i] { mnuCEditItem_Click(i); });
}

// Enabled states are computed when a menu opens and stay until it opens
// again; a shortcut of a disabled item reaches the text as ordinary input.
void frmMain::mnuEdit_Click()
{
    RichTextBox* text = activeText(*this);
    const bool hasText = text && text->TextLength() > 0;
    const bool selected = text && text->SelLength() > 0;
    const bool clipboardText = Clipboard::GetFormat(Clipboard::vbCFText);
    mnuClean[1]->setEnabled(hasText);
    mnuEditUndo->setEnabled(text && text->SendMessage(RichTextBox::EM_CANUNDO, 0, 0) != 0);
    for (QAction* item : {mnuEditCopy, mnuEditCut, mnuClear, mnuAppend})
        item->setEnabled(selected);
    mnuEditPaste->setEnabled(clipboardText);
    if (!clipboardText)
        mnuAppend->setEnabled(false);
}

void frmMain::mnuCEdit_Click()
{
    RichTextBox* text = activeText(*this);
    const bool hasText = text && text->TextLength() > 0;
    const bool selected = text && text->SelLength() > 0;
    const bool clipboardText = Clipboard::GetFormat(Clipboard::vbCFText);
    mnuCEditItem[11]->setEnabled(hasText);
    mnuCEditItem[0]->setEnabled(text && text->SendMessage(RichTextBox::EM_CANUNDO, 0, 0) != 0);
    for (int index : {3, 4, 6, 1})
        mnuCEditItem[index]->setEnabled(selected);
    mnuCEditItem[5]->setEnabled(clipboardText);
    if (!clipboardText)
        mnuCEditItem[6]->setEnabled(false);
}

void frmMain::mnuCEditItem_Click(int index)
{
    switch (index) {
    case 0: mnuEditUndo_Click(); break;
    case 1: mnuClear_Click(); break;
    case 3: mnuEditCut_Click(); break;
    case 4: mnuEditCopy_Click(); break;
    case 5: mnuEditPaste_Click(); break;
    case 6: mnuAppend_Click(); break;
    case 8: mnuSelectAll_Click(); break;
    case 9: mnuClearAll_Click(); break;
    case 11: mnuClean_Click(1); break;
    default: break;  // separators
    }
}

void frmMain::mnuEditUndo_Click()
{
    RichTextBox* text = activeText(*this);
    if (!text)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    text->SendMessage(RichTextBox::EM_UNDO, 0, 0);
    QApplication::restoreOverrideCursor();
}

void frmMain::mnuEditCut_Click()
{
    RichTextBox* text = activeText(*this);
    if (!text)
        return;
    Clipboard::Clear();
    Clipboard::SetText(text->SelText());
    text->setSelText(QString());
}

void frmMain::mnuEditCopy_Click()
{
    RichTextBox* text = activeText(*this);
    if (!text)
        return;
    Clipboard::Clear();
    Clipboard::SetText(text->SelText());
}

void frmMain::mnuEditPaste_Click()
{
    if (RichTextBox* text = activeText(*this))
        text->setSelText(Clipboard::GetText());
}

void frmMain::mnuAppend_Click()
{
    RichTextBox* text = activeText(*this);
    if (!text)
        return;
    if (Clipboard::GetFormat(Clipboard::vbCFText)) {
        Clipboard::SetText(Clipboard::GetText() + QLatin1String("\r\n\r\n") + text->SelText());
    } else {
        Clipboard::Clear();
        Clipboard::SetText(text->SelText());
    }
}

void frmMain::mnuClear_Click()
{
    frmDocument* document = ActiveDocument();
    if (!document)
        return;
    document->txtText->setSelText(QString());
    document->setLabel1(QStringLiteral("x"));
}

void frmMain::mnuClearAll_Click()
{
    frmDocument* document = ActiveDocument();
    if (!document)
        return;
    document->txtText->setText(QString());
    document->setLabel1(QStringLiteral("x"));
}

void frmMain::mnuSelectAll_Click()
{
    if (RichTextBox* text = activeText(*this))
        text->SendMessage(RichTextBox::EM_SETSEL, 0, -1);
}

bool frmMain::ownsShortcut(const QKeySequence& key) const
{
    for (const QAction* action : findChildren<QAction*>()) {
        if (action->isEnabled() && action->shortcut() == key && action->shortcutContext() != Qt::WidgetShortcut)
            return true;
    }
    return false;
}
