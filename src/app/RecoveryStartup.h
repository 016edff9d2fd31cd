#pragma once
// Crash recovery's part in the program's start: documents an ended run
// left unsaved are offered, and the run keeps its own changes safe from then
// on (also through signals and the end of the desktop session).
class frmMain;
class DocumentRecovery;

// After the main window is shown with its first document.
void setUpRecovery(frmMain& main);

// Offers what ended runs left; restored documents open in windows of their
// own (the first empty untitled one is reused) and belong to this run.
void offerRecoveredDocuments(frmMain& main, DocumentRecovery& recovery);
