// Word Count: the rule, the slicing of long documents, and the command,
// against the split-and-join helpers and the slice loop done literally.
#include "SearchFixture.h"
#include "search/WordCount.h"

#include <QRandomGenerator>
#include <QTest>

using namespace searchtest;

namespace {

// The two helpers as the rule states them, on a 1-based array of pieces with
// 16-bit counters.
class LiteralWordCounter {
public:
    qint16 SplitText(const QString& S, const QString& D)
    {
        Pieces = {QString()};  // index 0 unused
        int from = 0;
        for (int at = int(S.indexOf(D, from, Qt::CaseSensitive)); at >= 0;
             at = int(S.indexOf(D, from, Qt::CaseSensitive))) {
            Pieces.append(S.mid(from, at - from));
            from = at + int(D.size());
        }
        Pieces.append(S.mid(from));
        const qint16 k = qint16(Pieces.size() - 1);
        qint16 shortPieces = 0;
        for (qint16 i = 1; i < k; ++i) {
            if (Pieces[i].size() < 2)
                ++shortPieces;
        }
        return qint16(k - shortPieces);
    }

    QString JoinPieces(const QString& separator) const
    {
        const int k = int(Pieces.size()) - 1;
        QString joined;
        for (int i = 1; i <= k - 1; ++i) {
            if (!Pieces[i].isEmpty())
                joined += Pieces[i] + separator;
        }
        return joined + Pieces[k];
    }

    int count(const QString& T)
    {
        SplitText(T, QStringLiteral(" "));
        QString J = JoinPieces(QStringLiteral("|"));
        SplitText(J, QStringLiteral("\r\n"));
        J = JoinPieces(QStringLiteral("|"));
        SplitText(J, QStringLiteral("\t"));
        J = JoinPieces(QStringLiteral("|"));
        return SplitText(J, QStringLiteral("|")) - 1;
    }

    // Whole up to 22000 characters; beyond, 22000-character slices, each
    // next one starting where the last 20 characters of the one before start.
    int countDocument(const QString& text)
    {
        const int n = int(text.size());
        if (n <= 22000)
            return count(text);
        int total = 0;
        int pos = 0;
        while (pos <= n - 22000) {
            const QString slice = text.mid(pos, 22000);
            total += count(slice);
            const QString last20 = slice.right(20);
            pos = pos + int(slice.size()) - int(last20.size());
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
    const int choices = int(tokens.size()) - (loneBreaks ? 0 : 2);
    QString text;
    while (text.size() < length)
        text += tokens[rng.bounded(choices)];
    text.truncate(length);
    if (!loneBreaks && text.endsWith(u'\r'))  // half a CR LF
        text[text.size() - 1] = u'x';
    return text;
}

}  // namespace

class TestWordCount : public QObject {
    Q_OBJECT

    Fixture f;

    ShownMessage countWords(const QString& content, int selStart = 0)
    {
        f.open(content, selStart);
        f.main->mnuFind_Click(7);
        return f.lastShown();
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void rule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("words");
        QTest::newRow("one two three, line break") << "one two three\r\n" << 3;
        QTest::newRow("one two three, nothing after") << "one two three" << 2;
        QTest::newRow("one-letter words") << "I am a man\r\n" << 2;
        QTest::newRow("runs of blanks") << "one    two  three   \r\n" << 3;
        QTest::newRow("tabs") << "one\t\ttwo\tthree\t" << 3;
        QTest::newRow("blank lines") << "one\r\n\r\n\r\ntwo\r\n\r\nthree\r\n\r\n" << 3;
        QTest::newRow("mixed separators") << " \t one \r\n\t two\t \r\n three \t" << 3;
        QTest::newRow("a-b cd") << "a-b cd\r\n" << 2;
        QTest::newRow("a-b c") << "a-b c\r\n" << 1;
        QTest::newRow("a b c") << "a b c\r\n" << 0;
        QTest::newRow("bar separates") << "x|y\r\n" << 0;
        QTest::newRow("bar between words") << "ab|cd|" << 2;
        QTest::newRow("lone CR does not separate") << "ab\rcd ef " << 2;
        QTest::newRow("lone LF does not separate") << "ab\ncd ef " << 2;
        QTest::newRow("CR before the pair") << "ab\r\r\ncd " << 2;
        QTest::newRow("a lone CR is a word's letter") << "a\r " << 1;
        QTest::newRow("LF CR is no pair") << "ab\n\rcd" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("only separators") << " \t\r\n|" << 0;
        QTest::newRow("one word, no separator") << "word" << 0;
        QTest::newRow("one word, blank after") << "word " << 1;
        QTest::newRow("punctuation is a word") << "&& .. ," << 2;
    }
    void rule()
    {
        QFETCH(QString, text);
        QFETCH(int, words);
        QCOMPARE(LiteralWordCounter().count(text), words);  // the rule's own statement agrees
        QCOMPARE(wordcount::countWords(text), words);
    }

