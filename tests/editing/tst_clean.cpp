// Clean: the single-pass plan and the plan applied to a document against the
// rule-by-rule reference and the real text control, on the documented
// examples and on many generated texts and carets.
#include "CleanReference.h"
#include "PaintedDocument.h"
#include "TestEnvironment.h"
#include "document/RichTextBox.h"
#include "document/TextEdits.h"
#include "editing/CleanPlan.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QString pick(QRandomGenerator& rng, const QStringList& list) { return list[rng.bounded(int(list.size()))]; }

// Form data: every code of the table, codes it lacks, "%25" chains, breaks.
QString randomCleanText(QRandomGenerator& rng)
{
    static const QStringList codes = {"%2C", "%2F", "%27", "%21", "%3F", "%0D%0A", "%24", "%3A", "%22", "%23", "%25",
                                      "%5E", "%5C", "%26", "%3D", "%2B", "%7B", "%28", "%29", "%3B", "%7E"};
    static const QStringList others = {"%41", "%20", "%2", "%", "%%", "%G1", "%0D", "%0A", "%7", "%2%2C", "+", "&",
                                       "\r\n", "a", "Z", "=", "2", "C", "d", "0", "\u00e9", "~", " "};
    QString text;
    for (int n = rng.bounded(25); n > 0; --n) {
        const int kind = rng.bounded(5);
        QString token = kind < 2 ? pick(rng, codes) : kind > 2 ? pick(rng, others) :  // %252C, %2525, ...
                            "%" + QString("25").repeated(1 + rng.bounded(3)) + pick(rng, codes + QStringList("%25")).mid(1);
        for (QChar& c : token)
            c = rng.bounded(2) ? c.toLower() : c;
        text += token;
    }
    return text;
}

QString applied(const QString& original, const QVector<CleanEdit>& edits)
{
    QString text;
    int from = 0;
    for (const CleanEdit& edit : edits) {
        if (edit.position < from || edit.removed < 0 || (edit.removed == 0 && edit.text.isEmpty()))
            return QStringLiteral("(edits out of order, overlapping or empty)");
        text += original.mid(from, edit.position - from) + edit.text;
        from = edit.position + edit.removed;
    }
    return from > original.size() ? QStringLiteral("(edit past the end)") : text + original.mid(from);
}

QString documentText(const QTextDocument& document)
{
    return document.toRawText().replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
}

QVector<int> colours(const QTextDocument& document) { return testsupport::characterColours(document); }

// The plan applied to a painted document: the reference's text, each
// character in its format source's colour, and one Undo back to the start.
void checkDocument(const QString& text, const CleanPlan& plan, const CleanResult& reference,
                   const QByteArray& context)
{
    QTextDocument document;
    document.setUndoRedoEnabled(false);
    document.setPlainText(text);
    testsupport::paintEachCharacter(document);
    document.setUndoRedoEnabled(true);
    const QVector<int> before = colours(document);
    applyTextEdits(&document, plan.edits);
    QVERIFY2(documentText(document) == reference.text, context);
    QVector<int> expected;
    for (int origin : reference.formatOrigins)
        expected << (origin < 0 ? -1 : before[origin]);
    const QVector<int> after = colours(document);
    for (int i = 0; i < after.size(); ++i)
        QVERIFY2(after[i] < 0 || after[i] == expected[i], context + " at " + QByteArray::number(i));
    QVERIFY2(document.isUndoAvailable() == reference.changed, context);
    document.undo();
    QVERIFY2(documentText(document) == text && colours(document) == before && !document.isUndoAvailable(), context);
}

}  // namespace

