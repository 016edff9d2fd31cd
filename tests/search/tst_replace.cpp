// The Replace dialog: Find, Replace, Replace All, Replace Next and the
// resets after a failed search.
#include "SearchFixture.h"
#include "search/frmReplace.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace searchtest;

class TestReplace : public QObject {
    Q_OBJECT

    Fixture f;

    // Replace... with the dialog answered by `act`; true if it was shown.
    bool replaceWith(const std::function<void(frmReplace*)>& act)
    {
        WhenModal<frmReplace> answer(act);
        f.main->mnuFind_Click(2);
        return answer.answered();
    }

    // F4; true if it showed the dialog (answered by `act`, else cancelled).
    bool replaceNext(const std::function<void(frmReplace*)>& act = {})
    {
        WhenModal<frmReplace> answer([&](frmReplace* dialog) {
            if (act)
                act(dialog);
            else
                dialog->cmdCancel->click();
        });
        f.main->mnuFind_Click(3);
        return answer.answered();
    }

    static void type(QLineEdit* box, const QString& text)
    {
        box->clear();
        QTest::keyClicks(box, text);
    }

    static void fill(frmReplace* dialog, const QString& what, const QString& replacement)
    {
        type(dialog->txtFind, what);
        type(dialog->txtReplace, replacement);
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void replaceAllInAFreshDialog_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("label3");
        QTest::newRow("cat by dog") << "cat cat cat" << "cat" << "dog" << "dog dog dog" << "11";
        QTest::newRow("a by aa ends") << "aaa" << "a" << "aa" << "aaaaaa" << "6";
        QTest::newRow("longer by shorter") << "abab x ab" << "ab" << "-" << "-- x -" << "6";
        QTest::newRow("any case") << "Cat cAT" << "cat" << "dog" << "dog dog" << "7";
        QTest::newRow("over lines") << "cat\r\ncat\r\n" << "cat" << "dog" << "dog\r\ndog\r\n" << "8";
    }
    void replaceAllInAFreshDialog()
    {
        QFETCH(QString, content);
        QFETCH(QString, what);
        QFETCH(QString, replacement);
        QFETCH(QString, result);
        QFETCH(QString, label3);
        f.open(content);
        QPointer<frmReplace> used;
        QVERIFY(replaceWith([&](frmReplace* dialog) {
            used = dialog;
            QCOMPARE(dialog->Label3->text(), QStringLiteral("0"));
            fill(dialog, what, replacement);
            QVERIFY(dialog->cmdAll->isEnabled());
            dialog->cmdAll->click();
            QCOMPARE(dialog->Label3->text(), label3);
        }));
        QCOMPARE(f.text->Text(), result);
        QCOMPARE(f.selection(), qMakePair(int(label3.toInt()), 0));
        QCOMPARE(f.shownCount(), 0);
        QCOMPARE(f.document->Label1(), QStringLiteral("x"));
        // Unloaded: the next use starts afresh.
        QVERIFY(!loadedReplaceDialog(*f.main));
        QVERIFY(!used || !used->isVisible());
        f.text->SetSel(0, 3);
        QVERIFY(replaceWith([&](frmReplace* dialog) {
            QVERIFY(dialog != used.data());
            QCOMPARE(dialog->txtFind->text(), result.left(3));
            QCOMPARE(dialog->txtReplace->text(), QString());
            QCOMPARE(dialog->Label3->text(), QStringLiteral("0"));
            dialog->cmdCancel->click();
        }));
    }

    void replaceAllIsOneUndoStep()
    {
        f.open(QStringLiteral("cat cat cat"));
        replaceWith([](frmReplace* dialog) {
            fill(dialog, QStringLiteral("cat"), QStringLiteral("dog"));
            dialog->cmdAll->click();
        });
        QCOMPARE(f.text->Text(), QStringLiteral("dog dog dog"));
        QVERIFY(f.text->CanUndo());
        f.text->Undo();
        QCOMPARE(f.text->Text(), QStringLiteral("cat cat cat"));
        QVERIFY(!f.text->CanUndo());
    }

