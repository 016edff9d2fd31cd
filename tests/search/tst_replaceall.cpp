// Replace All done in one pass against the dialog's loop done literally
// (Find from Label3, replace, next search after the replacement) on the text
// control, on many generated texts, formats, options and start positions.
#include "TestEnvironment.h"
#include "document/RichTextBox.h"
#include "search/ReplaceAll.h"
#include "search/TextSearch.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>

namespace {

struct Outcome {
    bool firstFound = false;
    int label3 = 0;  // after the loop
};

// The loop as the Replace All button runs it, one Find and one SelText at a time.
Outcome literalReplaceAll(RichTextBox& box, const QString& what, const QString& replacement, int label3, int options)
{
    Outcome outcome;
    outcome.label3 = label3;
    if (box.Find(what, -1, -1, options) == -1)
        return outcome;
    outcome.firstFound = true;
    const int replacementLength = int(replacement.size());
    int result;
    do {
        const int start = outcome.label3;
        result = box.Find(what, start, -1, options);
        if (result != -1) {
            box.setSelText(replacement);
            outcome.label3 = replacementLength + result;
        }
    } while (result != -1);
    return outcome;
}

Outcome onePassReplaceAll(RichTextBox& box, const QString& what, const QString& replacement, int label3, int options)
{
    Outcome outcome;
    outcome.label3 = label3;
    if (box.Find(what, -1, -1, options) == -1)
        return outcome;
    outcome.firstFound = true;
    const int next = search::replaceAllFrom(box, what, replacement, label3, options);
    if (next != -1)
        outcome.label3 = next;
    return outcome;
}

// Colour of every character by Text() offset; -1 for the CR and LF of a break.
QVector<int> colours(const RichTextBox& box)
{
    QVector<int> result;
    const QTextDocument* document = box.document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            result.insert(result.size(), fragment.length(), fragment.charFormat().foreground().color().red());
        }
        if (block.next().isValid())
            result << -1 << -1;
    }
    return result;
}

void paintRuns(QRandomGenerator& rng, RichTextBox& box)
{
    QTextCursor cursor(box.document());
    const int end = box.document()->characterCount() - 1;
    for (int at = 0; at < end;) {
        const int length = 1 + rng.bounded(5);
        cursor.setPosition(at);
        cursor.setPosition(std::min(at + length, end), QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setForeground(QColor(10 * (1 + rng.bounded(6)), 0, 0));
        cursor.setCharFormat(format);
        at += length;
    }
}

QString pick(QRandomGenerator& rng, const QStringList& list) { return list[rng.bounded(int(list.size()))]; }

QString randomText(QRandomGenerator& rng)
{
    static const QStringList tokens = {"a", "A", "b", "ab", "aa", " ", " ", "_", "1", ".", "-", "\u00e9",
                                       "\u00c9", "\r\n", "\t", "ba", " a ", " A.", "b. ", " aa ", "-a "};
    QString text;
    for (int n = rng.bounded(40); n > 0; --n)
        text += pick(rng, tokens);
    return text;
}

const QStringList Searches = {"a", "A", "a", "ab", "aa", "ba", "a a", "b.", "-a", ".", "\u00e9", "a_", "aba"};
const QStringList Replacements = {"", "a", "aa", "x", "b.", "_", "A", "-", "xyz", "ab", ".\u00e9", "\r\n", "a\r\nb"};

struct Case {
    QString text;
    QString what;
    QString replacement;
    int label3;
    int options;
    int selStart;
    int selLength;

    QByteArray describe() const
    {
        return "text \"" + text.toUtf8().toPercentEncoding(" ") + "\" find \"" + what.toUtf8() + "\" replace \""
               + replacement.toUtf8().toPercentEncoding() + "\" label3 " + QByteArray::number(label3) + " options "
               + QByteArray::number(options) + " selection " + QByteArray::number(selStart) + ","
               + QByteArray::number(selLength);
    }
};

Case randomCase(QRandomGenerator& rng)
{
    Case c;
    c.text = randomText(rng);
    c.what = pick(rng, Searches);
    c.replacement = pick(rng, Replacements);
    const int length = int(c.text.size());
    c.label3 = rng.bounded(3) == 0 ? 0 : rng.bounded(length + 3);
    c.options = 2 * rng.bounded(4);  // 0, 2, 4, 6
    c.selStart = rng.bounded(2) == 0 ? 0 : rng.bounded(length + 1);
    c.selLength = rng.bounded(4) == 0 ? rng.bounded(length - c.selStart + 1) : 0;
    return c;
}

}  // namespace

