// RTF saving, read back by AbiWord (a word processor with an RTF reader of
// its own, converting without a display) and by a small strict parser that
// checks the file's structure, the text and the font table.
#include "TestEnvironment.h"
#include "core/Units.h"
#include "document/RichTextBox.h"
#include "document/RtfWriter.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QXmlStreamReader>

namespace {

// What the parser below read from an RTF file.
struct RtfContent {
    QString error;  // empty when the file is well formed
    QStringList fonts;
    QStringList paragraphs;
};

// A strict reader of the subset the writer uses: every group closed, the
// whole file one group, \uN followed by its one fallback character.
RtfContent parseRtf(const QByteArray& rtf)
{
    RtfContent content;
    enum Destination { Body, FontTable, FontEntry, Skipped };
    QList<Destination> stack;
    QString fontName;
    int skipFallback = 0;
    qsizetype i = 0;
    auto fail = [&](const char* why) {
        content.error = QStringLiteral("%1 at byte %2").arg(QLatin1String(why)).arg(i);
        return content;
    };
    if (!rtf.startsWith("{\\rtf1"))
        return fail("no {\\rtf1 header");
    content.paragraphs << QString();
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
                stack.last() = word == "fonttbl" ? FontTable : Skipped;
            } else if (where != Body) {
            } else if (word == "par") {
                content.paragraphs << QString();
            } else if (word == "tab" || word == "line") {
                text = word == "tab" ? QChar(u'\t') : QChar(QChar::LineSeparator);
            }
        } else if (c == '\r' || c == '\n') {
            continue;
        } else if (uchar(c) >= 0x80) {
            return fail("a raw byte above 0x7F");
        } else if (skipFallback > 0) {
            --skipFallback;
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

// The look of a run as AbiWord shows it: family, points, bold, italic,
// underline, strike-out, colour. The format rows set what differs from the
// editor's Arial 10 (9.75 in whole half-points) in black.
const QStringList Looks{"Arial 10 B--- #000000", "Arial 10 -I-- #000000", "Arial 10 --U- #000000",
                        "Arial 10 ---S #000000", "Arial 10 ---- #ff0000", "Arial 10 ---- #123456",
                        "Courier New 10 ---- #000000", "DejaVu Sans 10 ---- #ff0000", "Arial 11 ---- #000000",
                        "Arial 12.25 ---- #000000", "Courier New 24 BIUS #008000"};
const QString Plain = QStringLiteral("Arial 10 ---- #000000");

QTextCharFormat formatOf(const QString& look)
{
    const QStringList parts = look.split(u' ');
    const QString family = parts.mid(0, parts.size() - 3).join(u' '), flags = parts.value(parts.size() - 2);
    QTextCharFormat format;
    if (family != QLatin1String("Arial"))
        format.setFontFamilies({family});
    if (parts[parts.size() - 3] != QLatin1String("10"))
        format.setFontPointSize(parts[parts.size() - 3].toDouble());
    if (flags[0] == u'B')
        format.setFontWeight(QFont::Bold);
    format.setFontItalic(flags[1] == u'I');
    format.setFontUnderline(flags[2] == u'U');
    format.setFontStrikeOut(flags[3] == u'S');
    if (parts.last() != QLatin1String("#000000"))
        format.setForeground(QColor(parts.last()));
    return format;
}

// Every sequence of three of these, so that escapes, tabs, breaks, control
// characters and \uN characters stand at paragraph starts and after each other.
const QStringList Pieces = QStringLiteral("\\|{|}|\t|\n|\u2028| |a|7|-|\u00E9|\u20AC|\u4E2D|\u8000|\uFFFD|\U0001F600|%1\x7F\a")
                               .arg(QChar(0)).split(u'|');

QStringList blockTexts(const QTextDocument& document)
{
    QStringList texts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        texts << block.text();
    return texts;
}

// What AbiWord converts the RTF to (abw or txt).
QByteArray throughAbiWord(const QByteArray& rtf, const QString& to)
{
    const QString path = testenv::writeFile(QStringLiteral("rtf/document.rtf"), rtf), out = path + u'.' + to;
    QFile::remove(out);
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("abiword"), {"--to=" + to, "--to-name=" + out, path});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qWarning() << "AbiWord failed:" << process.errorString() << process.readAll();
    QFile file(out);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("AbiWord wrote nothing");
}

}  // namespace

class TestRtfWriter : public QObject {
    Q_OBJECT