    // With the caret after the last occurrence, the first search finds nothing.
    void replaceAllFirstSearchFromTheCaret()
    {
        f.open(QStringLiteral("cat cat x"), 8);
        QVERIFY(replaceWith([](frmReplace* dialog) {
            fill(dialog, QStringLiteral("cat"), QStringLiteral("dog"));
            dialog->cmdAll->click();
            QVERIFY(dialog->isVisible());  // stays open, unchanged
            QCOMPARE(dialog->txtFind->text(), QStringLiteral("cat"));
            QVERIFY(dialog->cmdAll->isEnabled());
            dialog->cmdCancel->click();
        }));
        QCOMPARE(f.lastShown().prompt, notFoundText(QStringLiteral("cat")));
        QCOMPARE(f.lastShown().style, int(vb::vbInformation));
        QCOMPARE(f.text->Text(), QStringLiteral("cat cat x"));
        QCOMPARE(f.selection(), qMakePair(8, 0));
        QVERIFY(loadedReplaceDialog(*f.main));
    }

    // The loop starts at Label3 (one past the last Find), not at the caret.
    void replaceAllStartsAtLabel3()
    {
        f.open(QStringLiteral("cat cat cat"));
        replaceWith([](frmReplace* dialog) {
            fill(dialog, QStringLiteral("cat"), QStringLiteral("dog"));
            dialog->cmdFind->click();
            dialog->cmdFind->click();
            QCOMPARE(dialog->Label3->text(), QStringLiteral("5"));
            dialog->cmdAll->click();
        });
        QCOMPARE(f.text->Text(), QStringLiteral("cat cat dog"));
        QCOMPARE(f.selection(), qMakePair(11, 0));
    }

    // The first search selects its match; a loop that replaces nothing leaves it.
    void replaceAllWhoseLoopFindsNothing()
    {
        f.open(QStringLiteral("cat x cat"));
        replaceWith([](frmReplace* dialog) {
            fill(dialog, QStringLiteral("cat"), QStringLiteral("dog"));
            dialog->Label3->setText(QStringLiteral("7"));
            dialog->cmdAll->click();
        });
        QCOMPARE(f.text->Text(), QStringLiteral("cat x cat"));
        QCOMPARE(f.selection(), qMakePair(0, 3));
        QVERIFY(!loadedReplaceDialog(*f.main));
    }

