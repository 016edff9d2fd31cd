// RTF saving, read back by independent readers (unrtf as HTML, AbiWord as
// text) and by a small strict parser that checks the file's structure.
#include "TestEnvironment.h"
#include "document/RichTextBox.h"
#include "app/Units.h"
#include "files/RtfWriter.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// What the parser below read from an RTF file.
struct RtfContent {
    QString error;  // empty when the file is well formed
    QStringList fonts;
    QList<QColor> colours;             // entry 0 is the default colour
    QStringList paragraphs;
    QList<QList<QByteArray>> tabStops;  // per paragraph, e.g. "tqr2880", "tx720"
    int highestFont = -1;
    int highestColour = -1;
};

// A strict reader of the subset the writer uses: every group closed, the
// whole file one group, \uN followed by its one fallback character.
RtfContent parseRtf(const QByteArray& rtf)
{
    RtfContent content;
    enum Destination { Body, FontTable, FontEntry, ColourTable, Skipped };
    QList<Destination> stack;
    QString fontName;
    QColor colour(0, 0, 0);
    int skipFallback = 0;
    qsizetype i = 0;
    auto fail = [&](const QString& why) {
        content.error = why + QStringLiteral(" at byte %1").arg(i);
        return content;
    };
    if (!rtf.startsWith("{\\rtf1"))
        return fail(QStringLiteral("no {\\rtf1 header"));
    content.paragraphs << QString();
    content.tabStops << QList<QByteArray>();
    while (i < rtf.size()) {
        const char c = rtf[i];
        if (c == '{') {
            if (!stack.isEmpty() && stack.last() == FontTable)
                stack << FontEntry;
            else
                stack << (stack.isEmpty() ? Body : stack.last() == Body ? Body : Skipped);
            ++i;
            continue;
        }
        if (c == '}') {
            if (stack.isEmpty())
                return fail(QStringLiteral("unbalanced }"));
            if (stack.takeLast() == FontEntry)
                content.fonts << fontName.chopped(fontName.endsWith(u';') ? 1 : 0).trimmed();
            fontName.clear();
            ++i;
            if (stack.isEmpty()) {
                if (!rtf.mid(i).trimmed().isEmpty())
                    return fail(QStringLiteral("text after the document's group"));
                break;
            }
            continue;
        }
        if (stack.isEmpty())
            return fail(QStringLiteral("text outside the document's group"));
        const Destination where = stack.last();
        QString text;
        if (c == '\\') {
            ++i;
            if (i >= rtf.size())
                return fail(QStringLiteral("lone backslash"));
            if (!QChar::isLetter(uchar(rtf[i]))) {  // control symbol
                const char symbol = rtf[i++];
                bool isHex = false;
                if (symbol == '*') {
                    stack.last() = Skipped;
                } else if (symbol == '\\' || symbol == '{' || symbol == '}') {
                    text = QChar(symbol);
                } else if (symbol == '\'' && (text = QChar(rtf.mid(i, 2).toInt(&isHex, 16)), isHex)) {
                    i += 2;
                    if (skipFallback > 0) {
                        --skipFallback;
                        text.clear();
                    }
                } else {
                    return fail(QStringLiteral("unexpected control symbol"));
                }
            } else {
                QByteArray word;
                while (i < rtf.size() && QChar::isLetter(uchar(rtf[i])))
                    word += rtf[i++];
                QByteArray number;
                if (i < rtf.size() && (rtf[i] == '-' || QChar::isDigit(uchar(rtf[i]))))
                    number += rtf[i++];
                while (i < rtf.size() && QChar::isDigit(uchar(rtf[i])))
                    number += rtf[i++];
                if (i < rtf.size() && rtf[i] == ' ')
                    ++i;
                const int value = number.toInt();
                if (word == "u") {
                    if (value < -32768 || value > 32767)  // readers take a signed 16-bit N
                        return fail(QStringLiteral("\\u%1 out of range").arg(value));
                    text = QChar(char16_t(value < 0 ? value + 65536 : value));
                    skipFallback = 1;
                } else if (word == "fonttbl")
                    stack.last() = FontTable;
                else if (word == "colortbl")
                    stack.last() = ColourTable;
                else if (where == ColourTable && word == "red")
                    colour.setRed(value);
                else if (where == ColourTable && word == "green")
                    colour.setGreen(value);
                else if (where == ColourTable && word == "blue")
                    colour.setBlue(value);
                else if (where != Body)
                    ;
                else if (word == "par") {
                    content.paragraphs << QString();
                    content.tabStops << QList<QByteArray>();
                } else if (word == "pard")
                    content.tabStops.last().clear();
                else if (word == "tx" || word == "tqr" || word == "tqc" || word == "tqdec")
                    content.tabStops.last() << word + number;
                else if (word == "tab")
                    text = QStringLiteral("\t");
                else if (word == "line")
                    text = QChar(QChar::LineSeparator);
                else if (word == "f")
                    content.highestFont = std::max(content.highestFont, value);
                else if (word == "cf")
                    content.highestColour = std::max(content.highestColour, value);
            }
            if (where == Body)
                content.paragraphs.last() += text;
            else if (where == FontEntry)
                fontName += text;
            continue;
        }
        ++i;
        if (c == '\r' || c == '\n')
            continue;
        if (uchar(c) >= 0x80)
            return fail(QStringLiteral("a raw byte above 0x7F"));
        if (skipFallback > 0) {
            --skipFallback;
        } else if (where == ColourTable && c == ';') {
            content.colours << colour;
            colour = QColor(0, 0, 0);
        } else if (where == FontEntry) {
            fontName += QChar(c);
        } else if (where == Body) {
            content.paragraphs.last() += QChar(c);
        }
    }
    if (!stack.isEmpty())
        return fail(QStringLiteral("%1 groups left open").arg(stack.size()));
    return content;
}

}  // namespace

