#pragma once
// The program's ways into its help. There is one help window; each call
// brings it up on a page. A page that cannot be shown is reported in a
// message box with the description of the failure.
#include <QString>

class HelpViewer;

// The help window, made on first use. While a modal dialog is open the
// window belongs to that dialog, so that it can be used beside it.
HelpViewer* helpViewer();

bool showHelpContents();
bool showHelpSearch();
bool showHelpPage(const QString& page);

// For the Help buttons of the common dialogs: context 1 shows the file and
// printer dialogs' page, 2 the font and colour dialogs' page.
void showHelpTopic(int context);
