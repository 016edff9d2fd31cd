// The Find dialog, Find Next and the Search menu's enabled states.
#include "SearchFixture.h"
#include "app/PointerPlacement.h"
#include "search/frmFind.h"

#include <QAction>
#include <QCheckBox>
#include <QCursor>
#include <QLineEdit>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace searchtest;

class TestFind : public QObject {
    Q_OBJECT

    Fixture f;

    // Find... with the dialog answered by `act`.
    void findWith(const std::function<void(frmFind*)>& act)
    {
        WhenModal<frmFind> answer(act);
        f.main->mnuFind_Click(0);
        QVERIFY2(answer.answered(), "the Find dialog did not open");
    }

    // Types `what` into the dialog's box as a user would and clicks Find Next.
    static void typeAndSearch(frmFind* dialog, const QString& what)
    {
        dialog->txtFind->clear();
        QTest::keyClicks(dialog->txtFind, what);
        QVERIFY(dialog->cmdFind->isEnabled());
        dialog->cmdFind->click();
    }

    void searchFromDialog(const QString& what)
    {
        findWith([&](frmFind* dialog) { typeAndSearch(dialog, what); });
    }

    // F3; returns whether it opened the dialog (which is then cancelled).
    bool findNext()
    {
        WhenModal<frmFind> answer([](frmFind* dialog) { dialog->Command2->click(); });
        f.main->mnuFind_Click(1);
        return answer.answered();
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void menuStates_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<bool>("withDocument");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("empty document") << "" << true << false;
        QTest::newRow("one character") << "x" << true << true;
        QTest::newRow("only a line break") << "\r\n" << true << true;
        QTest::newRow("no document") << "" << false << false;
    }
    void menuStates()
    {
        QFETCH(QString, content);
        QFETCH(bool, withDocument);
        QFETCH(bool, enabled);
        f.main->mnuSearch_Click();
        f.open(content);
        if (!withDocument) {
            f.main->mdiArea->closeAllSubWindows();
            QApplication::processEvents();
            QVERIFY(!f.main->ActiveDocument());
        }
        // Start from the opposite state, so that every item must change.
        for (QAction* item : f.main->mnuFind)
            item->setEnabled(!enabled);
        f.main->mnuSearch_Click();
        for (int index : {0, 1, 2, 3, 5, 7, 8})
            QVERIFY2(f.main->mnuFind[size_t(index)]->isEnabled() == enabled, qPrintable(QString::number(index)));
    }

    // abc abc: the dialog finds 0-2, F3 4-6, F3 reports, the next F3 opens the dialog.
    void dialogThenFindNextUntilNothingIsLeft()
    {
        f.open(QStringLiteral("abc abc"));
        searchFromDialog(QStringLiteral("abc"));
        QCOMPARE(f.selection(), qMakePair(0, 3));
        QCOMPARE(SearchText, QStringLiteral("abc"));
        QCOMPARE(f.shownCount(), 0);

        QVERIFY(!findNext());
        QCOMPARE(f.selection(), qMakePair(4, 3));

        QVERIFY(!findNext());
        QCOMPARE(f.shownCount(), 1);
        QCOMPARE(f.lastShown().prompt, notFoundText(QStringLiteral("abc")));
        QCOMPARE(f.lastShown().style, int(vb::vbInformation));
        QCOMPARE(f.lastShown().title, QStringLiteral("Pagewell"));
        QCOMPARE(f.selection(), qMakePair(4, 3));  // a failed search leaves the selection
        frmFind* dialog = loadedFindDialog(*f.main);
        QVERIFY(dialog);
        QCOMPARE(dialog->txtFind->text(), QString());
        QVERIFY(!dialog->cmdFind->isEnabled());
        QCOMPARE(SearchText, QString());

        QVERIFY(findNext());
        QCOMPARE(f.shownCount(), 1);
    }

    // The dialog starts at SelStart itself; F3 one further.
    void dialogFindsTheSelectedMatchAgain()
    {
        f.open(QStringLiteral("abc abc"), 0, 3);
        searchFromDialog(QStringLiteral("abc"));
        QCOMPARE(f.selection(), qMakePair(0, 3));
        findNext();
        QCOMPARE(f.selection(), qMakePair(4, 3));
        searchFromDialog(QStringLiteral("abc"));
        QCOMPARE(f.selection(), qMakePair(4, 3));
    }