class TestClean : public QObject {
    Q_OBJECT

private slots:
    // Outcomes are the text, then the selection after Clean.
    void cleans_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("form fields") << "name=John+Smith&city=New+York%2C+NY" << 0 << 0
                                     << "name=John Smith \r\ncity=New York, NY 0,0";
        QTest::newRow("encoded plus and ampersand survive") << "a%2Bb%26c" << 0 << 0 << "a+b&c 0,0";
        QTest::newRow("%25 then a later code") << "%253D" << 0 << 0 << "= 0,0";
        QTest::newRow("%25 then an earlier code") << "%252C" << 0 << 0 << "%2C 0,0";
        QTest::newRow("%25253D decodes once") << "%25253D" << 0 << 0 << "%253D 0,0";
        QTest::newRow("%2526 is an ampersand") << "%2526" << 0 << 0 << "& 0,0";
        QTest::newRow("%250D%250A stays encoded") << "%250D%250A" << 0 << 0 << "%0D%0A 0,0";
        QTest::newRow("produced % not searched again") << "%%2525" << 0 << 0 << "%%25 0,0";
        QTest::newRow("codes it lacks stay") << "%41%20 100% %2 %" << 0 << 0 << "%41%20 100% %2 % 0,0";
        QTest::newRow("lower-case CR LF code") << "a%0d%0ab" << 0 << 0 << "a\r\nb 0,0";
        QTest::newRow("every table code, any case")
            << "%2c%2F%27%21%3f%0D%0A%24%3a%22%23%25%5e%5C%26%3D%2b%7B%28%29%3b%7E" << 0 << 0
            << ",/'!?\r\n$:\"#%^\\&=+{();~ 22,0";
        QTest::newRow("each ampersand is a break") << "&&a&" << 0 << 0 << " \r\n \r\na \r\n 0,0";
        QTest::newRow("caret behind the only ampersand") << "a=1&b=2+3" << 4 << 0 << "a=1&b=2 3 0,0";
        QTest::newRow("caret before the only ampersand") << "a=1&b=2" << 3 << 0 << "a=1 \r\nb=2 0,0";
        QTest::newRow("selection holding an ampersand") << "a&b&c" << 2 << 2 << "a \r\nb \r\nc 0,0";
        QTest::newRow("selection ending before the ampersand") << "ab&c+d" << 0 << 2 << "ab&c d 0,0";
        QTest::newRow("selection of a CR is a caret") << "a\r\n&" << 1 << 1 << "a\r\n \r\n 0,0";
        QTest::newRow("caret at the end") << "x&y" << 3 << 0 << "x&y 0,0";
        QTest::newRow("caret left behind the last ~") << "a%7Eb%7ec" << 0 << 0 << "a~b~c 4,0";
        QTest::newRow("caret counts earlier breaks") << "%7E&%0D%0A%7E+" << 0 << 0 << "~ \r\n\r\n~  7,0";
        QTest::newRow("nothing to clean: caret to 0") << "plain" << 3 << 1 << "plain 0,0";
        QTest::newRow("empty") << "" << 0 << 0 << " 0,0";
        QTest::newRow("broken CR LF codes") << "%0D%0B%0d%2c%0D%0" << 0 << 0 << "%0D%0B%0d,%0D%0 0,0";
        QTest::newRow("caret behind a ~ from %257E") << "a%257e%25" << 0 << 0 << "a~% 2,0";
    }
    void cleans()
    {
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, outcome);
        const auto show = [](const QString& t, int start, int count) {
            return t + u' ' + QString::number(start) + u',' + QString::number(count);
        };
        const CleanResult reference = cleanReference(text, selStart, selLength);
        QCOMPARE(show(reference.text, reference.selStart, reference.selLength), outcome);
        const CleanPlan plan = cleanPlan(text, selStart, selLength);
        QCOMPARE(show(applied(text, plan.edits), plan.selStart, 0), outcome);
        QCOMPARE(plan.changed, reference.text != text);
        // The real control, driven rule by rule, agrees.
        RichTextBox box;
        box.setText(text);
        box.SetSel(selStart, selStart + selLength);
        QCOMPARE(runCleanRules(box), reference.text != text);
        QCOMPARE(show(box.Text(), box.SelStart(), box.SelLength()), outcome);
    }

    void planMatchesTheRuleLoop_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 8; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }
    void planMatchesTheRuleLoop()
    {
        QFETCH(quint32, seed);
        QRandomGenerator rng(seed);
        int changed = 0, caretMoved = 0;
        for (int round = 0; round < 1200; ++round) {
            const QString text = randomCleanText(rng);
            // Any offset, the inside of a CR LF included; a selection half the time.
            const int selStart = rng.bounded(int(text.size()) + 1);
            const int selLength = rng.bounded(2) ? rng.bounded(int(text.size()) - selStart + 1) : 0;
            TextControlModel model(text, selStart, selLength);
            const bool replaced = runCleanRules(model);
            changed += replaced;
            caretMoved += model.SelStart() > 0;
            const QByteArray context = QStringLiteral("%1 sel %2,%3").arg(text, QString::number(selStart), QString::number(selLength)).toUtf8();
            const CleanPlan plan = cleanPlan(text, selStart, selLength);
            QVERIFY2(plan.changed == replaced && applied(text, plan.edits) == model.Text()
                         && plan.selStart == model.SelStart() && model.SelLength() == 0,
                     context);
            checkDocument(text, plan, {model.Text(), 0, 0, replaced, model.formatOrigins()}, context);
            if (QTest::currentTestFailed())
                return;
            if (round % 8 == 0) {  // the model behaves like the real control
                RichTextBox box;
                box.setText(text);
                box.SetSel(selStart, selStart + selLength);
                QVERIFY2(runCleanRules(box) == replaced && box.Text() == model.Text()
                             && box.SelStart() == model.SelStart() && box.SelLength() == model.SelLength(),
                         context);
            }
        }
        // The generator reaches every outcome.
        QVERIFY(changed > 500 && changed < 1200 && caretMoved > 120);
    }

    // Paragraph formats (tab stops) stay with their paragraphs, new
    // paragraphs take the format of the one they split, and an embedded
    // object between two codes is not removed and inserted again.
    void paragraphsAndObjectsStay()
    {
        QTextDocument document;
        document.setPlainText(QStringLiteral("a&b\n%2C%0D%0Ac"));
        QTextBlockFormat tabs;
        tabs.setTabPositions({QTextOption::Tab(40, QTextOption::LeftTab)});
        QTextCursor cursor(document.findBlockByNumber(1));
        cursor.setBlockFormat(tabs);
        cursor.movePosition(QTextCursor::End);
        QTextImageFormat image;
        image.setName(QStringLiteral("pic"));
        cursor.insertImage(image);
        cursor.insertText(QStringLiteral("x%2F"));
        applyTextEdits(&document, cleanPlan(documentText(document), 0, 0).edits);
        QCOMPARE(documentText(document), "a \r\nb\r\n,\r\nc" + QString(QChar::ObjectReplacementCharacter) + "x/");
        QList<int> stops;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
            stops << int(block.blockFormat().tabPositions().size());
        QCOMPARE(stops, QList<int>({0, 0, 1, 1}));
        cursor.setPosition(document.characterCount() - 3);
        QCOMPARE(cursor.charFormat().toImageFormat().name(), QStringLiteral("pic"));
    }

    // About 10 MB of form data with about a million codes to decode.
    void largeTextInLinearTime()
    {
        QRandomGenerator rng(7);
        const QStringList codes = {"%2C", "%2F", "+", "&", "%3D", "%25", "%3A", "%0D%0A", "%41", "%7E"};
        QString text;
        text.reserve(10'100'000);
        for (int line = 1; text.size() < 10'000'000; ++line) {
            text += rng.bounded(10) == 0 ? pick(rng, codes) : QString(QChar(u'a' + rng.bounded(26)));
            if (line % 200 == 0)
                text += QLatin1String("\r\n");
        }
        QTextDocument document;
        document.setPlainText(text);
        // Cancelled at the second pause, the edits made so far are undone.
        int pauses = 0;
        const auto pause = [&pauses](int offset) { return offset > 0 && ++pauses != 2; };
        CleanEdits cancelled(text, 0, 0);
        QVERIFY(!applyTextEdits(&document, [&](TextEdit& edit) { return cancelled.next(edit); }, pause));
        QVERIFY(documentText(document) == text && !document.isUndoAvailable() && !document.isRedoAvailable());
        QElapsedTimer timer;
        timer.start();
        CleanEdits edits(text, 0, 0);
        QVERIFY(applyTextEdits(&document, [&](TextEdit& edit) { return edits.next(edit); }, pause));
        const qint64 elapsed = timer.elapsed();
        const CleanPlan plan = cleanPlan(text, 0, 0);
        qInfo("%lld characters, %lld edits: %lld ms", qint64(text.size()), qint64(plan.edits.size()), elapsed);
        QVERIFY(documentText(document) == applied(text, plan.edits) && plan.edits.size() > 700'000 && pauses > 3);
        // Each pause ends an undo step (the control joins them again); all
        // of them together give the text back.
        int steps = 0;
        for (; document.isUndoAvailable(); ++steps)
            document.undo();
        QVERIFY(documentText(document) == text);
        QCOMPARE(steps, pauses - 2 + 1);  // the two pauses of the cancelled run made none
        // Generous for a loaded machine; anything quadratic takes hours.
        QVERIFY(elapsed < 20'000);
    }
};

PAGEWELL_TEST_MAIN(TestClean)
#include "tst_clean.moc"
