#pragma once
// What a print of the active document takes, gathered before the first
// page: the page settings, the header, the text (the selection when there is
// one), the text control's font and the colour of the Color Print option.
#include "print/PageSettings.h"
#include "print/PrintLayout.h"

#include <functional>

class PrinterDevice;
class Workspace;

struct PrintJob {
    PageSettings settings;
    QString header;
    QString text;
    PrintFont font;
    qint32 color = 0;  // black unless Color Print is on
};

// The header for a job with the page settings in effect and the active
// document's caption.
QString HeaderText();

// The job for the main window's active document (an empty text without one).
PrintJob activeDocumentJob(const Workspace* main, const PageSettings& settings);

// Lays the job out on the printer as one document; keepGoing is asked
// before every new page. False when it stopped the job.
bool runPrintJob(PrinterDevice& printer, const PrintJob& job, std::function<bool()> keepGoing = {});
