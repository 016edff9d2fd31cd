// The Search commands that work through a dialog.
#include "app/frmMain.h"
#include "document/frmDocument.h"
#include "search/SearchCommands.h"
#include "search/SearchState.h"
#include "search/SearchSupport.h"
#include "search/frmFind.h"
#include "search/frmGotoLine.h"
#include "search/frmReplace.h"

#include <QLineEdit>

namespace search {

namespace {

void focusDocument(frmMain& main)
{
    if (frmDocument* document = main.ActiveDocument())
        document->setFocus();
}

}  // namespace

void findCommand(frmMain& main)
{
    findDialog(main)->exec();
    focusDocument(main);
}

void findNextCommand(frmMain& main)
{
    frmDocument* document = main.ActiveDocument();
    if (!document)
        return;
    if (SearchText.isEmpty()) {
        findDialog(main)->exec();
        return;
    }
    WaitCursor wait;
    // Only the dialog knows the direction; it is loaded whenever SearchText is set.
    frmFind* dialog = findDialog(main);
    if (dialog->searchIn(*document->txtText, SearchText, true) == -1) {
        wait.release();
        dialog->reportNotFound();
    }
}

void replaceCommand(frmMain& main)
{
    replaceDialog(main)->exec();
    focusDocument(main);
}

void replaceNextCommand(frmMain& main)
{
    frmReplace* dialog = replaceDialog(main);
    if (dialog->txtReplace->text().isEmpty()) {
        dialog->exec();
        return;
    }
    dialog->replaceNext();
}

void goToLineCommand(frmMain& main)
{
    frmGotoLine dialog(&main);
    dialog.exec();
}

}  // namespace search