namespace {

void useEditorFont(QTextDocument& document)
{
    QFont base(QStringLiteral("Arial"));
    base.setPointSizeF(9.75);
    document.setDefaultFont(base);
}

// Every sequence of three of these, so that escapes, tabs, breaks, control
// characters and \uN characters stand at paragraph starts and after each other.
const QStringList Pieces{QStringLiteral("\\"), QStringLiteral("{"), QStringLiteral("}"),
                         QStringLiteral("\t"), QStringLiteral("\n"), QString(QChar::LineSeparator),
                         QStringLiteral(" "), QStringLiteral("a"), QStringLiteral("7"),
                         QStringLiteral("-"), QStringLiteral("\u00E9"), QStringLiteral("\u20AC"),
                         QStringLiteral("\u4E2D"), QStringLiteral("\u8000"), QStringLiteral("\uFFFD"),
                         QStringLiteral("\U0001F600"), QString(QChar(0)) + QStringLiteral("\x7F\a")};

// Inserts the pieces with the format changing at random places (seeded), so
// that every piece also opens and closes runs. Returns the text as AbiWord
// shows it: line breaks as paragraph breaks, no control characters but DEL.
QString insertGeneratedText(QTextCursor& cursor)
{
    QTextCharFormat formats[4];
    formats[1].setFontWeight(QFont::Bold);
    formats[2].setFontItalic(true);
    formats[2].setFontPointSize(14);
    formats[3].setForeground(QColor(Qt::red));
    formats[3].setFontFamilies({QStringLiteral("Courier New")});
    formats[3].setFontUnderline(true);
    QRandomGenerator random(2024);
    QString shown;
    int format = 0;
    for (const QString& a : Pieces) {
        for (const QString& b : Pieces) {
            for (const QString& c : Pieces) {
                for (const QString& piece : {a, b, c}) {
                    if (random.bounded(3) == 0)
                        format = (format + 1 + random.bounded(3)) % 4;
                    cursor.insertText(piece, formats[format]);
                    shown += piece == Pieces[5] ? QStringLiteral("\n")
                                                : QString(piece).remove(QChar(0)).remove(u'\a');
                }
            }
        }
    }
    return shown;
}

QStringList blockTexts(const QTextDocument& document)
{
    QStringList texts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        texts << block.text();
    return texts;
}

// unrtf's HTML sizes: <font size="n"> for its standard sizes, else points.
double pointSizeInHtml(const QTextCharFormat& format)
{
    if (format.hasProperty(QTextFormat::FontPointSize))
        return format.fontPointSize();
    static const QMap<int, double> standard{{-2, 8}, {-1, 10}, {0, 12}, {1, 14}, {2, 18}, {3, 24}};
    return standard.value(format.intProperty(QTextFormat::FontSizeAdjustment), -1);
}

struct Look {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QColor colour = Qt::black;
    QString family = QStringLiteral("Arial");
    double points = 10;  // 9.75 rounded to whole half-points
};

}  // namespace

