#pragma once
// Writing a document window's text to disk, shared by Save, Save As,
// Save All and the save prompt of a closing window.
#include "core/Workspace.h"

#include <QString>

class frmDocument;
class CommonDialog;

// RTF when the path's last three characters, lower-cased, are "rtf" (no
// dot needed: MYRTF is RTF too), else plain text.
int fileTypeForPath(const QString& path);

// Writes the document; on failure tells the user the path and the reason
// and returns false, leaving the document and its changed mark alone. Asks
// first before overwriting the document's own file when another program
// has changed it since, and before writing UTF-8 to a file whose code page
// lacks letters of the text; a Cancel there writes nothing and returns false.
bool writeDocument(frmDocument* document, const QString& path, int type);

// Writes the selection as a plain-text file in the document's encoding,
// followed by a line break, asking as writeDocument does.
bool writeSelection(frmDocument* document, const QString& path);

// Gives an untitled or renamed document its file: the caption and Title
// take the path upper-cased, and reads and writes go to the path itself.
void nameDocument(frmDocument* document, const QString& path);

// Sets up the shared dialog for a Save As.
void prepareSaveDialog(CommonDialog& dialog);

// Saves a closing window whose user said Yes: a named file in place (a
// read-only one is refused with a message), an untitled text under a name
// from the Save As dialog.
Workspace::CloseSave saveForClose(Workspace& workspace, frmDocument& document);
