#pragma once
// The Search menu's commands on the main window's active document.
class Workspace;

namespace search {

void findCommand(Workspace& main);            // Find... and the toolbar's Find
void findNextCommand(Workspace& main);        // Find Next (F3)
void replaceCommand(Workspace& main);         // Replace...
void replaceNextCommand(Workspace& main);     // Replace Next (F4)
void goToLineCommand(Workspace& main);        // Go To Line...
void wordCountCommand(Workspace& main);       // Word Count
void characterCountCommand(Workspace& main);  // Character Count

}  // namespace search
