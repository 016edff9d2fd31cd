// The Edit and context menus: enabled states, what each command does to the
// text, the clipboard and the changed mark, the undo step each makes, the
// rule that a disabled item's shortcut reaches the text as ordinary input,
// and the toolbar buttons enabled by position.
#include "MainWindowFixture.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "editing/Clipboard.h"
#include "editing/frmTime.h"
#include "search/frmReplace.h"

#include <QAction>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QToolBar>

using testsupport::MainWindowFixture;

namespace {

const QString Picture = QStringLiteral("<picture>");

// Text, or Picture for an image and nothing else.
void putOnClipboard(const QString& content)
{
    if (content != Picture) {
        content.isEmpty() ? Clipboard::Clear() : Clipboard::SetText(content);
        return;
    }
    auto* data = new QMimeData;
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    data->setImageData(image);
    QGuiApplication::clipboard()->setMimeData(data);
}

QString enabled(const QList<QAction*>& items)
{
    QString states;
    for (QAction* item : items)
        states += item->isEnabled() ? u'1' : u'0';
    return states;
}

}  // namespace

class TestEditCommands : public QObject {
    Q_OBJECT

    MainWindowFixture f;

    void run(const QString& command)
    {
        frmMain& m = *f.main;
        if (command.startsWith(QLatin1String("context "))) {
            m.mnuCEdit_Click();
            m.mnuCEditItem[command.mid(8).toInt()]->trigger();
        } else if (command.startsWith(QLatin1String("toolbar "))) {
            m.tbToolBar_ButtonClick(command.mid(8));
        } else if (command == QLatin1String("Clean")) {
            m.mnuEdit_Click();
            m.mnuClean[1]->trigger();
        } else {
            const QHash<QString, void (frmMain::*)()> items{
                {"Cut", &frmMain::mnuEditCut_Click},   {"Copy", &frmMain::mnuEditCopy_Click},
                {"Paste", &frmMain::mnuEditPaste_Click}, {"Append", &frmMain::mnuAppend_Click},
                {"Clear", &frmMain::mnuClear_Click},   {"Select All", &frmMain::mnuSelectAll_Click},
                {"Clear All", &frmMain::mnuClearAll_Click}};
            (m.*items.value(command))();
        }
    }

private slots:
    void init()
    {
        f.start();
        f.boxes->defaultAnswer = vb::vbNo;
        f.text()->setFocus();
        Clipboard::Clear();
    }
    void cleanup() { f.stop(); }

