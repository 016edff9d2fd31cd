// Help Contents, Help Search, On-Line Support and the About box.
#include "help/HelpCommands.h"

#include "help/Form6.h"
#include "help/Help.h"
#include "help/HelpTopics.h"

#include <QDesktopServices>

namespace help {

// The help commands leave the keyboard to the help window.
void mnuHelpContents_Click(Workspace&) { showHelpContents(); }

void mnuHelpSearch_Click(Workspace&) { showHelpSearch(); }

void mnuWeb_Click(Workspace& workspace)
{
    // Without a browser nothing happens; the user is not told.
    QDesktopServices::openUrl(help::MakerWebPage);
    workspace.focusActiveText();
}

void mnuHelpAbout_Click(Workspace& workspace)
{
    Form6 box(workspace.widget());
    box.exec();
    workspace.focusActiveText();
}

}  // namespace help
