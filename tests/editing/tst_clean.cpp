// Clean's rules on the documented examples, through the rule-by-rule
// reference, the single-pass plan and the real text control.
#include "TestEnvironment.h"
#include "document/RichTextBox.h"
#include "editing/CleanDocument.h"
#include "editing/CleanPlan.h"
#include "editing/CleanReference.h"

#include <QTextDocument>

Q_DECLARE_METATYPE(QVector<CleanEdit>)

namespace {

const QString CrLf = QStringLiteral("\r\n");

}  // namespace

class TestClean : public QObject {
    Q_OBJECT

private slots:
    void cleans_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("caret");

        QTest::newRow("form fields") << "name=John+Smith&city=New+York%2C+NY" << 0 << 0
                                     << "name=John Smith " + CrLf + "city=New York, NY" << 0;
        QTest::newRow("encoded plus and ampersand survive") << "a%2Bb%26c" << 0 << 0 << "a+b&c" << 0;
        QTest::newRow("%25 then a later code") << "%253D" << 0 << 0 << "=" << 0;
        QTest::newRow("%25 then an earlier code") << "%252C" << 0 << 0 << "%2C" << 0;
        QTest::newRow("%2525") << "%2525" << 0 << 0 << "%25" << 0;
        QTest::newRow("%25253D decodes once") << "%25253D" << 0 << 0 << "%253D" << 0;
        QTest::newRow("%2526 is an ampersand, not a break") << "%2526" << 0 << 0 << "&" << 0;
        QTest::newRow("%250D%250A stays encoded") << "%250D%250A" << 0 << 0 << "%0D%0A" << 0;
        QTest::newRow("produced % is not searched again") << "%%2525" << 0 << 0 << "%%25" << 0;
        QTest::newRow("adjacent %25") << "%25%25" << 0 << 0 << "%%" << 0;
        QTest::newRow("%41 stays") << "%41" << 0 << 0 << "%41" << 0;
        QTest::newRow("%20 stays") << "%20" << 0 << 0 << "%20" << 0;
        QTest::newRow("lone and short %") << "100% %2 %" << 0 << 0 << "100% %2 %" << 0;
        QTest::newRow("lower-case CR LF code") << "a%0d%0ab" << 0 << 0 << "a" + CrLf + "b" << 0;
        QTest::newRow("mixed-case codes") << "%2c%2F%3a%3B" << 0 << 0 << ",/:;" << 0;
        QTest::newRow("every table code")
            << "%2C%2F%27%21%3F%0D%0A%24%3A%22%23%25%5E%5C%26%3D%2B%7B%28%29%3B%7E" << 0 << 0
            << ",/'!?" + CrLf + "$:\"#%^\\&=+{();~" << 22;
        QTest::newRow("each ampersand is a break") << "&&a&" << 0 << 0
                                                  << " " + CrLf + " " + CrLf + "a " + CrLf << 0;
        QTest::newRow("caret behind the only ampersand") << "a=1&b=2+3" << 4 << 0 << "a=1&b=2 3" << 0;
        QTest::newRow("caret before the only ampersand") << "a=1&b=2" << 3 << 0
                                                         << "a=1 " + CrLf + "b=2" << 0;
        QTest::newRow("caret behind one of two ampersands") << "a&b&c" << 2 << 0
                                                            << "a " + CrLf + "b " + CrLf + "c" << 0;
        QTest::newRow("selection holding an ampersand") << "a&b&c" << 2 << 2
                                                        << "a " + CrLf + "b " + CrLf + "c" << 0;
        QTest::newRow("selection ending before the ampersand") << "ab&c+d" << 0 << 2 << "ab&c d" << 0;
        QTest::newRow("caret at the end") << "x&y" << 3 << 0 << "x&y" << 0;
        QTest::newRow("caret left behind the last ~") << "a%7Eb%7ec" << 0 << 0 << "a~b~c" << 4;
        QTest::newRow("caret counts earlier breaks") << "%7E&%0D%0A%7E+" << 0 << 0
                                                     << "~ " + CrLf + CrLf + "~ " << 7;
        QTest::newRow("breaks in the text") << "a+b" + CrLf + "&%2C" << 0 << 0
                                            << "a b" + CrLf + " " + CrLf + "," << 0;
        QTest::newRow("nothing to clean keeps the caret at 0") << "plain" << 3 << 1 << "plain" << 0;
        QTest::newRow("empty") << "" << 0 << 0 << "" << 0;
    }
    void cleans()
    {
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, expected);
        QFETCH(int, caret);

        const CleanResult reference = cleanReference(text, selStart, selLength);
        QCOMPARE(reference.text, expected);
        QCOMPARE(reference.selStart, caret);
        QCOMPARE(reference.selLength, 0);
        QCOMPARE(reference.changed, expected != text);

        const CleanPlan plan = cleanPlan(text, selStart, selLength);
        QCOMPARE(plan.text, expected);
        QCOMPARE(plan.selStart, caret);
        QCOMPARE(plan.selLength, 0);
        QCOMPARE(plan.changed, expected != text);

        // The real control, driven rule by rule, agrees with the model.
        RichTextBox box;
        box.setText(text);
        box.SetSel(selStart, selStart + selLength);
        QCOMPARE(runCleanRules(box), expected != text);
        QCOMPARE(box.Text(), expected);
        QCOMPARE(box.SelStart(), caret);
        QCOMPARE(box.SelLength(), 0);

        // And the plan applied to a document gives the same text.
        QTextDocument document;
        document.setPlainText(text);
        applyCleanToDocument(&document, plan);
        QCOMPARE(document.toPlainText().replace(u'\n', CrLf), expected);
    }

    // Edits are against the original text and keep separate replacements apart.
    void editsAgainstTheOriginal_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVector<CleanEdit>>("edits");
        QTest::newRow("nothing") << "abc" << QVector<CleanEdit>{};
        QTest::newRow("one code") << "a%2Cb" << QVector<CleanEdit>{{1, 3, ",", 1}};
        QTest::newRow("adjacent codes stay apart")
            << "%2C%2c" << QVector<CleanEdit>{{0, 3, ",", 0}, {3, 3, ",", 3}};
        QTest::newRow("two rules make one edit") << "x%253Dy" << QVector<CleanEdit>{{1, 5, "=", 1}};
        QTest::newRow("ampersand") << "a&b" << QVector<CleanEdit>{{1, 1, " " + CrLf, 1}};
        QTest::newRow("around a break") << "+" + CrLf + "%0D%0A"
                                        << QVector<CleanEdit>{{0, 1, " ", 0}, {3, 6, CrLf, 3}};
    }
    void editsAgainstTheOriginal()
    {
        QFETCH(QString, text);
        QFETCH(QVector<CleanEdit>, edits);
        const CleanPlan plan = cleanPlan(text, 0, 0);
        QCOMPARE(plan.edits.size(), edits.size());
        for (int i = 0; i < edits.size(); ++i) {
            QCOMPARE(plan.edits[i].position, edits[i].position);
            QCOMPARE(plan.edits[i].removed, edits[i].removed);
            QCOMPARE(plan.edits[i].text, edits[i].text);
            QCOMPARE(plan.edits[i].formatSource, edits[i].formatSource);
        }
    }

    // A single rule leaves the caret where the user had it when it finds
    // nothing, and searches only the selection in its pre-check.
    void rulesOtherThanTheTable_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("length");
        QTest::newRow("no match keeps the selection") << "q" << "Q" << "abcd" << 1 << 2 << "abcd" << 1 << 2;
        QTest::newRow("rest of a replacement is searched again")
            << "ab" << "xa" << "abbb" << 0 << 0 << "xxxa" << 4 << 0;
        QTest::newRow("first character of a replacement is not") << "ab" << "a" << "abb" << 0 << 0
                                                                   << "ab" << 1 << 0;
        QTest::newRow("deletion passes over the next character")
            << "a" << "" << "aaaa" << 0 << 0 << "aa" << 1 << 0;
        QTest::newRow("line break in the middle") << "-" << "x\ny" << "a-b" << 0 << 0
                                                  << "ax" + CrLf + "yb" << 5 << 0;
    }
    void rulesOtherThanTheTable()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, replacement);
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, expected);
        QFETCH(int, caret);
        QFETCH(int, length);
        const QVector<CleanRule> rules{{pattern, replacement}};
        const CleanResult reference = cleanReference(text, selStart, selLength, rules);
        QCOMPARE(reference.text, expected);
        QCOMPARE(reference.selStart, caret);
        QCOMPARE(reference.selLength, length);
        const CleanPlan plan = cleanPlan(text, selStart, selLength, rules);
        QCOMPARE(plan.text, expected);
        QCOMPARE(plan.selStart, caret);
        QCOMPARE(plan.selLength, length);
    }

    void modelCaretAvoidsTheInsideOfABreak()
    {
        TextControlModel model(QStringLiteral("ab\r\ncd"), 3, 0);
        QCOMPARE(model.SelStart(), 2);
        model.SetSel(1, 3);
        QCOMPARE(model.SelStart(), 1);
        QCOMPARE(model.SelLength(), 1);
        model.setSelStart(4);
        QCOMPARE(model.SelStart(), 4);
        // A search may start on the LF; it is not moved.
        QCOMPARE(model.Find(QStringLiteral("c"), 3), 4);
        QCOMPARE(model.SelLength(), 1);
    }
};

PAGEWELL_TEST_MAIN(TestClean)
#include "tst_clean.moc"
