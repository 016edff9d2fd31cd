// The Search menu: which commands it offers, and their dispatch.
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "search/SearchCommands.h"

#include <QAction>

void frmMain::mnuSearch_Click()
{
    frmDocument* document = ActiveDocument();
    const bool hasText = document && document->txtText->TextLength() > 0;
    for (int index : {0, 1, 2, 3, 5, 7, 8})
        mnuFind[size_t(index)]->setEnabled(hasText);
}

void frmMain::mnuFind_Click(int index)
{
    if (!ActiveDocument())
        return;
    switch (index) {
    case 0: search::findCommand(*this); break;
    case 1: search::findNextCommand(*this); break;
    case 2: search::replaceCommand(*this); break;
    case 3: search::replaceNextCommand(*this); break;
    case 5: search::goToLineCommand(*this); break;
    case 7: search::wordCountCommand(*this); break;
    case 8: search::characterCountCommand(*this); break;
    default: break;  // separators
    }
}
