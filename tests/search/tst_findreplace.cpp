// Find, Find Next, Replace, Replace Next and Replace All: the dialogs driven
// by short scripts, and the searches behind them against the text control's
// own Find done one step at a time.
#include "MainWindowFixture.h"
#include "PaintedDocument.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/CrLfText.h"
#include "document/DocumentSearch.h"
#include "document/LoadProgress.h"
#include "document/TextSearch.h"
#include "document/frmDocument.h"
#include "search/ReplaceAll.h"
#include "search/SearchState.h"
#include "search/SearchSteps.h"
#include "search/frmFind.h"
#include "search/frmReplace.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

using testsupport::MainWindowFixture;
using testsupport::WhenModal;

namespace {

void type(QLineEdit* box, const QString& text)
{
    box->clear();
    QTest::keyClicks(box, text);
}

// The Replace All button's loop, one Find and one SelText at a time. Returns
// Label3 after it, or -1 when the first search (from the caret) fails.
int literalReplaceAll(RichTextBox& box, const QString& what, const QString& replacement, int label3, int options)
{
    if (box.Find(what, -1, -1, options) == -1)
        return -1;
    for (int found; (found = box.Find(what, label3, -1, options)) != -1;) {
        box.setSelText(replacement);
        label3 = int(replacement.size()) + found;
    }
    return label3;
}

// The nearest match starting before `before`, by the control's forward Find.
int literalFindBackward(RichTextBox& box, const QString& what, int before, int options)
{
    for (int at = std::min(before, box.TextLength()) - 1; at >= 0; --at)
        if (box.Find(what, at, -1, options) == at)
            return at;
    return -1;
}

QVector<int> colours(const RichTextBox& box) { return testsupport::characterColours(*box.document()); }

QString pick(QRandomGenerator& rng, const QStringList& list) { return list[rng.bounded(int(list.size()))]; }

// Text and caret as a case sets them, every character in a colour of its own.
void prepare(RichTextBox& box, const QString& text, int selStart, int selLength)
{
    box.setText(text);
    testsupport::paintEachCharacter(*box.document());
    box.SetSel(selStart, selStart + selLength);
    box.EmptyUndoBuffer();
}

QString randomText(QRandomGenerator& rng)
{
    QString text;
    for (int n = rng.bounded(40); n > 0; --n)
        text += pick(rng, {"a", "A", "b", "ab", "aa", " ", " ", "_", "1", ".", "-", "\u00e9", "\u00c9", "\r\n", "\t",
                           "ba", " a ", " A.", "b. ", " aa ", "-a "});
    return text;
}

const QStringList Searches = {"a", "A", "a", "ab", "aa", "ba", "a a", "b.", "-a", ".", "\u00e9", "a_", "aba"};

}  // namespace

class TestFindReplace : public QObject {
    Q_OBJECT

    MainWindowFixture f;
    RichTextBox literal;
    RichTextBox onePass;

