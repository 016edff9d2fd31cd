// The Edit and context menus: enabled states, what each command does to the
// text, the clipboard and the changed mark, the undo step each makes, the
// rule that a disabled item's shortcut reaches the text as ordinary input,
// and the toolbar buttons enabled by position.
#include "MainWindowFixture.h"
#include "app/frmMain.h"
#include "core/Clipboard.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "editing/EditCommands.h"
#include "editing/frmTime.h"
#include "files/FileCommands.h"
#include "search/frmReplace.h"

#include <QAction>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QRandomGenerator>
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
            m.item("mnuCEditItem", command.mid(8).toInt())->trigger();
        } else if (command.startsWith(QLatin1String("toolbar "))) {
            m.tbToolBar_ButtonClick(command.mid(8));
        } else if (command == QLatin1String("Clean")) {
            m.mnuEdit_Click();
            m.item("mnuClean", 1)->trigger();
        } else if (command == QLatin1String("Replace All")) {
            frmReplace* dialog = replaceDialog(m);
            dialog->txtFind->setText(QStringLiteral("cat"));
            dialog->txtReplace->setText(QStringLiteral("dog"));
            dialog->cmdAll_Click();
        } else if (command == QLatin1String("Date/Time")) {
            frmTime(&m, QDateTime(QDate(2026, 12, 4), QTime(22, 5)), QLocale(QLocale::English, QLocale::UnitedStates))
                .Command1_Click();
        } else if (command == QLatin1String("Insert")) {
            f.dialogs->choose(f.file(QStringLiteral("insert.txt"), "xyz"));
            files::FileInsert(m);
        } else {
            using namespace editing;
            const QHash<QString, void (*)(Workspace&)> items{
                {"Cut", mnuEditCut_Click},   {"Copy", mnuEditCopy_Click},
                {"Paste", mnuEditPaste_Click}, {"Append", mnuAppend_Click},
                {"Clear", mnuClear_Click},   {"Select All", mnuSelectAll_Click},
                {"Clear All", mnuClearAll_Click}};
            items.value(command)(m);
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

    // Edit menu and context menu (Undo, Clean, Cut, Copy, Clear, Paste,
    // Append), then toolbar positions 8, 9, 10 and 12, which the timer
    // enables by position whatever stands there.
    void enabledStates_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<bool>("customised");  // the toolbar without its first separator
        QTest::addColumn<QString>("states");
        QTest::newRow("empty document") << "" << 0 << "" << false << "0000000 0000";
        QTest::newRow("text, no selection") << "abc" << 0 << "clip" << false << "1100010 0011";
        QTest::newRow("selection, clipboard text") << "abc" << 2 << "clip" << false << "1111111 1111";
        QTest::newRow("selection, empty clipboard") << "abc" << 2 << "" << false << "1111100 1101";
        QTest::newRow("selection, picture only") << "abc" << 2 << Picture << false << "1111100 1101";
        // Copy now stands at 8 and Paste at 9, both enabled by a selection;
        // separators stand at 10 and 12.
        QTest::newRow("customised, nothing selected") << "abc" << 0 << "x" << true << "1100010 0011";
        QTest::newRow("customised, selection") << "abc" << 2 << "" << true << "1111100 1111";
    }
    void enabledStates()
    {
        QFETCH(QString, typed);
        QFETCH(int, selLength);
        QFETCH(QString, clipboard);
        QFETCH(bool, customised);
        QFETCH(QString, states);
        frmMain& m = *f.main;
        if (customised)
            m.applyToolbarLayout(*toolbaredit::remove(ToolbarLayout::standard(), 0));
        QTest::keyClicks(f.text(), typed);
        f.text()->SetSel(0, selLength);
        putOnClipboard(clipboard);
        m.mnuEdit_Click();
        m.mnuCEdit_Click();
        m.Timer1_Timer();
        const auto c = [&m](int index) { return m.item("mnuCEditItem", index); };
        const QList<QAction*> p = m.toolbarPositions();
        QCOMPARE(enabled({m.item("mnuEditUndo"), m.item("mnuClean", 1), m.item("mnuEditCut"), m.item("mnuEditCopy"), m.item("mnuClear"), m.item("mnuEditPaste"),
                          m.item("mnuAppend")}) + u' ' + enabled({p[8], p[9], p[10], p[12]}),
                 states);
        QCOMPARE(enabled({c(0), c(11), c(3), c(4), c(1), c(5), c(6)}), states.left(7));
        QVERIFY(m.item("mnuSelectAll")->isEnabled() && m.item("mnuClearAll")->isEnabled() && c(8)->isEnabled() && c(9)->isEnabled());
    }

    void commands_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("after");  // text | clipboard | changed mark | selection
        const QString clean = QStringLiteral("name=John+Smith&city=New+York%2C+NY");
        QTest::newRow("Copy") << "one two" << 4 << 3 << "" << "Copy" << "one two|two||4,3";
        QTest::newRow("Cut") << "one two" << 4 << 3 << "" << "Cut" << "one |two|x|4,0";
        QTest::newRow("Paste") << "one two" << 0 << 3 << "two" << "Paste" << "two two|two|x|3,0";
        // The clipboard holds the platform's line break.
        QTest::newRow("pasted lines become paragraphs") << "" << 0 << 0 << "a\r\nb" << "Paste" << "a\r\nb|a\nb|x|4,0";
        QTest::newRow("Paste without text deletes") << "abc" << 1 << 1 << Picture << "toolbar Paste" << "ac||x|1,0";
        QTest::newRow("Cut without a selection") << "keep" << 2 << 0 << "old" << "toolbar Cut" << "keep|||2,0";
        QTest::newRow("Append") << "xyz" << 0 << 3 << "abc" << "Append" << "xyz|abc\n\nxyz||0,3";
        QTest::newRow("Append to a picture copies") << "xyz" << 0 << 3 << Picture << "Append" << "xyz|xyz||0,3";
        QTest::newRow("Clear marks changed without a selection") << "abc" << 1 << 0 << "" << "Clear" << "abc||x|1,0";
        QTest::newRow("Clear") << "abc" << 0 << 2 << "" << "Clear" << "c||x|0,0";
        QTest::newRow("Select All, a megabyte") << QString("line\n").repeated(200000) << 3 << 0 << "" << "Select All"
                                                << QString("line\r\n").repeated(200000) + "|||0,1200000";
        QTest::newRow("Clear All") << "abc" << 1 << 1 << "" << "Clear All" << "||x|0,0";
        QTest::newRow("context Copy") << "abc def" << 4 << 3 << "" << "context 4" << "abc def|def||4,3";
        QTest::newRow("context Select All") << "abc def" << 4 << 3 << "" << "context 8" << "abc def|||0,7";
        QTest::newRow("context separator") << "abc" << 1 << 1 << "" << "context 2" << "abc|||1,1";
        QTest::newRow("Clean") << clean << 0 << 0 << "" << "Clean" << "name=John Smith \r\ncity=New York, NY||x|0,0";
        QTest::newRow("Clean, a selection limits a rule's first search")
            << clean << 3 << 2 << "" << "Clean" << "name=John Smith&city=New York, NY||x|0,0";
        QTest::newRow("context Clean, caret behind the last ~") << "a%7Eb%7ec" << 0 << 0 << "" << "context 11"
                                                               << "a~b~c||x|4,0";
        QTest::newRow("Clean with nothing to do") << "plain %41 text" << 5 << 3 << "" << "Clean" << "plain %41 text|||0,0";
        QTest::newRow("Replace All") << "cat cat" << 0 << 0 << "" << "Replace All" << "dog dog||x|7,0";
        QTest::newRow("Date/Time keeps the clipboard") << "Date: " << 6 << 0 << "clip" << "Date/Time"
                                                       << "Date: Dec 04, 2026  10:05 PM|clip|x|28,0";
        QTest::newRow("Insert") << "alpha" << 5 << 0 << "" << "Insert" << "alphaxyz||x|8,0";
    }
    void commands()
    {
        QFETCH(QString, content);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, clipboard);
        QFETCH(QString, command);
        QFETCH(QString, after);
        f.show(content, selStart, selLength);
        putOnClipboard(clipboard);
        const QString before = f.text()->Text();
        run(command);
        RichTextBox* text = f.text();
        QCOMPARE(QStringList({text->Text(), Clipboard::GetText(), f.active()->Label1(),
                              QString::number(text->SelStart()) + u',' + QString::number(text->SelLength())})
                     .join(u'|'),
                 after);
        // The command is one undo step of its own, apart from typing after it.
        QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(text, QStringLiteral("!"));
        QStringList undone;
        for (int i = 0; i < 2; ++i) {
            editing::mnuEditUndo_Click(*f.main);
            undone << text->Text();
        }
        QCOMPARE(undone, QStringList({after.section(u'|', 0, 0), before}));
    }

    // Other programs get LF for each CR LF; a lone CR or LF stays.
    void clipboardTakesThePlatformsBreaks()
    {
        QRandomGenerator random(5);
        for (int text = 0; text < 400; ++text) {
            QString put;
            for (int length = int(random.bounded(12)); length > 0; --length)
                put += QStringLiteral("a\r\n").at(int(random.bounded(3)));
            Clipboard::SetText(put);
            QCOMPARE(Clipboard::GetText(), QString(put).replace(QLatin1String("\r\n"), QLatin1String("\n")));
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
        QVERIFY(!f.main->item("mnuEditUndo")->isEnabled());
        f.text()->setSelStart(1);  // ... but not any more
        QTest::keyClick(f.text(), Qt::Key_Delete);
        QCOMPARE(f.text()->Text() + f.active()->Label1(), QStringLiteral("abcx"));  // ran Clear
        f.main->mnuEdit_Click();
        QTest::keyClick(f.text(), Qt::Key_Delete);  // Clear disabled: an ordinary Delete
        QCOMPARE(f.text()->Text(), QStringLiteral("ac"));

        f.main->mnuEdit_Click();
        int undone = 0;
        connect(f.main->item("mnuEditUndo"), &QAction::triggered, this, [&] { ++undone; });
        QTest::keyClick(f.text(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(undone, 1);
        QCOMPARE(f.text()->Text(), QStringLiteral("abc"));
    }
};

PAGEWELL_TEST_MAIN(TestEditCommands)
#include "tst_editcommands.moc"
