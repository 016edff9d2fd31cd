// The page layout through the recording printer: margins and page breaks,
// header and footer with their codes and places, word wrapping, spaces, tabs,
// line breaks, font and colour, and stopping a job between pages.
#include "TestEnvironment.h"
#include "print/PrintLayout.h"
#include "print/RecordingPrinter.h"

#include <QApplication>

namespace {

using Output = RecordingPrinter::Output;

// One-inch left and right margins, half an inch at the top: the body runs
// from x = 1440 to 10440 on the recording printer's 11880 twips.
PageSettings inchMargins()
{
    PageSettings settings;
    settings.PageHeader = QStringLiteral("HEADER");
    settings.PageFooter = QStringLiteral("Page &p");
    settings.MarginLeft = 1;
    settings.MarginRight = 1;
    settings.MarginTop = 0.5;
    settings.MarginBottom = 0;
    return settings;
}

const PrintFont Courier{QStringLiteral("Courier New"), 11, false, false};

struct Printed {
    RecordingPrinter printer;
    bool finished = false;
};

void print(Printed& result, const PageSettings& settings, const QString& text, const QString& header = QStringLiteral("HEADER"),
           qint32 color = 0)
{
    PrintLayout layout(result.printer, settings, Courier);
    result.finished = layout.PrintText(header, text, color);
}

// The body's visible outputs: neither the header line nor the footer.
QList<Output> body(const RecordingPrinter& printer, const PageSettings& settings, int page = 0)
{
    const double top = settings.MarginTop * 1440;
    const double footer = printer.printableHeight - marginsInTwips(settings).bottom / 2;
    QList<Output> result;
    for (const Output& output : printer.visible(page)) {
        if (output.y >= top && output.y < footer)
            result << output;
    }
    return result;
}

QStringList texts(const QList<Output>& outputs)
{
    QStringList result;
    for (const Output& output : outputs)
        result << output.text;
    return result;
}

const Output* find(const RecordingPrinter& printer, const QString& text, int page = 0)
{
    for (const Output& output : printer.outputs) {
        if (output.text == text && (page == 0 || output.page == page))
            return &output;
    }
    return nullptr;
}

QString lines(int count)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("line%1\r\n").arg(i);
    return text;
}

}  // namespace

