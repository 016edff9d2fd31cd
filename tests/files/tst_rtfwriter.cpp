// RTF saving, read back by AbiWord (a word processor with an RTF reader of
// its own, converting without a display) and by a small strict parser that
// checks the file's structure: the text, every run's look, the font and
// colour tables and the tab stops.
#include "MainWindowFixture.h"
#include "app/Units.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "files/RtfWriter.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QXmlStreamReader>
#include <optional>

namespace {

// What the parser below read from an RTF file.
struct RtfContent {
    QString error;  // empty when the file is well formed
    QStringList fonts;
    QList<QColor> colours;  // entry 0 is the default colour
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
    auto fail = [&](const char* why) {
        content.error = QStringLiteral("%1 at byte %2").arg(QLatin1String(why)).arg(i);
        return content;
    };
    if (!rtf.startsWith("{\\rtf1"))
        return fail("no {\\rtf1 header");
    content.paragraphs << QString();
    content.tabStops << QList<QByteArray>();
    while (i < rtf.size()) {
        const char c = rtf[i++];
        if (c == '{') {
            const bool inTable = !stack.isEmpty() && stack.last() == FontTable;
            stack << (inTable ? FontEntry : stack.isEmpty() || stack.last() == Body ? Body : Skipped);
            continue;
        }
        if (c == '}') {
            if (stack.isEmpty())
                return fail("unbalanced }");
            if (stack.takeLast() == FontEntry)
                content.fonts << fontName.chopped(fontName.endsWith(u';') ? 1 : 0).trimmed();
            fontName.clear();
            if (stack.isEmpty() && !rtf.mid(i).trimmed().isEmpty())
                return fail("text after the document's group");
            if (stack.isEmpty())
                break;
            continue;
        }
        if (stack.isEmpty())
            return fail("text outside the document's group");
        const Destination where = stack.last();
        QString text;
        if (c == '\\' && i < rtf.size() && !QChar::isLetter(uchar(rtf[i]))) {  // control symbol
            const char symbol = rtf[i++];
            bool isHex = false;
            if (symbol == '*')
                stack.last() = Skipped;
            else if (symbol == '\\' || symbol == '{' || symbol == '}')
                text = QChar(symbol);
            else if (symbol == '\'' && (text = QChar(rtf.mid(i, 2).toInt(&isHex, 16)), isHex))
                i += 2;
            else
                return fail("unexpected control symbol");
            if (symbol == '\'' && skipFallback > 0 && skipFallback--)
                text.clear();
        } else if (c == '\\') {
            QByteArray word, number;
            while (i < rtf.size() && QChar::isLetter(uchar(rtf[i])))
                word += rtf[i++];
            if (i < rtf.size() && (rtf[i] == '-' || QChar::isDigit(uchar(rtf[i]))))
                number += rtf[i++];
            while (i < rtf.size() && QChar::isDigit(uchar(rtf[i])))
                number += rtf[i++];
            i += i < rtf.size() && rtf[i] == ' ' ? 1 : 0;
            const int value = number.toInt();
            if (word == "u" && (value < -32768 || value > 32767))  // readers take a signed 16-bit N
                return fail("\\u out of range");
            if (word == "u") {
                text = QChar(char16_t(value < 0 ? value + 65536 : value));
                skipFallback = 1;
            } else if (word == "fonttbl" || word == "colortbl") {
                stack.last() = word == "fonttbl" ? FontTable : ColourTable;
            } else if (where == ColourTable && (word == "red" || word == "green" || word == "blue")) {
                (word == "red" ? colour.setRed(value) : word == "green" ? colour.setGreen(value) : colour.setBlue(value));
            } else if (where != Body) {
            } else if (word == "par") {
                content.paragraphs << QString();
                content.tabStops << QList<QByteArray>();
            } else if (word == "pard") {
                content.tabStops.last().clear();
            } else if (word == "tx" || word == "tqr" || word == "tqc" || word == "tqdec") {
                content.tabStops.last() << word + number;
            } else if (word == "tab" || word == "line") {
                text = word == "tab" ? QChar(u'\t') : QChar(QChar::LineSeparator);
            } else if (word == "f" || word == "cf") {
                int& highest = word == "f" ? content.highestFont : content.highestColour;
                highest = std::max(highest, value);
            }
        } else if (c == '\r' || c == '\n') {
            continue;
        } else if (uchar(c) >= 0x80) {
            return fail("a raw byte above 0x7F");
        } else if (skipFallback > 0) {
            --skipFallback;
        } else if (where == ColourTable && c == ';') {
            content.colours << colour;
            colour = QColor(0, 0, 0);
        } else {
            text = QChar(c);
        }
        if (where == Body)
            content.paragraphs.last() += text;
        else if (where == FontEntry)
            fontName += text;
    }
    return stack.isEmpty() ? content : fail("groups left open");
}

using Properties = QHash<QString, QString>;

// AbiWord's "name:value; name:value" property lists.
Properties parseProperties(const QStringView text)
{
    Properties properties;
    for (const QString& item : text.toString().split(u';', Qt::SkipEmptyParts))
        properties.insert(item.section(u':', 0, 0).trimmed(), item.section(u':', 1).trimmed());
    return properties;
}

struct Span {
    qsizetype start = 0, end = 0;
    Properties properties;  // the span's own over its paragraph's
};

struct Paragraph {
    QString text;
    Properties properties;
    QList<Span> spans;
};

// The paragraphs of an AbiWord document with their text and properties.
QList<Paragraph> readAbw(const QByteArray& xml)
{
    QList<Paragraph> paragraphs;
    QXmlStreamReader reader(xml);
    Properties span;
    bool inside = false;
    while (!reader.atEnd()) {
        reader.readNext();
        const QStringView props = reader.attributes().value(QLatin1String("props"));
        if (reader.name() == QLatin1String("p") && (inside = reader.isStartElement()))
            paragraphs.append(Paragraph{{}, span = parseProperties(props), {}});
        else if (inside && reader.isStartElement() && reader.name() == QLatin1String("c"))
            span.insert(parseProperties(props));
        else if (inside && reader.isEndElement() && reader.name() == QLatin1String("c"))
            span = paragraphs.last().properties;
        else if (inside && reader.isCharacters()) {
            Paragraph& paragraph = paragraphs.last();
            paragraph.spans.append(Span{paragraph.text.size(), paragraph.text.size() + reader.text().size(), span});
            paragraph.text += reader.text();
        }
    }
    if (reader.hasError())
        qWarning() << "AbiWord's file does not parse:" << reader.errorString();
    return paragraphs;
}

QString lookOf(const Properties& p)
{
    const QString decoration = p.value(QStringLiteral("text-decoration"));
    return QStringLiteral("%1 %2 %3%4%5%6 #%7")
        .arg(p.value(QStringLiteral("font-family")), p.value(QStringLiteral("font-size")).remove(QStringLiteral("pt")),
             p.value(QStringLiteral("font-weight")) == QLatin1String("bold") ? "B" : "-",
             p.value(QStringLiteral("font-style")) == QLatin1String("italic") ? "I" : "-",
             decoration.contains(QStringLiteral("underline")) ? "U" : "-",
             decoration.contains(QStringLiteral("line-through")) ? "S" : "-",
             p.value(QStringLiteral("color"), QStringLiteral("000000")));
}

// The look of a whole word; every character of it has to agree.
QString lookOfWord(const QList<Paragraph>& paragraphs, const QString& word)
{
    for (const Paragraph& paragraph : paragraphs) {
        const qsizetype at = paragraph.text.indexOf(word);
        QStringList looks;
        for (const Span& span : paragraph.spans) {
            if (at >= 0 && span.end > at && span.start < at + word.size())
                looks << lookOf(span.properties);
        }
        looks.removeDuplicates();
        if (at >= 0)
            return looks.join(QStringLiteral(" and "));
    }
    return word + QStringLiteral(" not found");
}

// "tabstops:1.250000in/L0,2.500000in/L0" as "L1800 L3600", in whole twips.
QString tabStopsOf(const Paragraph& paragraph)
{
    QStringList stops;
    for (const QString& stop : paragraph.properties.value(QStringLiteral("tabstops")).split(u',', Qt::SkipEmptyParts)) {
        const QString position = stop.section(u'/', 0, 0).trimmed();
        const double inches = position.endsWith(QLatin1String("in")) ? position.chopped(2).toDouble() : -1;
        stops << stop.section(u'/', 1).left(1) + QString::number(qRound(inches * 1440));
    }
    return stops.join(u' ');
}

struct FormatRow {
    const char* name;
    QString look;  // as AbiWord shows it: family, points, bold/italic/underline/strike, colour
    QTextCharFormat format;
};

QList<FormatRow> formatRows()
{
    auto with = [](auto change) {
        QTextCharFormat format;
        change(format);
        return format;
    };
    return {
        {"bold", "Arial 10 B--- #000000", with([](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); })},
        {"italic", "Arial 10 -I-- #000000", with([](QTextCharFormat& f) { f.setFontItalic(true); })},
        {"underline", "Arial 10 --U- #000000", with([](QTextCharFormat& f) { f.setFontUnderline(true); })},
        {"strike-out", "Arial 10 ---S #000000", with([](QTextCharFormat& f) { f.setFontStrikeOut(true); })},
        {"red", "Arial 10 ---- #ff0000", with([](QTextCharFormat& f) { f.setForeground(QColor(255, 0, 0)); })},
        {"odd colour", "Arial 10 ---- #123456", with([](QTextCharFormat& f) { f.setForeground(QColor(0x123456)); })},
        {"family", "Courier New 10 ---- #000000",
         with([](QTextCharFormat& f) { f.setFontFamilies({QStringLiteral("Courier New")}); })},
        {"another family, red again", "DejaVu Sans 10 ---- #ff0000", with([](QTextCharFormat& f) {
             f.setFontFamilies({QStringLiteral("DejaVu Sans")});
             f.setForeground(QColor(255, 0, 0));
         })},
        {"11 points", "Arial 11 ---- #000000", with([](QTextCharFormat& f) { f.setFontPointSize(11); })},
        {"12.25 points round to 12", "Arial 12 ---- #000000", with([](QTextCharFormat& f) { f.setFontPointSize(12.25); })},
        {"everything", "Courier New 24 BIUS #008000", with([](QTextCharFormat& f) {
             f.setFontWeight(QFont::Bold);
             f.setFontItalic(true);
             f.setFontUnderline(true);
             f.setFontStrikeOut(true);
             f.setForeground(QColor(0, 128, 0));
             f.setFontFamilies({QStringLiteral("Courier New")});
             f.setFontPointSize(24);
         })},
    };
}