    void ruleMatchesTheHelpers_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 3u})
            QTest::addRow("seed %u", seed) << seed;
    }
    void ruleMatchesTheHelpers()
    {
        QFETCH(quint32, seed);
        QRandomGenerator rng(seed);
        LiteralWordCounter literal;
        for (int round = 0; round < 3000; ++round) {
            const QString text = randomWordText(rng, rng.bounded(60));
            QVERIFY2(wordcount::countWords(text) == literal.count(text),
                     "text \"" + text.toUtf8().toPercentEncoding(" |") + "\"");
        }
    }

    void slicingMatchesTheLoop_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("length");
        QTest::newRow("whole, at the limit") << 11u << 22000;
        QTest::newRow("one more than the limit") << 12u << 22001;
        QTest::newRow("last full slice ends at the end") << 13u << 43980;
        QTest::newRow("a character after") << 14u << 43981;
        QTest::newRow("three slices and a rest") << 15u << 70123;
        QTest::newRow("many slices") << 16u << 250000;
    }
    void slicingMatchesTheLoop()
    {
        QFETCH(quint32, seed);
        QFETCH(int, length);
        QRandomGenerator rng(seed);
        LiteralWordCounter literal;
        for (int round = 0; round < 4; ++round) {
            const QString text = randomWordText(rng, length);
            QCOMPARE(wordcount::countDocumentWords(text), literal.countDocument(text));
        }
    }

    // The 20 characters where a slice begins are counted in both slices, and
    // the run cut at a slice's end is lost.
    void slicesShareTheirBorder()
    {
        QString text = QString(21980, u'x') + QStringLiteral("ab cd ef gh ij kl mn ") + QString(21999, u'y');
        text += QStringLiteral(" ");
        const int whole = wordcount::countWords(text);
        QCOMPARE(whole, 8);
        QCOMPARE(wordcount::countDocumentWords(text), LiteralWordCounter().countDocument(text));
        QVERIFY(wordcount::countDocumentWords(text) != whole);
    }

    void message_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("three words") << "one two three\r\n" << "This document contains 3 words.";
        QTest::newRow("none") << "a b c\r\n" << "This document contains 0 words.";
    }
    void message()
    {
        QFETCH(QString, content);
        QFETCH(QString, prompt);
        const ShownMessage shown = countWords(content);
        QCOMPARE(shown.prompt, prompt);
        QCOMPARE(shown.title, QStringLiteral("Word Count"));
        QCOMPARE(shown.style, int(vb::vbInformation));
        QCOMPARE(f.shownCount(), 1);
    }

    // Short documents keep the caret; sliced ones end with it at the start.
    // Either way the undo history is gone and the text is the same.
    void caretAndUndo_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("caretAfter");
        QTest::newRow("short") << 1000 << 500 << 500;
        QTest::newRow("at the limit") << 22000 << 21000 << 21000;
        QTest::newRow("sliced") << 22001 << 21000 << 0;
        QTest::newRow("long") << 100000 << 99000 << 0;
    }
    void caretAndUndo()
    {
        QFETCH(int, length);
        QFETCH(int, caret);
        QFETCH(int, caretAfter);
        QRandomGenerator rng{quint32(length)};
        f.open(randomWordText(rng, length - 1, false));
        f.text->SetSel(caret, caret);
        f.text->setSelText(QStringLiteral("z"));  // something to undo
        f.text->setSelStart(caret);
        QVERIFY(f.text->CanUndo());
        QCOMPARE(f.text->TextLength(), length);
        const QString before = f.text->Text();
        f.main->mnuFind_Click(7);
        QCOMPARE(f.lastShown().prompt, QStringLiteral("This document contains")
                                           + QStringLiteral(" %1").arg(LiteralWordCounter().countDocument(before))
                                           + QStringLiteral(" words."));
        QCOMPARE(f.selection(), qMakePair(caretAfter, 0));
        QVERIFY(!f.text->CanUndo());
        QVERIFY(f.text->Text() == before);
    }

    void documentsMatchTheLoop()
    {
        QRandomGenerator rng(99);
        for (int round = 0; round < 5; ++round) {
            const QString content = randomWordText(rng, 20000 + rng.bounded(60000));
            f.open(content);
            const QString text = f.text->Text();
            f.main->mnuFind_Click(7);
            QCOMPARE(f.lastShown().prompt, QStringLiteral("This document contains %1 words.")
                                               .arg(LiteralWordCounter().countDocument(text)));
        }
    }
};

PAGEWELL_TEST_MAIN(TestWordCount)
#include "tst_wordcount.moc"