Q_DECLARE_METATYPE(Look)

namespace {

Look lookOf(const QTextCharFormat& format)
{
    const QFont font = format.font();
    Look look;
    look.bold = font.bold();
    look.italic = font.italic();
    look.underline = font.underline();
    look.strike = font.strikeOut();
    if (format.hasProperty(QTextFormat::ForegroundBrush))
        look.colour = format.foreground().color();
    look.family = format.fontFamilies().toStringList().value(0);
    look.points = pointSizeInHtml(format);
    return look;
}

QString describe(const Look& look)
{
    return QStringLiteral("bold %1 italic %2 underline %3 strike %4 colour %5 family %6 size %7")
        .arg(look.bold).arg(look.italic).arg(look.underline).arg(look.strike)
        .arg(look.colour.name(), look.family).arg(look.points);
}

}  // namespace

class TestRtfWriter : public QObject {
    Q_OBJECT

    // What an RTF reader (unrtf, abiword) writes for the RTF; fails the test
    // when the reader is missing or fails.
    void readBack(const char* reader, QStringList arguments, const QByteArray& rtf, QString* output)
    {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(reader));
        QVERIFY2(!program.isEmpty(), qPrintable(QStringLiteral("%1 is not installed; it reads the RTF files "
                                                               "back (scripts/deps.sh test)").arg(reader)));
        QProcess process;
        process.start(program, arguments << testenv::writeFile(QStringLiteral("rtf/document.rtf"), rtf));
        QVERIFY2(process.waitForFinished(60000), reader);
        QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
                 process.readAllStandardError().constData());
        *output = QString::fromUtf8(process.readAllStandardOutput());
    }

    // The document as unrtf shows it in HTML, read back by Qt's HTML reader.
    void throughUnrtfHtml(const QTextDocument& document, QTextDocument* html)
    {
        QString output;
        readBack("unrtf", {QStringLiteral("--html")}, writeRtf(document), &output);
        html->setHtml(output);
    }

    static Look lookOfWord(const QTextDocument& html, const QString& word)
    {
        const QTextCursor found = html.find(word, 0, QTextDocument::FindCaseSensitively);
        if (found.isNull())
            return Look{false, false, false, false, QColor(), QStringLiteral("(not found)"), -1};
        QTextCursor first(found);
        first.setPosition(found.selectionStart() + 1);
        return lookOf(first.charFormat());
    }

