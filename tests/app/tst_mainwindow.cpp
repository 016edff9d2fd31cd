// Start-up, menus, placement, shut-down and the Window menu of the main window.
#include "ScriptedMessageBoxes.h"
#include "TestEnvironment.h"
#include "app/Settings.h"
#include "app/frmMain.h"
#include "document/OleColor.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <limits>
#include <memory>

namespace {

QString setting(const char* section, const char* key)
{
    return GetSetting(AppTitle, QString::fromLatin1(section), QString::fromLatin1(key));
}

void store(const char* section, const char* key, const QString& value)
{
    SaveSetting(AppTitle, QString::fromLatin1(section), QString::fromLatin1(key), value);
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedMessageBoxes> boxes;

    std::unique_ptr<frmMain> start(const QString& commandLine = QString())
    {
        auto main = std::make_unique<frmMain>();
        main->MDIForm_Load(commandLine);
        main->show();
        QApplication::processEvents();
        return main;
    }

private slots:
    void init()
    {
        testenv::clearSettings();
        boxes.reset();  // before the next one installs itself
        boxes = std::make_unique<ScriptedMessageBoxes>();
        boxes->defaultAnswer = vb::vbNo;  // changed documents close unsaved
    }

    void firstRunDefaults()
    {
        auto main = start();
        QCOMPARE(main->pos(), QPoint(67, 67));  // 1000 twips at 15 twips a pixel
        QCOMPARE(main->size(), QSize(433, 433));
        QVERIFY(main->mnuViewToolbar->isChecked() && main->tbToolBar->isVisible());
        QVERIFY(main->mnuViewStatusBar->isChecked() && main->sbStatusBar->isVisible());
        QVERIFY(!main->mnuFileArray[0]->isVisible());
        for (int k = 1; k < main->mnuFileArray.size(); ++k)
            QCOMPARE(main->mnuFileArray[k], nullptr);
        QCOMPARE(main->Documents().size(), 1);
        frmDocument* document = main->ActiveDocument();
        QVERIFY(document);
        QCOMPARE(document->windowTitle(), QStringLiteral("Document 1"));
        QCOMPARE(document->Title(), QString());
        QCOMPARE(document->Label1(), QString());
        QCOMPARE(main->panelText(1), QStringLiteral("Insert"));
        QVERIFY(main->mnuWrap->isChecked());  // the missing wrap value counts as on at resize
        QCOMPARE(document->txtText->RightMargin(), document->txtText->Width() - 300);
        QCOMPARE(main->windowTitle(), QStringLiteral("Pagewell"));
        QVERIFY(main->Timer1->isActive());
        QCOMPARE(main->Timer1->interval(), 300);
        QCOMPARE(main->panelText(2), QStringLiteral("Line=1 of 1 Column=1"));
        QVERIFY(!QFileInfo::exists(settingsFilePath(AppTitle)));  // nothing written yet
    }

    void captionsComeFromTheStringTable()
    {
        auto main = start();
        QCOMPARE(main->mnuFile->title(), QStringLiteral("&File"));
        QCOMPARE(main->mnuEdit->title(), QStringLiteral("&Edit"));
        QCOMPARE(main->mnuWindow->title(), QStringLiteral("&Window"));
        QCOMPARE(main->mnuHelp->title(), QStringLiteral("&Help"));
        QCOMPARE(main->mnuFileItem[0]->text(), QStringLiteral("&New"));
        QCOMPARE(main->mnuFileItem[2]->text(), QStringLiteral("&Insert"));
        QCOMPARE(main->mnuFileItem[6]->text(), QStringLiteral("Save &As..."));
        QCOMPARE(main->mnuFileItem[13]->text(), QStringLiteral("Page Set&up..."));
        QCOMPARE(main->mnuFileItem[15]->text(), QStringLiteral("E&xit"));
        QCOMPARE(main->mnuEditPaste->text(), QStringLiteral("&Paste"));
        QCOMPARE(main->mnuViewStatusBar->text(), QStringLiteral("Status &Bar"));
        QCOMPARE(main->mnuWindowTileVertical->text(), QStringLiteral("Tile &Vertical"));
        QCOMPARE(main->mnuHelpSearch->text(), QStringLiteral("&Search For Help On..."));
        const QList<QAction*> positions = main->toolbarPositions();
        QCOMPARE(positions.size(), 22);
        QCOMPARE(positions[2]->toolTip(), QStringLiteral("New"));
        QCOMPARE(positions[10]->toolTip(), QStringLiteral("Paste"));
        QCOMPARE(positions[21]->property("Key").toString(), QStringLiteral("Exit"));
        for (int separator : {1, 5, 7, 11, 13, 15, 17, 19, 20})
            QVERIFY(positions[separator]->isSeparator());
    }

    void everyToolbarCommandWorksFromTheStart()
    {
        auto main = start();
        const QList<QAction*> positions = main->toolbarPositions();
        // New, Open, Save, Print, Find (text-dependent), Font, Help, Exit
        for (int position : {2, 3, 4, 6, 16, 18, 21})
            QVERIFY2(positions[position]->isEnabled(), qPrintable(positions[position]->property("Key").toString()));
    }

    void shortcuts()
    {
        auto main = start();
        QCOMPARE(main->mnuFileItem[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(main->mnuFileItem[11]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        QCOMPARE(main->mnuEditCopy->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Insert));
        QCOMPARE(main->mnuEditPaste->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_Insert));
        QCOMPARE(main->mnuClear->shortcut(), QKeySequence(Qt::Key_Delete));
        QCOMPARE(main->mnuTime->shortcut(), QKeySequence(Qt::Key_F5));
        QCOMPARE(main->mnuFind[1]->shortcut(), QKeySequence(Qt::Key_F3));
        QCOMPARE(main->mnuFind[5]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
    }

    void onlyTheExactWordNoHides_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("shown");
        QTest::newRow("No") << "No" << false;
        QTest::newRow("no") << "no" << true;
        QTest::newRow("False") << "False" << true;
        QTest::newRow("Yes") << "Yes" << true;
        QTest::newRow("No with blank") << "No " << true;
    }
    void onlyTheExactWordNoHides()
    {
        QFETCH(QString, stored);
        QFETCH(bool, shown);
        store("Toolbar", "Visible", stored);
        store("Toolbar", "StatusBar", stored);
        auto main = start();
        QCOMPARE(main->tbToolBar->isVisible(), shown);
        QCOMPARE(main->mnuViewToolbar->isChecked(), shown);
        QCOMPARE(main->sbStatusBar->isVisible(), shown);
        QCOMPARE(main->mnuViewStatusBar->isChecked(), shown);
    }

    void recentFileItems_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("separator");
        QTest::addColumn<QStringList>("captions");  // items 1..4, "" where not created
        QTest::newRow("none") << QStringList{"", "", "", ""} << false << QStringList{"", "", "", ""};
        QTest::newRow("two") << QStringList{"/A.TXT", "/B.TXT", "", ""} << true
                             << QStringList{"&1 /A.TXT", "&2 /B.TXT", "", ""};
        QTest::newRow("only the second") << QStringList{"", "/B.TXT", "", ""} << false
                                         << QStringList{"", "&2 /B.TXT", "", ""};
        QTest::newRow("four") << QStringList{"/A", "/B", "/C", "/D"} << true
                              << QStringList{"&1 /A", "&2 /B", "&3 /C", "&4 /D"};
    }
    void recentFileItems()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, separator);
        QFETCH(QStringList, captions);
        for (int n = 0; n < 4; ++n)
            if (!files[n].isEmpty())
                SaveSetting(AppTitle, QStringLiteral("Recent Files"), QStringLiteral("File%1").arg(n + 1), files[n]);
        auto main = start();
        QCOMPARE(main->mnuFileArray[0]->isVisible(), separator);
        for (int n = 1; n <= 4; ++n) {
            QAction* item = n < main->mnuFileArray.size() ? main->mnuFileArray[n] : nullptr;
            QCOMPARE(item ? item->text() : QString(), captions[n - 1]);
        }
    }

    void storedPlacementIsRestored()
    {
        store("Settings", "MainLeft", QStringLiteral("1234.5"));
        store("Settings", "MainTop", QStringLiteral("1500"));
        store("Settings", "MainWidth", QStringLiteral("9000"));
        store("Settings", "MainHeight", QStringLiteral("7500"));
        auto main = start();
        QCOMPARE(main->pos(), QPoint(82, 100));  // 82.3 and 100 pixels
        QCOMPARE(main->size(), QSize(600, 500));
    }

    void placementThatIsNoNumberKeepsTheDefault()
    {
        store("Settings", "MainLeft", QStringLiteral("left"));
        store("Settings", "MainWidth", QStringLiteral("9000"));
        auto main = start();
        QCOMPARE(main->pos().x(), 67);
        QCOMPARE(main->width(), 600);
    }

    void exitWritesPlacementAndSwitches()
    {
        {
            auto main = start();
            main->move(150, 120);
            main->resize(500, 400);
            main->mnuViewToolbar->trigger();
            QVERIFY(main->tbToolBar->isHidden());
            main->mnuWrap->trigger();
            QVERIFY(main->close());
        }
        QCOMPARE(setting("Settings", "MainLeft"), QStringLiteral("2250"));
        QCOMPARE(setting("Settings", "MainTop"), QStringLiteral("1800"));
        QCOMPARE(setting("Settings", "MainWidth"), QStringLiteral("7500"));
        QCOMPARE(setting("Settings", "MainHeight"), QStringLiteral("6000"));
        QCOMPARE(setting("Toolbar", "Visible"), QStringLiteral("No"));
        QCOMPARE(setting("Toolbar", "StatusBar"), QStringLiteral("Yes"));
        QCOMPARE(setting("WordWrap", "Wrap"), QStringLiteral("False"));
        // The document wrote its font and colours as it closed.
        QCOMPARE(setting("Color", "Color"), QStringLiteral("-2147483643"));
        QCOMPARE(setting("Font", "Name"), QStringLiteral("Arial"));
        QCOMPARE(setting("Font", "Size"), QStringLiteral("9.75"));
        QCOMPARE(setting("Font", "Bold"), QStringLiteral("False"));

        auto next = start();  // the next run starts as it was left
        QVERIFY(next->tbToolBar->isHidden());
        QVERIFY(!next->mnuViewToolbar->isChecked());
        QCOMPARE(next->pos(), QPoint(150, 120));
    }

    void hiddenStatusBarIsRemembered()
    {
        {
            auto main = start();
            main->mnuViewStatusBar->trigger();
            QVERIFY(main->sbStatusBar->isHidden());
            main->close();
        }
        QCOMPARE(setting("Toolbar", "StatusBar"), QStringLiteral("No"));
        auto next = start();
        QVERIFY(next->sbStatusBar->isHidden());
        QVERIFY(!next->mnuViewStatusBar->isChecked());
    }

    void closingMinimizedKeepsThePreviousPlacement()
    {
        store("Settings", "MainLeft", QStringLiteral("3000"));
        auto main = start();
        main->move(10, 10);
        main->showMinimized();
        QApplication::processEvents();
        if (!main->isMinimized())
            QSKIP("this platform plugin does not minimize windows");
        main->close();
        QCOMPARE(setting("Settings", "MainLeft"), QStringLiteral("3000"));
        QCOMPARE(setting("Toolbar", "Visible"), QStringLiteral("Yes"));
    }

    void commandLineFileOpensClean()
    {
        const QString path = testenv::writeFile(QStringLiteral("cmd/Letter.txt"), "Dear Anna,\nthanks.\n");
        store("Color", "Color", QStringLiteral("-2147483643"));
        store("Font", "Color", QStringLiteral("255"));
        store("Font", "Size", QStringLiteral("12"));
        auto main = start(path);
        frmDocument* document = main->ActiveDocument();
        QCOMPARE(main->Documents().size(), 1);
        QCOMPARE(document->windowTitle(), path.toUpper());
        QCOMPARE(document->Title(), path.toUpper());
        QCOMPARE(document->filePath(), path);
        QCOMPARE(document->txtText->Text(), QStringLiteral("Dear Anna,\r\nthanks.\r\n"));
        QCOMPARE(document->Label1(), QString());
        QVERIFY(!document->txtText->CanUndo());
        QCOMPARE(document->txtText->SelStart(), 0);
        QCOMPARE(document->txtText->SelLength(), 0);
        QCOMPARE(document->txtText->Font().pointSizeF(), 12.0);
        document->txtText->SetSel(0, 4);
        QCOMPARE(document->txtText->SelColor(), 255);  // the stored text colour
        QCOMPARE(main->CurrentFile, path);
    }

    void commandLineThatCannotLoad_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::newRow("missing") << testenv::root() + QStringLiteral("/nowhere/gone.txt");
        QTest::newRow("folder") << testenv::root();
        QTest::newRow("quoted") << u'"' + testenv::root() + QStringLiteral("/cmd/x.txt\"");
    }
    void commandLineThatCannotLoad()
    {
        QFETCH(QString, commandLine);
        auto main = start(commandLine);
        frmDocument* document = main->ActiveDocument();
        QCOMPARE(document->txtText->Text(), QString());
        QCOMPARE(document->windowTitle(), commandLine.toUpper());
        QCOMPARE(document->Title(), commandLine.toUpper());
        QCOMPARE(document->Label1(), QString());
        QCOMPARE(main->CurrentFile, commandLine);
    }

    void binaryCommandLineFileIsShownAsText()
    {
        QByteArray bytes;
        for (int i = 0; i < 4096; ++i)
            bytes.append(char(i * 37 % 256));
        const QString path = testenv::writeFile(QStringLiteral("cmd/blob.bin"), bytes);
        auto main = start(path);
        QVERIFY(main->ActiveDocument()->txtText->TextLength() > 0);
        QCOMPARE(main->ActiveDocument()->Label1(), QString());
        main->UpdateStatusLine();
        QVERIFY(main->panelText(2).startsWith(QStringLiteral("Line=1 of ")));
    }

    void documentsAreNumberedAndNeverReused()
    {
        auto main = start();
        frmDocument* second = main->NewDocument();
        main->NewDocument();
        QCOMPARE(second->windowTitle(), QStringLiteral("Document 2"));
        main->activateDocument(second);
        main->mnuFileItem[3]->trigger();  // Close
        QApplication::processEvents();
        QCOMPARE(main->Documents().size(), 2);
        QCOMPARE(main->NewDocument()->windowTitle(), QStringLiteral("Document 4"));
        QCOMPARE(main->DocumentCount, 4);
    }

    void documentCountOverflowIsAnError()
    {
        auto main = start();
        ScriptedMessageBoxes& boxes = *this->boxes;
        main->DocumentCount = std::numeric_limits<qint32>::max() - 1;
        QVERIFY(main->NewDocument());
        QCOMPARE(main->ActiveDocument()->windowTitle(), QStringLiteral("Document 2147483647"));
        const int windows = int(main->Documents().size());
        QCOMPARE(main->NewDocument(), nullptr);
        QCOMPARE(main->DocumentCount, std::numeric_limits<qint32>::max());
        QCOMPARE(int(main->Documents().size()), windows);
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(boxes.shown[0].prompt, QStringLiteral("Overflow"));
    }

    void windowMenuArrangesDocuments()
    {
        auto main = start();
        main->resize(700, 600);
        main->NewDocument();
        main->NewDocument();
        QApplication::processEvents();
        const QRect area = main->mdiArea->viewport()->rect();
        const QList<QMdiSubWindow*> frames = main->mdiArea->subWindowList(QMdiArea::CreationOrder);

        main->mnuWindowTileHorizontal->trigger();
        for (QMdiSubWindow* frame : frames)
            QCOMPARE(frame->width(), area.width());
        QVERIFY(frames[0]->geometry().bottom() < frames[1]->geometry().top());
        QVERIFY(frames[1]->geometry().bottom() < frames[2]->geometry().top());

        main->mnuWindowTileVertical->trigger();
        for (QMdiSubWindow* frame : frames)
            QCOMPARE(frame->height(), area.height());
        QVERIFY(frames[0]->geometry().right() < frames[1]->geometry().left());

        main->mnuWindowCascade->trigger();
        QVERIFY(frames[0]->pos() != frames[1]->pos());

        frames[0]->showMinimized();
        frames[1]->showMinimized();
        main->mnuWindowArrangeIcons->trigger();
        QCOMPARE(frames[0]->geometry().bottom(), area.bottom());
        QCOMPARE(frames[1]->geometry().bottom(), area.bottom());
        QVERIFY(frames[0]->x() != frames[1]->x());
    }

    void windowMenuListsDocumentsWithTheActiveChecked()
    {
        auto main = start();
        frmDocument* first = main->ActiveDocument();
        main->NewDocument();
        main->activateDocument(first);
        emit main->mnuWindow->aboutToShow();
        QStringList listed;
        QString checked;
        for (QAction* action : main->mnuWindow->actions()) {
            if (action->text().startsWith(u'&') && action->text().contains(QStringLiteral("Document"))) {
                listed << action->text();
                if (action->isChecked())
                    checked = action->text();
            }
        }
        QCOMPARE(listed, (QStringList{"&1 Document 1", "&2 Document 2"}));
        QCOMPARE(checked, QStringLiteral("&1 Document 1"));
        emit main->mnuWindow->aboutToShow();  // rebuilt, not appended
        int count = 0;
        for (QAction* action : main->mnuWindow->actions())
            count += action->text().contains(QStringLiteral("Document")) ? 1 : 0;
        QCOMPARE(count, 2);
    }

    void newWindowIsEmpty()
    {
        const QString path = testenv::writeFile(QStringLiteral("cmd/n.txt"), "text");
        auto main = start(path);
        main->mnuWindowNewWindow->trigger();
        QCOMPARE(main->Documents().size(), 2);
        QCOMPARE(main->ActiveDocument()->txtText->Text(), QString());
        QCOMPARE(main->ActiveDocument()->windowTitle(), QStringLiteral("Document 2"));
    }

    void statusLineFollowsTheCaret()
    {
        auto main = start();
        RichTextBox* text = main->ActiveDocument()->txtText;
        main->mnuWrap->setChecked(false);
        text->setRightMargin(RichTextBox::NoWrapMargin);
        QStringList lines;
        for (int i = 1; i <= 10; ++i)
            lines << QStringLiteral("line %1").arg(i);
        text->setText(lines.join(u'\n'));
        text->setSelStart(text->LineIndex(4) + 2);
        main->Timer1_Timer();
        QCOMPARE(main->panelText(2), QStringLiteral("Line=5 of 10 Column=3"));
        QVERIFY(!main->panelText(3).isEmpty());
    }

    void statusLineWithoutDocuments()
    {
        auto main = start();
        main->mnuFileItem[3]->trigger();
        QApplication::processEvents();
        QCOMPARE(main->Documents().size(), 0);
        main->Timer1_Timer();
        QCOMPARE(main->panelText(2), QStringLiteral("Line=1 of  Column=1"));
    }
};

PAGEWELL_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