    RtfContent m_rtf;
    QList<Paragraph> m_abw;  // the same file as AbiWord read it

private slots:
    // One document for the looks, tables and tab stops: stops set in twips
    // as the Tab Set command does, then one paragraph per format row.
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("abiword")).isEmpty(),
                 "AbiWord is not installed; it reads the RTF files back (scripts/deps.sh test)");
        QCOMPARE(units::twipsToPixelsX(1440), 96);
        RichTextBox box;
        box.setText(QStringLiteral("plain\na\tb\nc\td\ne\tf"));
        box.SetSel(int(box.Text().indexOf(QLatin1String("a\t"))), int(box.Text().indexOf(u'd')));
        box.setSelTabCount(4);
        for (int i = 0; i < 4; ++i)
            box.setSelTabs(i, 1800 * (i + 1));
        box.SetSel(int(box.Text().indexOf(u'e')), int(box.Text().indexOf(u'e')));
        box.setSelTabCount(3);
        for (int i : {0, 1, 2})
            box.setSelTabs(i, QList<int>{1440, 2000, 2881}[i]);
        QTextCursor cursor(box.document());
        cursor.movePosition(QTextCursor::End);
        QTextBlockFormat kinds;  // 96 pixels are 1440 twips
        kinds.setTabPositions({QTextOption::Tab(96, QTextOption::RightTab), QTextOption::Tab(133.3333, QTextOption::LeftTab),
                               QTextOption::Tab(192, QTextOption::CenterTab), QTextOption::Tab(288, QTextOption::DelimiterTab, u'.')});
        cursor.insertBlock(kinds);
        for (int i = 0; i < Looks.size(); ++i) {
            cursor.insertText(QStringLiteral("F%1x").arg(i), formatOf(Looks[i]));
            cursor.insertText(QStringLiteral(" P%1x ").arg(i), QTextCharFormat());
            cursor.insertText(QStringLiteral("M%1x").arg(i), formatOf(Looks[i]));
            cursor.insertBlock(QTextBlockFormat());
        }
        QTextCharFormat escaped;  // AbiWord does not take escapes in font names
        escaped.setFontFamilies({QStringLiteral("Schrift \u00C4 {1}")});
        cursor.insertText(QStringLiteral("escaped"), escaped);
        const QByteArray rtf = writeRtf(*box.document());
        m_rtf = parseRtf(rtf);
        QVERIFY2(m_rtf.error.isEmpty(), qPrintable(m_rtf.error));
        QCOMPARE(m_rtf.paragraphs, blockTexts(*box.document()));
        m_abw = readAbw(throughAbiWord(rtf, QStringLiteral("abw")));
    }

    // Each look on a run opening a paragraph, on plain text after it and on
    // a run after plain text; sizes go in whole half-points.
    void looks()
    {
        QStringList seen{lookOfWord(m_abw, "plain")}, expected{Plain};
        for (int i = 0; i < Looks.size(); ++i) {
            for (const char* word : {"F%1x", "P%1x", "M%1x"})
                seen << lookOfWord(m_abw, QString::fromLatin1(word).arg(i));
            const QString look = QString(Looks[i]).replace(QLatin1String("12.25"), QLatin1String("12"));
            expected << look << Plain << look;
        }
        QCOMPARE(seen, expected);
    }

    // Each font once, in the order of first use (the looks show that the
    // runs name the right fonts and colours).
    void fontTable()
    {
        QCOMPARE(m_rtf.fonts, (QStringList{"Arial", "Courier New", "DejaVu Sans", QStringLiteral("Schrift \u00C4 {1}")}));
    }

    // Set in twips; the same twips for AbiWord (which shows inches).
    void tabStops()
    {
        QStringList stops;
        for (const Paragraph& paragraph : m_abw.mid(0, 6))
            stops << tabStopsOf(paragraph);
        QCOMPARE(stops, (QStringList{"", "L1800 L3600 L5400 L7200", "L1800 L3600 L5400 L7200", "L1440 L2000 L2881",
                                     "R1440 L2000 C2880 D4320", ""}));
    }

    // The text comes back exactly, from the strict parser and from AbiWord,
    // with the format changing at random places so that every piece also
    // opens and closes runs. AbiWord shows line breaks as paragraph breaks
    // and drops control characters but DEL.
    void generatedTextReachesAnotherReader()
    {
        QCOMPARE(parseRtf(writeRtf(QTextDocument())).paragraphs, QStringList{QString()});
        QTextDocument empty;  // an empty paragraph keeps the look one would type with
        QTextCursor(&empty).setBlockCharFormat(formatOf(Looks.last()));
        QVERIFY(writeRtf(empty).contains("{\\pard\\f1\\fs48\\b\\i\\ul\\strike\\cf1}"));
        QTextDocument document;
        QTextCursor cursor(&document);
        QRandomGenerator random(2024);
        QString shown;
        int look = 0;
        for (const QString& a : Pieces) {
            for (const QString& b : Pieces) {
                for (const QString& c : Pieces) {
                    for (const QString& piece : {a, b, c}) {
                        look = random.bounded(3) ? look : random.bounded(int(Looks.size()));
                        QTextCharFormat format = formatOf(Looks[look]);  // a property RTF has no word for
                        format.setProperty(QTextFormat::UserProperty, random.bounded(2));
                        cursor.insertText(piece, format);
                        shown += piece == Pieces[5] ? QStringLiteral("\n") : QString(piece).remove(QChar(0)).remove(u'\a');
                    }
                }
            }
        }
        const QByteArray written = writeRtf(document);
        const RtfContent rtf = parseRtf(written);
        QVERIFY2(rtf.error.isEmpty(), qPrintable(rtf.error));
        QCOMPARE(rtf.paragraphs, blockTexts(document));
        const QString text = QString::fromUtf8(throughAbiWord(written, QStringLiteral("txt")));
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