void useEditorFont(QTextDocument& document)
{
    QFont base(QStringLiteral("Arial"));
    base.setPointSizeF(9.75);  // \fs20 in whole half-points
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

const QStringList Lines{"BASE ARIAL MONO tail", "SERIF\tTABBED\tcells", "more\ttabs\there", "col\tumns\tten", "LAST"};

QStringList blockTexts(const QTextDocument& document)
{
    QStringList texts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        texts << block.text();
    return texts;
}

}  // namespace

class TestRtfWriter : public QObject {
    Q_OBJECT

    testsupport::MainWindowFixture f;
    QList<Paragraph> m_saved;   // the document formatted in the editor and saved with Save As
    QList<Paragraph> m_direct;  // one paragraph per format row, written directly
    RtfContent m_directRtf;

    // What AbiWord converts the RTF file to (abw or txt).
    static QByteArray throughAbiWord(const QString& rtfPath, const QString& to)
    {
        const QString out = rtfPath + u'.' + to;
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral("abiword"), {"--to=" + to, "--to-name=" + out, rtfPath});
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            qWarning() << "AbiWord failed:" << process.errorString() << process.readAll();
        return testsupport::bytesOf(out);
    }

    void select(const QString& word, const QString& last = QString())
    {
        const QString text = f.text()->Text();
        const QString& end = last.isEmpty() ? word : last;
        f.text()->SetSel(int(text.indexOf(word)), int(text.indexOf(end) + end.size()));
    }

    void font(const QString& family, double points, bool b, bool i, bool u, bool s, qint32 bgr)
    {
        RichTextBox* t = f.text();
        t->setSelFontName(family);
        t->setSelFontSize(points);
        t->setSelBold(b);
        t->setSelItalic(i);
        t->setSelUnderline(u);
        t->setSelStrikeThru(s);
        t->setSelColor(bgr);
    }

    void tabs(const QList<int>& twips)
    {
        f.text()->setSelTabCount(int(twips.size()));
        for (int i = 0; i < twips.size(); ++i)
            f.text()->setSelTabs(i, twips[i]);
    }

