// The main window: the first run, what the next run finds of the last one,
// the command line, document numbering, the Window menu and the status line.
#include "MainWindowFixture.h"
#include "app/frmMain.h"
#include "core/Settings.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <limits>

using testsupport::MainWindowFixture;
using testsupport::putSetting;

class TestMainWindow : public QObject {
    Q_OBJECT

    MainWindowFixture f;

    // Toolbar, status bar and Word Wrap as shown and checked: "TSW", a
    // lower-case letter for one that is off.
    QString switches() const
    {
        const auto letter = [](QChar on, bool shown, bool checked) {
            return shown != checked ? QChar(u'?') : shown ? on : on.toLower();
        };
        return QString(letter(u'T', f.main->tbToolBar->isVisible(), f.main->item("mnuViewToolbar")->isChecked()))
               + letter(u'S', f.main->sbStatusBar->isVisible(), f.main->item("mnuViewStatusBar")->isChecked())
               + letter(u'W', f.text()->RightMargin() != RichTextBox::NoWrapMargin, f.main->item("mnuWrap")->isChecked());
    }

private slots:
    void cleanup() { f.stop(); }

    void firstRun()
    {
        f.start();
        QCOMPARE(QRect(f.main->pos(), f.main->size()), QRect(67, 67, 433, 433));  // 1000 and 6500 twips
        QCOMPARE(switches(), QStringLiteral("TSW"));
        QCOMPARE(f.text()->RightMargin(), f.text()->Width() - 300);
        QCOMPARE(f.documentCount(), 1);
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("Document 1"));
        QCOMPARE(f.active()->Title() + f.active()->Label1(), QString());
        QVERIFY(!f.main->mnuFileArray[0]->isVisible());
        QCOMPARE(f.main->panelText(1), QStringLiteral("Insert"));
        QCOMPARE(f.main->panelText(2), QStringLiteral("Line=1 of 1 Column=1"));
        f.main->Timer1_Timer();
        QApplication::processEvents();
        auto* date = f.main->findChild<QLabel*>("sbPanel3");  // whole, beside the position
        QVERIFY(f.main->findChild<QLabel*>("sbPanel2")->geometry().right() < date->x() && date->width() >= date->sizeHint().width());
        QVERIFY(f.main->Timer1->isActive());
        QVERIFY(!QFileInfo::exists(settingsFilePath(AppTitle)));  // nothing written yet
    }

    // Only the exact word "No" hides a bar; placements are twips, rounded,
    // and a stored text that is no number keeps the default.
    void storedSettings_data()
    {
        QTest::addColumn<QString>("bars");
        QTest::addColumn<QStringList>("placement");  // left, top, width, height
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QRect>("placed");
        const QStringList none{"", "", "", ""};
        const QRect first(67, 67, 433, 433);
        QTest::newRow("No") << "No" << QStringList{"1234.5", "1500", "9000", "7500"} << "tsW" << QRect(82, 100, 600, 500);
        QTest::newRow("no") << "no" << QStringList{"left", "", "9000", "x"} << "TSW" << QRect(67, 67, 600, 433);
        // null: anywhere, as long as the window fits on the screen
        QTest::newRow("larger than the screen") << "" << QStringList{"-900", "3000", "90000", "90000"} << "TSW" << QRect();
        for (const char* other : {"False", "Yes", "No "})
            QTest::newRow(other) << other << none << "TSW" << first;
    }
    void storedSettings()
    {
        QFETCH(QString, bars);
        QFETCH(QStringList, placement);
        QFETCH(QString, shown);
        QFETCH(QRect, placed);
        f.start(QString(), [&] {
            putSetting("Toolbar", "Visible", bars);
            putSetting("Toolbar", "StatusBar", bars);
            const QStringList keys{"MainLeft", "MainTop", "MainWidth", "MainHeight"};
            for (int i = 0; i < 4; ++i)
                putSetting("Settings", keys[i], placement[i]);
        });
        QCOMPARE(switches(), shown);
        QVERIFY(f.main->screen()->availableGeometry().contains(QRect(f.main->pos(), f.main->size())));
        if (!placed.isNull())
            QCOMPARE(QRect(f.main->pos(), f.main->size()), placed);
    }

    // Switched off and moved in one run, found so in the next.
    void nextRunStartsAsTheLastEnded_data()
    {
        QTest::addColumn<QString>("toggle");  // the switches' letters, in order
        QTest::addColumn<QString>("shown");
        QTest::newRow("toolbar and wrap") << "TW" << "tSw";
        QTest::newRow("status bar") << "S" << "TsW";
        QTest::newRow("all, twice") << "TSWTSW" << "TSW";
    }
    void nextRunStartsAsTheLastEnded()
    {
        QFETCH(QString, toggle);
        QFETCH(QString, shown);
        f.start();
        f.main->move(150, 120);
        f.main->resize(500, 400);
        for (QChar letter : toggle)
            (letter == u'T' ? f.main->item("mnuViewToolbar") : letter == u'S' ? f.main->item("mnuViewStatusBar") : f.main->item("mnuWrap"))->trigger();
        QCOMPARE(switches(), shown);
        const QFont font = f.text()->Font();
        QVERIFY(f.main->close());
        f.restart();
        QCOMPARE(QRect(f.main->pos(), f.main->size()), QRect(150, 120, 500, 400));
        QCOMPARE(switches(), shown);
        QCOMPARE(f.text()->Font(), font);
    }

    // A gap in the stored entries: the second gets its item, the separator
    // stays hidden without a first.
    void recentFileItemsWithAGap()
    {
        f.start(QString(), [] { putSetting("Recent Files", "File2", "/B.TXT"); });
        QStringList shown{f.main->mnuFileArray[0]->isVisible() ? "shown" : "hidden"};
        for (int n = 1; n <= 4; ++n) {
            QAction* item = n < f.main->mnuFileArray.size() ? f.main->mnuFileArray[n] : nullptr;
            shown << (item ? item->text() : QString());
        }
        QCOMPARE(shown, (QStringList{"hidden", "", "&2 /B.TXT", "", ""}));
    }

    // A file named on the command line opens clean in the stored font; one
    // that cannot load leaves an empty document under its name.
    void commandLine_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("text");
        QTest::newRow("file") << testenv::writeFile("cmd/Letter.txt", "Dear Anna,\nthanks.\n") << "Dear Anna,\r\nthanks.\r\n";
        QTest::newRow("missing") << testenv::root() + QStringLiteral("/nowhere/gone.txt") << "";
        QTest::newRow("folder") << testenv::root() << "";
        QTest::newRow("quoted") << u'"' + testenv::root() + QStringLiteral("/cmd/Letter.txt\"") << "";
    }
    void commandLine()
    {
        QFETCH(QString, commandLine);
        QFETCH(QString, text);
        f.start(commandLine, [] {
            putSetting("Font", "Color", "255");
            putSetting("Font", "Size", "12");
        });
        QCOMPARE(f.documentCount(), 1);
        QCOMPARE(f.active()->windowTitle() + u'|' + f.active()->Title(), commandLine.toUpper() + u'|' + commandLine.toUpper());
        QCOMPARE(f.main->CurrentFile, commandLine);
        QCOMPARE(f.text()->Text(), text);
        QCOMPARE(f.active()->Label1(), QString());
        QVERIFY(!f.text()->CanUndo());
        QCOMPARE(QPoint(f.text()->SelStart(), f.text()->SelLength()), QPoint(0, 0));
        QCOMPARE(f.text()->Font().pointSizeF(), 12.0);
        f.type(QStringLiteral("abcd"));
        f.text()->SetSel(0, 4);
        QCOMPARE(f.text()->SelColor(), 255);
    }

    void documentsAreNumberedAndNeverReused()
    {
        f.start();
        frmDocument* second = f.main->NewDocument();
        f.main->NewDocument();
        f.main->activateDocument(second);
        f.main->item("mnuFileItem", 3)->trigger();  // Close
        QApplication::processEvents();
        QCOMPARE(f.documentCount(), 2);
        QCOMPARE(f.main->NewDocument()->windowTitle(), QStringLiteral("Document 4"));
        f.main->item("mnuWindowNewWindow")->trigger();
        QCOMPARE(f.active()->windowTitle(), QStringLiteral("Document 5"));
        QCOMPARE(f.text()->Text(), QString());
        // The last number is given out; the next one is an error.
        f.main->DocumentCount = std::numeric_limits<qint32>::max() - 1;
        QCOMPARE(f.main->NewDocument()->windowTitle(), QStringLiteral("Document 2147483647"));
        QCOMPARE(f.main->NewDocument(), nullptr);
        QCOMPARE(f.documentCount(), 5);
        QCOMPARE(f.prompts(), QStringList{"Overflow"});
    }

    void windowMenuArrangesDocuments()
    {
        f.start();
        f.main->resize(700, 600);
        f.main->NewDocument();
        f.main->NewDocument();
        QApplication::processEvents();
        const QRect area = f.main->mdiArea->viewport()->rect();
        const QList<QMdiSubWindow*> frames = f.main->mdiArea->subWindowList(QMdiArea::CreationOrder);
        const auto edges = [&] {
            QStringList shown;
            for (QMdiSubWindow* frame : frames)
                shown << QStringLiteral("%1,%2").arg(frame->width() == area.width()).arg(frame->height() == area.height());
            return shown.join(u' ');
        };
        // Each document window wears the program's picture as drawn for 16 pixels, not shrunk.
        const QImage small = QImage(QStringLiteral(":/icons/pagewell-16.png")).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QVERIFY(!small.isNull());
        for (QMdiSubWindow* frame : frames)
            QCOMPARE(frame->windowIcon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), small);
        f.main->item("mnuWindowTileHorizontal")->trigger();
        QCOMPARE(edges(), QStringLiteral("1,0 1,0 1,0"));
        QVERIFY(frames[0]->geometry().bottom() < frames[1]->geometry().top());
        f.main->item("mnuWindowTileVertical")->trigger();
        QCOMPARE(edges(), QStringLiteral("0,1 0,1 0,1"));
        QVERIFY(frames[1]->geometry().right() < frames[2]->geometry().left());
        f.main->item("mnuWindowCascade")->trigger();
        QVERIFY(frames[0]->width() * 3 >= area.width() * 2 - 3 && area.contains(frames[2]->geometry()) && frames[2]->size() == frames[0]->size());
        QVERIFY(frames[1]->x() > frames[0]->x() && frames[2]->pos() - frames[1]->pos() == frames[1]->pos() - frames[0]->pos());
        frames[0]->showMinimized();
        frames[1]->showMinimized();
        f.main->item("mnuWindowArrangeIcons")->trigger();
        QCOMPARE(frames[0]->geometry().bottom() + frames[1]->geometry().bottom(), 2 * area.bottom());
        QVERIFY(frames[0]->x() != frames[1]->x());
    }

    void windowMenuListsDocumentsWithTheActiveChecked()
    {
        f.start();
        frmDocument* first = f.active();
        f.main->NewDocument();
        f.main->activateDocument(first);
        for (int shown = 0; shown < 2; ++shown) {  // rebuilt each time, not appended
            emit f.main->mnuWindow->aboutToShow();
            QStringList listed;
            for (QAction* action : f.main->mnuWindow->actions()) {
                if (action->text().contains(QStringLiteral("Document")))
                    listed << action->text() + (action->isChecked() ? "*" : "");
            }
            QCOMPARE(listed, (QStringList{"&1 Document 1*", "&2 Document 2"}));
        }
    }

    void statusLineFollowsTheCaret()
    {
        f.start();
        f.main->item("mnuWrap")->trigger();
        QStringList lines;
        for (int i = 1; i <= 10; ++i)
            lines << QStringLiteral("line %1").arg(i);
        f.text()->setText(lines.join(u'\n'));
        f.text()->setSelStart(f.text()->LineIndex(4) + 2);
        f.main->Timer1_Timer();
        QCOMPARE(f.main->panelText(2), QStringLiteral("Line=5 of 10 Column=3"));
        QVERIFY(!f.main->panelText(3).isEmpty());
        f.boxes->defaultAnswer = vb::vbNo;
        f.main->item("mnuFileItem", 3)->trigger();  // Close, unsaved: no document left
        QApplication::processEvents();
        QCOMPARE(f.documentCount(), 0);
        f.main->Timer1_Timer();
        QCOMPARE(f.main->panelText(2), QStringLiteral("Line=1 of  Column=1"));
    }
};

PAGEWELL_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
