#pragma once
// The File menu's commands on the workspace's documents.
#include "core/Workspace.h"

namespace files {

void FileOpen(Workspace& workspace);
// Open after the dialog: a file already open comes to the front, an empty
// active document takes the file, otherwise a new window does.
void openPath(Workspace& workspace, const QString& path);
void FileInsert(Workspace& workspace);
void FileClose(Workspace& workspace);
void FileSave(Workspace& workspace);
void FileSaveAs(Workspace& workspace);
void FileSaveAll(Workspace& workspace);
void FileProperties(Workspace& workspace);
void FilePrintSetup(Workspace& workspace);
void mnuExtensions_Click(Workspace& workspace);  // File Extensions: the file types
// A recent-files item: opens its path with Open's rules.
void openRecentFile(Workspace& workspace, const QString& path);

// Properties is offered for a document that has a file.
bool hasFile(Workspace& workspace);

// A named pipe, a device or a socket is refused with a message: reading it
// would wait for a writer or never end.
bool refusedAsNotRegular(Workspace& workspace, const QString& path);

}  // namespace files