    void findNextPassesOneCharacter()
    {
        // "aa" at the caret is passed over, the overlapping one at 1 is not.
        f.open(QStringLiteral("aaa"));
        searchFromDialog(QStringLiteral("aa"));
        QCOMPARE(f.selection(), qMakePair(0, 2));
        findNext();
        QCOMPARE(f.selection(), qMakePair(1, 2));
    }

    void searchOptions_data()
    {
        QTest::addColumn<QString>("clicks");  // w: chkWord, c: chkCase
        QTest::addColumn<int>("options");
        QTest::newRow("case") << "c" << 4;
        QTest::newRow("word") << "w" << 2;
        QTest::newRow("case and word") << "cw" << 6;
        QTest::newRow("both, then both off") << "cwcw" << 0;
        QTest::newRow("case on and off") << "cc" << 0;
    }
    void searchOptions()
    {
        QFETCH(QString, clicks);
        QFETCH(int, options);
        f.open(QStringLiteral("abc"));
        SearchOptions = 99;
        findWith([&](frmFind* dialog) {
            QCOMPARE(SearchOptions, qint16(0));  // the load resets them
            for (QChar click : clicks)
                (click == u'w' ? dialog->chkWord : dialog->chkCase)->click();
            dialog->Command2->click();
        });
        QCOMPARE(int(SearchOptions), options);
    }

