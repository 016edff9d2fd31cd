#pragma once
// Files changed or deleted by another program while they are open here.

class frmDocument;

// Tells the user once about each outside change to the document's file and
// offers to reload a document that has no unsaved changes.
void noticeOutsideChange(frmDocument* document);
