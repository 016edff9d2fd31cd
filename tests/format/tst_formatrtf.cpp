// Formatting made with the Font and Tab Set commands survives saving as RTF:
// unrtf, a reader of its own, shows the same fonts, sizes, colours, bold,
// italic, underline and strike-out. unrtf passes tab stops over, so they
// are read from the file's paragraph words.
#include "FormatFixture.h"
#include "app/Units.h"
#include "format/frmTab.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTextDocument>

using namespace format_test;

namespace {

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

// unrtf's HTML gives standard sizes as <font size="n">, which Qt reads as a
// size adjustment, and any other size in points.
double pointSizeInHtml(const QTextCharFormat& format)
{
    if (format.hasProperty(QTextFormat::FontPointSize))
        return format.fontPointSize();
    static const QMap<int, double> standard{{-2, 8}, {-1, 10}, {0, 12}, {1, 14}, {2, 18}, {3, 24}};
    return standard.value(format.intProperty(QTextFormat::FontSizeAdjustment), -1);
}

Look lookOfWord(const QTextDocument& html, const QString& word)
{
    const QTextCursor found = html.find(word, 0, QTextDocument::FindCaseSensitively | QTextDocument::FindWholeWords);
    if (found.isNull())
        return Look{QStringLiteral("(%1 not found)").arg(word)};
    QTextCursor inside(found);
    inside.setPosition(found.selectionStart() + 1);
    const QTextCharFormat format = inside.charFormat();
    const QFont font = format.font();
    Look look;
    look.family = format.fontFamilies().toStringList().value(0);
    look.points = pointSizeInHtml(format);
    look.bold = font.bold();
    look.italic = font.italic();
    look.underline = font.underline();
    look.strike = font.strikeOut();
    look.colour = format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color() : QColor(Qt::black);
    return look;
}

// The \txN stops of each paragraph, in the order of the paragraphs.
QList<QList<int>> tabStopsPerParagraph(const QByteArray& rtf)
{
    QList<QList<int>> paragraphs;
    static const QRegularExpression word(QStringLiteral(R"(\\(pard|par|tx)(-?\d+)?)"));
    QList<int> current;
    bool open = false;
    for (auto it = word.globalMatch(QString::fromLatin1(rtf)); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString name = match.captured(1);
        if (name == QLatin1String("pard")) {
            if (open)
                paragraphs << current;
            current.clear();
            open = true;
        } else if (name == QLatin1String("tx")) {
            current << match.captured(2).toInt();
        }
    }
    if (open)
        paragraphs << current;
    return paragraphs;
}

}  // namespace

class TestFormatRtf : public QObject {
    Q_OBJECT

    Fixture f;
    std::unique_ptr<ScriptedFormatDialogs> dialogs;

    void font(const QString& family, double size, bool bold, bool italic, bool underline, bool strike, qint32 colour)
    {
        dialogs->choose([=](CommonDialog& d) {
            d.FontName = family;
            d.FontSize = size;
            d.FontBold = bold;
            d.FontItalic = italic;
            d.FontUnderline = underline;
            d.FontStrikethru = strike;
            d.Color = colour;
        });
        f.main->mnuFont->trigger();
    }

    void fontForWord(const QString& word, const QString& family, double size, bool bold, bool italic,
                     bool underline, bool strike, qint32 colour)
    {
        const int at = int(f.text->Text().indexOf(word));
        QVERIFY(at >= 0);
        f.text->SetSel(at, at + int(word.size()));
        font(family, size, bold, italic, underline, strike, colour);
    }

    void tabSet(int paragraphStart, int entry)
    {
        f.text->setSelStart(paragraphStart);
        WhenModal<frmTab> answer([entry](frmTab* dialog) {
            dialog->Combo1->setCurrentIndex(entry);
            dialog->Command1->click();
        });
        f.main->mnuTab->trigger();
        QVERIFY(answer.answered());
    }

    // Runs unrtf on the file; fails the test when unrtf is missing or fails.
    void unrtfHtml(const QString& path, QString* output)
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
        QVERIFY2(!program.isEmpty(), "unrtf is not installed; saved RTF files are read back with it "
                                     "(apt-get install unrtf, or scripts/deps.sh test)");
        QProcess process;
        process.start(program, {QStringLiteral("--html"), path});
        QVERIFY2(process.waitForFinished(30000), "unrtf did not finish");
        QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
                 process.readAllStandardError().constData());
        *output = QString::fromUtf8(process.readAllStandardOutput());
    }

