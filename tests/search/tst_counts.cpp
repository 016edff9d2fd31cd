// Word Count and Character Count: the word rule and the slicing of long
// documents against the rule's split-and-join helpers done literally, and
// the commands' messages and where they leave the caret.
#include "MainWindowFixture.h"
#include "app/frmMain.h"
#include "document/LoadProgress.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "search/SearchSupport.h"
#include "search/WordCount.h"

#include <QApplication>
#include <QProgressDialog>
#include <QRandomGenerator>
#include <QTimer>

using testsupport::MainWindowFixture;

namespace {

// The rule's two helpers as it states them, on a 1-based array of pieces.
class LiteralWordCounter {
public:
    int SplitText(const QString& S, const QString& D)
    {
        Pieces = QStringList{QString()} + S.split(D);  // index 0 unused
        const int k = int(Pieces.size()) - 1;
        int shortPieces = 0;
        for (int i = 1; i < k; ++i)
            shortPieces += Pieces[i].size() < 2;
        return k - shortPieces;
    }

    QString JoinPieces(const QString& separator) const
    {
        QString joined;
        for (int i = 1; i < Pieces.size() - 1; ++i)
            joined += Pieces[i].isEmpty() ? QString() : Pieces[i] + separator;
        return joined + Pieces.last();
    }

    int count(const QString& T)
    {
        QString J = T;
        for (const char* separator : {" ", "\r\n", "\t"}) {
            SplitText(J, QString::fromLatin1(separator));
            J = JoinPieces(QStringLiteral("|"));
        }
        return SplitText(J, QStringLiteral("|")) - 1;
    }

    // Whole up to 22000 characters; beyond, 22000-character slices, each
    // next one starting where the last 20 characters of the one before start.
    int countDocument(const QString& text)
    {
        const int n = int(text.size());
        if (n <= 22000)
            return count(text);
        int total = 0, pos = 0;
        while (pos <= n - 22000) {
            const QString slice = text.mid(pos, 22000);
            total += count(slice);
            pos = pos + int(slice.size()) - int(slice.right(20).size());
        }
        return total + count(text.mid(pos, n - pos));
    }

    QStringList Pieces;
};

// Lone CRs and LFs only with `loneBreaks`: the control turns them into paragraph breaks.
QString randomWordText(QRandomGenerator& rng, int length, bool loneBreaks = true)
{
    static const QStringList tokens = {"a", "I", "&", "ab", "word", "x-y", "|", " ", " ", "  ", "\t", "\r\n",
                                       "\r\n\r\n", "\u00e9t\u00e9", "Z", "two words", ".", "|ab|", "\r", "\n"};
    QString text;
    while (text.size() < length)
        text += tokens[rng.bounded(int(tokens.size()) - (loneBreaks ? 0 : 2))];
    text.truncate(length);
    if (!loneBreaks && text.endsWith(u'\r'))  // half a CR LF
        text[text.size() - 1] = u'x';
    return text;
}

}  // namespace

class TestCounts : public QObject {
    Q_OBJECT

    MainWindowFixture f;


    QString selection() const { return QStringLiteral("%1,%2").arg(f.text()->SelStart()).arg(f.text()->SelLength()); }

private slots:
    void cleanup() { f.stop(); }