private slots:
    void initTestCase() { QCOMPARE(units::twipsToPixelsX(1440), 96); }

    void characterFormatsReachAnotherReader_data()
    {
        QTest::addColumn<Look>("look");
        QTest::addColumn<QTextCharFormat>("format");
        auto row = [](const char* name, auto change) {
            Look look;
            QTextCharFormat format;
            change(look, format);
            QTest::newRow(name) << look << format;
        };
        row("bold", [](Look& l, QTextCharFormat& f) { l.bold = true; f.setFontWeight(QFont::Bold); });
        row("italic", [](Look& l, QTextCharFormat& f) { l.italic = true; f.setFontItalic(true); });
        row("underline", [](Look& l, QTextCharFormat& f) { l.underline = true; f.setFontUnderline(true); });
        row("strike-out", [](Look& l, QTextCharFormat& f) { l.strike = true; f.setFontStrikeOut(true); });
        row("red", [](Look& l, QTextCharFormat& f) {
            l.colour = QColor(255, 0, 0);
            f.setForeground(l.colour);
        });
        row("odd colour", [](Look& l, QTextCharFormat& f) {
            l.colour = QColor(0x12, 0x34, 0x56);
            f.setForeground(l.colour);
        });
        row("family", [](Look& l, QTextCharFormat& f) {
            l.family = QStringLiteral("Courier New");
            f.setFontFamilies({l.family});
        });
        row("11 points", [](Look& l, QTextCharFormat& f) { l.points = 11; f.setFontPointSize(11); });
        row("18 points", [](Look& l, QTextCharFormat& f) { l.points = 18; f.setFontPointSize(18); });
        row("12.25 points rounds to 12", [](Look& l, QTextCharFormat& f) {
            l.points = 12;
            f.setFontPointSize(12.25);
        });
        row("everything at once", [](Look& l, QTextCharFormat& f) {
            l = Look{true, true, true, true, QColor(0, 128, 0), QStringLiteral("Times New Roman"), 24};
            f.setFontWeight(QFont::Bold);
            f.setFontItalic(true);
            f.setFontUnderline(true);
            f.setFontStrikeOut(true);
            f.setForeground(l.colour);
            f.setFontFamilies({l.family});
            f.setFontPointSize(24);
        });
    }
    void characterFormatsReachAnotherReader()
    {
        QFETCH(Look, look);
        QFETCH(QTextCharFormat, format);
        QTextDocument document;
        useEditorFont(document);
        QTextCursor cursor(&document);
        cursor.insertText(QStringLiteral("plain "), QTextCharFormat());
        cursor.insertText(QStringLiteral("MARKED"), format);
        cursor.insertText(QStringLiteral(" after"), QTextCharFormat());
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("FOLLOWING"), format);

        QTextDocument html;
        throughUnrtfHtml(document, &html);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(html.toPlainText().simplified(), QStringLiteral("plain MARKED after FOLLOWING"));
        QCOMPARE(describe(lookOfWord(html, QStringLiteral("MARKED"))), describe(look));
        QCOMPARE(describe(lookOfWord(html, QStringLiteral("after"))), describe(Look()));
        QCOMPARE(describe(lookOfWord(html, QStringLiteral("FOLLOWING"))), describe(look));

        const RtfContent rtf = parseRtf(writeRtf(document));
        QVERIFY2(rtf.error.isEmpty(), qPrintable(rtf.error));
        QCOMPARE(rtf.fonts.value(0), QStringLiteral("Arial"));
        QVERIFY(rtf.fonts.contains(look.family));
        QCOMPARE(rtf.fonts.size(), look.family == QLatin1String("Arial") ? 1 : 2);
        QCOMPARE(rtf.colours.size(), look.colour == Qt::black ? 1 : 2);
        QCOMPARE(rtf.highestFont, rtf.fonts.size() - 1);
        QCOMPARE(rtf.highestColour, look.colour == Qt::black ? -1 : 1);  // the default colour needs no \cf
    }

    // The text comes back exactly, from the strict parser and from AbiWord.
    void generatedTextReachesAnotherReader()
    {
        QTextDocument document;
        useEditorFont(document);
        QTextCursor cursor(&document);
        const QString shown = insertGeneratedText(cursor);
        const QByteArray written = writeRtf(document);
        const RtfContent rtf = parseRtf(written);
        QVERIFY2(rtf.error.isEmpty(), qPrintable(rtf.error));
        QCOMPARE(rtf.paragraphs, blockTexts(document));

        QString text;
        readBack("abiword", {QStringLiteral("--to=txt"), QStringLiteral("--to-name=fd://1")}, written, &text);
        // Line by line, so a failure names the first line that differs.
        QCOMPARE(text.split(u'\n'), shown.split(u'\n'));
    }

    void tablesListEachFontAndColourOnce()
    {
        QTextDocument document;
        useEditorFont(document);
        QTextCursor cursor(&document);
        const QStringList families{QStringLiteral("Courier New"), QStringLiteral("DejaVu Sans"),
                                   QStringLiteral("Courier New"), QStringLiteral("Schrift \u00C4 {1}")};
        const QList<QColor> colours{Qt::red, QColor(1, 2, 3), Qt::red, Qt::blue};
        for (int i = 0; i < 4; ++i) {
            QTextCharFormat format;
            format.setFontFamilies({families[i]});
            format.setForeground(colours[i]);
            cursor.insertText(QStringLiteral("w%1 ").arg(i), format);
        }
        const RtfContent rtf = parseRtf(writeRtf(document));
        QVERIFY2(rtf.error.isEmpty(), qPrintable(rtf.error));
        QCOMPARE(rtf.fonts, (QStringList{QStringLiteral("Arial"), QStringLiteral("Courier New"),
                                         QStringLiteral("DejaVu Sans"),
                                         QStringLiteral("Schrift \u00C4 {1}")}));
        QCOMPARE(rtf.colours,
                 (QList<QColor>{QColor(0, 0, 0), Qt::red, QColor(1, 2, 3), Qt::blue}));
        QCOMPARE(rtf.highestFont, 3);
        QCOMPARE(rtf.highestColour, 3);
    }

    void tabStopsInTwips_data()
    {
        QTest::addColumn<QList<QTextOption::Tab>>("tabs");
        QTest::addColumn<QList<QByteArray>>("expected");
        using Tab = QTextOption::Tab;
        QTest::newRow("none") << QList<Tab>{} << QList<QByteArray>{};
        QTest::newRow("left") << QList<Tab>{Tab(48, QTextOption::LeftTab), Tab(100, QTextOption::LeftTab)}
                              << QList<QByteArray>{"tx720", "tx1500"};
        QTest::newRow("fraction of a pixel") << QList<Tab>{Tab(133.3333, QTextOption::LeftTab)}
                                             << QList<QByteArray>{"tx2000"};
        QTest::newRow("kinds") << QList<Tab>{Tab(96, QTextOption::RightTab), Tab(192, QTextOption::CenterTab),
                                             Tab(288, QTextOption::DelimiterTab, u'.')}
                               << QList<QByteArray>{"tqr", "tx1440", "tqc", "tx2880", "tqdec", "tx4320"};
    }
    void tabStopsInTwips()
    {
        QFETCH(QList<QTextOption::Tab>, tabs);
        QFETCH(QList<QByteArray>, expected);
        QTextDocument document;
        QTextCursor cursor(&document);
        cursor.insertText(QStringLiteral("plain"));
        cursor.insertBlock();
        QTextBlockFormat format;
        format.setTabPositions(tabs);
        cursor.setBlockFormat(format);
        cursor.insertText(QStringLiteral("with\tstops"));
        cursor.insertBlock(QTextBlockFormat());
        cursor.insertText(QStringLiteral("plain again"));
        const RtfContent rtf = parseRtf(writeRtf(document));
        QVERIFY2(rtf.error.isEmpty(), qPrintable(rtf.error));
        QCOMPARE(rtf.tabStops, (QList<QList<QByteArray>>{{}, expected, {}}));
    }

    // The stops the text control sets in twips come back as the same twips.
    void textControlTabStops()
    {
        RichTextBox box;
        box.setText(QStringLiteral("a\tb\tc"));
        box.setSelTabCount(3);
        const int twips[] = {1440, 2000, 2881};
        for (int i = 0; i < 3; ++i)
            box.setSelTabs(i, twips[i]);
        const RtfContent rtf = parseRtf(writeRtf(*box.document()));
        QVERIFY2(rtf.error.isEmpty(), qPrintable(rtf.error));
        QCOMPARE(rtf.tabStops, (QList<QList<QByteArray>>{{"tx1440", "tx2000", "tx2881"}}));
        QCOMPARE(rtf.fonts, QStringList{QStringLiteral("Arial")});
    }

    void emptyDocument()
    {
        QTextDocument document;
        useEditorFont(document);
        const QByteArray written = writeRtf(document);
        const RtfContent rtf = parseRtf(written);
        QVERIFY2(rtf.error.isEmpty(), qPrintable(rtf.error));
        QCOMPARE(rtf.paragraphs, QStringList{QString()});
        QVERIFY(written.contains("\\fs20"));  // Arial 9.75 as whole half-points
    }

    // The parser must refuse what it is there to catch.
    void parserRefusesBrokenFiles_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::newRow("no header") << QByteArray("{\\rtf0 x}");
        QTest::newRow("open group") << QByteArray("{\\rtf1 {x}");
        QTest::newRow("extra close") << QByteArray("{\\rtf1 x}}");
        QTest::newRow("raw high byte") << QByteArray("{\\rtf1 caf\xE9}");
        QTest::newRow("text after the end") << QByteArray("{\\rtf1 x} y");
    }
    void parserRefusesBrokenFiles()
    {
        QFETCH(QByteArray, rtf);
        QVERIFY(!parseRtf(rtf).error.isEmpty());
    }
};

PAGEWELL_TEST_MAIN(TestRtfWriter)
#include "tst_rtfwriter.moc"
