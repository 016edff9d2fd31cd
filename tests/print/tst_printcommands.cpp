// Page Setup and Print from the main window: the dialog's boxes, buttons,
// key filter and refusals; what a job takes from the document; the printing
// window; and real pages printed to PDF, read back with pdftotext.
#include "MainWindowFixture.h"
#include "RecordingPrinter.h"
#include "app/frmMain.h"
#include "core/Settings.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "print/PCANCEL.h"
#include "print/PrintCommands.h"
#include "print/PrintJob.h"
#include "print/Printer.h"
#include "print/frmPageSetup.h"

#include <QFile>
#include <QHash>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QTimer>

using testsupport::WhenModal;

namespace {

const QStringList Keys{"Header", "Footer", "Left", "Right", "Top", "Bottom"};
const QStringList BuiltIn{"&f", "Page &p", "0.75", "0.25", "0.5", "0"};
const QString Missing = QStringLiteral("<missing>");

// Six values "|"-separated, "-" all missing, "built-in" the built-in values.
QStringList six(const QString& t) { return t == "-" ? QStringList(6, Missing) : t == "built-in" ? BuiltIn : t.split(u'|'); }

QStringList stored()
{
    QStringList values;
    for (const QString& key : Keys)
        values << GetSetting(AppTitle, PageSetupSection, key, Missing);
    return values;
}

QStringList inMemory()
{
    const PageSettings& s = pageSettings();
    return {s.PageHeader, s.PageFooter, QString::number(s.MarginLeft), QString::number(s.MarginRight),
            QString::number(s.MarginTop), QString::number(s.MarginBottom)};
}

QLineEdit* box(frmPageSetup* dialog, const QString& key) { return dialog->findChild<QLineEdit*>("txt" + key); }

QStringList boxes(frmPageSetup* dialog)
{
    QStringList texts;
    for (const QString& key : Keys)
        texts << box(dialog, key)->text();
    return texts;
}

// Words: "default", "ok", "save", "cancel", "esc", "close", or "Box=text".
void play(frmPageSetup* dialog, const QString& script)
{
    for (const QString& step : script.split(u' ', Qt::SkipEmptyParts)) {
        const QHash<QString, QPushButton*> buttons{
            {"default", dialog->Command2}, {"ok", dialog->cmdOK}, {"save", dialog->Command1}, {"cancel", dialog->cmdCancel}};
        if (buttons.contains(step))
            buttons[step]->click();
        else if (step == QLatin1String("esc"))
            QTest::keyClick(dialog, Qt::Key_Escape);
        else if (step == QLatin1String("close"))
            dialog->close();
        else
            box(dialog, step.section(u'=', 0, 0))->setText(step.section(u'=', 1));
    }
}

// Every page's words in reading order as pdftotext sees them, each with its
// box in points: {xMin, yMin, xMax, yMax}.
QList<QList<QPair<QString, QRectF>>> wordsOf(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qWarning("pdftotext (poppler-utils) failed or is missing");
    QList<QList<QPair<QString, QRectF>>> pages;
    static const QRegularExpression tag(QStringLiteral(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto it = tag.globalMatch(QString::fromUtf8(process.readAllStandardOutput())); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(5).isNull())
            pages.append(QList<QPair<QString, QRectF>>());
        else
            pages.last().append({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                                        QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return pages;
}

QString numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("Line %1 of the report").arg(i, 3, 10, QLatin1Char('0'));
    return lines.join(QLatin1String("\r\n"));
}

}  // namespace

class TestPrintCommands : public QObject {
    Q_OBJECT

    testsupport::MainWindowFixture f;

    bool pageSetupWith(std::function<void(frmPageSetup*)> act)
    {
        WhenModal<frmPageSetup> answer(std::move(act));
        print::FilePageSetup(*f.main);
        return answer.answered();
    }

    // File, Print to a PDF file; true once the printing window has closed.
    bool printTo(const QString& pdf)
    {
        sharedPrinter().setOutputFormat(QPrinter::PdfFormat);
        sharedPrinter().setOutputFileName(pdf);
        print::FilePrint(*f.main);
        return PCANCEL::running() && QTest::qWaitFor([] { return !PCANCEL::running(); }, 60000);
    }

private slots:
    void init()
    {
        f.start();
        f.show(QStringLiteral("alpha beta\r\ngamma delta"));
    }
    void cleanupTestCase() { f.stop(); }

    // The dialog shows the store, whatever is in memory; then the script
    // runs and leaves the page settings and the store as given.
    void pageSetup_data()
    {
        // before (the store), script, shown, memory, after (the store), refusals
        QTest::addColumn<QStringList>("row");
        const auto row = [](const char* name, const QString& before, const QString& script, const QString& shown,
                            const QString& memory, const QString& after, int refusals) {
            QTest::newRow(name) << QStringList{before, script, shown, memory, after, QString::number(refusals)};
        };
        row("Default then OK: applied, not stored", "-", "default ok", "built-in", "&f|Page &p|0.75|0.75|0.5|0", "-", 0);
        row("Default then Save: stored, not applied", "-", "Left=2 default save cancel", "built-in", "built-in",
            "&f|Page &p|.75|.75|.5|0", 0);
        row("Save writes None for empty texts", "None|- &p -|.75|1.50|2in|x", "Header= Footer= Left=1.25 save cancel",
            "|- &p -|0.75|1.5|2|0", "|- &p -|0.75|1.5|2|0", "None|None|1.25|1.5|2|0", 0);
        row("Save then OK", "-", "Header=Report Top=1 save ok", "built-in", "Report|Page &p|0.75|0.25|1|0",
            "Report|Page &p|0.75|0.25|1|0", 0);
        row("OK with empty texts and a trailing period", "-", "Header= Footer= Bottom=1.5 Top=2. ok", "built-in",
            "||0.75|0.25|2|1.5", "-", 0);
        row("Cancel", "-", "default Header=x cancel", "built-in", "built-in", "-", 0);
        row("Esc", "-", "Left=2 esc", "built-in", "built-in", "-", 0);
        row("close box", "-", "Left=2 close", "built-in", "built-in", "-", 0);
        row("OK refuses empty, a period, letters, blanks, a sign", "-",
            "Left= ok Left=. ok Left=1 Right=1in ok Right=1 Top=1.. ok Top=-1 ok Top=3 Bottom= ok Bottom=1 ok", "built-in",
            "&f|Page &p|1|1|3|1", "-", 6);
    }
    void pageSetup()
    {
        QFETCH(QStringList, row);
        const QString script = row[1];
        const int refusals = row[5].toInt();
        for (int i = 0; i < 6; ++i) {
            if (six(row[0])[i] != Missing)
                testsupport::putSetting(PageSetupSection, Keys[i], six(row[0])[i]);
        }
        pageSettings().MarginLeft = 3;
        QStringList seen;
        bool open = true;
        QVERIFY(pageSetupWith([&](frmPageSetup* dialog) {
            seen = boxes(dialog);
            QCOMPARE(dialog->okTag(), QStringLiteral("Cancel"));
            play(dialog, script);
            QCOMPARE(dialog->okTag(), script.endsWith(QLatin1String("ok")) ? QStringLiteral("OK") : QStringLiteral("Cancel"));
            if ((open = dialog->isVisible()))
                dialog->reject();
        }));
        QVERIFY(!open);
        QCOMPARE(seen, six(row[2]));
        QCOMPARE(inMemory(), six(row[3]));
        QCOMPARE(stored(), six(row[4]));
        QCOMPARE(f.prompts(), QStringList(refusals, QStringLiteral("Invalid margin entry!")));
        if (refusals)
            QCOMPARE(f.boxes->shown[0].style, int(vb::vbExclamation));
    }

    // A stored &d header is the date of the start.
    void storedHeaderDateAtStart()
    {
        f.start({}, [] { testsupport::putSetting(PageSetupSection, "Header", "&d"); });
        QCOMPARE(pageSettings().PageHeader, QLocale().toString(QDate::currentDate(), "dddd, MMMM dd, yyyy"));
    }

    void keyFilter_data()
    {
        QTest::addColumn<QStringList>("row");  // box, text before, caret, typed, text after
        QTest::newRow("1..5: the digit takes back the period") << QStringList{"Left", "", "0", "1..5", "1.5"};
        QTest::newRow("1.. stays until the next key") << QStringList{"Right", "", "0", "1..", "1.."};
        QTest::newRow("1.2.3") << QStringList{"Top", "", "0", "1.2.3", "1.23"};
        QTest::newRow("a third period") << QStringList{"Bottom", "", "0", "1...5", "1.5"};
        QTest::newRow("letters, signs, commas refused") << QStringList{"Left", "", "0", "a1-b, 2+e", "12"};
        QTest::newRow("a refused key still checks") << QStringList{"Left", "", "0", "2..x", "2."};
        QTest::newRow("deletes before the caret, not the period") << QStringList{"Left", "1.5", "0", ".2", "21.5"};
        QTest::newRow("caret at the start: nothing to delete") << QStringList{"Left", "1..5", "0", "7", "71..5"};
        QTest::newRow("Backspace passes") << QStringList{"Top", "1.25", "4", "\b\b7", "1.7"};
        QTest::newRow("header takes anything") << QStringList{"Header", "", "0", "a.b..c-", "a.b..c-"};
        QTest::newRow("footer takes anything") << QStringList{"Footer", "", "0", "1..-x", "1..-x"};
    }
    void keyFilter()
    {
        QFETCH(QStringList, row);
        frmPageSetup dialog;
        QLineEdit* edit = box(&dialog, row[0]);
        edit->setText(row[1]);
        edit->setCursorPosition(row[2].toInt());
        QTest::keyClicks(edit, row[3]);
        QCOMPARE(edit->text(), row[4]);
    }

    // What a job takes from the active document: the selection or the whole
    // text, the header from the caption, the control's font, and the colour
    // at the caret when Color Print is on.
    void whatAJobTakes_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("pageHeader");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("colorPrint");
        QTest::addColumn<QStringList>("printed");  // in the colour at the caret with Color Print, else black
        QTest::newRow("no selection: the whole text; untitled")
            << 3 << 0 << "&f" << "" << false << QStringList{"Document 1", "Page 1", "alpha", "beta", "gamma", "delta"};
        QTest::newRow("a selection over the line break; Report &f")
            << 6 << 11 << "Report &f" << "/HOME/ANN/README.TXT" << true
            << QStringList{"README.TXT", "Page 1", "beta", "gamma"};
        QTest::newRow("part of a word; a fixed header") << 1 << 3 << "Minutes" << "/A/B.TXT" << true
                                                        << QStringList{"Minutes", "Page 1", "lph"};
    }
    void whatAJobTakes()
    {
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, pageHeader);
        QFETCH(QString, caption);
        QFETCH(bool, colorPrint);
        QFETCH(QStringList, printed);
        QFont font(QStringLiteral("Liberation Serif"), -1, QFont::Bold, true);
        font.setPointSizeF(13.5);
        f.text()->setFont(font);
        f.text()->setColorOfAll(0x0000FF);
        f.text()->setSelStart(start);
        f.text()->setSelLength(length);
        pageSettings().PageHeader = pageHeader;
        if (!caption.isEmpty())
            f.active()->setWindowTitle(caption);
        if (colorPrint)
            f.main->item("mnuColorPrint", 0)->trigger();
        QCOMPARE(HeaderText(), printed.first());
        RecordingPrinter printer;
        QVERIFY(runPrintJob(printer, activeDocumentJob(f.main.get(), pageSettings())));
        QStringList texts, looks;
        for (const RecordingPrinter::Output& o : printer.visible()) {
            texts << o.text;
            looks << o.look();
        }
        QCOMPARE(texts, printed);
        QCOMPARE(looks, QStringList(printed.size(), QStringLiteral("Liberation Serif 13.5 1 1 %1").arg(colorPrint ? 0x0000FF : 0)));
    }