    // Steps, split by "|": "S:start,length" selects; "F<clicks>:text" the
    // Find dialog with check boxes (w, c) or Up (u) clicked, the text typed
    // and Find Next clicked; "X:text" typed and cancelled;
    // "R<clicks>:find>replacement:buttons" the Replace dialog with its boxes
    // filled and Find (f), Replace (r), Replace All (a) clicked or Label3 set
    // to a digit; "N" F3, "M" F4; "O" and "P" the Find or Replace dialog
    // opened and cancelled; "<step>:find>replacement" a step called directly
    // (f, r, n<start>: Find, Replace, Replace Next; u, d, p: Find up, down,
    // down passing the selection). The log holds, after each step, the text
    // (/ for a break), selection, messages, Label3 after a Replace step or
    // "=" and a direct step's result, and the box texts of a dialog a step
    // opened without filling it.
    QString run(const QString& script)
    {
        QStringList log;
        for (const QString& step : script.split(u'|')) {
            const QChar kind = step[0];
            const QString clicks = step.section(u':', 0, 0).mid(1), arg = step.section(u':', 1, 1);
            const int shown = int(f.prompts().size());
            QString note;
            WhenModal<frmFind> find([&](frmFind* d) {
                note = QStringLiteral(" [%1]").arg(d->txtFind->text());
                for (QChar c : clicks)
                    (c == u'w' ? d->chkWord : c == u'c' ? d->chkCase : static_cast<QAbstractButton*>(d->optUp))->click();
                if (kind == u'F' || kind == u'X')
                    type(d->txtFind, arg);
                (kind == u'F' ? d->cmdFind : d->Command2)->click();
            });
            WhenModal<frmReplace> replace([&](frmReplace* d) {
                note = QStringLiteral(" [%1>%2 %3]").arg(d->txtFind->text(), d->txtReplace->text()).arg(d->options());
                for (QChar c : clicks)
                    (c == u'w' ? d->chkWord : d->chkCase)->click();
                if (kind == u'R') {
                    type(d->txtFind, arg.section(u'>', 0, 0));
                    type(d->txtReplace, arg.section(u'>', 1));
                }
                for (QChar b : kind == u'R' ? step.section(u':', 2) : QString())
                    b.isDigit() ? d->Label3->setText(b) : (b == u'f' ? d->cmdFind : b == u'r' ? d->cmdReplace : d->cmdAll)->click();
                if (d->isVisible())
                    d->cmdCancel->click();
            });
            const int start = arg.section(u',', 0, 0).toInt();
            const QString what = arg.section(u'>', 0, 0), by = arg.section(u'>', 1);
            RichTextBox& t = *f.text();
            if (kind.isLower())
                note = " =" + QString::number(kind == u'f'   ? search::findStep(t, what, 0)
                                              : kind == u'r' ? search::replaceStep(t, what, by, 0)
                                              : kind == u'n' ? search::replaceNextStep(t, what, by, clicks.toInt(), 0)
                                                             : search::findInDirection(t, what, 0, kind == u'u' ? search::Direction::Up
                                                                                                                 : search::Direction::Down, kind == u'p'));
            else if (kind == u'S')
                t.SetSel(start, start + arg.section(u',', 1).toInt());
            else
                f.main->mnuFind_Click(QStringLiteral("0001223").at(QStringLiteral("FXONRPM").indexOf(kind)).digitValue());
            QString line = f.text()->Text().replace(QLatin1String("\r\n"), QLatin1String("/")) + u' '
                           + QString::number(f.text()->SelStart()) + u',' + QString::number(f.text()->SelLength());
            for (const QString& prompt : f.prompts().mid(shown))
                line += u'!' + prompt;
            const frmReplace* dialog = loadedReplaceDialog(*f.main);
            if (QStringLiteral("RPM").contains(kind))
                line += dialog ? " L" + dialog->Label3->text() : QStringLiteral(" unloaded");
            log << line + (kind != u'F' && kind != u'R' ? note : QString());
        }
        return log.join(QLatin1String(" ; "));
    }

private slots:
    void init()
    {
        f.start();
        SearchText.clear();
        SearchOptions = 0;
    }
    void cleanup() { f.stop(); }