class TestPrintLayout : public QObject {
    Q_OBJECT

private slots:
    void fileNameOnly_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("backslashes") << "C:\\TEXT\\README.TXT" << "README.TXT";
        QTest::newRow("slashes") << "/HOME/ANN/LETTER.TXT" << "LETTER.TXT";
        QTest::newRow("no folder") << "Document 3" << "Document 3";
        QTest::newRow("ends in a separator") << "C:\\TEXT\\" << "";
        QTest::newRow("empty") << "" << "";
    }
    void fileNameOnly()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(FileNameOnly(path), name);
    }

    void headerText_data()
    {
        QTest::addColumn<QString>("pageHeader");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("header");
        QTest::newRow("&f") << "&f" << "C:\\TEXT\\README.TXT" << "README.TXT";
        QTest::newRow("Report &f gives only the name") << "Report &f" << "/TMP/REPORT.TXT" << "REPORT.TXT";
        QTest::newRow("&f of an untitled document") << "&f" << "Document 2" << "Document 2";
        QTest::newRow("&F is not the code") << "Report &F" << "/TMP/A.TXT" << "Report &F";
        QTest::newRow("&p stays in the header") << "Page &p" << "/TMP/A.TXT" << "Page &p";
        QTest::newRow("&d inside text stays") << "Date: &d" << "/TMP/A.TXT" << "Date: &d";
        QTest::newRow("no header") << "" << "/TMP/A.TXT" << "";
    }
    void headerText()
    {
        QFETCH(QString, pageHeader);
        QFETCH(QString, caption);
        QFETCH(QString, header);
        QCOMPARE(HeaderText(pageHeader, caption), header);
    }

    void footerText_data()
    {
        QTest::addColumn<QString>("pageFooter");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("footer");
        QTest::newRow("Page &p") << "Page &p" << 1 << "Page 1";
        QTest::newRow("- &p - on page 3") << "- &p -" << 3 << "- 3 -";
        QTest::newRow("page 12, no blanks") << "&p" << 12 << "12";
        QTest::newRow("only the first &p") << "&p of &p" << 2 << "2 of &p";
        QTest::newRow("without &p") << "Confidential" << 5 << "Confidential";
        QTest::newRow("&P is not the code") << "Page &P" << 5 << "Page &P";
        QTest::newRow("&f stays in the footer") << "&f" << 1 << "&f";
    }
    void footerText()
    {
        QFETCH(QString, pageFooter);
        QFETCH(int, page);
        QFETCH(QString, footer);
        QCOMPARE(FooterText(pageFooter, page), footer);
    }

    // Lines of 240 twips from y = 720: a line is printed while its top is
    // not below the printable height less the bottom margin.
    void bottomMargin_data()
    {
        QTest::addColumn<double>("inches");
        QTest::addColumn<double>("twips");
        QTest::addColumn<int>("linesPerPage");
        QTest::newRow("0 prints as one inch") << 0.0 << 1440.0 << 56;
        QTest::newRow("0.5 prints as one inch") << 0.5 << 1440.0 << 56;
        QTest::newRow("one inch") << 1.0 << 1440.0 << 56;
        QTest::newRow("1.5 stays") << 1.5 << 2160.0 << 53;
    }
    void bottomMargin()
    {
        QFETCH(double, inches);
        QFETCH(double, twips);
        QFETCH(int, linesPerPage);
        PageSettings settings = inchMargins();
        settings.MarginBottom = inches;
        QCOMPARE(marginsInTwips(settings).bottom, twips);

        Printed result;
        print(result, settings, lines(2 * linesPerPage + 1));
        QVERIFY(result.finished);
        QCOMPARE(result.printer.pageCount(), 3);
        for (int page = 1; page <= 2; ++page) {
            const QList<Output> onPage = body(result.printer, settings, page);
            QCOMPARE(onPage.size(), linesPerPage);
            QCOMPARE(onPage.first().y, 720.0);
            QVERIFY(onPage.last().y <= 15480 - twips);
            QVERIFY(onPage.last().y + 240 > 15480 - twips);
        }
        QCOMPARE(texts(body(result.printer, settings, 3)), QStringList{QStringLiteral("line%1").arg(2 * linesPerPage + 1)});
        // The footer's top lies half the bottom margin above the printable bottom.
        QCOMPARE(find(result.printer, "Page 2")->y, 15480 - twips / 2);
    }

    void footerOnEveryPage_data()
    {
        QTest::addColumn<QString>("pageFooter");
        QTest::addColumn<QStringList>("footers");  // pages 1 to 3
        QTest::newRow("- &p -") << "- &p -" << QStringList{"- 1 -", "- 2 -", "- 3 -"};
        QTest::newRow("without &p") << "Draft" << QStringList{"Draft", "Draft", "Draft"};
        QTest::newRow("empty: nothing") << "" << QStringList{};
    }
    void footerOnEveryPage()
    {
        QFETCH(QString, pageFooter);
        QFETCH(QStringList, footers);
        PageSettings settings = inchMargins();
        settings.PageFooter = pageFooter;
        Printed result;
        print(result, settings, lines(2 * 56 + 1));
        QCOMPARE(result.printer.pageCount(), 3);
        for (int page = 1; page <= 3; ++page) {
            QStringList atFooter;
            for (const Output& output : result.printer.outputs) {
                if (output.page == page && output.y == 15480 - 720)
                    atFooter << output.text;
            }
            QCOMPARE(atFooter, footers.isEmpty() ? QStringList{} : QStringList{footers[page - 1]});
        }
    }

    // The footer is centred on the paper width taken as a whole number of
    // twips (halves to even), though x counts from the printable area.
    void footerCentredOnPaper_data()
    {
        QTest::addColumn<double>("paperWidth");
        QTest::addColumn<double>("x");
        QTest::newRow("letter") << 12240.0 << 5820.0;  // (12240 - 600) / 2
        QTest::newRow("A4: 11905.5 to 11906") << 11905.5 << 5653.0;
        QTest::newRow("11906.5 to 11906") << 11906.5 << 5653.0;
        QTest::newRow("11906.7 to 11907") << 11906.7 << 5653.5;
    }
    void footerCentredOnPaper()
    {
        QFETCH(double, paperWidth);
        QFETCH(double, x);
        PageSettings settings = inchMargins();
        settings.PageFooter = QStringLiteral("- &p -");
        Printed result;
        result.printer.paperWidth = paperWidth;
        result.printer.charWidths.insert(u'-', 150);  // 600 twips in all
        print(result, settings, QStringLiteral("x"));
        const Output* footer = find(result.printer, "- 1 -");
        QVERIFY(footer);
        QCOMPARE(footer->x, x);
        QVERIFY(!footer->endsLine);
    }

    // Centred across the printable width, half way down the top margin.
    void headerPlace_data()
    {
        QTest::addColumn<double>("top");
        QTest::addColumn<QString>("header");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::newRow("half inch") << 0.5 << "README.TXT" << 5440.0 << 240.0;  // (11880-1000)/2, (720-240)/2
        QTest::newRow("one inch") << 1.0 << "README.TXT" << 5440.0 << 600.0;
        QTest::newRow("no top margin") << 0.0 << "AB" << 5840.0 << -120.0;
    }
    void headerPlace()
    {
        QFETCH(double, top);
        QFETCH(QString, header);
        QFETCH(double, x);
        QFETCH(double, y);
        PageSettings settings = inchMargins();
        settings.MarginTop = top;
        Printed result;
        print(result, settings, lines(2 * 56), header);
        QVERIFY(result.printer.pageCount() >= 2);
        for (int page = 1; page <= 2; ++page) {
            const Output* printed = find(result.printer, header, page);
            QVERIFY(printed);
            QCOMPARE(printed->x, x);
            QCOMPARE(printed->y, y);
            QVERIFY(printed->endsLine);
        }
    }

    void emptyHeaderPrintsAnEmptyLine()
    {
        Printed result;
        print(result, inchMargins(), QStringLiteral("text"), QString());
        // The header's empty line at its centred place: (720 - 240) / 2.
        bool found = false;
        for (const Output& output : result.printer.outputs)
            found = found || (output.text.isEmpty() && output.endsLine && output.y == 240 && output.x == 5940);
        QVERIFY(found);
        QCOMPARE(texts(result.printer.visible()), (QStringList{"Page 1", "text"}));
    }

    // Each case is a text and the body's words with their places, as
    // "word@x,y" with y counted in lines from the top margin.
    void bodyLayout_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("placed");
        const QString nine = QStringLiteral("abcdefghi");  // 900 twips
        QStringList tenWords;
        QStringList tenPlaced;
        for (int i = 0; i < 10; ++i) {
            tenWords << nine;
            tenPlaced << QStringLiteral("abcdefghi@%1,%2").arg(i < 9 ? 1440 + 1000 * i : 1440).arg(i < 9 ? 0 : 1);
        }
        QTest::newRow("the tenth word wraps") << tenWords.join(u' ') << tenPlaced;
        QTest::newRow("a word that just fits stays") << QString(90, u'w') << QStringList{QString(90, u'w') + "@1440,0"};
        // It then runs past the right margin, so the next word wraps.
        QTest::newRow("a word too wide leaves an empty line")
            << QString(91, u'w') + " x" << QStringList{QString(91, u'w') + "@1440,1", "x@1440,2"};
        QTest::newRow("several spaces are all printed") << "a   b" << QStringList{"a@1440,0", "b@1840,0"};
        QTest::newRow("CR prints nothing, LF ends the line") << "a\r\nb\r\n\r\nc"
                                                             << QStringList{"a@1440,0", "b@1440,1", "c@1440,3"};
        QTest::newRow("a lone CR is skipped") << "a\rb" << QStringList{"a@1440,0", "b@1540,0"};
        QTest::newRow("LF alone") << "a\nb" << QStringList{"a@1440,0", "b@1440,1"};
        QTest::newRow("other control characters") << QStringLiteral("a\x01\x0c" "b") << QStringList{"a@1440,0", "b@1540,0"};
        QTest::newRow("leading blanks") << "  a" << QStringList{"a@1640,0"};
        // The digit 0 is 120 twips wide here, every other character 100.
        QTest::newRow("tab at the left margin goes to 10 digit widths") << "\tx" << QStringList{"x@2640,0"};
        QTest::newRow("tab at 10 digit widths goes to 20") << "0000000000\tx"
                                                           << QStringList{"0000000000@1440,0", "x@3840,0"};
        QTest::newRow("tab from 9.5 widths: column 10 (even), to 20")
            << "0000000aaa\tx" << QStringList{"0000000aaa@1440,0", "x@3840,0"};
        QTest::newRow("tab from 8.5 widths: column 8 (even), to 10")
            << "000000aaa\tx" << QStringList{"000000aaa@1440,0", "x@2640,0"};
        QTest::newRow("two tabs") << "\t\tx" << QStringList{"x@3840,0"};
        QTest::newRow("tab after a space") << "a \tx" << QStringList{"a@1440,0", "x@2640,0"};
    }
    void bodyLayout()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, placed);
        const PageSettings settings = inchMargins();
        Printed result;
        result.printer.charWidths.insert(u'0', 120);
        print(result, settings, text);
        QVERIFY(result.finished);
        QStringList actual;
        for (const Output& output : body(result.printer, settings))
            actual << QStringLiteral("%1@%2,%3").arg(output.text).arg(output.x).arg((output.y - 720) / 240);
        QCOMPARE(actual, placed);
    }

    // Spaces never wrap: they run on past the right margin, and only the
    // next word goes to the next line.
    void spacesRunPastTheMargin()
    {
        const PageSettings settings = inchMargins();
        Printed result;
        print(result, settings, QString(85, u'a') + QString(20, u' ') + u'b');
        int spaces = 0;
        for (const Output& output : result.printer.outputs) {
            if (output.text == QLatin1String(" ")) {
                ++spaces;
                QCOMPARE(output.y, 720.0);
            }
        }
        QCOMPARE(spaces, 20);
        const Output* b = find(result.printer, "b");
        QCOMPARE(b->x, 1440.0);
        QCOMPARE(b->y, 960.0);
    }

    void fontAndColourOnEveryPage()
    {
        const PageSettings settings = inchMargins();
        Printed result;
        const PrintFont font{QStringLiteral("Liberation Serif"), 14.5, true, true};
        PrintLayout layout(result.printer, settings, font);
        QVERIFY(layout.PrintText(QStringLiteral("H"), lines(120), 0x0000FF));
        QCOMPARE(result.printer.pageCount(), 3);
        for (const Output& output : result.printer.visible()) {
            QCOMPARE(output.fontName, font.name);
            QCOMPARE(output.fontSize, font.size);
            QVERIFY(output.bold);
            QVERIFY(output.italic);
            QCOMPARE(output.color, 0x0000FF);
        }
    }

    void jobStartsAndEndsOnce_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pages");
        QTest::newRow("empty text: one page") << "" << 1;
        QTest::newRow("one line") << "x" << 1;
        QTest::newRow("two pages") << lines(57) << 2;
    }
    void jobStartsAndEndsOnce()
    {
        QFETCH(QString, text);
        QFETCH(int, pages);
        Printed result;
        print(result, inchMargins(), text);
        QList<RecordingPrinter::Event> expected{RecordingPrinter::Started};
        for (int i = 1; i < pages; ++i)
            expected << RecordingPrinter::PageBreak;
        expected << RecordingPrinter::Ended;
        QCOMPARE(result.printer.events, expected);
        QCOMPARE(find(result.printer, QStringLiteral("Page %1").arg(pages))->page, pages);
    }

    // The check runs before each new page; false aborts the document there.
    void continueCheckStopsBetweenPages_data()
    {
        QTest::addColumn<int>("allowed");  // new pages the check lets through
        QTest::addColumn<int>("pages");
        QTest::newRow("stops before page 2") << 0 << 1;
        QTest::newRow("stops before page 3") << 1 << 2;
        QTest::newRow("never stops") << 100 << 4;
    }
    void continueCheckStopsBetweenPages()
    {
        QFETCH(int, allowed);
        QFETCH(int, pages);
        Printed result;
        PrintLayout layout(result.printer, inchMargins(), Courier);
        int asked = 0;
        layout.setContinueCheck([&] { return asked++ < allowed; });
        const bool finished = layout.PrintText(QStringLiteral("H"), lines(3 * 56 + 1), 0);
        QCOMPARE(finished, allowed >= 3);
        QCOMPARE(asked, std::min(allowed + 1, 3));
        QCOMPARE(result.printer.pageCount(), pages);
        QCOMPARE(result.printer.events.last(), finished ? RecordingPrinter::Ended : RecordingPrinter::Killed);
        QVERIFY(!find(result.printer, QStringLiteral("line%1").arg(pages * 56 + 1)));
    }
};

PAGEWELL_TEST_MAIN(TestPrintLayout)
#include "tst_printlayout.moc"
