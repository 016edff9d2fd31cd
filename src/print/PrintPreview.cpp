#include "print/PrintPreview.h"

#include "core/Workspace.h"
#include "print/PainterPrinter.h"
#include "print/PrintJob.h"
#include "print/Printer.h"

#include <QAction>
#include <QCoreApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

// Ctrl+P prints from the preview as it does from the main window.
void givePrintItsKey(QPrintPreviewDialog& preview)
{
    const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* action : preview.findChildren<QAction*>()) {
        if (action->text() == print)
            action->setShortcut(QKeySequence::Print);
    }
}

}  // namespace

void ShowPrintPreview(QWidget* parent, const PageSettings& settings)
{
    const PrintJob job = activeDocumentJob(Workspace::instance(), settings);
    QPrintPreviewDialog preview(&sharedPrinter(), parent);
    preview.setObjectName(QStringLiteral("PrintPreview"));
    preview.setWindowTitle(QStringLiteral("Print Preview"));
    givePrintItsKey(preview);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&job](QPrinter* printer) {
        PainterPrinter device(*printer);
        runPrintJob(device, job);
    });
    preview.exec();
}
