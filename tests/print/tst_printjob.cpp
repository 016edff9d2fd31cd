// Printing the active document: what the job takes from it (selection,
// header, font, Color Print), the printing window and its Cancel, and a
// three-page print to PDF read back with pdftotext.
#include "PrintFixture.h"
#include "print/PCANCEL.h"
#include "print/PainterPrinter.h"
#include "print/PrintJob.h"
#include "print/Printer.h"
#include "print/RecordingPrinter.h"
#include "print/frmPageSetup.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

using namespace print_test;

namespace {

struct Word {
    QString text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};
using Page = QList<Word>;

// Runs a poppler tool; fails the test when it is missing or fails.
QString poppler(const QStringList& arguments, bool* ok)
{
    *ok = false;
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        qWarning("pdftotext is not installed: install poppler-utils (apt-get install poppler-utils)");
        return {};
    }
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning("pdftotext %s failed: %s", qPrintable(arguments.join(u' ')), process.readAllStandardError().constData());
        return {};
    }
    *ok = true;
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The words of every page with their boxes in points from the top left.
QList<Page> wordsOf(const QString& pdf, bool* ok)
{
    const QString xml = poppler({QStringLiteral("-bbox"), pdf, QStringLiteral("-")}, ok);
    QList<Page> pages;
    QXmlStreamReader reader(xml);
    while (*ok && !reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        if (reader.name() == QLatin1String("page")) {
            pages.append(Page());
        } else if (reader.name() == QLatin1String("word") && !pages.isEmpty()) {
            const auto at = [&](const char* name) { return reader.attributes().value(QLatin1String(name)).toDouble(); };
            Word word{QString(), at("xMin"), at("yMin"), at("xMax"), at("yMax")};
            word.text = reader.readElementText();
            pages.last().append(word);
        }
    }
    return pages;
}

// Each page's non-empty lines as pdftotext -layout reads them, trimmed.
QList<QStringList> layoutLines(const QString& pdf, bool* ok)
{
    const QString text = poppler({QStringLiteral("-layout"), pdf, QStringLiteral("-")}, ok);
    QList<QStringList> pages;
    QStringList pageTexts = text.split(u'\f');
    if (!pageTexts.isEmpty() && pageTexts.last().trimmed().isEmpty())
        pageTexts.removeLast();
    for (const QString& page : pageTexts) {
        QStringList lines;
        for (const QString& line : page.split(u'\n')) {
            if (!line.trimmed().isEmpty())
                lines << line.simplified();
        }
        pages << lines;
    }
    return pages;
}

// The box around the words of one line that starts with `first`.
std::optional<Word> lineBox(const Page& page, const QString& first, int words)
{
    for (int i = 0; i + words <= page.size(); ++i) {
        if (page[i].text != first)
            continue;
        Word box = page[i];
        for (int k = 1; k < words; ++k) {
            box.text += u' ' + page[i + k].text;
            box.xMax = std::max(box.xMax, page[i + k].xMax);
            box.yMin = std::min(box.yMin, page[i + k].yMin);
            box.yMax = std::max(box.yMax, page[i + k].yMax);
        }
        return box;
    }
    return std::nullopt;
}

QString numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("Line %1 of the report").arg(i, 3, 10, QLatin1Char('0'));
    return lines.join(QLatin1String("\r\n"));
}

}  // namespace

class TestPrintJob : public QObject {
    Q_OBJECT

    Fixture f;
    QTemporaryDir m_folder;

    QString pdfPath(const char* name) const { return m_folder.filePath(QString::fromLatin1(name)); }

    // File, Print on the shared printer set up for a PDF file; returns once
    // the printing window has closed.
    bool printTo(const QString& pdf, int timeoutMs = 60000)
    {
        sharedPrinter().setOutputFormat(QPrinter::PdfFormat);
        sharedPrinter().setOutputFileName(pdf);
        f.main->FilePrint();
        if (!PCANCEL::running())
            return false;
        return QTest::qWaitFor([] { return PCANCEL::running() == nullptr; }, timeoutMs);
    }

    // Page Setup with the bottom margin typed in, then Preview; `look` sees
    // the preview before it is closed, and Page Setup is cancelled.
    bool pageSetupPreview(std::function<void(QPrintPreviewDialog*)> look, const QString& bottom)
    {
        bool previewed = false;
        WhenModal<frmPageSetup> answer([&](frmPageSetup* dialog) {
            dialog->txtBottom->setText(bottom);
            WhenModal<QPrintPreviewDialog> inPreview([&](QPrintPreviewDialog* preview) {
                look(preview);
                preview->reject();
            });
            dialog->cmdPreview->click();
            previewed = inPreview.answered();
            dialog->cmdCancel->click();
        });
        f.main->FilePageSetup();
        return answer.answered() && previewed;
    }

