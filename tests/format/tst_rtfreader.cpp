// A document formatted with the Font and Tab Set commands and saved with
// Save As reads back in AbiWord, a word processor with an RTF reader of its
// own, with the same fonts, sizes, bold, italic, underline, strike-out,
// colours and tab stops. AbiWord converts the file to its XML format
// without a display; the runs and paragraphs are read from that.
#include "FormatFixture.h"
#include "app/Units.h"
#include "format/frmTab.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <cmath>
#include <optional>

using namespace format_test;

namespace {

// What the user picks in the font dialog, and what a reader should show.
struct Formatting {
    const char* word;  // the word it is applied to
    const char* family;
    double points;
    bool bold, italic, underline, strike;
    qint32 colour;  // 0x00BBGGRR
};

const QString Lines[] = {
    QStringLiteral("BASE ARIAL MONO tail"),
    QStringLiteral("SERIF\tTABBED\tcells"),
    QStringLiteral("more\ttabs\there"),
    QStringLiteral("col\tumns\tten"),
    QStringLiteral("LAST"),
};

// The whole text first, then single words on top of it.
const Formatting WholeText{"BASE", "DejaVu Sans", 12, false, false, false, false, 0x800000};
const Formatting Selections[] = {
    {"ARIAL", "Liberation Sans", 14, true, true, true, true, 0x0000FF},
    {"MONO", "Liberation Mono", 10, false, true, false, false, 0x008000},
    {"SERIF", "DejaVu Serif", 18, true, false, true, false, 0x563412},
    {"LAST", "DejaVu Sans", 10.5, false, false, false, true, 0x808080},
};

QColor fromBgr(qint32 colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

using Properties = QHash<QString, QString>;

// AbiWord's "name:value; name:value" property lists.
Properties parseProperties(const QString& text)
{
    Properties properties;
    for (const QString& item : text.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype colon = item.indexOf(u':');
        if (colon > 0)
            properties.insert(item.left(colon).trimmed(), item.mid(colon + 1).trimmed());
    }
    return properties;
}

struct Span {
    qsizetype start = 0;
    qsizetype length = 0;
    Properties properties;  // the span's own over its paragraph's
};

struct Paragraph {
    QString text;
    Properties properties;
    QList<Span> spans;
};

// The paragraphs of an AbiWord document with their text and properties.
QList<Paragraph> readAbw(const QByteArray& xml, QString* error)
{
    QList<Paragraph> paragraphs;
    QXmlStreamReader reader(xml);
    Properties spanProperties;
    bool inParagraph = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("p")) {
            paragraphs.append(Paragraph{{}, parseProperties(reader.attributes().value(QLatin1String("props")).toString()), {}});
            spanProperties = paragraphs.last().properties;
            inParagraph = true;
        } else if (reader.isEndElement() && reader.name() == QLatin1String("p")) {
            inParagraph = false;
        } else if (inParagraph && reader.isStartElement() && reader.name() == QLatin1String("c")) {
            spanProperties.insert(parseProperties(reader.attributes().value(QLatin1String("props")).toString()));
        } else if (inParagraph && reader.isEndElement() && reader.name() == QLatin1String("c")) {
            spanProperties = paragraphs.last().properties;
        } else if (inParagraph && reader.isCharacters()) {
            Paragraph& paragraph = paragraphs.last();
            paragraph.spans.append(Span{paragraph.text.size(), reader.text().size(), spanProperties});
            paragraph.text += reader.text();
        }
    }
    if (reader.hasError())
        *error = reader.errorString();
    return paragraphs;
}

// A length such as "1.250000in" in twips; NaN for a unit not known here.
double twipsOfLength(const QString& length)
{
    static const QList<QPair<QString, double>> units{
        {QStringLiteral("in"), 1440}, {QStringLiteral("cm"), 1440 / 2.54}, {QStringLiteral("mm"), 144 / 2.54},
        {QStringLiteral("pt"), 20},   {QStringLiteral("pi"), 240},         {QStringLiteral("pc"), 240},
    };
    for (const auto& [unit, twips] : units) {
        bool ok = false;
        const double value = length.endsWith(unit) ? length.chopped(unit.size()).toDouble(&ok) : 0;
        if (ok)
            return value * twips;
    }
    return std::nan("");
}

// "tabstops:1.250000in/L0,2.500000in/L0": each stop's position, alignment
// (L, R, C, D, B) and leader.
struct TabStop {
    double twips = 0;
    QString kind;
};

QList<TabStop> tabStopsOf(const Paragraph& paragraph)
{
    QList<TabStop> stops;
    for (const QString& stop : paragraph.properties.value(QStringLiteral("tabstops")).split(u',', Qt::SkipEmptyParts)) {
        const QStringList parts = stop.trimmed().split(u'/');
        stops.append(TabStop{twipsOfLength(parts.value(0)), parts.value(1)});
    }
    return stops;
}

