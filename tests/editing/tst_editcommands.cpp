// Edit and context menu states, the editing commands and the rule that a
// disabled item's shortcut reaches the text as ordinary input.
#include "TestEnvironment.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "editing/Clipboard.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <memory>

class TestEditCommands : public QObject {
    Q_OBJECT

    std::unique_ptr<frmMain> main;
    frmDocument* document = nullptr;
    RichTextBox* text = nullptr;

    void openWith(const QString& content, int selStart = 0, int selLength = 0)
    {
        text->setText(content);
        text->setSelStart(selStart);
        text->setSelLength(selLength);
        text->EmptyUndoBuffer();
        document->setLabel1(QString());
    }

    static void putPictureOnClipboard()
    {
        auto* data = new QMimeData;
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        data->setImageData(image);
        QGuiApplication::clipboard()->setMimeData(data);
    }

private slots:
    void init()
    {
        testenv::clearSettings();
        main = std::make_unique<frmMain>();
        main->MDIForm_Load(QString());
        main->show();
        QApplication::processEvents();
        document = main->ActiveDocument();
        text = document->txtText;
        text->setFocus();
        Clipboard::Clear();
    }
    void cleanup() { main.reset(); }

    void menuStates_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<int>("clipboard");  // 0 empty, 1 text, 2 picture
        QTest::addColumn<bool>("clean");
        QTest::addColumn<bool>("cutCopyClear");
        QTest::addColumn<bool>("paste");
        QTest::addColumn<bool>("append");
        QTest::newRow("empty document") << "" << 0 << 0 << false << false << false << false;
        QTest::newRow("text, no selection") << "abc" << 0 << 1 << true << false << true << false;
        QTest::newRow("selection, clipboard text") << "abc" << 2 << 1 << true << true << true << true;
        QTest::newRow("selection, empty clipboard") << "abc" << 2 << 0 << true << true << false << false;
        QTest::newRow("selection, picture only") << "abc" << 2 << 2 << true << true << false << false;
    }
    void menuStates()
    {
        QFETCH(QString, content);
        QFETCH(int, selLength);
        QFETCH(int, clipboard);
        QFETCH(bool, clean);
        QFETCH(bool, cutCopyClear);
        QFETCH(bool, paste);
        QFETCH(bool, append);
        openWith(content, 0, selLength);
        if (clipboard == 1)
            Clipboard::SetText(QStringLiteral("clip"));
        else if (clipboard == 2)
            putPictureOnClipboard();

        main->mnuEdit_Click();
        QCOMPARE(main->mnuClean[1]->isEnabled(), clean);
        QCOMPARE(main->mnuEditCut->isEnabled(), cutCopyClear);
        QCOMPARE(main->mnuEditCopy->isEnabled(), cutCopyClear);
        QCOMPARE(main->mnuClear->isEnabled(), cutCopyClear);
        QCOMPARE(main->mnuEditPaste->isEnabled(), paste);
        QCOMPARE(main->mnuAppend->isEnabled(), append);
        QVERIFY(main->mnuSelectAll->isEnabled() && main->mnuClearAll->isEnabled());

        main->mnuCEdit_Click();
        QCOMPARE(main->mnuCEditItem[3]->isEnabled(), cutCopyClear);
        QCOMPARE(main->mnuCEditItem[4]->isEnabled(), cutCopyClear);
        QCOMPARE(main->mnuCEditItem[1]->isEnabled(), cutCopyClear);
        QCOMPARE(main->mnuCEditItem[5]->isEnabled(), paste);
        QCOMPARE(main->mnuCEditItem[6]->isEnabled(), append);
        QVERIFY(main->mnuCEditItem[8]->isEnabled() && main->mnuCEditItem[9]->isEnabled());
    }

    void undoFollowsTheControl()
    {
        openWith(QStringLiteral("abc"), 3);
        text->EmptyUndoBuffer();
        main->mnuEdit_Click();
        QVERIFY(!main->mnuEditUndo->isEnabled());
        QTest::keyClicks(text, QStringLiteral("d"));
        main->mnuEdit_Click();
        main->mnuCEdit_Click();
        QVERIFY(main->mnuEditUndo->isEnabled());
        QVERIFY(main->mnuCEditItem[0]->isEnabled());
        main->mnuEditUndo_Click();
        QCOMPARE(text->Text(), QStringLiteral("abc"));
    }

    void cutCopyPaste()
    {
        openWith(QStringLiteral("one two"), 4, 3);
        main->mnuEditCopy_Click();
        QCOMPARE(Clipboard::GetText(), QStringLiteral("two"));
        QCOMPARE(text->Text(), QStringLiteral("one two"));
        QCOMPARE(document->Label1(), QString());  // Copy does not touch the document

        main->mnuEditCut_Click();
        QCOMPARE(text->Text(), QStringLiteral("one "));
        QCOMPARE(document->Label1(), QStringLiteral("x"));

        text->setSelStart(0);
        text->setSelLength(3);
        main->mnuEditPaste_Click();
        QCOMPARE(text->Text(), QStringLiteral("two "));
    }

    void pastedLinesBecomeParagraphs()
    {
        Clipboard::SetText(QStringLiteral("a\r\nb"));
        QCOMPARE(Clipboard::GetText(), QStringLiteral("a\nb"));  // the platform's break on the clipboard
        openWith(QString());
        main->mnuEditPaste_Click();
        QCOMPARE(text->Text(), QStringLiteral("a\r\nb"));
    }

    void toolbarCutWithoutSelection()
    {
        openWith(QStringLiteral("keep"), 2);
        Clipboard::SetText(QStringLiteral("old"));
        main->tbToolBar_ButtonClick(QStringLiteral("Cut"));
        QCOMPARE(Clipboard::GetText(), QString());
        QCOMPARE(text->Text(), QStringLiteral("keep"));
    }

    void pasteWithoutClipboardTextDeletesTheSelection()
    {
        openWith(QStringLiteral("abc"), 1, 1);
        putPictureOnClipboard();
        main->tbToolBar_ButtonClick(QStringLiteral("Paste"));
        QCOMPARE(text->Text(), QStringLiteral("ac"));
    }

    void clipboardAppend()
    {
        openWith(QStringLiteral("xyz"), 0, 3);
        Clipboard::SetText(QStringLiteral("abc"));
        main->mnuAppend_Click();
        QCOMPARE(Clipboard::GetText(), QStringLiteral("abc\n\nxyz"));
        QCOMPARE(text->Text(), QStringLiteral("xyz"));
        QCOMPARE(document->Label1(), QString());

        putPictureOnClipboard();
        main->mnuAppend_Click();  // no text on the clipboard: as Copy
        QCOMPARE(Clipboard::GetText(), QStringLiteral("xyz"));
    }

    void clearMarksChangedEvenWithoutSelection()
    {
        openWith(QStringLiteral("abc"), 1);
        main->mnuClear_Click();
        QCOMPARE(text->Text(), QStringLiteral("abc"));
        QCOMPARE(document->Label1(), QStringLiteral("x"));
        text->SetSel(0, 2);
        main->mnuClear_Click();
        QCOMPARE(text->Text(), QStringLiteral("c"));
    }

    void clearAllAndSelectAll()
    {
        openWith(QStringLiteral("line\n").repeated(200000));  // about a megabyte
        main->mnuSelectAll_Click();
        QCOMPARE(text->SelStart(), 0);
        QCOMPARE(text->SelLength(), text->TextLength());
        QCOMPARE(text->SelLength(), 200000 * 6);
        main->mnuClearAll_Click();
        QCOMPARE(text->Text(), QString());
        QCOMPARE(document->Label1(), QStringLiteral("x"));
        QVERIFY(text->CanUndo());
    }

    void contextItemsRunTheCommands()
    {
        openWith(QStringLiteral("abc def"), 4, 3);
        main->mnuCEdit_Click();
        main->mnuCEditItem[4]->trigger();  // Copy
        QCOMPARE(Clipboard::GetText(), QStringLiteral("def"));
        main->mnuCEditItem[8]->trigger();  // Select All
        QCOMPARE(text->SelLength(), 7);
        main->mnuCEditItem[2]->trigger();  // a separator does nothing
        main->mnuCEditItem[9]->trigger();  // Clear All
        QCOMPARE(text->Text(), QString());
    }

    void deleteKeyFollowsClearsState()
    {
        openWith(QStringLiteral("abc"), 1, 1);
        main->mnuEdit_Click();  // Clear enabled: a selection exists
        text->setSelStart(1);   // ... but not any more
        document->setLabel1(QString());
        QTest::keyClick(text, Qt::Key_Delete);
        QCOMPARE(text->Text(), QStringLiteral("abc"));  // ran Clear: nothing deleted
        QCOMPARE(document->Label1(), QStringLiteral("x"));

        main->mnuEdit_Click();  // Clear disabled now
        QVERIFY(!main->mnuClear->isEnabled());
        QTest::keyClick(text, Qt::Key_Delete);
        QCOMPARE(text->Text(), QStringLiteral("ac"));  // an ordinary Delete
    }

    void startupStatesLetEditingKeysWork()
    {
        // Before any menu has opened, the keys behave as in any editor.
        QTest::keyClicks(text, QStringLiteral("hello"));
        text->setSelStart(0);
        QTest::keyClick(text, Qt::Key_Delete);
        QCOMPARE(text->Text(), QStringLiteral("ello"));
    }

    void undoShortcutGoesToTheEnabledItem()
    {
        openWith(QStringLiteral("ab"), 2);
        QTest::keyClicks(text, QStringLiteral("c"));
        main->mnuEdit_Click();
        QVERIFY(main->mnuEditUndo->isEnabled());
        int undone = 0;
        connect(main->mnuEditUndo, &QAction::triggered, this, [&] { ++undone; });
        QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(undone, 1);
        QCOMPARE(text->Text(), QStringLiteral("ab"));
    }

    void timerEnablesToolbarButtonsByPosition()
    {
        const QList<QAction*> positions = main->toolbarPositions();
        openWith(QStringLiteral("abc"), 0, 2);
        Clipboard::SetText(QStringLiteral("x"));
        main->Timer1_Timer();
        QVERIFY(positions[8]->isEnabled() && positions[9]->isEnabled() && positions[10]->isEnabled());
        text->setSelStart(0);
        Clipboard::Clear();
        main->Timer1_Timer();
        QVERIFY(!positions[8]->isEnabled() && !positions[9]->isEnabled());
        QVERIFY(!positions[10]->isEnabled());
        QVERIFY(!positions[12]->isEnabled());
        QTest::keyClicks(text, QStringLiteral("y"));
        main->Timer1_Timer();
        QVERIFY(positions[12]->isEnabled());
    }
};

PAGEWELL_TEST_MAIN(TestEditCommands)
#include "tst_editcommands.moc"
