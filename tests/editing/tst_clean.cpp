// Clean: the single-pass plan and the plan applied to a document against the
// rule-by-rule reference and the real text control, on the documented
// examples and on many generated texts, carets and rule tables.
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

// Tables Clean's own never reaches: replacements searched again, matches
// through part of an earlier replacement, deletions.
QVector<CleanRule> randomRules(QRandomGenerator& rng, QString& text)
{
    QVector<CleanRule> rules(1 + rng.bounded(4));
    for (CleanRule& rule : rules) {
        for (int k = 1 + rng.bounded(3); k > 0; --k)
            rule.pattern += pick(rng, {"a", "b", "c", "A", "B"});
        for (int k = rng.bounded(4); k > 0; --k)
            rule.replacement += pick(rng, {"a", "b", "c", "x", "\n", "\r\n"});
    }
    for (int n = rng.bounded(30); n > 0; --n)
        text += pick(rng, {"a", "b", "c", "A", "B", "x", "\r\n"});
    return rules;
}

// The rule loop, giving up after too many replacements (a replacement that
// keeps producing matches never ends).
template <class Control>
struct Bounded {
    Control& control;
    int budget = 500;
    int Find(const QString& what, int start = -1) { return budget < 0 ? -1 : control.Find(what, start); }
    void setSelText(const QString& text) { control.setSelText(--budget < 0 ? QString() : text); }
    void setSelStart(int start) { control.setSelStart(start); }
};

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
        QTest::addColumn<QStringList>("rule");  // pattern and replacement; none: Clean's table
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("outcome");
        const QStringList table;
        QTest::newRow("form fields") << table << "name=John+Smith&city=New+York%2C+NY" << 0 << 0
                                     << "name=John Smith \r\ncity=New York, NY 0,0";
        QTest::newRow("encoded plus and ampersand survive") << table << "a%2Bb%26c" << 0 << 0 << "a+b&c 0,0";
        QTest::newRow("%25 then a later code") << table << "%253D" << 0 << 0 << "= 0,0";
        QTest::newRow("%25 then an earlier code") << table << "%252C" << 0 << 0 << "%2C 0,0";
        QTest::newRow("%25253D decodes once") << table << "%25253D" << 0 << 0 << "%253D 0,0";
        QTest::newRow("%2526 is an ampersand") << table << "%2526" << 0 << 0 << "& 0,0";
        QTest::newRow("%250D%250A stays encoded") << table << "%250D%250A" << 0 << 0 << "%0D%0A 0,0";
        QTest::newRow("produced % not searched again") << table << "%%2525" << 0 << 0 << "%%25 0,0";
        QTest::newRow("codes it lacks stay") << table << "%41%20 100% %2 %" << 0 << 0 << "%41%20 100% %2 % 0,0";
        QTest::newRow("lower-case CR LF code") << table << "a%0d%0ab" << 0 << 0 << "a\r\nb 0,0";
        QTest::newRow("every table code, any case")
            << table << "%2c%2F%27%21%3f%0D%0A%24%3a%22%23%25%5e%5C%26%3D%2b%7B%28%29%3b%7E" << 0 << 0
            << ",/'!?\r\n$:\"#%^\\&=+{();~ 22,0";
        QTest::newRow("each ampersand is a break") << table << "&&a&" << 0 << 0 << " \r\n \r\na \r\n 0,0";
        QTest::newRow("caret behind the only ampersand") << table << "a=1&b=2+3" << 4 << 0 << "a=1&b=2 3 0,0";
        QTest::newRow("caret before the only ampersand") << table << "a=1&b=2" << 3 << 0 << "a=1 \r\nb=2 0,0";
        QTest::newRow("selection holding an ampersand") << table << "a&b&c" << 2 << 2 << "a \r\nb \r\nc 0,0";
        QTest::newRow("selection ending before the ampersand") << table << "ab&c+d" << 0 << 2 << "ab&c d 0,0";
        QTest::newRow("caret at the end") << table << "x&y" << 3 << 0 << "x&y 0,0";
        QTest::newRow("caret left behind the last ~") << table << "a%7Eb%7ec" << 0 << 0 << "a~b~c 4,0";
        QTest::newRow("caret counts earlier breaks") << table << "%7E&%0D%0A%7E+" << 0 << 0 << "~ \r\n\r\n~  7,0";
        QTest::newRow("nothing to clean: caret to 0") << table << "plain" << 3 << 1 << "plain 0,0";
        QTest::newRow("empty") << table << "" << 0 << 0 << " 0,0";
        QTest::newRow("no match keeps the selection") << QStringList{"q", "Q"} << "abcd" << 1 << 2 << "abcd 1,2";
        QTest::newRow("no match, selection from and to inside breaks")
            << QStringList{"q", "Q"} << "a\r\nb\r\nc" << 2 << 3 << "a\r\nb\r\nc 1,3";
        QTest::newRow("rest of a replacement searched again") << QStringList{"ab", "xa"} << "abbb" << 0 << 0 << "xxxa 4,0";
        QTest::newRow("first character of a replacement is not") << QStringList{"ab", "a"} << "abb" << 0 << 0 << "ab 1,0";
        QTest::newRow("deletion passes over the next character") << QStringList{"a", ""} << "aaaa" << 0 << 0 << "aa 1,0";
        QTest::newRow("line break in the middle") << QStringList{"-", "x\ny"} << "a-b" << 0 << 0 << "ax\r\nyb 5,0";
        QTest::newRow("non-ASCII pattern") << QStringList{"\u00e9", "E"} << "\u00c9t\u00e9" << 0 << 0 << "EtE 3,0";
    }
    void cleans()
    {
        QFETCH(QStringList, rule);
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, outcome);
        const QVector<CleanRule> rules = rule.isEmpty() ? cleanRules() : QVector<CleanRule>{{rule[0], rule[1]}};
        const auto show = [](const QString& t, int start, int count) {
            return t + u' ' + QString::number(start) + u',' + QString::number(count);
        };
        const CleanResult reference = cleanReference(text, selStart, selLength, rules);
        QCOMPARE(show(reference.text, reference.selStart, reference.selLength), outcome);
        const CleanPlan plan = cleanPlan(text, selStart, selLength, rules);
        QCOMPARE(show(applied(text, plan.edits), plan.selStart, plan.selLength), outcome);
        QCOMPARE(plan.text + QString::number(plan.changed), reference.text + QString::number(reference.text != text));
        // The real control, driven rule by rule, agrees.
        RichTextBox box;
        box.setText(text);
        box.SetSel(selStart, selStart + selLength);
        QCOMPARE(runCleanRules(box, rules), reference.text != text);
        QCOMPARE(show(box.Text(), box.SelStart(), box.SelLength()), outcome);
    }

    void planMatchesTheRuleLoop_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<bool>("otherRules");
        for (quint32 seed : {1u, 2u, 3u, 4u, 5u})
            QTest::addRow("Clean's table, seed %u", seed) << seed << false;
        for (quint32 seed : {11u, 12u, 13u})
            QTest::addRow("other rules, seed %u", seed) << seed << true;
    }
    void planMatchesTheRuleLoop()
    {
        QFETCH(quint32, seed);
        QFETCH(bool, otherRules);
        QRandomGenerator rng(seed);
        int compared = 0, changed = 0, caretMoved = 0;
        for (int round = 0; round < 1200; ++round) {
            QString text;
            const QVector<CleanRule> rules = otherRules ? randomRules(rng, text) : cleanRules();
            if (!otherRules)
                text = randomCleanText(rng);
            // Any offset, the inside of a CR LF included; a selection half the time.
            const int selStart = rng.bounded(int(text.size()) + 1);
            const int selLength = rng.bounded(2) ? rng.bounded(int(text.size()) - selStart + 1) : 0;
            TextControlModel model(text, selStart, selLength);
            Bounded<TextControlModel> loop{model};
            const bool replaced = runCleanRules(loop, rules);
            if (loop.budget < 0)
                continue;
            ++compared;
            changed += replaced;
            caretMoved += model.SelStart() > 0;
            QByteArray context = QStringLiteral("%1 sel %2,%3 rules").arg(text).arg(selStart).arg(selLength).toUtf8();
            for (const CleanRule& rule : otherRules ? rules : QVector<CleanRule>())
                context += " " + (rule.pattern + u'=' + rule.replacement).toUtf8().toPercentEncoding();
            const CleanPlan plan = cleanPlan(text, selStart, selLength, rules);
            QVERIFY2(plan.text == model.Text() && plan.changed == replaced && applied(text, plan.edits) == plan.text
                         && plan.selStart == model.SelStart() && plan.selLength == model.SelLength(),
                     context);
            checkDocument(text, plan, {model.Text(), 0, 0, replaced, model.formatOrigins()}, context);
            if (QTest::currentTestFailed())
                return;
            if (round % 8 == 0) {  // the model behaves like the real control
                RichTextBox box;
                box.setText(text);
                box.SetSel(selStart, selStart + selLength);
                Bounded<RichTextBox> real{box};
                QVERIFY2(runCleanRules(real, rules) == replaced && box.Text() == model.Text()
                             && box.SelStart() == model.SelStart() && box.SelLength() == model.SelLength(),
                         context);
            }
        }
        // The generator reaches every outcome.
        QVERIFY(compared > 1000 && changed > 500 && changed < compared && caretMoved > 120);
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
        QElapsedTimer timer;
        timer.start();
        const CleanPlan plan = cleanPlan(text, 0, 0);
        applyTextEdits(&document, plan.edits);
        const qint64 elapsed = timer.elapsed();
        qInfo("%lld characters, %lld edits: %lld ms", qint64(text.size()), qint64(plan.edits.size()), elapsed);
        QVERIFY(documentText(document) == plan.text && plan.edits.size() > 700'000);
        // Generous for a loaded machine; anything quadratic takes hours.
        QVERIFY(elapsed < 20'000);
    }
};

PAGEWELL_TEST_MAIN(TestClean)
#include "tst_clean.moc"
