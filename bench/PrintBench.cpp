// "print": laying out and printing a 1,000-page document to a PDF file with
// the program's own print job, against QTextDocument::print of the same
// text to PDF. The text is the input file's first lines, as many as fill
// 1,000 pages of the job's layout.
#include "DocumentFixture.h"
#include "Operations.h"
#include "Timing.h"

#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "print/PainterPrinter.h"
#include "print/PrintJob.h"
#include "print/PrintLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextStream>
#include <algorithm>
#include <cmath>

namespace bench {

namespace {

constexpr int Pages = 1000;

void setUpPdf(QPrinter& printer, const QString& path)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
}

// Body lines a page of the job holds in the editor's font, when no line
// is wider than the space between the margins.
int linesPerPage(QPrinter& printer, const QFont& font)
{
    PainterPrinter probe(printer);
    probe.setFontName(font.family());
    probe.setFontSize(font.pointSizeF());
    probe.setFontBold(font.bold());
    probe.setFontItalic(font.italic());
    const MarginsInTwips margins = marginsInTwips(PageSettings());
    const double usable = probe.ScaleHeight() - margins.bottom - margins.top;
    return int(std::floor(usable / probe.TextHeight(QStringLiteral("0")))) + 1;
}

// The first `count` lines of the input, joined by CR LF (no break at the end).
QString firstLines(const QString& path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    QStringList lines;
    while (lines.size() < count && !in.atEnd())
        lines << in.readLine();
    return lines.size() == count ? lines.join(QLatin1String("\r\n")) : QString();
}

int pdfPages(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    return int(QString::fromLatin1(file.readAll()).count(page));
}

// The editor's document font and the text that fills the job's pages.
struct Document {
    QFont font;
    QString text;
    int lines = 0;
};

std::optional<Document> pagesOfText(const QString& input, const QString& pdf, OpenedDocument& editor)
{
    QPrinter printer(QPrinter::HighResolution);
    setUpPdf(printer, pdf);
    Document document;
    document.font = editor.text()->Font();
    document.lines = Pages * linesPerPage(printer, document.font);
    document.text = firstLines(input, document.lines);
    if (document.text.isEmpty())
        return std::nullopt;
    return document;
}

ChildBody editorPrint(const BenchInput& input)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = std::max(120, phaseLimitSeconds(input.sizeMB));
    return [path, limit](ChildReport& report) {
        storeWordWrap(false);
        QTemporaryDir folder;
        const QString pdf = folder.filePath("job.pdf");
        OpenedDocument editor;
        const std::optional<Document> document = pagesOfText(path, pdf, editor);
        if (!document)
            return report.fail("set-up: the input has too few lines for " + std::to_string(Pages) + " pages");
        editor.text()->setText(document->text);
        if (!editor.showAndPaint())
            return report.fail("set-up: the document never painted");
        QPrinter printer(QPrinter::HighResolution);
        setUpPdf(printer, pdf);

        report.limit(limit, "print");
        Stopwatch total;
        Stopwatch phase;
        const PrintJob job = activeDocumentJob(editor.main(), PageSettings());
        report.set("gather", phase.elapsedMs());
        if (job.text.size() != document->text.size())
            return report.fail("set-up: the job does not hold the document's text");
        phase.restart();
        PainterPrinter device(printer);
        // As the printing window does: pending events once a page.
        const bool finished = runPrintJob(device, job, [] {
            QCoreApplication::processEvents();
            return true;
        });
        report.set("layout+PDF", phase.elapsedMs());
        report.set("print", total.elapsedMs());
        report.limit(0, "");
        if (!finished || device.failed())
            return report.fail("the job did not finish");
        report.note("pages", std::to_string(pdfPages(pdf)));
        report.note("lines", std::to_string(document->lines));
        report.note("bytes", std::to_string(QFile(pdf).size()));
    };
}

ChildBody qtDocumentPrint(const BenchInput& input)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = std::max(120, phaseLimitSeconds(input.sizeMB));
    return [path, limit](ChildReport& report) {
        storeWordWrap(false);
        QTemporaryDir folder;
        const QString pdf = folder.filePath("qt.pdf");
        std::optional<Document> document;
        {
            OpenedDocument editor;
            document = pagesOfText(path, pdf, editor);
        }
        if (!document)
            return report.fail("set-up: the input has too few lines for " + std::to_string(Pages) + " pages");
        QPrinter printer(QPrinter::HighResolution);
        setUpPdf(printer, pdf);

        report.limit(limit, "print");
        Stopwatch total;
        Stopwatch phase;
        QTextDocument text;
        text.setDefaultFont(document->font);
        text.setPlainText(document->text);
        report.set("setPlainText", phase.elapsedMs());
        phase.restart();
        text.print(&printer);
        report.set("print()", phase.elapsedMs());
        report.set("print", total.elapsedMs());
        report.limit(0, "");
        report.note("pages", std::to_string(pdfPages(pdf)));
        report.note("bytes", std::to_string(QFile(pdf).size()));
    };
}

}  // namespace

std::vector<Row> measurePrint(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    const auto qtRuns = runSeries("print baseline QTextDocument::print", qtDocumentPrint(input), input.runs, setup);
    const auto jobRuns = runSeries("print job to PDF", editorPrint(input), input.runs, setup);
    return {
        {"print 1,000 pages to PDF (own layout)", figureOf(jobRuns, "print", "print"),
         "QTextDocument setPlainText+print to PDF", figureOf(qtRuns, "print", "print"),
         medianBreakdown(jobRuns, {"gather", "layout+PDF"}) + "; " + firstNote(jobRuns, "lines") + " lines, "
             + firstNote(jobRuns, "pages") + " pages, " + firstNote(jobRuns, "bytes")
             + " bytes. Baseline: " + medianBreakdown(qtRuns, {"setPlainText", "print()"}) + "; "
             + firstNote(qtRuns, "pages") + " pages, " + firstNote(qtRuns, "bytes") + " bytes"},
    };
}

}  // namespace bench