struct Look {
    QString family;
    double points = 0;
    bool bold = false, italic = false, underline = false, strike = false;
    QColor colour;

    QString describe() const
    {
        return QStringLiteral("%1 %2pt bold=%3 italic=%4 underline=%5 strike=%6 %7")
            .arg(family).arg(points).arg(bold).arg(italic).arg(underline).arg(strike).arg(colour.name());
    }
};

Look lookOf(const Properties& properties)
{
    const QStringList decoration = properties.value(QStringLiteral("text-decoration")).split(u' ', Qt::SkipEmptyParts);
    const QString colour = properties.value(QStringLiteral("color"), QStringLiteral("000000"));
    Look look;
    look.family = properties.value(QStringLiteral("font-family"));
    look.points = properties.value(QStringLiteral("font-size")).remove(QStringLiteral("pt")).toDouble();
    look.bold = properties.value(QStringLiteral("font-weight")) == QLatin1String("bold");
    look.italic = properties.value(QStringLiteral("font-style")) == QLatin1String("italic");
    look.underline = decoration.contains(QStringLiteral("underline"));
    look.strike = decoration.contains(QStringLiteral("line-through"));
    look.colour = QColor(u'#' + colour);
    return look;
}

// The look of a whole word; every character of it has to agree.
Look lookOfWord(const QList<Paragraph>& paragraphs, const QString& word, QString* problem)
{
    for (const Paragraph& paragraph : paragraphs) {
        const qsizetype at = paragraph.text.indexOf(word);
        if (at < 0)
            continue;
        std::optional<Look> found;
        for (const Span& span : paragraph.spans) {
            if (span.start + span.length <= at || span.start >= at + word.size())
                continue;
            const Look look = lookOf(span.properties);
            if (found && found->describe() != look.describe())
                *problem = QStringLiteral("mixed: %1 and %2").arg(found->describe(), look.describe());
            found = look;
        }
        return found.value_or(Look{});
    }
    *problem = QStringLiteral("%1 not found").arg(word);
    return {};
}

}  // namespace

class TestRtfReader : public QObject {
    Q_OBJECT

    Fixture f;
    std::unique_ptr<ScriptedFormatDialogs> dialogs;
    QList<Paragraph> read;  // the saved document as AbiWord read it

    int offsetOf(const QString& word) const { return int(f.text->Text().indexOf(word)); }

    void font(const Formatting& format)
    {
        dialogs->choose([format](CommonDialog& d) {
            d.FontName = QString::fromLatin1(format.family);
            d.FontSize = format.points;
            d.FontBold = format.bold;
            d.FontItalic = format.italic;
            d.FontUnderline = format.underline;
            d.FontStrikethru = format.strike;
            d.Color = format.colour;
        });
        f.main->mnuFont->trigger();
    }

    // Tab Set on the paragraphs from the one holding first to the one
    // holding last, choosing the list entry at index entry.
    void tabSet(const QString& first, const QString& last, int entry)
    {
        f.text->SetSel(offsetOf(first), offsetOf(last) + int(last.size()));
        WhenModal<frmTab> answer([entry](frmTab* dialog) {
            dialog->Combo1->setCurrentIndex(entry);
            dialog->Command1->click();
        });
        f.main->mnuTab->trigger();
        QVERIFY(answer.answered());
    }

    void formatDocument()
    {
        f.setControlWidth(600);
        QCOMPARE(f.text->Width(), 9000);
        f.text->setText(QStringList(std::begin(Lines), std::end(Lines)).join(u'\n'));
        f.text->setSelStart(0);
        font(WholeText);
        for (const Formatting& format : Selections) {
            const QString word = QString::fromLatin1(format.word);
            QVERIFY(offsetOf(word) >= 0);
            f.text->SetSel(offsetOf(word), offsetOf(word) + int(word.size()));
            font(format);
        }
        tabSet(QStringLiteral("TABBED"), QStringLiteral("tabs"), 3);  // " 4", two paragraphs
        tabSet(QStringLiteral("umns"), QStringLiteral("umns"), 9);    // " 10", one paragraph
    }

    // File, Save As with nothing selected, so the whole document is written.
    void saveAs(const QString& path)
    {
        f.text->setSelStart(0);
        dialogs->choose([path](CommonDialog& d) { d.FileName = path; });
        f.main->mnuFileItem[6]->trigger();
        QApplication::processEvents();
        QVERIFY2(f.boxes->shown.isEmpty(), qPrintable(f.boxes->shown.value(0).prompt));
        QVERIFY2(QFile::exists(path), "Save As wrote no file");
    }