    void replaceAllWithOptions_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<bool>("word");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<QString>("result");
        QTest::newRow("whole words") << "cat cats Cat _cat" << true << false << "dog cats dog _cat";
        QTest::newRow("match case") << "cat cats Cat" << false << true << "dog dogs Cat";
        QTest::newRow("both") << "cat cats Cat" << true << true << "dog cats Cat";
    }
    void replaceAllWithOptions()
    {
        QFETCH(QString, content);
        QFETCH(bool, word);
        QFETCH(bool, matchCase);
        QFETCH(QString, result);
        f.open(content);
        replaceWith([&](frmReplace* dialog) {
            fill(dialog, QStringLiteral("cat"), QStringLiteral("dog"));
            if (word)
                dialog->chkWord->click();
            if (matchCase)
                dialog->chkCase->click();
            QCOMPARE(dialog->options(), (word ? 2 : 0) + (matchCase ? 4 : 0));
            dialog->cmdAll->click();
        });
        QCOMPARE(f.text->Text(), result);
    }

    void nothingToReplace_data()
    {
        QTest::addColumn<bool>("all");
        QTest::newRow("Replace") << false;
        QTest::newRow("Replace All") << true;
    }
    void nothingToReplace()
    {
        QFETCH(bool, all);
        f.open(QStringLiteral("abc"));
        replaceWith([&](frmReplace* dialog) {
            type(dialog->txtReplace, QStringLiteral("x"));
            (all ? dialog->cmdAll : dialog->cmdReplace)->click();
            QVERIFY(dialog->isVisible());
            dialog->cmdCancel->click();
        });
        QCOMPARE(f.shownCount(), 1);
        QCOMPARE(f.lastShown().prompt, QStringLiteral("Nothing to replace!"));
        QCOMPARE(f.lastShown().style, int(vb::vbExclamation));
        QCOMPARE(f.lastShown().title, QStringLiteral("Pagewell"));
        QCOMPARE(f.text->Text(), QStringLiteral("abc"));
    }

    // Find selects, Replace replaces that match, the next Replace the next one.
    void findThenReplace()
    {
        f.open(QStringLiteral("cat cat cat"));
        replaceWith([this](frmReplace* dialog) {
            fill(dialog, QStringLiteral("cat"), QStringLiteral("dog"));
            dialog->cmdFind->click();
            QCOMPARE(f.selection(), qMakePair(0, 3));
            QCOMPARE(dialog->Label3->text(), QStringLiteral("1"));
            dialog->cmdReplace->click();
            QCOMPARE(dialog->Label3->text(), QStringLiteral("1"));
            dialog->cmdReplace->click();
            QCOMPARE(dialog->Label3->text(), QStringLiteral("5"));
            QVERIFY(dialog->isVisible());
            dialog->cmdCancel->click();
        });
        QCOMPARE(f.text->Text(), QStringLiteral("dog dog cat"));
        QCOMPARE(f.selection(), qMakePair(7, 0));
    }

    // Find passes over a selection; Replace searches from the caret.
    void findStartsAfterASelection_data()
    {
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<int>("found");
        QTest::newRow("caret on a match") << 4 << 0 << 4;
        QTest::newRow("the match selected") << 4 << 3 << 8;
        QTest::newRow("one character selected") << 4 << 1 << 8;
        QTest::newRow("caret in a match") << 5 << 0 << 8;
    }
    void findStartsAfterASelection()
    {
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(int, found);
        f.open(QStringLiteral("cat cat cat"), selStart, selLength);
        replaceWith([&](frmReplace* dialog) {
            type(dialog->txtFind, QStringLiteral("cat"));
            dialog->cmdFind->click();
            QCOMPARE(dialog->Label3->text(), QString::number(found + 1));
            dialog->cmdCancel->click();
        });
        QCOMPARE(f.selection(), qMakePair(found, 3));
    }

    void failedFindResets()
    {
        f.open(QStringLiteral("cat"));
        replaceWith([](frmReplace* dialog) {
            fill(dialog, QStringLiteral("dog"), QStringLiteral("x"));
            dialog->Label3->setText(QStringLiteral("2"));
            dialog->cmdFind->click();
            QVERIFY(!dialog->isVisible());
        });
        QCOMPARE(f.lastShown().prompt, notFoundText(QStringLiteral("dog")));
        frmReplace* dialog = loadedReplaceDialog(*f.main);
        QVERIFY(dialog);
        QCOMPARE(dialog->Label3->text(), QStringLiteral("0"));
        QCOMPARE(dialog->txtFind->text(), QString());
        QCOMPARE(dialog->txtReplace->text(), QStringLiteral("x"));
        QVERIFY(!dialog->cmdFind->isEnabled() && !dialog->cmdReplace->isEnabled() && !dialog->cmdAll->isEnabled());
    }

    void failedReplaceResets()
    {
        f.open(QStringLiteral("cat dog"), 4);
        replaceWith([](frmReplace* dialog) {
            fill(dialog, QStringLiteral("cat"), QStringLiteral("x"));
            dialog->Label3->setText(QStringLiteral("3"));
            dialog->cmdReplace->click();
            QVERIFY(!dialog->isVisible());
        });
        QCOMPARE(f.text->Text(), QStringLiteral("cat dog"));
        QCOMPARE(f.lastShown().prompt, notFoundText(QStringLiteral("cat")));
        frmReplace* dialog = loadedReplaceDialog(*f.main);
        QCOMPARE(dialog->Label3->text(), QStringLiteral("0"));
        QCOMPARE(dialog->txtFind->text(), QString());
        QVERIFY(!dialog->cmdFind->isEnabled() && !dialog->cmdReplace->isEnabled() && !dialog->cmdAll->isEnabled());
    }

    // Hidden by Cancel: texts, boxes and Label3 persist; no new selection taken.
    void cancelKeepsEverything()
    {
        f.open(QStringLiteral("cat cat"));
        QPointer<frmReplace> first;
        replaceWith([&](frmReplace* dialog) {
            first = dialog;
            fill(dialog, QStringLiteral("cat"), QStringLiteral("dog"));
            dialog->chkWord->click();
            dialog->cmdFind->click();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QVERIFY(first && !first->isVisible());
        QCOMPARE(first->parent(), f.main.get());
        f.text->SetSel(4, 7);
        replaceWith([&](frmReplace* dialog) {
            QCOMPARE(dialog, first.data());
            QCOMPARE(dialog->txtFind->text(), QStringLiteral("cat"));
            QCOMPARE(dialog->txtReplace->text(), QStringLiteral("dog"));
            QVERIFY(dialog->chkWord->isChecked());
            QCOMPARE(dialog->Label3->text(), QStringLiteral("1"));
            dialog->cmdCancel->click();
        });
        f.main.reset();
        QVERIFY(!first);
    }

    void buttonsFollowTheBoxes()
    {
        f.open(QStringLiteral("abc"));
        replaceWith([](frmReplace* dialog) {
            QVERIFY(!dialog->cmdFind->isEnabled() && !dialog->cmdReplace->isEnabled() && !dialog->cmdAll->isEnabled());
            QVERIFY(dialog->cmdReplace->isDefault());
            QTest::keyClicks(dialog->txtFind, QStringLiteral("a"));
            QVERIFY(dialog->cmdFind->isEnabled());
            QVERIFY(!dialog->cmdReplace->isEnabled() && !dialog->cmdAll->isEnabled());
            QTest::keyClicks(dialog->txtReplace, QStringLiteral("b"));
            QVERIFY(dialog->cmdReplace->isEnabled() && dialog->cmdAll->isEnabled());
            QTest::keyClick(dialog->txtReplace, Qt::Key_Backspace);
            QVERIFY(!dialog->cmdReplace->isEnabled() && !dialog->cmdAll->isEnabled());
            QTest::keyClick(dialog->txtFind, Qt::Key_Backspace);
            QVERIFY(!dialog->cmdFind->isEnabled());
            dialog->cmdCancel->click();
        });
    }

    void loadTakesTheSelection()
    {
        f.open(QStringLiteral("one two"), 4, 3);
        replaceWith([](frmReplace* dialog) {
            QCOMPARE(dialog->txtFind->text(), QStringLiteral("two"));
            QVERIFY(dialog->cmdFind->isEnabled());
            QVERIFY(!dialog->cmdReplace->isEnabled());
            dialog->txtFind->deselect();
            dialog->txtFind_GotFocus();
            QCOMPARE(dialog->txtFind->selectedText(), QStringLiteral("two"));
            dialog->cmdCancel->click();
        });
    }

    // After a Find at 10, F4 searches from 11: the match at 10 stays.
    void replaceNextStartsAfterTheFoundMatch()
    {
        f.open(QStringLiteral("xxxxxxxxxxcat cat"));
        replaceWith([](frmReplace* dialog) {
            fill(dialog, QStringLiteral("cat"), QStringLiteral("dog"));
            dialog->cmdFind->click();
            QCOMPARE(dialog->Label3->text(), QStringLiteral("11"));
            dialog->cmdCancel->click();
        });
        QVERIFY(!replaceNext());
        QCOMPARE(f.text->Text(), QStringLiteral("xxxxxxxxxxcat dog"));
        QCOMPARE(loadedReplaceDialog(*f.main)->Label3->text(), QStringLiteral("15"));
        QCOMPARE(f.selection(), qMakePair(17, 0));
    }

    void replaceNextUntilNothingIsLeft()
    {
        f.open(QStringLiteral("a a"));
        replaceWith([](frmReplace* dialog) {
            fill(dialog, QStringLiteral("a"), QStringLiteral("bb"));
            dialog->cmdCancel->click();
        });
        QVERIFY(!replaceNext());
        QCOMPARE(f.text->Text(), QStringLiteral("bb a"));
        QVERIFY(!replaceNext());
        QCOMPARE(f.text->Text(), QStringLiteral("bb bb"));
        QCOMPARE(f.shownCount(), 0);
        QVERIFY(!replaceNext());
        QCOMPARE(f.lastShown().prompt, notFoundText(QStringLiteral("a")));
        frmReplace* dialog = loadedReplaceDialog(*f.main);
        QCOMPARE(dialog->Label3->text(), QStringLiteral("0"));
        QCOMPARE(dialog->txtFind->text(), QString());
        QCOMPARE(dialog->txtReplace->text(), QString());
        QVERIFY(!dialog->cmdFind->isEnabled() && !dialog->cmdReplace->isEnabled() && !dialog->cmdAll->isEnabled());
        QVERIFY(!dialog->isVisible());
        // With the replacement gone, F4 opens the dialog.
        QVERIFY(replaceNext());
        QCOMPARE(f.shownCount(), 1);
    }

    void replaceNextLoadsTheDialogFirst()
    {
        f.open(QStringLiteral("one two"), 4, 3);
        QVERIFY(!loadedReplaceDialog(*f.main));
        QVERIFY(replaceNext([](frmReplace* dialog) {
            QCOMPARE(dialog->txtFind->text(), QStringLiteral("two"));
            type(dialog->txtReplace, QStringLiteral("2"));
            dialog->cmdCancel->click();
        }));
        QCOMPARE(f.text->Text(), QStringLiteral("one two"));
        f.text->setSelStart(0);
        QVERIFY(!replaceNext());
        QCOMPARE(f.text->Text(), QStringLiteral("one 2"));
    }

    void replaceNextUsesTheBoxes()
    {
        f.open(QStringLiteral("Cat cat"));
        replaceWith([](frmReplace* dialog) {
            fill(dialog, QStringLiteral("cat"), QStringLiteral("dog"));
            dialog->chkCase->click();
            dialog->cmdCancel->click();
        });
        replaceNext();
        QCOMPARE(f.text->Text(), QStringLiteral("Cat dog"));
    }

    // A match far into a long document is found and replaced like one at the start.
    void replaceNextFarIntoTheText()
    {
        QString content(100000, u'x');
        content.replace(50000, 3, QStringLiteral("cat"));
        f.open(content);
        replaceWith([](frmReplace* dialog) {
            fill(dialog, QStringLiteral("cat"), QStringLiteral("dog"));
            dialog->cmdCancel->click();
        });
        replaceNext();
        QCOMPARE(f.text->Text().mid(49999, 5), QStringLiteral("xdogx"));
        QCOMPARE(f.text->TextLength(), 100000);
        QCOMPARE(loadedReplaceDialog(*f.main)->Label3->text(), QStringLiteral("50001"));
        QCOMPARE(f.selection(), qMakePair(50003, 0));
    }

    // A replacement takes the format of the first character it replaces.
    void replacementTakesTheMatchFormat()
    {
        f.open(QStringLiteral("a cat b"));
        f.text->SetSel(2, 3);
        f.text->setSelBold(true);
        f.text->SetSel(0, 0);
        replaceWith([](frmReplace* dialog) {
            fill(dialog, QStringLiteral("cat"), QStringLiteral("dog"));
            dialog->cmdAll->click();
        });
        QCOMPARE(f.text->Text(), QStringLiteral("a dog b"));
        for (int i = 0; i < 7; ++i) {
            f.text->SetSel(i, i + 1);
            QCOMPARE(f.text->SelBold(), i >= 2 && i < 5);
        }
    }
};

PAGEWELL_TEST_MAIN(TestReplace)
#include "tst_replace.moc"
