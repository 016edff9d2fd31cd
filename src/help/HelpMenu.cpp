// Help Contents, Help Search, On-Line Support and the About box.
#include "app/frmMain.h"
#include "help/Form6.h"
#include "help/Help.h"
#include "help/HelpTopics.h"

#include <QDesktopServices>

// The help commands leave the keyboard to the help window.
void frmMain::mnuHelpContents_Click() { showHelpContents(); }

void frmMain::mnuHelpSearch_Click() { showHelpSearch(); }

void frmMain::mnuWeb_Click(int index)
{
    if (index != 1)
        return;  // the separator
    // Without a browser nothing happens; the user is not told.
    QDesktopServices::openUrl(help::MakerWebPage);
    focusActiveText();
}

void frmMain::mnuHelpAbout_Click()
{
    Form6 box(this);
    box.exec();
    focusActiveText();
}