    void rule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("words");
        QTest::newRow("one two three, line break") << "one two three\r\n" << 3;
        QTest::newRow("one two three, nothing after") << "one two three" << 2;
        QTest::newRow("blank lines") << "one\r\n\r\n\r\ntwo\r\n\r\nthree\r\n\r\n" << 3;
        QTest::newRow("mixed separators") << " \t one \r\n\t two\t \r\n three \t" << 3;
        QTest::newRow("bar between words") << "ab|cd|" << 2;
        QTest::newRow("lone CR and LF do not separate") << "ab\rcd\nef " << 1;
        QTest::newRow("CR before the pair") << "ab\r\r\ncd " << 2;
        QTest::newRow("a lone CR is a word's letter") << "a\r " << 1;
        QTest::newRow("LF CR is no pair") << "ab\n\rcd" << 0;
        QTest::newRow("CR at the end") << "ab \r" << 1;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("punctuation is a word") << "&& .. ," << 2;
    }
    void rule()
    {
        QFETCH(QString, text);
        QFETCH(int, words);
        QCOMPARE(LiteralWordCounter().count(text), words);  // the rule's own statement agrees
        QCOMPARE(wordcount::countWords(text), words);
    }

    void ruleMatchesTheHelpers()
    {
        QRandomGenerator rng(1);
        LiteralWordCounter literal;
        for (int round = 0; round < 6000; ++round) {
            const QString text = randomWordText(rng, rng.bounded(60));
            QVERIFY2(wordcount::countWords(text) == literal.count(text),
                     "text \"" + text.toUtf8().toPercentEncoding(" |") + "\"");
        }
    }

    // Around the slice borders; the run cut at a slice's end is lost and the
    // 20 characters where the next begins count twice.
    void slicingMatchesTheLoop_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("length");
        QTest::newRow("whole, at the limit") << 11u << 22000;
        QTest::newRow("one more than the limit") << 12u << 22001;
        QTest::newRow("last full slice ends at the end") << 13u << 43980;
        QTest::newRow("a character after") << 14u << 43981;
        QTest::newRow("many slices and a rest") << 15u << 250123;
    }
    void slicingMatchesTheLoop()
    {
        QFETCH(quint32, seed);
        QFETCH(int, length);
        QRandomGenerator rng(seed);
        for (int round = 0; round < 4; ++round) {
            const QString text = randomWordText(rng, length);
            const int expected = LiteralWordCounter().countDocument(text);
            QCOMPARE(wordcount::countDocumentWords(text), expected);
            wordcount::DocumentWordCount pieces(text.size());  // as a document hands it over
            for (qsizetype at = 0, piece; at < text.size(); at += piece)
                pieces.add(QStringView(text).mid(at, piece = rng.bounded(1, 30000)));
            QCOMPARE(pieces.total(), expected);
        }
        const QString border = QString(21980, u'x') + QStringLiteral("ab cd ef gh ij kl mn ") + QString(21999, u'y') + u' ';
        QCOMPARE(QList<int>({wordcount::countWords(border), wordcount::countDocumentWords(border),
                             LiteralWordCounter().countDocument(border)}),
                 QList<int>({8, 14, 14}));
    }

    // Short documents keep the caret; sliced ones end with it at the start.
    // Either way the undo history is gone and the text is the same. Cancelled
    // from its progress window, it tells and changes nothing.
    void wordCountCommand_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("caretAfter");
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("short") << 1000 << 500 << 500 << false;
        QTest::newRow("at the limit") << 22000 << 21000 << 21000 << false;
        QTest::newRow("sliced") << 22001 << 21000 << 0 << false;
        QTest::newRow("long") << 100000 << 99000 << 0 << false;
        QTest::newRow("long, cancelled") << 2'500'000 << 99000 << 99000 << true;
    }
    void wordCountCommand()
    {
        QFETCH(int, length);
        QFETCH(int, caret);
        QFETCH(int, caretAfter);
        QFETCH(bool, cancelled);
        f.startWrapped(false);
        QRandomGenerator rng{quint32(length)};
        f.show(randomWordText(rng, length - 1, false), caret);
        f.text()->setSelText(QStringLiteral("z"));  // something to undo
        f.text()->setSelStart(caret);
        QCOMPARE(f.text()->TextLength(), length);
        const QString before = f.text()->Text();
        const int delay = LoadProgress::DelayMs;
        LoadProgress::DelayMs = cancelled ? 0 : delay;  // the window at once
        QTimer cancel;
        QObject::connect(&cancel, &QTimer::timeout, [] {
            if (auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget()))
                progress->cancel();
        });
        cancel.start(0);
        f.main->mnuFind_Click(7);
        LoadProgress::DelayMs = delay;
        if (cancelled) {
            QCOMPARE(f.boxes->shown.size(), 0);
            QCOMPARE(selection(), QStringLiteral("%1,0").arg(caretAfter));
            QVERIFY(f.text()->CanUndo() && f.text()->Text() == before);
            return;
        }
        const ShownMessage shown = f.boxes->shown.value(0);
        QCOMPARE(shown.prompt, QStringLiteral("This document contains %1 words.")
                                   .arg(LiteralWordCounter().countDocument(before)));
        QCOMPARE(shown.title + QString::number(shown.style), "Word Count" + QString::number(vb::vbInformation));
        QCOMPARE(selection(), QStringLiteral("%1,0").arg(caretAfter));
        QVERIFY(!f.text()->CanUndo() && f.text()->Text() == before);
    }

    // The length less two for every line. A file of up to 32000 bytes gets
    // the caret back exactly; a larger file, or none on disk, only to the
    // start of the caret's line.
    void characterCount_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<int>("fileBytes");  // -1: no file
        QTest::addColumn<QString>("after");  // the count, then the selection
        const QString lines = QStringLiteral("abcd\r\nefghij\r\nkl");
        QTest::newRow("one line") << "abc" << 1 << 0 << 10 << " 1 1,0";
        QTest::newRow("below zero") << "a\r\n" << 1 << 0 << 10 << "-1 1,0";
        QTest::newRow("blank lines") << "\r\n\r\nabcdefgh" << 5 << 0 << 10 << " 6 5,0";
        QTest::newRow("small file") << lines << 9 << 0 << 100 << " 10 9,0";
        QTest::newRow("32000 bytes") << lines << 9 << 0 << 32000 << " 10 9,0";
        QTest::newRow("32001 bytes") << lines << 9 << 0 << 32001 << " 10 6,0";
        QTest::newRow("no file") << lines << 9 << 0 << -1 << " 10 6,0";
        QTest::newRow("small file, selection dropped") << lines << 7 << 3 << 10 << " 10 7,0";
        QTest::newRow("no file, selection dropped") << lines << 7 << 3 << -1 << " 10 6,0";
        QTest::newRow("no file, first line") << lines << 2 << 0 << -1 << " 10 0,0";
    }
    void characterCount()
    {
        QFETCH(QString, content);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(int, fileBytes);
        QFETCH(QString, after);
        f.startWrapped(false);
        f.show(content, selStart, selLength);
        if (fileBytes >= 0) {
            const QString path = f.file(QStringLiteral("file%1.txt").arg(fileBytes), QByteArray(fileBytes, 'x'));
            f.active()->setFilePath(path);
            f.active()->setTitle(path.toUpper());
        }
        f.main->mnuFind_Click(8);
        QCOMPARE(f.prompts().join(u'|') + u' ' + selection(),
                 "This document contains" + after.section(u' ', 0, -2) + " characters. " + after.section(u' ', -1));
        QVERIFY(f.main->updatesEnabled());
    }

    // With Word Wrap on, the lines are the control's display lines, and a
    // line start beyond 32000 is reached by the far move, which leaves the
    // text wrapped at 1.1 times the width.
    void characterCountOfLongLines_data()
    {
        QTest::addColumn<bool>("wrap");
        QTest::newRow("wrap off") << false;
        QTest::newRow("wrap on") << true;
    }
    void characterCountOfLongLines()
    {
        QFETCH(bool, wrap);
        f.startWrapped(wrap);
        const QString first = QStringLiteral("some words ").repeated(4000).left(39998);
        f.show(first + QStringLiteral("\r\nlast line"), 40005);
        const int marginBefore = f.text()->RightMargin(), lines = f.text()->LineCount();
        QVERIFY(wrap ? lines > 100 : lines == 2);
        f.main->mnuFind_Click(8);
        QCOMPARE(f.lastPrompt(), QStringLiteral("This document contains %1 characters.").arg(40009 - 2 * lines));
        QCOMPARE(selection(), QStringLiteral("40000,0"));
        QCOMPARE(f.text()->RightMargin(), wrap ? search::farMoveRightMargin(f.text()->Width()) : marginBefore);
    }
};

PAGEWELL_TEST_MAIN(TestCounts)
#include "tst_counts.moc"
