#pragma once
// The Search menu's commands on the main window's active document.
class frmMain;

namespace search {

void findCommand(frmMain& main);            // Find... and the toolbar's Find
void findNextCommand(frmMain& main);        // Find Next (F3)
void replaceCommand(frmMain& main);         // Replace...
void replaceNextCommand(frmMain& main);     // Replace Next (F4)
void goToLineCommand(frmMain& main);        // Go To Line...
void wordCountCommand(frmMain& main);       // Word Count
void characterCountCommand(frmMain& main);  // Character Count

}  // namespace search