    // Header, body and footer on three pages, in their places and order:
    // the header centred in the top margin of the printable area, the body
    // from the margins, the footer centred on the paper's width (counted
    // from the printable area's left) half the bottom margin above the
    // printable bottom.
    void threePagesToPdf()
    {
        f.active()->setWindowTitle(QStringLiteral("/TMP/REPORTS/REPORT.TXT"));
        f.show(numberedLines(150));
        QVERIFY(printTo(f.path("three.pdf")));
        const auto pages = wordsOf(f.path("three.pdf"));
        QCOMPARE(pages.size(), 3);
        const QPageLayout layout = sharedPrinter().pageLayout();
        const QRectF area = layout.paintRect(QPageLayout::Point);
        QStringList body;
        for (int i = 0; i < 3; ++i) {
            const auto& words = pages[i];
            QVERIFY(words.size() > 3);
            const QRectF header = words.first().second, footer = words[words.size() - 2].second | words.last().second;
            QCOMPARE(QStringList({words.first().first, words[words.size() - 2].first, words.last().first}),
                     QStringList({"REPORT.TXT", "Page", QString::number(i + 1)}));
            QVERIFY(header.top() >= area.top() && header.bottom() <= area.top() + 36);
            QVERIFY(qAbs(header.center().x() - area.center().x()) < 1);
            QVERIFY(qAbs(footer.center().x() - area.left() - layout.fullRect(QPageLayout::Point).width() / 2) < 1);
            QVERIFY(qAbs(footer.top() - (area.bottom() - 36)) < 3);
            QVERIFY(qAbs(words[1].second.top() - (area.top() + 36)) < 3);
            for (int w = 1; w < words.size() - 2; ++w) {
                body << words[w].first;
                QVERIFY(words[w].first != "Line" || qAbs(words[w].second.left() - (area.left() + 54)) < 1);
                QVERIFY(words[w].second.bottom() <= area.bottom() - 72 + 20);  // a line may start on the limit
            }
        }
        QCOMPARE(body.join(u' '), numberedLines(150).replace(QLatin1String("\r\n"), QLatin1String(" ")));
    }

