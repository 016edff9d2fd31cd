// The page layout against a plain reference on random texts, margins and
// paper, a few layouts worked out by hand, and the page settings' texts.
#include "RecordingPrinter.h"
#include "TestEnvironment.h"
#include "print/PrintLayout.h"

#include <QApplication>
#include <QRandomGenerator>
#include <cmath>

namespace {

using Output = RecordingPrinter::Output;

// Page settings with no header text (the header is given to each job).
PageSettings margins(double left, double right, double top, double bottom, const QString& footer = "Page &p")
{
    return {QString(), footer, left, right, top, bottom};
}

// Every visible output of a job as "p<page> x,y text", the way a person
// would lay the text out by hand: words wrap, spaces and tabs only move on.
QStringList reference(const RecordingPrinter& device, const PageSettings& s, const QString& header, const QString& text)
{
    const auto width = [&](const QString& t) { return device.TextWidth(t); };
    const auto clamp = [](double v, double high) { return std::min(std::max(v, 0.0), high); };
    const double left = clamp(s.MarginLeft * 1440, device.paperWidth);
    const double right = clamp(s.MarginRight * 1440, device.paperWidth);
    const double top = clamp(s.MarginTop * 1440, device.printableHeight);
    const double bottom = clamp(std::max(s.MarginBottom, 1.0) * 1440, device.printableHeight);
    QStringList out;
    int page = 0;
    double x = 0, y = 0;
    const auto put = [&](double at, double down, const QString& t) {
        if (!t.trimmed().isEmpty())
            out << QStringLiteral("p%1 %2,%3 %4").arg(page).arg(at).arg(down).arg(t);
    };
    const auto newPage = [&] {
        ++page;
        put((device.printableWidth - width(header)) / 2, (top - device.lineHeight) / 2, header);
        const QString footer = FooterText(s.PageFooter, page);  // checked on its own below
        put((std::nearbyint(device.paperWidth) - width(footer)) / 2, device.printableHeight - bottom / 2, footer);
        x = left;
        y = top;
    };
    const auto newLine = [&] {
        y += device.lineHeight;
        if (y > device.printableHeight - bottom)
            newPage();
        x = left;
    };
    newPage();
    QString word;
    for (const QChar c : text + u' ') {  // the last blank puts the last word
        if (c.unicode() > 32) {
            word += c;
            continue;
        }
        if (!word.isEmpty() && x + width(word) > device.printableWidth - right)
            newLine();
        put(x, y, word);
        x += width(word);
        word.clear();
        if (c == u' ')
            x += width(" ");
        else if (c == u'\n')
            newLine();
        else if (c == u'\t')
            x = left + (std::floor(std::nearbyint((x - left) / width("0")) / 10) + 1) * 10 * width("0");
    }
    return out;
}

QStringList printed(const RecordingPrinter& printer)
{
    QStringList lines;
    for (const Output& o : printer.visible())
        lines << QStringLiteral("p%1 %2,%3 %4").arg(o.page).arg(o.x).arg(o.y).arg(o.text);
    return lines;
}

bool run(RecordingPrinter& printer, const PageSettings& settings, const QString& text, const QString& header = "HEADER",
         const PrintFont& font = {"Courier New", 11, false, false}, qint32 color = 0)
{
    return PrintLayout(printer, settings, font).PrintText(header, text, color);
}

QString randomText(QRandomGenerator& random, int length)
{
    static const QString pieces[] = {"a", "bc", "W", "0", "00", " ", "  ", "\t", "\r\n", "\n", "\r", "\x01",
                                     "Extraordinarily"};
    QString text;
    while (text.size() < length)
        text += pieces[random.bounded(int(std::size(pieces)))];
    return text;
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
    void againstAReference_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 40; ++seed)
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    }
    void againstAReference()
    {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        RecordingPrinter printer;
        printer.charWidths = {{u'0', 120}, {u'W', 250}, {u' ', 60 + 10 * random.bounded(8)}};
        printer.paperWidth = 11000 + random.bounded(3000) + random.bounded(4) * 0.25;
        printer.printableWidth = printer.paperWidth - 360;
        printer.lineHeight = 200 + random.bounded(100);
        const auto inches = [&](int most) { return random.bounded(most * 4 + 1) / 4.0; };
        const QString footers[] = {"Page &p", "- &p - &p", "", "Draft", " "};
        const PageSettings settings = margins(inches(2), inches(2), inches(2), inches(3), footers[seed % 5]);
        // On even seeds a line starts exactly on the bottom margin.
        printer.printableHeight = seed % 2 ? 2000 + random.bounded(8000)
                                           : (settings.MarginTop + std::max(settings.MarginBottom, 1.0)) * 1440
                                                 + printer.lineHeight * (5 + random.bounded(30));
        const QString header = seed % 4 ? QStringLiteral("HEAD %1").arg(seed) : QString();
        const QString text = randomText(random, 200 + random.bounded(1500));
        const PrintFont font{QStringLiteral("Font %1").arg(seed), 8.5 + seed % 5, seed % 2 == 0, seed % 3 == 0};
        QVERIFY(run(printer, settings, text, header, font, qint32(seed * 4099)));
        QCOMPARE(printed(printer), reference(printer, settings, header, text));
        const QString look = Output{0, 0, 0, {}, false, font.name, font.size, font.bold, font.italic, qint32(seed * 4099)}.look();
        for (const Output& o : printer.visible())  // font and colour on every page
            QCOMPARE(o.look(), look);
        using Events = QList<RecordingPrinter::Event>;
        QCOMPARE(printer.events, Events{RecordingPrinter::Started} + Events(printer.pageCount() - 1, RecordingPrinter::PageBreak)
                                     + Events{RecordingPrinter::Ended});
    }

    // Worked out by hand: one-inch side margins put the body from x = 1440
    // to 10440; lines are 240 twips from y = 720; "0" is 120 twips wide.
    void byHand_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("skip");  // outputs left out before the ones shown
        QTest::addColumn<QStringList>("printed");
        const QString nine = QStringLiteral("abcdefghi");
        QTest::newRow("the tenth word wraps") << QStringList(10, nine).join(u' ') << 8
                                              << QStringList{"p1 9440,720 abcdefghi", "p1 1440,960 abcdefghi"};
        QTest::newRow("a word that just fits stays") << QString(90, u'w') << 0 << QStringList{"p1 1440,720 " + QString(90, u'w')};
        QTest::newRow("a word too wide leaves an empty line")
            << QString(91, u'w') + " x" << 0 << QStringList{"p1 1440,960 " + QString(91, u'w'), "p1 1440,1200 x"};
        QTest::newRow("spaces run past the margin") << QString(85, u'a') + QString(20, u' ') + "b" << 0
                                                    << QStringList{"p1 1440,720 " + QString(85, u'a'), "p1 1440,960 b"};
        QTest::newRow("CR LF, CR, control characters") << "a\r\nb\rc\x0c" "d\n\ne" << 0
                                                       << QStringList{"p1 1440,720 a", "p1 1440,960 b", "p1 1540,960 c",
                                                                      "p1 1640,960 d", "p1 1440,1440 e"};
        QTest::newRow("tab from 9.5 digits: column 10 (even), to 20")
            << "0000000aaa\tx" << 0 << QStringList{"p1 1440,720 0000000aaa", "p1 3840,720 x"};
        QTest::newRow("tab from 8.5 digits: column 8 (even), to 10")
            << "000000aaa\tx" << 0 << QStringList{"p1 1440,720 000000aaa", "p1 2640,720 x"};
        QTest::newRow("two tabs, after a space") << "a \t\tx" << 0 << QStringList{"p1 1440,720 a", "p1 3840,720 x"};
        QTest::newRow("the 57th line starts page 2")
            << lines(57) << 54 << QStringList{"p1 1440,13680 line55", "p1 1440,13920 line56", "p2 1440,720 line57"};
    }
    void byHand()
    {
        QFETCH(QString, text);
        QFETCH(int, skip);
        QFETCH(QStringList, printed);
        RecordingPrinter printer;
        printer.charWidths.insert(u'0', 120);
        run(printer, margins(1, 1, 0.5, 0, QString()), text, QString());
        QCOMPARE(::printed(printer).mid(skip), printed);
    }

    // Header centred in the top margin; the footer centred on the paper's
    // width taken as whole twips (halves to even) and half the bottom margin
    // (at least one inch) above the printable bottom.
    void pageFrame_data()
    {
        QTest::addColumn<double>("paperWidth");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("bottom");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("letter") << 12240.0 << 0.5 << 0.0 << QStringList{"p1 5640,240 HEADER", "p1 5870,14760 - 1 -"};
        QTest::newRow("A4: 11905.5 to 11906") << 11905.5 << 1.0 << 0.5
                                              << QStringList{"p1 5640,600 HEADER", "p1 5703,14760 - 1 -"};
        QTest::newRow("11906.5 to 11906") << 11906.5 << 0.0 << 1.5 << QStringList{"p1 5640,-120 HEADER", "p1 5703,14400 - 1 -"};
        QTest::newRow("11906.7 to 11907") << 11906.7 << 0.5 << 1.0 << QStringList{"p1 5640,240 HEADER", "p1 5703.5,14760 - 1 -"};
    }
    void pageFrame()
    {
        QFETCH(double, paperWidth);
        QFETCH(double, top);
        QFETCH(double, bottom);
        QFETCH(QStringList, printed);
        RecordingPrinter printer;
        printer.paperWidth = paperWidth;
        run(printer, margins(1, 1, top, bottom, "- &p -"), QString());
        QCOMPARE(::printed(printer), printed);
        QCOMPARE(marginsInTwips(margins(1, 1, top, bottom)).bottom, std::max(bottom, 1.0) * 1440);
    }

    // The check runs before each new page, after a line break or a wrapped
    // word; false aborts the document there.
    void continueCheckStopsBetweenPages_data()
    {
        QTest::addColumn<int>("allowed");
        QTest::addColumn<QString>("text");  // 56 lines a page
        const QString words = QStringLiteral("abcdefghi ").repeated(9 * 56 * 3 + 1);  // nine words a line
        QTest::newRow("stops before page 2") << 0 << lines(3 * 56 + 1);
        QTest::newRow("stops before page 3") << 1 << lines(3 * 56 + 1);
        QTest::newRow("never stops") << 100 << lines(3 * 56 + 1);
        QTest::newRow("wrapped words, stops before page 3") << 1 << words;
        QTest::newRow("wrapped words, never stops") << 100 << words;
    }
    void continueCheckStopsBetweenPages()
    {
        QFETCH(int, allowed);
        QFETCH(QString, text);
        RecordingPrinter printer;
        PrintLayout layout(printer, margins(1, 1, 0.5, 0), {});
        int asked = 0;
        layout.setContinueCheck([&] { return asked++ < allowed; });
        const bool finished = layout.PrintText("H", text, 0);
        QCOMPARE(finished, allowed >= 3);
        QCOMPARE(asked, std::min(allowed + 1, 3));
        QCOMPARE(printer.pageCount(), std::min(allowed + 1, 4));
        QCOMPARE(printer.events.last(), finished ? RecordingPrinter::Ended : RecordingPrinter::Killed);
        if (text.startsWith("line"))
            QCOMPARE(printer.visible().last().text, finished ? "line169" : QStringLiteral("line%1").arg(56 * (allowed + 1)));
    }

    void headerAndFooterTexts_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("caption");  // or the page number for a footer
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("footer");
        QTest::newRow("&f, backslashes") << "&f" << "C:\\TEXT\\README.TXT" << "README.TXT" << "&f";
        QTest::newRow("Report &f, slashes") << "Report &f" << "/HOME/ANN/A.TXT" << "A.TXT" << "Report &f";
        QTest::newRow("the last of both separators") << "&f" << "/X/Y\\Z.TXT" << "Z.TXT" << "&f";
        QTest::newRow("ends in a separator") << "&f" << "C:\\TEXT\\" << "" << "&f";
        QTest::newRow("&F, &P are no codes") << "Page &F&P" << "12" << "Page &F&P" << "Page &F&P";
        QTest::newRow("&p on page 12") << "- &p -" << "12" << "- &p -" << "- 12 -";
        QTest::newRow("only the first &p") << "&p of &p" << "2" << "&p of &p" << "2 of &p";
        QTest::newRow("&p at the end") << "Page &p" << "3" << "Page &p" << "Page 3";
        QTest::newRow("no code") << "Draft" << "5" << "Draft" << "Draft";
    }
    void headerAndFooterTexts()
    {
        QFETCH(QString, code);
        QFETCH(QString, caption);
        QFETCH(QString, header);
        QFETCH(QString, footer);
        QCOMPARE(HeaderText(code, caption), header);
        QCOMPARE(FooterText(code, caption.toInt()), footer);
    }

    // Header, Footer, Left, Right, Top, Bottom as stored, and as loaded.
    void storedSettings_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("loaded");
        const QStringList builtIn{"&f", "Page &p", "0.75", "0.25", "0.5", "0"};
        QTest::newRow("empty keys: built-in values") << QStringList(6, QString()) << builtIn;
        QTest::newRow("None: no header or footer") << QStringList{"None", "None", "", "", "", ""}
                                                   << QStringList{"", "", "0.75", "0.25", "0.5", "0"};
        QTest::newRow("none in other cases is a text") << QStringList{"none", "NONE", "", "", "", ""}
                                                       << QStringList{"none", "NONE", "0.75", "0.25", "0.5", "0"};
        QTest::newRow("&d alone: the date") << QStringList{"&d", "&d", "", "", "", ""}
                                            << QStringList{"Friday, December 04, 2026", "&d", "0.75", "0.25", "0.5", "0"};
        QTest::newRow("&d inside: unchanged") << QStringList{"&d ", "- &p -", "", "", "", ""}
                                              << QStringList{"&d ", "- &p -", "0.75", "0.25", "0.5", "0"};
        QTest::newRow("margins: their leading number") << QStringList{"", "", ".75", "1.5in", "abc", " 2"}
                                                       << QStringList{"&f", "Page &p", "0.75", "1.5", "0", "2"};
        QTest::newRow("margins: two periods, bounds") << QStringList{"", "", "1..5", "-1", "3.25.1", "500"}
                                                      << QStringList{"&f", "Page &p", "1", "0", "3.25", "200"};
        QTest::newRow("margins: shortest texts") << QStringList{"", "", "2.", "0.1", "12.125", ".5"}
                                                 << QStringList{"&f", "Page &p", "2", "0.1", "12.125", "0.5"};
    }
    void storedSettings()
    {
        QFETCH(QStringList, stored);
        QFETCH(QStringList, loaded);
        const PageSettings s =
            pageSettingsFromStored({stored[0], stored[1], stored[2], stored[3], stored[4], stored[5]}, QDate(2026, 12, 4));
        QCOMPARE(QStringList({s.PageHeader, s.PageFooter, marginBoxText(s.MarginLeft), marginBoxText(s.MarginRight),
                              marginBoxText(s.MarginTop), marginBoxText(s.MarginBottom)}),
                 loaded);
        QCOMPARE(expandDateHeader("&d", QDate(2024, 2, 29)), QStringLiteral("Thursday, February 29, 2024"));
    }

    void marginEntries()  // what a margin box may hold at OK
    {
        QList<bool> entries;
        for (const char* text : {"0.75", ".5", "2.", "12.125", "", ".", "1..", "1in", " ", "-1"})
            entries << isMarginEntry(text);
        QCOMPARE(entries, QList<bool>({true, true, true, true, false, false, false, false, false, false}));
    }
};

PAGEWELL_TEST_MAIN(TestPrintLayout)
#include "tst_printlayout.moc"