    void menuStates_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("states");  // Clean, Cut, Copy, Clear, Paste, Append
        QTest::newRow("empty document") << "" << 0 << "" << "000000";
        QTest::newRow("text, no selection") << "abc" << 0 << "clip" << "100010";
        QTest::newRow("selection, clipboard text") << "abc" << 2 << "clip" << "111111";
        QTest::newRow("selection, empty clipboard") << "abc" << 2 << "" << "111100";
        QTest::newRow("selection, picture only") << "abc" << 2 << Picture << "111100";
    }
    void menuStates()
    {
        QFETCH(QString, content);
        QFETCH(int, selLength);
        QFETCH(QString, clipboard);
        QFETCH(QString, states);
        f.show(content, 0, selLength);
        putOnClipboard(clipboard);
        frmMain& m = *f.main;
        m.mnuEdit_Click();
        QCOMPARE(enabled({m.mnuClean[1], m.mnuEditCut, m.mnuEditCopy, m.mnuClear, m.mnuEditPaste, m.mnuAppend}),
                 states);
        QVERIFY(m.mnuSelectAll->isEnabled() && m.mnuClearAll->isEnabled());
        m.mnuCEdit_Click();
        const auto& c = m.mnuCEditItem;
        QCOMPARE(enabled({c[11], c[3], c[4], c[1], c[5], c[6]}), states);
        QVERIFY(c[8]->isEnabled() && c[9]->isEnabled());
    }

    void commands_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("after");  // text, clipboard, changed mark, selection
        QTest::newRow("Copy") << "one two" << 4 << 3 << "" << "Copy" << QStringList{"one two", "two", "", "4,3"};
        QTest::newRow("Cut") << "one two" << 4 << 3 << "" << "Cut" << QStringList{"one ", "two", "x", "4,0"};
        QTest::newRow("Paste") << "one two" << 0 << 3 << "two" << "Paste"
                               << QStringList{"two two", "two", "x", "3,0"};
        // The clipboard holds the platform's line break.
        QTest::newRow("pasted lines become paragraphs") << "" << 0 << 0 << "a\r\nb" << "Paste"
                                                        << QStringList{"a\r\nb", "a\nb", "x", "4,0"};
        QTest::newRow("Paste without text deletes") << "abc" << 1 << 1 << Picture << "toolbar Paste"
                                                    << QStringList{"ac", "", "x", "1,0"};
        QTest::newRow("Cut without a selection") << "keep" << 2 << 0 << "old" << "toolbar Cut"
                                                 << QStringList{"keep", "", "", "2,0"};
        QTest::newRow("Append") << "xyz" << 0 << 3 << "abc" << "Append" << QStringList{"xyz", "abc\n\nxyz", "", "0,3"};
        QTest::newRow("Append to a picture copies") << "xyz" << 0 << 3 << Picture << "Append"
                                                    << QStringList{"xyz", "xyz", "", "0,3"};
        QTest::newRow("Clear marks changed without a selection") << "abc" << 1 << 0 << "" << "Clear"
                                                                 << QStringList{"abc", "", "x", "1,0"};
        QTest::newRow("Clear") << "abc" << 0 << 2 << "" << "Clear" << QStringList{"c", "", "x", "0,0"};
        QTest::newRow("Select All, a megabyte") << QString("line\n").repeated(200000) << 3 << 0 << "" << "Select All"
                                                << QStringList{QString("line\r\n").repeated(200000), "", "", "0,1200000"};
        QTest::newRow("Clear All") << "abc" << 1 << 1 << "" << "Clear All" << QStringList{"", "", "x", "0,0"};
        QTest::newRow("context Copy") << "abc def" << 4 << 3 << "" << "context 4"
                                      << QStringList{"abc def", "def", "", "4,3"};
        QTest::newRow("context Select All") << "abc def" << 4 << 3 << "" << "context 8"
                                            << QStringList{"abc def", "", "", "0,7"};
        QTest::newRow("context separator") << "abc" << 1 << 1 << "" << "context 2" << QStringList{"abc", "", "", "1,1"};
        QTest::newRow("Clean") << "name=John+Smith&city=New+York%2C+NY" << 0 << 0 << "" << "Clean"
                               << QStringList{"name=John Smith \r\ncity=New York, NY", "", "x", "0,0"};
        QTest::newRow("Clean, the selection limits a rule's first search")
            << "name=John+Smith&city=New+York%2C+NY" << 3 << 2 << "" << "Clean"
            << QStringList{"name=John Smith&city=New York, NY", "", "x", "0,0"};
        QTest::newRow("context Clean, caret behind the last ~") << "a%7Eb%7ec" << 0 << 0 << "" << "context 11"
                                                               << QStringList{"a~b~c", "", "x", "4,0"};
        QTest::newRow("Clean with nothing to do") << "plain %41 text" << 5 << 3 << "" << "Clean"
                                                  << QStringList{"plain %41 text", "", "", "0,0"};
    }
    void commands()
    {
        QFETCH(QString, content);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, clipboard);
        QFETCH(QString, command);
        QFETCH(QStringList, after);
        f.show(content, selStart, selLength);
        putOnClipboard(clipboard);
        run(command);
        const RichTextBox* text = f.text();
        QCOMPARE((QStringList{text->Text(), Clipboard::GetText(), f.active()->Label1(),
                              QStringLiteral("%1,%2").arg(text->SelStart()).arg(text->SelLength())}),
                 after);
    }

    // Clean keeps the format of the text it does not touch.
    void cleanKeepsFormats()
    {
        f.show(QStringLiteral("red%2Cplain"), 0, 3);
        f.text()->setSelColor(255);
        run(QStringLiteral("Clean"));
        QList<bool> red;
        for (int i = 0; i < 9; ++i) {
            f.text()->SetSel(i, i + 1);
            red << (f.text()->SelColor() == 255);
        }
        QCOMPARE(red, QList<bool>({true, true, true, false, false, false, false, false, false}));
    }

    // Typed letters run together into one undo step, but a command is a
    // step of its own, apart from the typing before and after it.
    void eachCommandIsItsOwnUndoStep_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("selected");  // letters at the end selected for the command
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("undone");  // after one, two, three Undos; %1 what was inserted
        QTest::newRow("typing alone") << "alpha" << 0 << "context 2" << QStringList{"", "", ""};
        QTest::newRow("Paste") << "alpha" << 0 << "context 5" << QStringList{"alpha%1", "alpha", ""};
        QTest::newRow("Paste over a selection") << "alpha beta" << 4 << "context 5"
                                                << QStringList{"alpha %1", "alpha beta", ""};
        QTest::newRow("Cut") << "alpha beta" << 4 << "context 3" << QStringList{"alpha ", "alpha beta", ""};
        QTest::newRow("Clear") << "alpha beta" << 4 << "context 1" << QStringList{"alpha ", "alpha beta", ""};
        QTest::newRow("Clean, two edits") << "a+b%2Cc" << 7 << "context 11" << QStringList{"a b,c", "a+b%2Cc", ""};
        QTest::newRow("Clear All") << "alpha" << 0 << "Clear All" << QStringList{"", "alpha", ""};
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
        f.show(QString());
        QTest::keyClicks(f.text(), typed);
        f.text()->SetSel(int(typed.size()) - selected, int(typed.size()));
        QString inserted = QStringLiteral("xyz");
        Clipboard::SetText(inserted);
        if (command == QLatin1String("Replace All")) {
            frmReplace* dialog = replaceDialog(*f.main);
            dialog->txtFind->setText(QStringLiteral("cat"));
            dialog->txtReplace->setText(QStringLiteral("dog"));
            dialog->cmdAll_Click();
        } else if (command == QLatin1String("Date/Time")) {
            frmTime dialog(f.main.get());
            inserted = dialog.List1->currentItem()->text();
            dialog.Command1_Click();
        } else if (command == QLatin1String("Insert")) {
            f.dialogs->choose(f.file(QStringLiteral("insert.txt"), "xyz"));
            f.main->FileInsert();
        } else {
            run(command);
        }
        QTest::keyClick(f.text(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(f.text(), QStringLiteral("!"));
        for (QString expected : undone) {
            f.main->mnuEditUndo_Click();
            QCOMPARE(f.text()->Text(), expected.replace(QLatin1String("%1"), inserted));
        }
    }

    // Before any menu has opened the keys work as in any editor; after, a
    // key whose item is disabled is ordinary input, and an enabled one runs it.
    void shortcutsFollowTheItems()
    {
        QTest::keyClicks(f.text(), QStringLiteral("hello"));
        f.text()->setSelStart(0);
        QTest::keyClick(f.text(), Qt::Key_Delete);
        QCOMPARE(f.text()->Text(), QStringLiteral("ello"));

        f.show(QStringLiteral("abc"), 1, 1);
        f.main->mnuEdit_Click();  // Clear enabled: a selection exists
        QVERIFY(!f.main->mnuEditUndo->isEnabled());
        f.text()->setSelStart(1);  // ... but not any more
        QTest::keyClick(f.text(), Qt::Key_Delete);
        QCOMPARE(f.text()->Text() + f.active()->Label1(), QStringLiteral("abcx"));  // ran Clear
        f.main->mnuEdit_Click();
        QTest::keyClick(f.text(), Qt::Key_Delete);  // Clear disabled: an ordinary Delete
        QCOMPARE(f.text()->Text(), QStringLiteral("ac"));

        f.main->mnuEdit_Click();
        int undone = 0;
        connect(f.main->mnuEditUndo, &QAction::triggered, this, [&] { ++undone; });
        QTest::keyClick(f.text(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(undone, 1);
        QCOMPARE(f.text()->Text(), QStringLiteral("abc"));
    }

    // The timer enables toolbar buttons by their position, whatever stands there.
    void toolbarButtonsByPosition_data()
    {
        QTest::addColumn<bool>("customised");  // without the first separator
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("states");  // positions 8, 9, 10, 12
        QTest::newRow("selection and clipboard") << false << 2 << "x" << "" << "1110";
        QTest::newRow("nothing") << false << 0 << "" << "" << "0000";
        QTest::newRow("something to undo") << false << 0 << "" << "y" << "0001";
        // Copy now stands at 8 and Paste at 9, both enabled by a selection;
        // separators stand at 10 and 12.
        QTest::newRow("customised, nothing") << true << 0 << "x" << "" << "0011";
        QTest::newRow("customised, selection") << true << 2 << "" << "" << "1111";
    }
    void toolbarButtonsByPosition()
    {
        QFETCH(bool, customised);
        QFETCH(int, selLength);
        QFETCH(QString, clipboard);
        QFETCH(QString, typed);
        QFETCH(QString, states);
        if (customised)
            f.main->applyToolbarLayout(*toolbaredit::remove(ToolbarLayout::standard(), 0));
        const QList<QAction*> positions = f.main->toolbarPositions();
        f.show(QStringLiteral("abc"), 0, selLength);
        putOnClipboard(clipboard);
        QTest::keyClicks(f.text(), typed);
        f.main->Timer1_Timer();
        QCOMPARE(enabled({positions[8], positions[9], positions[10], positions[12]}), states);
    }

    void customisedToolbarSurvivesARestart()
    {
        const ToolbarLayout layout = *toolbaredit::remove(ToolbarLayout::standard(), 5);  // Print's position
        f.main->applyToolbarLayout(layout);
        f.main->tbToolBar_Change();
        f.main->close();
        f.restart();
        QCOMPARE(f.main->toolbarLayout(), layout);
        QStringList keys;
        for (QAction* action : f.main->tbToolBar->actions())
            keys << (action->isSeparator() ? QStringLiteral("|") : action->property("Key").toString());
        QCOMPARE(keys, layout.entries());
        QVERIFY(!keys.contains(QStringLiteral("Print")));
        // A damaged one gives way to the standard layout.
        f.main.reset();
        testsupport::putSetting(QStringLiteral("Custom"), QStringLiteral("Toolbar"), QStringLiteral("New,Bogus,,|"));
        f.restart();
        QCOMPARE(f.main->toolbarLayout(), ToolbarLayout::standard());
        QCOMPARE(f.main->toolbarPositions().size(), 22);
    }
};

PAGEWELL_TEST_MAIN(TestEditCommands)
#include "tst_editcommands.moc"