    void optionsReachTheSearch_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("word");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<int>("found");
        QTest::newRow("any case") << "xABC abc" << "abc" << false << false << 1;
        QTest::newRow("match case") << "xABC abc" << "abc" << false << true << 5;
        QTest::newRow("part of a word") << "abcd abc" << "abc" << false << false << 0;
        QTest::newRow("whole word") << "abcd abc" << "abc" << true << false << 5;
        QTest::newRow("underscore is a word character") << "_abc abc" << "abc" << true << false << 5;
        QTest::newRow("digit is a word character") << "abc1 abc" << "abc" << true << false << 5;
        QTest::newRow("hyphen ends a word") << "abc-d abc" << "abc" << true << false << 0;
        QTest::newRow("line break ends a word") << "x\r\nabc\r\n" << "abc" << true << false << 3;
        QTest::newRow("whole word and case") << "Abc abc" << "abc" << true << true << 4;
        QTest::newRow("not found") << "abcd" << "abc" << true << false << -1;
    }
    void optionsReachTheSearch()
    {
        QFETCH(QString, content);
        QFETCH(QString, what);
        QFETCH(bool, word);
        QFETCH(bool, matchCase);
        QFETCH(int, found);
        f.open(content);
        findWith([&](frmFind* dialog) {
            if (word)
                dialog->chkWord->click();
            if (matchCase)
                dialog->chkCase->click();
            typeAndSearch(dialog, what);
        });
        if (found < 0) {
            QCOMPARE(f.lastShown().prompt, notFoundText(what));
            QCOMPARE(f.selection(), qMakePair(0, 0));
        } else {
            QCOMPARE(f.shownCount(), 0);
            QCOMPARE(f.selection(), qMakePair(found, int(what.size())));
        }
    }

    // Searches run toward the end only and never wrap round.
    void noWrapRound()
    {
        f.open(QStringLiteral("abc xyz"), 4);
        searchFromDialog(QStringLiteral("abc"));
        QCOMPARE(f.lastShown().prompt, notFoundText(QStringLiteral("abc")));
        QCOMPARE(f.selection(), qMakePair(4, 0));
    }

    void upSearchesBackward_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("word");
        QTest::addColumn<int>("found");
        QTest::newRow("from the end") << "abc abc abc" << 11 << 0 << "abc" << false << 8;
        QTest::newRow("passes the selected match") << "abc abc abc" << 8 << 3 << "abc" << false << 4;
        QTest::newRow("caret inside a match") << "abc abc" << 5 << 0 << "abc" << false << 4;
        QTest::newRow("a match may reach over the caret") << "aaaa" << 3 << 0 << "aa" << false << 2;
        QTest::newRow("whole word") << "abc abcd xabc" << 13 << 0 << "abc" << true << 0;
        QTest::newRow("any case") << "ABC abc" << 4 << 0 << "abc" << false << 0;
        QTest::newRow("nothing before") << "abc abc" << 0 << 0 << "abc" << false << -1;
        QTest::newRow("over a line break") << "abc\r\nx" << 6 << 0 << "abc" << false << 0;
    }
    void upSearchesBackward()
    {
        QFETCH(QString, content);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, what);
        QFETCH(bool, word);
        QFETCH(int, found);
        f.open(content, selStart, selLength);
        findWith([&](frmFind* dialog) {
            dialog->optUp->click();
            if (word)
                dialog->chkWord->click();
            typeAndSearch(dialog, what);
        });
        if (found < 0) {
            QCOMPARE(f.lastShown().prompt, notFoundText(what));
            QCOMPARE(f.selection(), qMakePair(selStart, selLength));
        } else {
            QCOMPARE(f.shownCount(), 0);
            QCOMPARE(f.selection(), qMakePair(found, int(what.size())));
        }
    }

    void findNextFollowsUp()
    {
        f.open(QStringLiteral("abc abc abc"), 11);
        findWith([](frmFind* dialog) {
            dialog->optUp->click();
            typeAndSearch(dialog, QStringLiteral("abc"));
        });
        QCOMPARE(f.selection(), qMakePair(8, 3));
        findNext();
        QCOMPARE(f.selection(), qMakePair(4, 3));
        findNext();
        QCOMPARE(f.selection(), qMakePair(0, 3));
        findNext();
        QCOMPARE(f.lastShown().prompt, notFoundText(QStringLiteral("abc")));
        QCOMPARE(f.selection(), qMakePair(0, 3));
    }

    void loadTakesTheSelectionOnce()
    {
        f.open(QStringLiteral("one two three"), 4, 3);
        findWith([](frmFind* dialog) {
            QCOMPARE(dialog->txtFind->text(), QStringLiteral("two"));
            QVERIFY(dialog->cmdFind->isEnabled());
            dialog->Command2->click();
        });
        f.text->SetSel(8, 13);
        findWith([](frmFind* dialog) {
            QCOMPARE(dialog->txtFind->text(), QStringLiteral("two"));
            dialog->Command2->click();
        });
    }

    void loadWithoutSelection()
    {
        f.open(QStringLiteral("one two"), 2);
        findWith([](frmFind* dialog) {
            QCOMPARE(dialog->txtFind->text(), QString());
            QVERIFY(!dialog->cmdFind->isEnabled());
            QVERIFY(dialog->optDown->isChecked());
            QVERIFY(!dialog->optUp->isChecked());
            QVERIFY(!dialog->chkWord->isChecked() && !dialog->chkCase->isChecked());
            dialog->Command2->click();
        });
    }

    void failureEmptiesTheBoxForTheNextOpening()
    {
        f.open(QStringLiteral("abc"));
        searchFromDialog(QStringLiteral("zzz"));
        QVERIFY(!loadedFindDialog(*f.main)->isVisible());
        f.text->SetSel(0, 3);
        findWith([](frmFind* dialog) {
            QCOMPARE(dialog->txtFind->text(), QString());
            QVERIFY(!dialog->cmdFind->isEnabled());
            dialog->Command2->click();
        });
    }

    // Cancel leaves SearchText; a later failure quotes the box's new text.
    void cancelKeepsTheSearchText()
    {
        f.open(QStringLiteral("abc abc abc"));
        searchFromDialog(QStringLiteral("abc"));
        findWith([](frmFind* dialog) {
            dialog->txtFind->clear();
            QTest::keyClicks(dialog->txtFind, QStringLiteral("zzz"));
            dialog->Command2->click();
        });
        QCOMPARE(SearchText, QStringLiteral("abc"));
        findNext();
        QCOMPARE(f.selection(), qMakePair(4, 3));
        findNext();
        QCOMPARE(f.selection(), qMakePair(8, 3));
        findNext();
        QCOMPARE(f.lastShown().prompt, notFoundText(QStringLiteral("zzz")));
        QCOMPARE(SearchText, QString());
    }

    void escapeHidesAndKeepsTheDialog()
    {
        f.open(QStringLiteral("abc"));
        QPointer<frmFind> first;
        findWith([&](frmFind* dialog) {
            first = dialog;
            QTest::keyClicks(dialog->txtFind, QStringLiteral("ab"));
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QVERIFY(first);
        QVERIFY(!first->isVisible());
        QCOMPARE(first->parent(), f.main.get());
        QCOMPARE(SearchText, QString());
        findWith([&](frmFind* dialog) {
            QCOMPARE(dialog, first.data());
            QCOMPARE(dialog->txtFind->text(), QStringLiteral("ab"));
            dialog->Command2->click();
        });
        // The hidden dialog goes with the main window.
        f.main.reset();
        QVERIFY(!first);
    }

    void enterSearches()
    {
        f.open(QStringLiteral("x abc"));
        findWith([](frmFind* dialog) {
            QTest::keyClicks(dialog->txtFind, QStringLiteral("abc"));
            QTest::keyClick(dialog->txtFind, Qt::Key_Return);
        });
        QCOMPARE(f.selection(), qMakePair(2, 3));
    }

    void findNextButtonFollowsTheBox()
    {
        f.open(QStringLiteral("abc"));
        findWith([](frmFind* dialog) {
            QTest::keyClicks(dialog->txtFind, QStringLiteral("a"));
            QVERIFY(dialog->cmdFind->isEnabled());
            QTest::keyClick(dialog->txtFind, Qt::Key_Backspace);
            QVERIFY(!dialog->cmdFind->isEnabled());
            QTest::keyClick(dialog->txtFind, Qt::Key_Return);  // nothing to search
            QVERIFY(dialog->isVisible());
            dialog->Command2->click();
        });
        QCOMPARE(f.shownCount(), 0);
    }

    void focusSelectsTheWholeBox()
    {
        f.open(QStringLiteral("one two"), 4, 3);
        findWith([](frmFind* dialog) {
            dialog->txtFind->deselect();
            dialog->txtFind->setCursorPosition(1);
            dialog->txtFind_GotFocus();
            QCOMPARE(dialog->txtFind->selectedText(), QStringLiteral("two"));
            dialog->Command2->click();
        });
    }

    // The dialog's search updates the status line; F3 leaves it to the timer.
    void statusLineAfterTheDialogOnly()
    {
        f.main->Timer1->stop();
        f.open(QStringLiteral("one\r\ntwo\r\nthree two"));
        f.main->UpdateStatusLine();
        QVERIFY(f.main->panelText(2).startsWith(QStringLiteral("Line=1 ")));
        searchFromDialog(QStringLiteral("two"));
        QVERIFY2(f.main->panelText(2).startsWith(QStringLiteral("Line=2 ")), qPrintable(f.main->panelText(2)));
        findNext();
        QCOMPARE(f.selection(), qMakePair(16, 3));
        QVERIFY(f.main->panelText(2).startsWith(QStringLiteral("Line=2 ")));
    }

    void toolbarButtonOpensTheDialog()
    {
        f.open(QStringLiteral("abc"));
        WhenModal<frmFind> answer([](frmFind* dialog) { dialog->Command2->click(); });
        f.main->tbToolBar_ButtonClick(QStringLiteral("Find"));
        QVERIFY(answer.answered());
    }

    void pointerOnFindNextOnFirstLoadOnly()
    {
        f.open(QStringLiteral("abc"));
        QPoint expected;
        findWith([&](frmFind* dialog) {
            QTRY_VERIFY(dialog->isVisible());
            QApplication::processEvents();
            const double tx = 1440.0 / dialog->logicalDpiX(), ty = 1440.0 / dialog->logicalDpiY();
            const QPoint at = dialog->cmdFind->mapTo(dialog, QPoint(0, 0));
            const QRect frame = dialog->frameGeometry();
            expected = pointerTarget(frame.x() * tx, frame.y() * ty,
                                     {at.x() * tx, at.y() * ty, dialog->cmdFind->width() * tx,
                                      dialog->cmdFind->height() * ty},
                                     tx, ty);
            dialog->Command2->click();
        });
        QCOMPARE(QCursor::pos(), expected);
        QCursor::setPos(3, 4);
        findWith([](frmFind* dialog) {
            QApplication::processEvents();
            dialog->Command2->click();
        });
        QCOMPARE(QCursor::pos(), QPoint(3, 4));
    }
};

PAGEWELL_TEST_MAIN(TestFind)
#include "tst_find.moc"
