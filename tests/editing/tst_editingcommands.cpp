// Clean from the menus, the Date and Time dialog, the customised toolbar as
// the main window uses them, and the undo steps the commands make.
#include "ScriptedCommonDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "TestEnvironment.h"
#include "app/Settings.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "editing/Clipboard.h"
#include "editing/frmTime.h"
#include "search/frmReplace.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <memory>

class TestEditingCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedMessageBoxes> boxes;
    std::unique_ptr<ScriptedCommonDialogs> dialogs = std::make_unique<ScriptedCommonDialogs>();
    std::unique_ptr<frmMain> main;
    frmDocument* document = nullptr;
    RichTextBox* text = nullptr;

    void start()
    {
        main = std::make_unique<frmMain>();
        main->MDIForm_Load(QString());
        main->show();
        QApplication::processEvents();
        document = main->ActiveDocument();
        text = document->txtText;
    }

    void load(const QString& content, int selStart = 0, int selLength = 0)
    {
        text->setText(content);
        text->EmptyUndoBuffer();
        text->setSelStart(selStart);
        text->setSelLength(selLength);
        document->setLabel1(QString());
    }

private slots:
    void init()
    {
        testenv::clearSettings();
        boxes.reset();
        boxes = std::make_unique<ScriptedMessageBoxes>();
        boxes->defaultAnswer = vb::vbNo;
        start();
    }
    void cleanup() { main.reset(); }

    void cleanFromEitherMenu_data()
    {
        QTest::addColumn<bool>("contextMenu");
        QTest::newRow("Edit menu") << false;
        QTest::newRow("context menu") << true;
    }
    void cleanFromEitherMenu()
    {
        QFETCH(bool, contextMenu);
        load(QStringLiteral("name=John+Smith&city=New+York%2C+NY"));
        if (contextMenu) {
            main->mnuCEdit_Click();
            main->mnuCEditItem[11]->trigger();
        } else {
            main->mnuEdit_Click();
            main->mnuClean[1]->trigger();
        }
        QCOMPARE(text->Text(), QStringLiteral("name=John Smith \r\ncity=New York, NY"));
        QCOMPARE(text->SelStart(), 0);
        QCOMPARE(text->SelLength(), 0);
        QCOMPARE(document->Label1(), QStringLiteral("x"));
    }

    void cleanLeavesTheCaretBehindTheLastTilde()
    {
        load(QStringLiteral("a%7Eb%7ec"));
        main->mnuClean_Click(1);
        QCOMPARE(text->Text(), QStringLiteral("a~b~c"));
        QCOMPARE(text->SelStart(), 4);
    }

    void cleanWithNothingToDoOnlyMovesTheCaret()
    {
        load(QStringLiteral("plain %41 text"), 5, 3);
        main->mnuClean_Click(1);
        QCOMPARE(text->Text(), QStringLiteral("plain %41 text"));
        QCOMPARE(text->SelStart(), 0);
        QCOMPARE(text->SelLength(), 0);
        QCOMPARE(document->Label1(), QString());
        main->mnuClean_Click(0);  // the separators do nothing
        main->mnuClean_Click(2);
    }

    void cleanKeepsTheFormatOfUntouchedText()
    {
        load(QStringLiteral("red%2Cplain"));
        text->SetSel(0, 3);
        text->setSelColor(255);
        text->setSelStart(0);
        main->mnuClean_Click(1);
        QCOMPARE(text->Text(), QStringLiteral("red,plain"));
        text->SetSel(0, 3);
        QCOMPARE(text->SelColor(), 255);
        text->SetSel(4, 9);
        QVERIFY(text->SelColor() != 255);
    }

    void dateDialogListsTheMomentItOpened()
    {
        const QDateTime now(QDate(2026, 12, 4), QTime(22, 5, 8));
        frmTime dialog(main.get(), now, QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Date and Time"));
        QCOMPARE(dialog.List1->count(), 15);
        QCOMPARE(dialog.List1->item(0)->text(), QStringLiteral("Dec 04, 2026  10:05 PM"));
        QCOMPARE(dialog.List1->item(13)->text(), QStringLiteral("22:05:8"));
        QCOMPARE(dialog.List1->currentRow(), 0);
        QVERIFY(dialog.Command1->isDefault());
    }

    void defaultButtonStoresThePreselection()
    {
        {
            frmTime dialog(main.get());
            dialog.List1->setCurrentRow(8);
            dialog.Command3_Click();
            QVERIFY(!dialog.result());  // stays open, inserts nothing
        }
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("Date/Time"), QStringLiteral("Format")), QStringLiteral("8"));
        frmTime next(main.get());
        QCOMPARE(next.List1->currentRow(), 8);
        QCOMPARE(text->Text(), QString());
    }

    void storedPositionOutOfRangeSelectsTheFirst()
    {
        SaveSetting(AppTitle, QStringLiteral("Date/Time"), QStringLiteral("Format"), QStringLiteral("42"));
        frmTime dialog(main.get());
        QCOMPARE(dialog.List1->currentRow(), 0);
    }

    void okInsertsAndRestoresTheClipboard_data()
    {
        QTest::addColumn<int>("clipboard");  // 0 empty, 1 text, 2 picture
        QTest::addColumn<QString>("after");
        QTest::newRow("text kept") << 1 << "kept";
        QTest::newRow("empty stays empty") << 0 << "";
        QTest::newRow("picture is gone") << 2 << "";
    }
    void okInsertsAndRestoresTheClipboard()
    {
        QFETCH(int, clipboard);
        QFETCH(QString, after);
        if (clipboard == 1) {
            Clipboard::SetText(QStringLiteral("kept"));
        } else if (clipboard == 2) {
            auto* data = new QMimeData;
            QImage image(2, 2, QImage::Format_RGB32);
            image.fill(Qt::blue);
            data->setImageData(image);
            QGuiApplication::clipboard()->setMimeData(data);
        } else {
            Clipboard::Clear();
        }
        load(QStringLiteral("Date: XX!"), 6, 2);
        frmTime dialog(main.get());
        const QString entry = dialog.List1->item(5)->text();
        dialog.List1->setCurrentRow(5);
        dialog.Command1_Click();
        QCOMPARE(text->Text(), QStringLiteral("Date: ") + entry + QStringLiteral("!"));
        QVERIFY(!entry.contains(u'\n'));
        QCOMPARE(Clipboard::GetText(), after);
        QVERIFY(!Clipboard::GetFormat() || clipboard == 1);
    }

    void f5ThenEnterInsertsThePreferredFormat()
    {
        load(QString());
        QTimer::singleShot(0, this, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        main->mnuTime->trigger();
        const QString expected = QLocale().toString(QDate::currentDate(), QStringLiteral("MMM dd, yyyy"));
        QVERIFY2(text->Text().startsWith(expected), qPrintable(text->Text()));
    }

    void cancelInsertsNothing()
    {
        load(QStringLiteral("abc"), 1);
        Clipboard::SetText(QStringLiteral("clip"));
        QTimer::singleShot(0, this, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        main->mnuTime_Click();
        QCOMPARE(text->Text(), QStringLiteral("abc"));
        QCOMPARE(Clipboard::GetText(), QStringLiteral("clip"));
    }

    // Typed letters run together into one undo step, but a command is a
    // step of its own, apart from the typing before and after it.
    void eachCommandIsItsOwnUndoStep_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("selected");  // letters at the end selected for the command
        QTest::addColumn<QString>("command");  // a dialog's, or a context menu index
        QTest::addColumn<QStringList>("undone");  // after one, two, three Undos; %1 what was inserted
        QTest::newRow("typing alone") << "alpha" << 0 << "2" << QStringList{"", "", ""};  // a separator
        QTest::newRow("Paste") << "alpha" << 0 << "5" << QStringList{"alpha%1", "alpha", ""};
        QTest::newRow("Paste over a selection") << "alpha beta" << 4 << "5" << QStringList{"alpha %1", "alpha beta", ""};
        QTest::newRow("Cut") << "alpha beta" << 4 << "3" << QStringList{"alpha ", "alpha beta", ""};
        QTest::newRow("Clear") << "alpha beta" << 4 << "1" << QStringList{"alpha ", "alpha beta", ""};
        QTest::newRow("Clean, two edits") << "a+b%2Cc" << 7 << "11" << QStringList{"a b,c", "a+b%2Cc", ""};
        QTest::newRow("Replace All") << "cat cat" << 7 << "Replace All" << QStringList{"dog dog", "cat cat", ""};
        QTest::newRow("Date/Time") << "Date: " << 0 << "Date/Time" << QStringList{"Date: %1", "Date: ", ""};
        QTest::newRow("Insert") << "alpha" << 0 << "Insert" << QStringList{"alpha%1", "alpha", ""};
    }
    void eachCommandIsItsOwnUndoStep()
    {
        QFETCH(QString, typed);
        QFETCH(int, selected);
        QFETCH(QString, command);
        QFETCH(QStringList, undone);
        load(QString());
        QTest::keyClicks(text, typed);
        text->SetSel(int(typed.size()) - selected, int(typed.size()));
        QString inserted = QStringLiteral("xyz");
        Clipboard::SetText(inserted);
        if (command == QLatin1String("Replace All")) {
            frmReplace* dialog = replaceDialog(*main);
            dialog->txtFind->setText(QStringLiteral("cat"));
            dialog->txtReplace->setText(QStringLiteral("dog"));
            dialog->cmdAll_Click();
        } else if (command == QLatin1String("Date/Time")) {
            frmTime dialog(main.get());
            inserted = dialog.List1->currentItem()->text();
            dialog.Command1_Click();
        } else if (command == QLatin1String("Insert")) {
            dialogs->choose(testenv::writeFile(QStringLiteral("insert.txt"), "xyz"));
            main->FileInsert();
        } else {
            main->mnuCEditItem_Click(command.toInt());
        }
        QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(text, QStringLiteral("!"));
        for (QString expected : undone) {
            main->mnuEditUndo_Click();
            QCOMPARE(text->Text(), expected.replace(QLatin1String("%1"), inserted));
        }
    }

    void customisedToolbarSurvivesARestart()
    {
        std::optional<ToolbarLayout> layout =
            toolbaredit::remove(ToolbarLayout::standard(), 5);  // Print's position
        QVERIFY(layout);
        main->applyToolbarLayout(*layout);
        main->tbToolBar_Change();
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("Custom"), QStringLiteral("Toolbar")), layout->toText());
        main->close();
        main.reset();

        start();
        QCOMPARE(main->toolbarLayout(), *layout);
        QStringList keys;
        for (QAction* action : main->tbToolBar->actions())
            keys << (action->isSeparator() ? QStringLiteral("|") : action->property("Key").toString());
        QCOMPARE(keys, layout->entries());
        QVERIFY(!keys.contains(QStringLiteral("Print")));
    }

    void damagedToolbarLayoutFallsBackToTheDefault()
    {
        main.reset();
        SaveSetting(AppTitle, QStringLiteral("Custom"), QStringLiteral("Toolbar"), QStringLiteral("New,Bogus,,|"));
        start();
        QCOMPARE(main->toolbarLayout(), ToolbarLayout::standard());
        QCOMPARE(main->toolbarPositions().size(), 22);
    }

    void enablingGoesByPositionAfterACustomisation()
    {
        // Without the first separator, Cut stands at 7 and Copy at 8.
        main->applyToolbarLayout(*toolbaredit::remove(ToolbarLayout::standard(), 0));
        const QList<QAction*> positions = main->toolbarPositions();
        QCOMPARE(positions[8]->property("Key").toString(), QStringLiteral("Copy"));
        load(QStringLiteral("abc"));
        main->Timer1_Timer();
        QVERIFY(!positions[8]->isEnabled());  // nothing selected
        text->SetSel(0, 2);
        main->Timer1_Timer();
        QVERIFY(positions[8]->isEnabled());
        QVERIFY(positions[9]->isEnabled());  // Paste now stands at 9
    }
};

PAGEWELL_TEST_MAIN(TestEditingCommands)
#include "tst_editingcommands.moc"