private slots:
    void initTestCase()
    {
        const char* why = "AbiWord is not installed; it reads the RTF files back (scripts/deps.sh test)";
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("abiword")).isEmpty(), why);
        QCOMPARE(units::twipsToPixelsX(1440), 96);

        // Formatted in the editor: the whole text, then words on top of it.
        f.start();
        f.text()->setText(Lines.join(u'\n'));
        select(QStringLiteral("BASE"), QStringLiteral("LAST"));
        font(QStringLiteral("DejaVu Sans"), 12, false, false, false, false, 0x800000);
        select(QStringLiteral("ARIAL"));
        font(QStringLiteral("Liberation Sans"), 14, true, true, true, true, 0x0000FF);
        select(QStringLiteral("MONO"));
        font(QStringLiteral("Liberation Mono"), 10, false, true, false, false, 0x008000);
        select(QStringLiteral("SERIF"));
        font(QStringLiteral("DejaVu Serif"), 18, true, false, true, false, 0x563412);
        select(QStringLiteral("LAST"));
        font(QStringLiteral("DejaVu Sans"), 10.5, false, false, false, true, 0x808080);
        select(QStringLiteral("TABBED"), QStringLiteral("tabs"));
        tabs({1800, 3600, 5400, 7200});
        select(QStringLiteral("umns"));
        tabs({1440, 2000, 2881});
        f.text()->setSelStart(0);  // nothing selected: Save As writes the whole document
        const QString saved = f.path(QStringLiteral("formatted.rtf"));
        f.dialogs->choose(saved);
        f.main->mnuFileItem[6]->trigger();
        QApplication::processEvents();
        QCOMPARE(f.prompts(), QStringList());
        m_saved = readAbw(throughAbiWord(saved, QStringLiteral("abw")));

        QTextDocument document;
        useEditorFont(document);
        QTextCursor cursor(&document);
        const QList<FormatRow> rows = formatRows();
        for (int i = 0; i < rows.size(); ++i) {
            cursor.insertText(QStringLiteral("F%1x").arg(i), rows[i].format);
            cursor.insertText(QStringLiteral(" P%1x ").arg(i), QTextCharFormat());
            cursor.insertText(QStringLiteral("M%1x").arg(i), rows[i].format);
            cursor.insertBlock();
        }
        QTextCharFormat escaped;  // AbiWord does not take escapes in font names
        escaped.setFontFamilies({QStringLiteral("Schrift \u00C4 {1}")});
        cursor.insertText(QStringLiteral("escaped"), escaped);
        const QByteArray rtf = writeRtf(document);
        m_directRtf = parseRtf(rtf);
        m_direct = readAbw(throughAbiWord(testenv::writeFile(QStringLiteral("direct.rtf"), rtf), QStringLiteral("abw")));
    }
    void cleanupTestCase() { f.stop(); }

    void looks_data()
    {
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("look");
        QTest::newRow("Save As: whole text") << true << "BASE" << "DejaVu Sans 12 ---- #000080";
        QTest::newRow("Save As: ARIAL") << true << "ARIAL" << "Liberation Sans 14 BIUS #ff0000";
        QTest::newRow("Save As: MONO") << true << "MONO" << "Liberation Mono 10 -I-- #008000";
        QTest::newRow("Save As: SERIF") << true << "SERIF" << "DejaVu Serif 18 B-U- #123456";
        QTest::newRow("Save As: LAST") << true << "LAST" << "DejaVu Sans 10.5 ---S #808080";
        QTest::newRow("Save As: after two runs") << true << "tail" << "DejaVu Sans 12 ---- #000080";
        QTest::newRow("Save As: between tab stops") << true << "TABBED" << "DejaVu Sans 12 ---- #000080";
        const QList<FormatRow> rows = formatRows();
        for (int i = 0; i < rows.size(); ++i) {
            QTest::addRow("%s, first", rows[i].name) << false << QStringLiteral("F%1x").arg(i) << rows[i].look;
            QTest::addRow("%s, plain after", rows[i].name) << false << QStringLiteral("P%1x").arg(i)
                                                           << "Arial 10 ---- #000000";
            QTest::addRow("%s, after plain", rows[i].name) << false << QStringLiteral("M%1x").arg(i) << rows[i].look;
        }
    }
    void looks()
    {
        QFETCH(bool, saved);
        QFETCH(QString, word);
        QFETCH(QString, look);
        QCOMPARE(lookOfWord(saved ? m_saved : m_direct, word), look);
    }

    // Each font and colour once, in the order of first use, and every \f and
    // \cf within its table (the default colour needs no \cf).
    void tablesAndTextOfTheFormatRows()
    {
        QVERIFY2(m_directRtf.error.isEmpty(), qPrintable(m_directRtf.error));
        QCOMPARE(m_directRtf.fonts, (QStringList{"Arial", "Courier New", "DejaVu Sans", QStringLiteral("Schrift \u00C4 {1}")}));
        QCOMPARE(m_directRtf.colours,
                 (QList<QColor>{QColor(0, 0, 0), QColor(255, 0, 0), QColor(0x123456), QColor(0, 128, 0)}));
        QCOMPARE(m_directRtf.highestFont, 3);
        QCOMPARE(m_directRtf.highestColour, 3);
        QCOMPARE(m_directRtf.paragraphs.size(), formatRows().size() + 1);
        QStringList texts;
        for (const Paragraph& paragraph : std::as_const(m_saved))
            texts << paragraph.text;
        QCOMPARE(texts, Lines);
    }

    void tabStopsReachAbiWord()
    {
        QStringList stops;
        for (const Paragraph& paragraph : std::as_const(m_saved))
            stops << tabStopsOf(paragraph);
        QCOMPARE(stops, (QStringList{"", "L1800 L3600 L5400 L7200", "L1800 L3600 L5400 L7200", "L1440 L2000 L2881", ""}));
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
        QTextBlockFormat format;
        format.setTabPositions(tabs);
        cursor.insertBlock(format);
        cursor.insertText(QStringLiteral("with\tstops"));
        cursor.insertBlock(QTextBlockFormat());
        const RtfContent rtf = parseRtf(writeRtf(document));
        QVERIFY2(rtf.error.isEmpty(), qPrintable(rtf.error));
        QCOMPARE(rtf.tabStops, (QList<QList<QByteArray>>{{}, expected, {}}));
    }

    // The text comes back exactly, from the strict parser and from AbiWord,
    // with the format changing at random places so that every piece also
    // opens and closes runs. AbiWord shows line breaks as paragraph breaks
    // and drops control characters but DEL.
    void generatedTextReachesAnotherReader()
    {
        QCOMPARE(parseRtf(writeRtf(QTextDocument())).paragraphs, QStringList{QString()});
        QTextDocument document;
        useEditorFont(document);
        QTextCursor cursor(&document);
        const QList<FormatRow> rows = formatRows();
        QRandomGenerator random(2024);
        QString shown;
        int format = 0;
        for (const QString& a : Pieces) {
            for (const QString& b : Pieces) {
                for (const QString& c : Pieces) {
                    for (const QString& piece : {a, b, c}) {
                        format = random.bounded(3) ? format : random.bounded(int(rows.size()));
                        cursor.insertText(piece, rows[format].format);
                        shown += piece == Pieces[5] ? QStringLiteral("\n") : QString(piece).remove(QChar(0)).remove(u'\a');
                    }
                }
            }
        }
        const QByteArray written = writeRtf(document);
        const RtfContent rtf = parseRtf(written);
        QVERIFY2(rtf.error.isEmpty(), qPrintable(rtf.error));
        QCOMPARE(rtf.paragraphs, blockTexts(document));
        const QString text = QString::fromUtf8(
            throughAbiWord(testenv::writeFile(QStringLiteral("generated.rtf"), written), QStringLiteral("txt")));
        QCOMPARE(text.split(u'\n'), shown.split(u'\n'));  // line by line, to name the first that differs
    }

    // The parser must refuse what it is there to catch.
    void parserRefusesBrokenFiles()
    {
        for (const char* rtf : {"{\\rtf0 x}", "{\\rtf1 {x}", "{\\rtf1 x}}", "{\\rtf1 caf\xE9}", "{\\rtf1 x} y",
                                "{\\rtf1 \\u40000\\'3f}", "{\\rtf1 \\~}"})
            QVERIFY2(!parseRtf(rtf).error.isEmpty(), rtf);
    }
};

PAGEWELL_TEST_MAIN(TestRtfWriter)
#include "tst_rtfwriter.moc"
