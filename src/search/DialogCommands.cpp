// The Search commands that work through a dialog.
#include "core/Workspace.h"
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

void focusDocument(Workspace& main)
{
    if (frmDocument* document = main.ActiveDocument())
        document->setFocus();
}

}  // namespace

void findCommand(Workspace& main)
{
    if (!main.ActiveDocument())
        return;
    findDialog(main)->exec();
    focusDocument(main);
}

void findNextCommand(Workspace& main)
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
    if (findInDirection(*document->txtText, SearchText, SearchOptions, dialog->direction(), true) == -1) {
        wait.release();
        dialog->reportNotFound();
    }
}

void replaceCommand(Workspace& main)
{
    if (!main.ActiveDocument())
        return;
    replaceDialog(main)->exec();
    focusDocument(main);
}

void replaceNextCommand(Workspace& main)
{
    if (!main.ActiveDocument())
        return;
    frmReplace* dialog = replaceDialog(main);
    if (dialog->txtReplace->text().isEmpty()) {
        dialog->exec();
        return;
    }
    dialog->replaceNext();
}

void goToLineCommand(Workspace& main)
{
    if (!main.ActiveDocument())
        return;
    frmGotoLine dialog(&main);
    dialog.exec();
}

}  // namespace search