    // Cancel (or Esc) is answered between pages: the job stops and the
    // unfinished file is removed.
    void cancelStopsTheJob()
    {
        f.show(numberedLines(20000));
        const QString pdf = f.path("cancelled.pdf");
        QString tag;
        QTimer press;
        press.setInterval(1);
        connect(&press, &QTimer::timeout, [&] {
            if (PCANCEL* window = PCANCEL::running(); window && QFile::exists(pdf)) {
                press.stop();
                QTest::keyClick(window, Qt::Key_Escape);
                tag = window->Tag;
            }
        });
        press.start();
        QVERIFY(printTo(pdf));
        QCOMPARE(tag, QStringLiteral("CANCEL"));
        QVERIFY(!QFile::exists(pdf));
    }

    // Page Setup's preview shows the pages as they print with the values in
    // the dialog's boxes.
    void previewMatchesThePrint()
    {
        f.show(numberedLines(150));
        int previewPages = -1;
        QVERIFY(pageSetupWith([&](frmPageSetup* dialog) {
            dialog->txtBottom->setText("5");
            WhenModal<QPrintPreviewDialog> inPreview([&](QPrintPreviewDialog* preview) {
                auto* widget = preview->findChild<QPrintPreviewWidget*>();
                QTRY_VERIFY(widget->pageCount() > 0);
                previewPages = widget->pageCount();
                preview->reject();
            });
            dialog->cmdPreview->click();
            dialog->cmdCancel->click();
        }));
        pageSettings().MarginBottom = 5;
        QVERIFY(printTo(f.path("preview.pdf")));
        QCOMPARE(previewPages, int(wordsOf(f.path("preview.pdf")).size()));
        QVERIFY(previewPages > 3);  // more than with the built-in margin
    }

    void onePrintingWindowAtATime()
    {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(f.path("second.pdf"));
        PCANCEL* first = PCANCEL::showPrinting(printer);
        QVERIFY(!first->isModal() && !first->parentWidget());
        QCOMPARE(PCANCEL::showPrinting(printer), first);
        QTRY_VERIFY(!PCANCEL::running());
        QVERIFY(QFile::exists(f.path("second.pdf")));
        QPrinter noFile;  // a printer that cannot start
        noFile.setOutputFormat(QPrinter::PdfFormat);
        PCANCEL::showPrinting(noFile);
        QTRY_VERIFY(!PCANCEL::running());
        QCOMPARE(f.boxes->shown.size(), 1);
        QCOMPARE(f.boxes->shown[0].style, int(vb::vbExclamation));
        f.active()->unloadWithoutQuery();  // nothing to print without a document
        QTRY_VERIFY(!f.main->ActiveDocument());
        print::FilePrint(*f.main);
        QVERIFY(!PCANCEL::running());
    }
};

PAGEWELL_TEST_MAIN(TestPrintCommands)
#include "tst_printcommands.moc"
