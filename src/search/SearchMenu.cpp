// The Search menu: which commands it offers, and their dispatch.
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"

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
    Q_UNUSED(index);
}