    void dialogs_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("log");
        QTest::newRow("Find, then F3 until nothing is left, then F3 opens the dialog")
            << "abc abc" << "F:abc|N|N|N" << "abc abc 0,3 ; abc abc 4,3 ; abc abc 4,3!Cannot find \"abc\" ; abc abc 4,3 []";
        QTest::newRow("Find finds a selected match again") << "abc abc" << "S:0,3|F:abc|N|F:abc"
                                                           << "abc abc 0,3 ; abc abc 0,3 ; abc abc 4,3 ; abc abc 4,3";
        QTest::newRow("F3 passes one character") << "aaa" << "d:aa|p:aa" << "aaa 0,2 =0 ; aaa 1,2 =1";
        QTest::newRow("any case") << "xABC abc" << "F:abc" << "xABC abc 1,3";
        QTest::newRow("match case") << "xABC abc" << "Fc:abc" << "xABC abc 5,3";
        QTest::newRow("case on and off") << "xABC abc" << "Fcc:abc" << "xABC abc 1,3";
        QTest::newRow("part of a word") << "abcd abc" << "F:abc" << "abcd abc 0,3";
        QTest::newRow("whole word") << "abcd abc" << "Fw:abc" << "abcd abc 5,3";
        QTest::newRow("whole word and case") << "Abc abc" << "Fwc:abc" << "Abc abc 4,3";
        QTest::newRow("whole word on and off") << "abcd" << "Fww:abc" << "abcd 0,3";
        QTest::newRow("underscore, digit and hyphen") << "_abc abc1 abc-" << "Fw:abc|N"
                                                      << "_abc abc1 abc- 10,3 ; _abc abc1 abc- 10,3!Cannot find \"abc\"";
        QTest::newRow("line breaks end words") << "x\r\nabc\r\n" << "Fw:abc" << "x/abc/ 3,3";
        QTest::newRow("no wrap round") << "abc xyz" << "S:4,0|F:abc" << "abc xyz 4,0 ; abc xyz 4,0!Cannot find \"abc\"";
        QTest::newRow("up, then F3 follows") << "abc abc abc" << "S:11,0|Fu:abc|N|N|N"
                                             << "abc abc abc 11,0 ; abc abc abc 8,3 ; abc abc abc 4,3 ; abc abc abc 0,3 ; "
                                                "abc abc abc 0,3!Cannot find \"abc\"";
        QTest::newRow("up passes the selected match, then nothing is before")
            << "abc abc" << "S:4,3|u:abc|u:abc" << "abc abc 4,3 ; abc abc 0,3 =0 ; abc abc 0,3 =-1";
        QTest::newRow("up, a match may reach over the caret") << "aaaa" << "S:3,0|u:aa" << "aaaa 3,0 ; aaaa 2,2 =2";
        QTest::newRow("up, whole word") << "abc abcd xabc" << "S:13,0|Fuw:abc" << "abc abcd xabc 13,0 ; abc abcd xabc 0,3";
        QTest::newRow("the box takes a selection once") << "one two" << "S:4,3|O|S:0,3|O"
                                                        << "one two 4,3 ; one two 4,3 [two] ; one two 0,3 ; one two 0,3 [two]";
        QTest::newRow("a failure empties the box") << "abc" << "F:zzz|S:0,3|O"
                                                   << "abc 0,0!Cannot find \"zzz\" ; abc 0,3 ; abc 0,3 []";
        QTest::newRow("Cancel keeps the search text; a failure quotes the box")
            << "abc abc" << "F:abc|X:zzz|N|N|O"
            << "abc abc 0,3 ; abc abc 0,3 [abc] ; abc abc 4,3 ; abc abc 4,3!Cannot find \"zzz\" ; abc abc 4,3 []";
        // Replace All unloads the dialog, so that the next use starts afresh.
        QTest::newRow("Replace All") << "cat cat cat" << "R:cat>dog:a|S:0,3|P"
                                     << "dog dog dog 11,0 unloaded ; dog dog dog 0,3 ; dog dog dog 0,3 L0 [dog> 0]";
        QTest::newRow("Replace All, any case, over lines") << "Cat\r\ncAT" << "R:cat>dog:a" << "dog/dog 8,0 unloaded";
        QTest::newRow("Replace All, whole words") << "cat cats Cat _cat" << "Rw:cat>dog:a"
                                                  << "dog cats dog _cat 12,0 unloaded";
        QTest::newRow("Replace All, match case") << "cat cats Cat" << "Rc:cat>dog:a" << "dog dogs Cat 7,0 unloaded";
        QTest::newRow("Replace All's first search from the caret")
            << "cat cat x" << "S:8,0|R:cat>dog:a|P"
            << "cat cat x 8,0 ; cat cat x 8,0!Cannot find \"cat\" L0 ; cat cat x 8,0 L0 [cat>dog 0]";
        QTest::newRow("Replace All's loop starts at Label3") << "cat cat cat" << "R:cat>dog:ffa" << "cat cat dog 11,0 unloaded";
        QTest::newRow("a loop that replaces nothing") << "cat x cat" << "R:cat>dog:7a" << "cat x cat 0,3 unloaded";
        QTest::newRow("nothing to replace") << "abc" << "R:>x:ra" << "abc 0,0!Nothing to replace!!Nothing to replace! L0";
        QTest::newRow("Find, then Replace twice") << "cat cat cat" << "R:cat>dog:frr" << "dog dog cat 7,0 L5";
        QTest::newRow("Find from the caret, past a selected match, from inside one")
            << "cat cat cat" << "S:4,0|f:cat|f:cat|S:5,0|f:cat"
            << "cat cat cat 4,0 ; cat cat cat 4,3 =5 ; cat cat cat 8,3 =9 ; cat cat cat 5,0 ; cat cat cat 8,3 =9";
        QTest::newRow("Replace Next passes its start") << "cat cat" << "S:0,3|n1:cat>dog" << "cat cat 0,3 ; cat dog 7,0 =5";
        QTest::newRow("steps that find nothing") << "cat" << "n2:cat>x|r:dog>x|f:dog" << "cat 0,0 =0 ; cat 0,0 =0 ; cat 0,0 =0";
        QTest::newRow("a failed Find empties the find box") << "cat" << "R:dog>x:2f|P"
                                                            << "cat 0,0!Cannot find \"dog\" L0 ; cat 0,0 L0 [>x 0]";
        QTest::newRow("a failed Replace too") << "cat dog" << "S:4,0|R:cat>x:3r|P"
                                              << "cat dog 4,0 ; cat dog 4,0!Cannot find \"cat\" L0 ; cat dog 4,0 L0 [>x 0]";
        QTest::newRow("Cancel keeps everything, takes no new selection") << "cat cat" << "Rw:cat>dog:f|S:4,3|P"
                                                                         << "cat cat 0,3 L1 ; cat cat 4,3 ; cat cat 4,3 L1 [cat>dog 2]";
        QTest::newRow("F4 after a Find replaces the next match") << "xxxxxxxxxxcat cat" << "R:cat>dog:f|M"
                                                                 << "xxxxxxxxxxcat cat 10,3 L11 ; xxxxxxxxxxcat dog 17,0 L15";
        QTest::newRow("F4 until nothing is left, then F4 opens the dialog")
            << "a a" << "R:a>bb:|M|M|M|M"
            << "a a 0,0 L0 ; bb a 2,0 L1 ; bb bb 5,0 L4 ; bb bb 5,0!Cannot find \"a\" L0 ; bb bb 5,0 L0 [> 0]";
        QTest::newRow("F4 loads the dialog first") << "one two" << "S:4,3|M" << "one two 4,3 ; one two 4,3 L0 [two> 0]";
        QTest::newRow("F4 uses the check boxes") << "Cat cat" << "Rc:cat>dog:|M" << "Cat cat 0,0 L0 ; Cat dog 7,0 L5";
    }
    void dialogs()
    {
        QFETCH(QString, content);
        QFETCH(QString, script);
        QFETCH(QString, log);
        f.show(content);
        QCOMPARE(run(script), log);
        QCOMPARE(f.active()->Label1(), f.text()->Text() == content ? QString() : QStringLiteral("x"));
    }

    // Replace and Replace All are enabled by the boxes they need.
    void buttonsFollowTheBoxes()
    {
        f.show(QStringLiteral("one two"), 4, 3);
        WhenModal<frmReplace> replace([](frmReplace* dialog) {
            auto states = [dialog] {
                return QString::number(dialog->cmdFind->isEnabled()) + QString::number(dialog->cmdReplace->isEnabled())
                       + QString::number(dialog->cmdAll->isEnabled());
            };
            QCOMPARE(states(), QStringLiteral("100"));
            QVERIFY(dialog->cmdReplace->isDefault());
            QTest::keyClicks(dialog->txtReplace, QStringLiteral("b"));
            QCOMPARE(states(), QStringLiteral("111"));
            dialog->txtFind->selectAll();
            QTest::keyClick(dialog->txtFind, Qt::Key_Backspace);
            QCOMPARE(states(), QStringLiteral("011"));
            dialog->cmdCancel->click();
        });
        f.main->mnuFind_Click(2);
        QVERIFY(replace.answered());
        QVERIFY(f.prompts().isEmpty());
    }

    // The document searches read the stored text, in pieces once edits have
    // scattered it, against the same searches over Text(); and the backward
    // search against the control's forward Find tried at every position.
    void documentSearchesMatchTextSearches()
    {
        QRandomGenerator rng(41);
        const QStringList edits = {"a", "b.", "\n", "\u00e9a", " A"};
        for (int round = 0; round < 1500; ++round) {
            const QString text = randomText(rng), what = pick(rng, Searches + QStringList{"a\r\n", "\r"});
            literal.setText(text);
            for (int edit = rng.bounded(3); edit > 0; --edit) {
                QTextCursor cursor(literal.document());
                cursor.setPosition(rng.bounded(literal.document()->characterCount()));
                cursor.insertText(pick(rng, edits));
            }
            const QString all = literal.Text();
            const int length = int(all.size());
            const int start = rng.bounded(length + 3), end = rng.bounded(3) ? length : rng.bounded(length + 3);
            const int before = rng.bounded(length + 3), options = 2 * rng.bounded(4);
            const QByteArray context =
                QStringLiteral("%1 | %2 from %3 to %4 before %5 options %6").arg(all, what).arg(start).arg(end)
                    .arg(before).arg(options).toUtf8();
            QVERIFY2(all == withCrLfBreaks(literal.document()->toRawText()), context);
            QVERIFY2(textsearch::findInDocument(*literal.document(), what, start, end, options)
                         == textsearch::findForward(all, what, start, end, options), context);
            const int backward = textsearch::findBackwardInDocument(*literal.document(), what, before, options);
            QVERIFY2(backward == textsearch::findBackward(all, what, before, options), context);
            if (!what.contains(u'\r'))
                QVERIFY2(backward == literalFindBackward(literal, what, before, options), context);
        }
    }

    // Matches on either side of where one search window ends and the next
    // begins, in one stored piece and in two.
    void documentSearchesAcrossWindows_data()
    {
        QTest::addColumn<bool>("scattered");
        QTest::newRow("one piece") << false;
        QTest::newRow("two pieces") << true;
    }
    void documentSearchesAcrossWindows()
    {
        QFETCH(bool, scattered);
        constexpr int Seam = 1 << 20;
        const QString what = QStringLiteral("Needle");
        for (int at = Seam - 8; at <= Seam + 2; ++at) {
            QString text(Seam + 16, u'x');
            text.replace(at, what.size(), what);
            literal.setText(text);
            if (scattered) {  // the second half typed again elsewhere in the buffer
                QTextCursor cursor(literal.document());
                cursor.setPosition(Seam - 4);
                cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
                const QString tail = cursor.selectedText();
                cursor.insertText(tail);
            }
            for (const int options : {0, int(textsearch::WholeWord), int(textsearch::MatchCase)}) {
                const int whole = options == textsearch::WholeWord ? -1 : at;  // x on both sides
                QCOMPARE(textsearch::findInDocument(*literal.document(), what.toLower(), 0, literal.TextLength(), 0), at);
                QCOMPARE(textsearch::findInDocument(*literal.document(), what, at - 3, at + 5, options), -1);
                QCOMPARE(textsearch::findInDocument(*literal.document(), what, at, at + 6, options), whole);
                QCOMPARE(textsearch::findBackwardInDocument(*literal.document(), what, at + 1, options), whole);
                QCOMPARE(textsearch::findBackwardInDocument(*literal.document(), what, at, options), -1);
            }
        }
    }

    // A search through several windows paints between them, and meanwhile
    // counts as running, so that nothing reloads the text under it.
    void searchesPaintBetweenWindows_data()
    {
        QTest::addColumn<bool>("down");
        QTest::newRow("down") << true;
        QTest::newRow("up") << false;
    }
    void searchesPaintBetweenWindows()
    {
        QFETCH(bool, down);
        const int at = down ? 3 << 20 : 0;
        literal.setText(QString(3 << 20, u'x').insert(at, QStringLiteral("Needle")));
        const int caret = down ? 0 : literal.TextLength();
        literal.SetSel(caret, caret);
        const QScopedValueRollback<int> often(BusyPainting::EveryMs, 0);
        int turns = 0;
        QTimer ticks;
        connect(&ticks, &QTimer::timeout, [&] { turns += LoadProgress::anyRunning() ? 1 : 1000; });
        ticks.start(0);
        const int found = search::findInDirection(literal, QStringLiteral("needle"), 0,
                                                  down ? search::Direction::Down : search::Direction::Up, false);
        QCOMPARE(QString::number(found) + u',' + QString::number(turns), QString::number(at) + QStringLiteral(",3"));
        QVERIFY(!LoadProgress::anyRunning());
    }

    void replaceAllMatchesTheLiteralLoop_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 3u, 4u, 5u, 6u})
            QTest::addRow("seed %u", seed) << seed;
    }
    void replaceAllMatchesTheLiteralLoop()
    {
        QFETCH(quint32, seed);
        QRandomGenerator rng(seed);
        int replaced = 0, firstMissed = 0, loopMissed = 0, wholeWords = 0;
        for (int round = 0; round < 1000; ++round) {
            const QString text = randomText(rng), what = pick(rng, Searches);
            const QString replacement =
                pick(rng, {"", "a", "aa", "x", "b.", "_", "A", "-", "xyz", "ab", ".\u00e9", "\r\n", "a\r\nb"});
            const int length = int(text.size());
            const int label3 = rng.bounded(3) == 0 ? 0 : rng.bounded(length + 3);
            const int options = 2 * rng.bounded(4);
            const int selStart = rng.bounded(2) == 0 ? 0 : rng.bounded(length + 1);
            const int selLength = rng.bounded(4) == 0 ? rng.bounded(length - selStart + 1) : 0;
            prepare(literal, text, selStart, selLength);
            prepare(onePass, text, selStart, selLength);
            const QVector<int> before = colours(onePass);
            const int expected = literalReplaceAll(literal, what, replacement, label3, options);
            const int actual = search::replaceAllStep(onePass, what, replacement, label3, options);
            const QByteArray context = QStringLiteral("\"%1\" find \"%2\" replace \"%3\" label3 %4 options %5 sel %6,%7")
                                           .arg(text, what, replacement).arg(label3).arg(options).arg(selStart)
                                           .arg(selLength).toUtf8();
            QVERIFY2(actual == expected && onePass.Text() == literal.Text(), context + " gives " + onePass.Text().toUtf8());
            QVERIFY2(onePass.SelStart() == literal.SelStart() && onePass.SelLength() == literal.SelLength(), context);
            QVERIFY2(colours(onePass) == colours(literal) && onePass.CanUndo() == literal.CanUndo(), context);
            if (literal.CanUndo()) {  // all of it one step
                onePass.Undo();
                QVERIFY2(onePass.Text() == text && colours(onePass) == before && !onePass.CanUndo(), context);
                ++replaced;
                wholeWords += (options & textsearch::WholeWord) != 0;
            } else {
                ++(expected == -1 ? firstMissed : loopMissed);
            }
        }
        // The generator reaches every outcome.
        QVERIFY(replaced > 150 && wholeWords > 40 && firstMissed > 50 && loopMissed > 20);
    }

    // A replacement followed directly by a match is what the whole-word test
    // sees before that match; search texts with line breaks reach across
    // paragraphs; a replacement's line feed counts as CR LF.
    void replaceAllEdges_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<int>("options");
        QTest::addColumn<QString>("result");
        QTest::newRow("a word character before") << "-a-a" << "-a" << "x" << 2 << "x-a";
        QTest::newRow("a separator before") << "-a-a" << "-a" << "x." << 2 << "x.x.";
        QTest::newRow("empty replacements up to the start") << "-a-a-a" << "-a" << "" << 2 << "";
        QTest::newRow("empty replacement after a blank") << " -a-a" << "-a" << "" << 2 << " ";
        QTest::newRow("line break before") << "-a-a" << "-a" << "\r\n" << 2 << "\r\n\r\n";
        QTest::newRow("joins lines") << "a\r\nb\r\na\r\nb" << "a\r\nb" << "ab" << 0 << "ab\r\nab";
        QTest::newRow("breaks and joins") << "a\r\nb\r\nc" << "\r\n" << "-\r\n-" << 0 << "a-\r\n-b-\r\n-c";
        QTest::newRow("line feed alone") << "ab\r\ncd" << "\n" << "x" << 0 << "abxcd";
        QTest::newRow("a line feed replacement") << "b b" << "b" << "a\nb" << 0 << "a\r\nb a\r\nb";
    }
    void replaceAllEdges()
    {
        QFETCH(QString, text);
        QFETCH(QString, what);
        QFETCH(QString, replacement);
        QFETCH(int, options);
        QFETCH(QString, result);
        prepare(literal, text, 0, 0);
        prepare(onePass, text, 0, 0);
        const int expected = literalReplaceAll(literal, what, search::storedReplacement(replacement), 0, options);
        QCOMPARE(search::replaceAllStep(onePass, what, replacement, 0, options), expected);
        QCOMPARE(literal.Text(), result);
        QCOMPARE(onePass.Text() + QString::number(onePass.SelStart()), literal.Text() + QString::number(literal.SelStart()));
    }

    void paragraphFormatsStay()
    {
        onePass.setText(QStringLiteral("cat\r\ncat cat\r\ncat"));
        QTextBlockFormat tabs;
        tabs.setTabPositions({QTextOption::Tab(40, QTextOption::LeftTab)});
        QTextCursor(onePass.document()->findBlockByNumber(1)).setBlockFormat(tabs);
        search::replaceAllFrom(onePass, QStringLiteral("cat"), QStringLiteral("dog"), 0, 0);
        QCOMPARE(onePass.Text(), QStringLiteral("dog\r\ndog dog\r\ndog"));
        QList<int> stops;
        for (QTextBlock block = onePass.document()->begin(); block.isValid(); block = block.next())
            stops << int(block.blockFormat().tabPositions().size());
        QCOMPARE(stops, QList<int>({0, 1, 0}));
    }

    // Cancelled from its progress window, a long Replace All leaves the
    // text, the caret, the changed mark and the undo history as they were,
    // and the dialog open.
    void cancelledReplaceAll()
    {
        const QString text = QStringLiteral("needle hay\r\n").repeated(1'500'000);
        f.text()->setText(text);
        f.text()->EmptyUndoBuffer();
        f.active()->setLabel1(QString());
        f.text()->SetSel(3, 3);
        WhenModal<QProgressDialog> cancel([](QProgressDialog* progress) { progress->cancel(); });
        bool stayed = false;
        WhenModal<frmReplace> replace([&](frmReplace* d) {
            type(d->txtFind, QStringLiteral("needle"));
            type(d->txtReplace, QStringLiteral("pin"));
            d->cmdAll->click();
            stayed = d->isVisible();
            d->cmdCancel->click();
        });
        f.main->mnuFind_Click(2);
        QVERIFY(replace.answered() && cancel.answered() && stayed);
        QVERIFY(f.text()->Text() == text);
        QCOMPARE(QString::number(f.text()->SelStart()) + u',' + QString::number(f.text()->SelLength()) + f.active()->Label1()
                     + QString::number(f.text()->document()->isUndoAvailable()),
                 QStringLiteral("3,00"));
    }

    // A long Replace All is made in steps that paint between them; one Undo,
    // from the menu or the keyboard, still takes it all back, and typing
    // after it is undone on its own first.
    void longReplaceAllUndoesWhole_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("Edit, Undo") << false;
        QTest::newRow("Ctrl+Z") << true;
    }
    void longReplaceAllUndoesWhole()
    {
        QFETCH(bool, byKey);
        const QString text = QStringLiteral("needle hay\r\n").repeated(200'000);
        f.text()->setText(text);
        f.text()->EmptyUndoBuffer();
        f.text()->SetSel(0, 0);
        QVERIFY(search::replaceAllFrom(*f.text(), QStringLiteral("needle"), QStringLiteral("pin"), 0, 0) > 0);
        const QString replaced = f.text()->Text();
        QVERIFY(f.text()->document()->availableUndoSteps() > 2);  // else this tests one step
        f.text()->SetSel(replaced.size(), replaced.size());
        QTest::keyClicks(f.text(), QStringLiteral("!"));
        QStringList undone;
        for (int i = 0; i < 2; ++i) {
            if (byKey)
                QTest::keyClick(f.text(), Qt::Key_Z, Qt::ControlModifier);
            else
                f.text()->Undo();
            undone << (f.text()->Text() == replaced ? "replaced" : f.text()->Text() == text ? "original" : "other");
        }
        // Qt's Redo key brings it back whole too, and Undo takes it again.
        for (const auto key : {Qt::Key_Y, Qt::Key_Z}) {
            QTest::keyClick(f.text(), key, Qt::ControlModifier);
            undone << (f.text()->Text() == replaced ? "replaced" : f.text()->Text() == text ? "original" : "other");
        }
        QCOMPARE(undone, QStringList({"replaced", "original", "replaced", "original"}));
        QVERIFY(!f.text()->CanUndo());
    }

    // Linear in the text: half a million replacements over four megabytes.
    void manyMatchesInLinearTime()
    {
        QRandomGenerator rng(77);
        QString text;
        text.reserve(4'100'000);
        for (int word = 1; text.size() < 4'000'000; ++word)
            text += (rng.bounded(8) < 7 ? QLatin1String("needle ") : QLatin1String("hay ")) + QString(word % 10 ? "" : "\r\n");
        onePass.setText(text);
        onePass.EmptyUndoBuffer();
        QElapsedTimer timer;
        timer.start();
        const int next = search::replaceAllFrom(onePass, QStringLiteral("needle"), QStringLiteral("pin"), 0, 0);
        const qint64 elapsed = timer.elapsed();
        const QString replaced = QString(text).replace(QLatin1String("needle"), QLatin1String("pin"));
        QVERIFY(onePass.Text() == replaced && text.size() - replaced.size() > 3 * 450'000);
        QCOMPARE(next, int(replaced.lastIndexOf(QLatin1String("pin"))) + 3);
        QCOMPARE(onePass.SelStart(), next);
        // Generous for a loaded machine; the loop done literally takes hours.
        QVERIFY2(elapsed < 30'000, QByteArray::number(elapsed));
        onePass.Undo();
        QVERIFY(onePass.Text() == text);
    }
};

PAGEWELL_TEST_MAIN(TestFindReplace)
#include "tst_findreplace.moc"