    RecordingPrinter recordActiveDocument()
    {
        RecordingPrinter printer;
        runPrintJob(printer, activeDocumentJob(f.main.get(), pageSettings()));
        return printer;
    }

private slots:
    void initTestCase() { QVERIFY(m_folder.isValid()); }
    void init()
    {
        f.start();
        f.text->setText(QStringLiteral("alpha beta\r\ngamma delta"));
    }
    void cleanupTestCase() { f.stop(); }

    void selectionOrWholeText_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QStringList>("printed");  // header and footer included
        QTest::newRow("no selection: the whole text")
            << 3 << 0 << QStringList{"Document 1", "Page 1", "alpha", "beta", "gamma", "delta"};
        QTest::newRow("a selection over the line break")
            << 6 << 11 << QStringList{"Document 1", "Page 1", "beta", "gamma"};
        QTest::newRow("part of a word") << 1 << 3 << QStringList{"Document 1", "Page 1", "lph"};
    }
    void selectionOrWholeText()
    {
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QStringList, printed);
        f.text->setSelStart(start);
        f.text->setSelLength(length);
        QStringList texts;
        for (const RecordingPrinter::Output& output : recordActiveDocument().visible())
            texts << output.text;
        QCOMPARE(texts, printed);
    }

    void headerFromTheCaption_data()
    {
        QTest::addColumn<QString>("pageHeader");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("header");
        QTest::newRow("file name of the path") << "&f" << "/HOME/ANN/README.TXT" << "README.TXT";
        QTest::newRow("Report &f") << "Report &f" << "/HOME/ANN/README.TXT" << "README.TXT";
        QTest::newRow("untitled") << "&f" << "" << "Document 1";
        QTest::newRow("a fixed header") << "Minutes" << "/HOME/ANN/README.TXT" << "Minutes";
    }
    void headerFromTheCaption()
    {
        QFETCH(QString, pageHeader);
        QFETCH(QString, caption);
        QFETCH(QString, header);
        pageSettings().PageHeader = pageHeader;
        if (!caption.isEmpty())
            f.document->setWindowTitle(caption);
        QCOMPARE(HeaderText(), header);
        QCOMPARE(activeDocumentJob(f.main.get(), pageSettings()).header, header);
    }

    void colourFromColorPrint_data()
    {
        QTest::addColumn<bool>("colorPrint");
        QTest::addColumn<qint32>("textColor");
        QTest::addColumn<qint32>("printed");
        QTest::newRow("off: black, whatever the text") << false << qint32(0x0000FF) << qint32(0);
        QTest::newRow("on, caret in red text: red") << true << qint32(0x0000FF) << qint32(0x0000FF);
        QTest::newRow("on, blue text") << true << qint32(0xFF0000) << qint32(0xFF0000);
    }
    void colourFromColorPrint()
    {
        QFETCH(bool, colorPrint);
        QFETCH(qint32, textColor);
        QFETCH(qint32, printed);
        f.text->setColorOfAll(textColor);
        f.text->setSelStart(2);
        if (colorPrint)
            f.main->mnuColorPrint[0]->trigger();
        QCOMPARE(f.main->mnuColorPrint[0]->isChecked(), colorPrint);
        const RecordingPrinter printer = recordActiveDocument();
        for (const RecordingPrinter::Output& output : printer.visible())
            QCOMPARE(output.color, printed);
    }

    void fontFromTheTextControl()
    {
        QFont font(QStringLiteral("Liberation Serif"));
        font.setPointSizeF(13.5);
        font.setBold(true);
        font.setItalic(true);
        f.text->setFont(font);
        const RecordingPrinter printer = recordActiveDocument();
        QVERIFY(!printer.visible().isEmpty());
        for (const RecordingPrinter::Output& output : printer.visible()) {
            QCOMPARE(output.fontName, QStringLiteral("Liberation Serif"));
            QCOMPARE(output.fontSize, 13.5);
            QVERIFY(output.bold);
            QVERIFY(output.italic);
        }
    }

    // Lengths in twips from the page layout in points; measured widths
    // follow the font, also after it has been measured in another size.
    void painterPrinterMetrics()
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath("metrics.pdf"));
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setPageMargins(QMarginsF(18, 36, 18, 36), QPageLayout::Point);
        PainterPrinter device(printer);
        QCOMPARE(device.ScaleWidth(), (612 - 36) * 20.0);
        QCOMPARE(device.ScaleHeight(), (792 - 72) * 20.0);
        QCOMPARE(device.Width(), 612 * 20.0);
        QCOMPARE(device.Page(), 1);

        device.setFontName(QStringLiteral("Liberation Mono"));
        device.setFontSize(10);
        const double small = device.TextWidth(QStringLiteral("0123456789"));
        QVERIFY(qAbs(small - 10 * 6 * 20) < 20);  // a monospaced digit is 0.6 em
        device.setFontBold(true);
        device.setFontBold(false);
        QCOMPARE(device.TextWidth(QStringLiteral("0123456789")), small);
        device.setFontSize(20);
        QVERIFY(qAbs(device.TextWidth(QStringLiteral("0123456789")) - 2 * small) < 20);
        QVERIFY(device.TextHeight(QStringLiteral("0")) > 20 * 20);

        device.Print(QStringLiteral("abc"), PrinterDevice::ContinueLine);
        QCOMPARE(device.CurrentX(), device.TextWidth(QStringLiteral("abc")));
        device.Print(QString(), PrinterDevice::EndLine);
        QCOMPARE(device.CurrentX(), 0.0);
        QCOMPARE(device.CurrentY(), device.TextHeight(QString()));
        device.NewPage();
        QCOMPARE(device.Page(), 2);
        QCOMPARE(device.CurrentY(), 0.0);
        device.EndDoc();
        bool ok = false;
        QCOMPARE(layoutLines(pdfPath("metrics.pdf"), &ok).size(), 2);
        QVERIFY(ok);
    }

    void printingWindow()
    {
        QPrinter printer;
        auto* window = new PCANCEL(printer);
        QCOMPARE(window->windowTitle(), QStringLiteral("Pagewell"));
        QCOMPARE(window->Label1->text(), QStringLiteral("Printing..."));
        QCOMPARE(window->Label1->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
        QCOMPARE(window->Command1->text(), QStringLiteral("Cancel"));
        QVERIFY(window->Command1->isDefault());
        QVERIFY(!window->isModal());
        QVERIFY(!window->parentWidget());
        QTest::keyClick(window, Qt::Key_Escape);  // Esc is Cancel
        QCOMPARE(window->Tag, QStringLiteral("CANCEL"));
        delete window;
    }

    // Header, body and footer on three pages, in their places and order.
    void threePagesToPdf()
    {
        f.document->setWindowTitle(QStringLiteral("/TMP/REPORTS/REPORT.TXT"));
        f.text->setText(numberedLines(150));
        const QString pdf = pdfPath("three.pdf");
        QVERIFY(printTo(pdf));
        QVERIFY(QFile::exists(pdf));

        bool ok = false;
        const QList<QStringList> pages = layoutLines(pdf, &ok);
        QVERIFY2(ok, "pdftotext (poppler-utils) is needed to read the printed PDF back");
        QCOMPARE(pages.size(), 3);
        QStringList bodyLines;
        for (int i = 0; i < 3; ++i) {
            QVERIFY(pages[i].size() > 2);
            QCOMPARE(pages[i].first(), QStringLiteral("REPORT.TXT"));
            QCOMPARE(pages[i].last(), QStringLiteral("Page %1").arg(i + 1));
            bodyLines << pages[i].mid(1, pages[i].size() - 2);
        }
        QCOMPARE(bodyLines.join(QLatin1String("\r\n")), numberedLines(150));

        // Places in points: the header centred in the top margin of the
        // printable area, the body from the margins, the footer centred on
        // the paper's width (counted from the printable area's left edge)
        // with its top half the bottom margin above the printable bottom.
        const QPageLayout layout = sharedPrinter().pageLayout();
        const QRectF area = layout.paintRect(QPageLayout::Point);
        const double paperWidth = layout.fullRect(QPageLayout::Point).width();
        const double top = 0.5 * 72, left = 0.75 * 72, bottom = 1.0 * 72;
        const QList<Page> words = wordsOf(pdf, &ok);
        QVERIFY(ok);
        QCOMPARE(words.size(), 3);
        for (int i = 0; i < 3; ++i) {
            const auto header = lineBox(words[i], QStringLiteral("REPORT.TXT"), 1);
            const auto footer = lineBox(words[i], QStringLiteral("Page"), 2);
            QVERIFY(header && footer);
            QCOMPARE(footer->text, QStringLiteral("Page %1").arg(i + 1));
            QVERIFY(header->yMin >= area.top() && header->yMax <= area.top() + top);
            QVERIFY(qAbs((header->xMin + header->xMax) / 2 - (area.left() + area.width() / 2)) < 1);
            QVERIFY(qAbs((footer->xMin + footer->xMax) / 2 - (area.left() + paperWidth / 2)) < 1);
            QVERIFY(qAbs(footer->yMin - (area.bottom() - bottom / 2)) < 3);
            double bodyTop = 1e9, bodyBottom = 0;
            for (const Word& word : words[i]) {
                if (word.text != QLatin1String("Line"))
                    continue;
                QVERIFY(qAbs(word.xMin - (area.left() + left)) < 1);
                bodyTop = std::min(bodyTop, word.yMin);
                bodyBottom = std::max(bodyBottom, word.yMax);
            }
            QVERIFY(qAbs(bodyTop - (area.top() + top)) < 3);
            QVERIFY(bodyBottom <= area.bottom() - bottom + 20);  // a line may start on the limit
            QVERIFY(bodyBottom < footer->yMin);
        }
    }

    // Cancel is answered between pages: the job stops and the unfinished
    // file is removed.
    void cancelStopsTheJob()
    {
        f.text->setText(numberedLines(20000));
        const QString pdf = pdfPath("cancelled.pdf");
        QFile::remove(pdf);
        QString tag;
        // Pressed once the job has begun writing its file.
        QTimer press;
        press.setInterval(1);
        connect(&press, &QTimer::timeout, [&] {
            PCANCEL* window = PCANCEL::running();
            if (!window || !QFile::exists(pdf))
                return;
            press.stop();
            window->Command1->click();
            tag = window->Tag;
        });
        press.start();
        QVERIFY(printTo(pdf));
        QCOMPARE(tag, QStringLiteral("CANCEL"));
        QVERIFY(!QFile::exists(pdf));
    }

    // Page Setup's preview shows the pages as they print with the values in
    // the dialog's boxes.
    void previewMatchesThePrint_data()
    {
        QTest::addColumn<QString>("bottom");
        QTest::newRow("built-in bottom margin") << "0";
        QTest::newRow("five-inch bottom margin") << "5";
    }
    void previewMatchesThePrint()
    {
        QFETCH(QString, bottom);
        f.text->setText(numberedLines(150));
        int previewPages = -1;
        QVERIFY(pageSetupPreview([&](QPrintPreviewDialog* preview) {
            auto* pages = preview->findChild<QPrintPreviewWidget*>();
            QVERIFY(pages);
            QTRY_VERIFY(pages->pageCount() > 0);
            previewPages = pages->pageCount();
            bool printKey = false;
            for (const QAction* action : preview->findChildren<QAction*>())
                printKey = printKey || action->shortcut() == QKeySequence(QKeySequence::Print);
            QVERIFY(printKey);
        }, bottom));
        pageSettings().MarginBottom = bottom.toDouble();
        const QString pdf = pdfPath("preview.pdf");
        QVERIFY(printTo(pdf));
        bool ok = false;
        const int printedPages = int(layoutLines(pdf, &ok).size());
        QVERIFY2(ok, "pdftotext (poppler-utils) is needed to read the printed PDF back");
        QCOMPARE(previewPages, printedPages);
        QVERIFY(printedPages >= (bottom == QLatin1String("5") ? 4 : 3));
    }

    void aSecondPrintShowsTheRunningWindow()
    {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath("second.pdf"));
        PCANCEL* first = PCANCEL::showPrinting(printer);
        QCOMPARE(PCANCEL::showPrinting(printer), first);
        QTRY_VERIFY(PCANCEL::running() == nullptr);
        QVERIFY(QFile::exists(pdfPath("second.pdf")));
    }

    void aPrinterThatCannotStart()
    {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);  // and no file to write
        PCANCEL::showPrinting(printer);
        QTRY_VERIFY(PCANCEL::running() == nullptr);
        QCOMPARE(f.boxes->shown.size(), 1);
        QCOMPARE(f.boxes->shown[0].style, int(vb::vbExclamation));
    }

    void nothingToPrintWithoutADocument()
    {
        f.document->unloadWithoutQuery();
        QTRY_VERIFY(!f.main->ActiveDocument());
        f.main->FilePrint();
        QVERIFY(!PCANCEL::running());
    }
};

PAGEWELL_TEST_MAIN(TestPrintJob)
#include "tst_printjob.moc"
