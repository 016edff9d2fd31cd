#include "print/PrintJob.h"

#include "core/Workspace.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "print/PrinterDevice.h"

#include <QAction>

namespace {

QString activeCaption(const Workspace* main)
{
    const frmDocument* document = main ? main->ActiveDocument() : nullptr;
    return document ? document->windowTitle() : QString();
}

}  // namespace

QString HeaderText() { return HeaderText(pageSettings().PageHeader, activeCaption(Workspace::instance())); }

PrintJob activeDocumentJob(const Workspace* main, const PageSettings& settings)
{
    PrintJob job;
    job.settings = settings;
    job.header = HeaderText(settings.PageHeader, activeCaption(main));
    const frmDocument* document = main ? main->ActiveDocument() : nullptr;
    if (!document)
        return job;
    const RichTextBox* text = document->txtText;
    job.text = text->SelLength() == 0 ? text->Text() : text->SelText();
    const QFont font = text->Font();
    job.font = PrintFont{font.family(), font.pointSizeF() > 0 ? font.pointSizeF() : 10, font.bold(), font.italic()};
    const bool colorPrint = main->colorPrint();
    job.color = colorPrint ? text->SelColor() : 0;
    return job;
}

bool runPrintJob(PrinterDevice& printer, const PrintJob& job, std::function<bool()> keepGoing)
{
    PrintLayout layout(printer, job.settings, job.font);
    layout.setContinueCheck(std::move(keepGoing));
    return layout.PrintText(job.header, job.text, job.color);
}