private slots:
    void initTestCase() { QCOMPARE(units::twipsToPixelsX(1440), 96); }
    void init()
    {
        dialogs.reset();
        f.start();
        dialogs = std::make_unique<ScriptedFormatDialogs>();
    }
    void cleanup() { dialogs.reset(); }
    void cleanupTestCase() { f.stop(); }

    void formattingSurvivesRtf()
    {
        f.setControlWidth(600);
        QCOMPARE(f.text->Width(), 9000);
        f.text->setText(QStringLiteral("BASE SERIF MONO\nSTRIKE\tTABBED\ncol\tumns\there\nLAST"));
        // The whole text first: the base font and the text colour.
        f.text->setSelStart(0);
        font(QStringLiteral("DejaVu Sans"), 12, false, false, false, false, 0x800000);
        fontForWord(QStringLiteral("SERIF"), QStringLiteral("DejaVu Serif"), 18, true, false, false, false, 0x0000FF);
        fontForWord(QStringLiteral("MONO"), QStringLiteral("Liberation Mono"), 10, false, true, true, false, 0x008000);
        fontForWord(QStringLiteral("STRIKE"), QStringLiteral("Liberation Serif"), 24, true, true, false, true, 0x563412);
        fontForWord(QStringLiteral("LAST"), QStringLiteral("DejaVu Sans"), 14, false, false, true, true, 0x808080);
        tabSet(int(f.text->Text().indexOf(QLatin1String("STRIKE"))), 9);  // 10 stops
        tabSet(int(f.text->Text().indexOf(QLatin1String("col"))), 2);     // 3 stops
        if (QTest::currentTestFailed())
            return;

        const QString path = testenv::root() + QStringLiteral("/formatted.rtf");
        QVERIFY2(f.text->SaveFile(path, RichTextBox::rtfRTF), qPrintable(f.text->errorString()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray rtf = file.readAll();

        QString output;
        unrtfHtml(path, &output);
        if (QTest::currentTestFailed())
            return;
        QTextDocument html;
        html.setHtml(output);
        QCOMPARE(html.toPlainText().simplified(), QStringLiteral("BASE SERIF MONO STRIKE TABBED col umns here LAST"));

        const struct {
            const char* word;
            Look look;
        } expected[] = {
            {"BASE", {QStringLiteral("DejaVu Sans"), 12, false, false, false, false, QColor(0, 0, 0x80)}},
            {"SERIF", {QStringLiteral("DejaVu Serif"), 18, true, false, false, false, QColor(0xFF, 0, 0)}},
            {"MONO", {QStringLiteral("Liberation Mono"), 10, false, true, true, false, QColor(0, 0x80, 0)}},
            {"STRIKE", {QStringLiteral("Liberation Serif"), 24, true, true, false, true, QColor(0x12, 0x34, 0x56)}},
            {"TABBED", {QStringLiteral("DejaVu Sans"), 12, false, false, false, false, QColor(0, 0, 0x80)}},
            {"umns", {QStringLiteral("DejaVu Sans"), 12, false, false, false, false, QColor(0, 0, 0x80)}},
            {"LAST", {QStringLiteral("DejaVu Sans"), 14, false, false, true, true, QColor(0x80, 0x80, 0x80)}},
        };
        for (const auto& word : expected) {
            const Look actual = lookOfWord(html, QString::fromLatin1(word.word));
            QVERIFY2(actual.describe() == word.look.describe(),
                     qPrintable(QStringLiteral("%1: unrtf shows %2, expected %3")
                                    .arg(QString::fromLatin1(word.word), actual.describe(), word.look.describe())));
        }

        QCOMPARE(tabStopsPerParagraph(rtf),
                 (QList<QList<int>>{{}, multiples(818, 10), {2250, 4500, 6750}, {}}));
    }
};

PAGEWELL_TEST_MAIN(TestFormatRtf)
#include "tst_formatrtf.moc"