class TestReplaceAll : public QObject {
    Q_OBJECT

    RichTextBox literal;
    RichTextBox onePass;

    void prepare(RichTextBox& box, const Case& c, quint32 paintSeed)
    {
        box.setText(c.text);
        QRandomGenerator rng(paintSeed);
        paintRuns(rng, box);
        box.SetSel(c.selStart, c.selStart + c.selLength);
        box.EmptyUndoBuffer();
    }

private slots:
    void matchesTheLiteralLoop_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 3u, 4u, 5u, 6u})
            QTest::addRow("seed %u", seed) << seed;
    }
    void matchesTheLiteralLoop()
    {
        QFETCH(quint32, seed);
        QRandomGenerator rng(seed);
        int replaced = 0, firstMissed = 0, loopMissed = 0, wholeWordReplaced = 0;
        for (int round = 0; round < 1000; ++round) {
            const Case c = randomCase(rng);
            const quint32 paintSeed = rng.generate();
            prepare(literal, c, paintSeed);
            prepare(onePass, c, paintSeed);
            const QVector<int> before = colours(onePass);

            const Outcome expected = literalReplaceAll(literal, c.what, c.replacement, c.label3, c.options);
            const Outcome actual = onePassReplaceAll(onePass, c.what, c.replacement, c.label3, c.options);
            const QByteArray context = c.describe();
            QVERIFY2(actual.firstFound == expected.firstFound, context);
            QVERIFY2(onePass.Text() == literal.Text(), context + " gives \"" + onePass.Text().toUtf8() + "\", not \""
                                                           + literal.Text().toUtf8() + "\"");
            QVERIFY2(actual.label3 == expected.label3, context);
            QVERIFY2(onePass.SelStart() == literal.SelStart() && onePass.SelLength() == literal.SelLength(), context);
            QVERIFY2(colours(onePass) == colours(literal), context);

            const bool changed = literal.CanUndo();
            QVERIFY2(onePass.CanUndo() == changed, context);
            if (changed) {
                // All of it is one step.
                onePass.Undo();
                QVERIFY2(onePass.Text() == c.text, context);
                QVERIFY2(colours(onePass) == before, context);
                QVERIFY2(!onePass.CanUndo(), context);
                ++replaced;
                wholeWordReplaced += (c.options & 2) != 0;
            } else if (!expected.firstFound) {
                ++firstMissed;
            } else {
                ++loopMissed;
            }
        }
        // The generator reaches every outcome.
        qInfo("replaced %d (whole words %d), first search missed %d, loop missed %d", replaced,
              wholeWordReplaced, firstMissed, loopMissed);
        QVERIFY(replaced > 150);
        QVERIFY(wholeWordReplaced > 40);
        QVERIFY(firstMissed > 50);
        QVERIFY(loopMissed > 20);
    }

    // A replacement followed directly by a match is what the whole-word test
    // sees before that match.
    void replacementsBorderTheNextMatch_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("result");
        QTest::newRow("a word character before") << "-a-a" << "-a" << "x" << "x-a";
        QTest::newRow("a separator before") << "-a-a" << "-a" << "x." << "x.x.";
        QTest::newRow("empty replacements up to the start") << "-a-a-a" << "-a" << "" << "";
        QTest::newRow("empty replacement after a blank") << " -a-a" << "-a" << "" << " ";
        QTest::newRow("line break before") << "-a-a" << "-a" << "\r\n" << "\r\n\r\n";
    }
    void replacementsBorderTheNextMatch()
    {
        QFETCH(QString, text);
        QFETCH(QString, what);
        QFETCH(QString, replacement);
        QFETCH(QString, result);
        literal.setText(text);
        onePass.setText(text);
        literalReplaceAll(literal, what, replacement, 0, textsearch::WholeWord);
        onePassReplaceAll(onePass, what, replacement, 0, textsearch::WholeWord);
        QCOMPARE(literal.Text(), result);
        QCOMPARE(onePass.Text(), result);
    }

    // Search texts with line breaks reach across paragraphs; they take the loop itself.
    void searchOverLineBreaks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("replacement");
        QTest::newRow("joins lines") << "a\r\nb\r\na\r\nb" << "a\r\nb" << "ab";
        QTest::newRow("breaks and joins") << "a\r\nb\r\nc" << "\r\n" << "-\r\n-";
        QTest::newRow("line feed alone") << "ab\r\ncd" << "\n" << "x";
    }
    void searchOverLineBreaks()
    {
        QFETCH(QString, text);
        QFETCH(QString, what);
        QFETCH(QString, replacement);
        literal.setText(text);
        onePass.setText(text);
        const Outcome expected = literalReplaceAll(literal, what, search::storedReplacement(replacement), 0, 0);
        const Outcome actual = onePassReplaceAll(onePass, what, replacement, 0, 0);
        QCOMPARE(onePass.Text(), literal.Text());
        QCOMPARE(actual.label3, expected.label3);
        QCOMPARE(onePass.SelStart(), literal.SelStart());
    }

    // A replacement with a line break counts it as CR LF, so the next search
    // starts after all of it and b by "a\nb" ends.
    void replacementWithALineFeed()
    {
        onePass.setText(QStringLiteral("b b"));
        const int next = search::replaceAllFrom(onePass, QStringLiteral("b"), QStringLiteral("a\nb"), 0, 0);
        QCOMPARE(onePass.Text(), QStringLiteral("a\r\nb a\r\nb"));
        QCOMPARE(next, 9);
        QCOMPARE(onePass.SelStart(), 9);
    }

    void paragraphFormatsStay()
    {
        onePass.setText(QStringLiteral("cat\r\ncat cat\r\ncat"));
        QTextBlockFormat tabs;
        tabs.setTabPositions({QTextOption::Tab(40, QTextOption::LeftTab)});
        QTextCursor(onePass.document()->findBlockByNumber(1)).setBlockFormat(tabs);
        search::replaceAllFrom(onePass, QStringLiteral("cat"), QStringLiteral("dog"), 0, 0);
        QCOMPARE(onePass.Text(), QStringLiteral("dog\r\ndog dog\r\ndog"));
        const QList<int> stops = {0, 1, 0};
        for (int i = 0; i < stops.size(); ++i)
            QCOMPARE(onePass.document()->findBlockByNumber(i).blockFormat().tabPositions().size(), stops[i]);
    }

    // Linear in the text: half a million replacements over four megabytes.
    void manyMatchesInLinearTime()
    {
        QString text;
        text.reserve(4'100'000);
        QRandomGenerator rng(77);
        int expected = 0;
        while (text.size() < 4'000'000) {
            for (int word = 0; word < 10; ++word) {
                if (rng.bounded(8) < 7) {
                    text += QLatin1String("needle ");
                    ++expected;
                } else {
                    text += QLatin1String("hay ");
                }
            }
            text += QLatin1String("\r\n");
        }
        RichTextBox box;
        box.setText(text);
        box.EmptyUndoBuffer();
        QElapsedTimer timer;
        timer.start();
        const int next = search::replaceAllFrom(box, QStringLiteral("needle"), QStringLiteral("pin"), 0, 0);
        const qint64 elapsed = timer.elapsed();
        qInfo("%lld characters, %d replacements: %lld ms", qint64(text.size()), expected, elapsed);
        QVERIFY(expected > 450'000);
        const QString replaced = QString(text).replace(QLatin1String("needle"), QLatin1String("pin"));
        QCOMPARE(box.TextLength(), int(replaced.size()));
        QVERIFY(box.Text() == replaced);
        QCOMPARE(next, int(replaced.lastIndexOf(QLatin1String("pin"))) + 3);
        QCOMPARE(box.SelStart(), next);
        // Generous for a loaded machine; the loop done literally takes hours.
        QVERIFY2(elapsed < 30'000, QByteArray::number(elapsed));
        box.Undo();
        QVERIFY(box.Text() == text);
    }
};

PAGEWELL_TEST_MAIN(TestReplaceAll)
#include "tst_replaceall.moc"