    void convertWithAbiWord(const QString& program, const QString& rtf, const QString& abw)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, {QStringLiteral("--to=abw"), QStringLiteral("--to-name=") + abw, rtf});
        QVERIFY2(process.waitForFinished(30000), "AbiWord did not finish within 30 s");
        QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
                 qPrintable(QStringLiteral("AbiWord failed (%1): %2")
                                .arg(process.exitCode())
                                .arg(QString::fromLocal8Bit(process.readAll()))));
        QVERIFY2(QFile::exists(abw), "AbiWord wrote no file");
    }

private slots:
    void initTestCase()
    {
        const QString abiword = QStandardPaths::findExecutable(QStringLiteral("abiword"));
        if (abiword.isEmpty()) {
            const char* why = "AbiWord is not installed; it reads back the saved RTF files "
                              "(apt-get install abiword, or scripts/deps.sh test)";
            if (qEnvironmentVariableIsEmpty("CI"))
                QSKIP(why);
            QFAIL(why);
        }
        QCOMPARE(units::twipsToPixelsX(1440), 96);
        f.start();
        dialogs = std::make_unique<ScriptedFormatDialogs>();
        formatDocument();
        const QString rtf = testenv::root() + QStringLiteral("/formatted.rtf");
        const QString abw = testenv::root() + QStringLiteral("/formatted.abw");
        saveAs(rtf);
        convertWithAbiWord(abiword, rtf, abw);
        QFile file(abw);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString error;
        read = readAbw(file.readAll(), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    void cleanupTestCase()
    {
        dialogs.reset();
        f.stop();
    }

    void text()
    {
        QStringList texts;
        for (const Paragraph& paragraph : std::as_const(read))
            texts << paragraph.text;
        QCOMPARE(texts, QStringList(std::begin(Lines), std::end(Lines)));
    }

    void runs_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("family");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<bool>("strike");
        QTest::addColumn<qint32>("colour");
        auto row = [](const char* name, const char* word, const Formatting& format) {
            QTest::newRow(name) << QString::fromLatin1(word) << QString::fromLatin1(format.family) << format.points
                                << format.bold << format.italic << format.underline << format.strike << format.colour;
        };
        row("whole text", WholeText.word, WholeText);
        for (const Formatting& format : Selections)
            row(format.word, format.word, format);
        row("after two runs", "tail", WholeText);
        row("between tab stops", "TABBED", WholeText);
        row("ten stops", "umns", WholeText);
    }
    void runs()
    {
        QFETCH(QString, word);
        QFETCH(QString, family);
        QFETCH(double, points);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(bool, underline);
        QFETCH(bool, strike);
        QFETCH(qint32, colour);
        QString problem;
        const Look actual = lookOfWord(read, word, &problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(actual.family, family);
        QVERIFY2(qAbs(actual.points - points) < 0.01, qPrintable(actual.describe()));
        QCOMPARE(actual.bold, bold);
        QCOMPARE(actual.italic, italic);
        QCOMPARE(actual.underline, underline);
        QCOMPARE(actual.strike, strike);
        QCOMPARE(actual.colour.name(), fromBgr(colour).name());
    }

    void tabStops_data()
    {
        QTest::addColumn<int>("paragraph");
        QTest::addColumn<QList<int>>("twips");
        QTest::newRow("before the selection") << 0 << QList<int>{};
        QTest::newRow("4, first of two") << 1 << QList<int>{1800, 3600, 5400, 7200};
        QTest::newRow("4, second of two") << 2 << QList<int>{1800, 3600, 5400, 7200};
        QTest::newRow("10 at 818 twips") << 3 << multiples(818, 10);
        QTest::newRow("after them") << 4 << QList<int>{};
    }
    void tabStops()
    {
        QFETCH(int, paragraph);
        QFETCH(QList<int>, twips);
        QVERIFY(paragraph < read.size());
        const QList<TabStop> stops = tabStopsOf(read[paragraph]);
        const QString shown = read[paragraph].properties.value(QStringLiteral("tabstops"));
        QVERIFY2(stops.size() == twips.size(), qPrintable(QStringLiteral("AbiWord shows \"%1\"").arg(shown)));
        for (qsizetype i = 0; i < stops.size(); ++i) {
            // AbiWord shows inches to six places, far finer than a twip.
            QVERIFY2(std::abs(stops[i].twips - twips[i]) < 0.5,
                     qPrintable(QStringLiteral("stop %1: %2 twips expected, AbiWord shows \"%3\"")
                                    .arg(i + 1).arg(twips[i]).arg(shown)));
            QVERIFY2(stops[i].kind.startsWith(u'L'), qPrintable(QStringLiteral("not a left stop: ") + shown));
        }
    }
};

PAGEWELL_TEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
