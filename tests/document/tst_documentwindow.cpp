// Document windows: what they take from the store, their changed mark,
// typing mode, word wrap and tab stops on resize, the context menu, and
// what they write when they close.
#include "MainWindowFixture.h"
#include "app/frmMain.h"
#include "core/OleColor.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>

using testsupport::putSetting;
using testsupport::setting;

class TestDocumentWindow : public QObject {
    Q_OBJECT

    testsupport::MainWindowFixture f;

    // Starts with the settings given as "Section/Key=value".
    void start(const QStringList& stored = {})
    {
        f.start({}, [&] {
            for (const QString& entry : stored)
                putSetting(entry.section(u'/', 0, 0), entry.section(u'/', 1).section(u'=', 0, 0), entry.section(u'=', 1));
        });
        f.boxes->defaultAnswer = vb::vbNo;  // changed documents close unsaved
    }
    void resize(QSize by)
    {
        f.active()->parentWidget()->resize(f.active()->parentWidget()->size() + by);
        QApplication::processEvents();
    }

private slots:
    void cleanupTestCase() { f.stop(); }

    void changedMarkAndLayout()
    {
        start();
        QCOMPARE(f.active()->Label1(), QString());
        QTest::keyClicks(f.text(), QStringLiteral("hi"));
        QCOMPARE(f.active()->Label1(), QStringLiteral("x"));
        resize({40, 30});
        QCOMPARE(f.active()->Label1(), QStringLiteral("x"));
        QCOMPARE(f.text()->geometry(), f.active()->rect());  // the control fills the window
        f.active()->setLabel1(QString());
        resize({-20, -20});
        QCOMPARE(f.active()->Label1(), QString());  // layout never marks a change
        QCOMPARE(f.text()->geometry(), f.active()->rect());
    }

    void insertKeyTogglesTypingMode()
    {
        start();
        QStringList modes{f.main->panelText(1)};
        for (const auto modifier : {Qt::NoModifier, Qt::ShiftModifier, Qt::NoModifier, Qt::NoModifier}) {
            QTest::keyClick(f.text(), Qt::Key_Insert, modifier);
            modes << f.main->panelText(1);
        }
        f.main->NewDocument();  // a new document starts in insert mode
        modes << f.main->panelText(1);
        QCOMPARE(modes, QStringList({"Insert", "Overtype", "Overtype", "Insert", "Overtype", "Insert"}));
    }

    void overtype_data()
    {
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("keys");  // letters typed; "<" Backspace, "|" Enter, "[" Left
        QTest::addColumn<QString>("expected");
        QTest::newRow("first letter") << 0 << "X" << "Xat\r\ndog";
        QTest::newRow("whole word") << 0 << "pig" << "pig\r\ndog";
        QTest::newRow("backspace as in insert mode") << 2 << "<" << "ct\r\ndog";
        QTest::newRow("enter as in insert mode") << 1 << "|" << "c\r\nat\r\ndog";
        QTest::newRow("moving replaces nothing") << 2 << "[X" << "cXt\r\ndog";
        QTest::newRow("paragraph end is kept") << 3 << "s" << "cats\r\ndog";
        QTest::newRow("text end appends") << 8 << "s" << "cat\r\ndogs";
    }
    void overtype()
    {
        QFETCH(int, caret);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        start();
        f.show(QStringLiteral("cat\ndog"), caret);
        QTest::keyClick(f.text(), Qt::Key_Insert);
        for (QChar key : keys) {
            const int special = QStringLiteral("<|[").indexOf(key);
            if (special < 0)
                QTest::keyClicks(f.text(), QString(key));
            else
                QTest::keyClick(f.text(), QList<Qt::Key>{Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Left}[special]);
        }
        QCOMPARE(f.text()->Text(), expected);
    }

    // The font keys count only when a background colour is stored; bold
    // only for the exact word "True".
    void storedLook_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("look");  // font, size, bold, background, typed colour
        const QStringList font{"Font/Name=Liberation Serif", "Font/Size=14.25", "Font/Color=255", "Font/Bold=True"};
        QTest::newRow("nothing stored") << QStringList() << "Arial 9.75 0 -2147483643 0";
        QTest::newRow("all stored") << font + QStringList{"Color/Color=14745599"} << "Liberation Serif 14.25 1 14745599 255";
        QTest::newRow("name and bold need a background") << font << "Arial 14.25 0 -2147483643 255";
        QTest::newRow("bold in lower case") << QStringList{"Color/Color=-2147483643", "Font/Bold=true"}
                                            << "Arial 9.75 0 -2147483643 0";
    }
    void storedLook()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, look);
        start(stored);
        QTest::keyClicks(f.text(), QStringLiteral("red"));
        f.text()->SetSel(0, 3);
        const QFont font = f.text()->Font();
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5").arg(font.family()).arg(font.pointSizeF()).arg(font.bold())
                     .arg(f.text()->BackColor()).arg(f.text()->SelColor()),
                 look);
    }

    // The colour at the caret (the selection dropped first) and the font are
    // written on close; the last window to close wins.
    void closingWritesFontAndColours()
    {
        start();
        frmDocument* first = f.active();
        f.text()->setText(QStringLiteral("plain red"));
        f.text()->SetSel(6, 9);
        f.text()->setSelColor(255);
        f.text()->SetSel(8, 9);
        frmDocument* second = f.main->NewDocument();
        second->txtText->setBackColor(0x0000FF);
        f.main->activateDocument(first);
        f.main->item("mnuFileItem", 3)->trigger();
        QApplication::processEvents();
        const auto written = [] {
            QStringList values;
            for (const char* key : {"Font/Color", "Color/Color", "Font/Name", "Font/Size", "Font/Bold"})
                values << setting(QString(key).section(u'/', 0, 0), QString(key).section(u'/', 1));
            return values;
        };
        QCOMPARE(written(), QStringList({"255", "-2147483643", "Arial", "9.75", "False"}));
        f.main->NewDocument();  // the system colour comes back as the system colour
        QCOMPARE(f.text()->BackColor(), olecolor::SystemWindow);
        f.main->activateDocument(second);
        f.main->item("mnuFileItem", 3)->trigger();
        QCOMPARE(written().mid(1, 1), QStringList({"255"}));
    }

    void storedTabCountSetsEvenStops()
    {
        start({"Tab Set/Tab= 4"});
        const int width = f.text()->Width(), step = qRound(width / 5.0);
        QCOMPARE(f.text()->SelTabCount(), 4);
        QVERIFY(qAbs(f.text()->SelTabs(0) - step) <= 1 && qAbs(f.text()->SelTabs(3) - 4 * step) <= 4);
        resize({90, 0});
        QVERIFY(f.text()->Width() > width);
        QVERIFY2(f.text()->SelTabs(0) > step, "a resize spreads the stops again");
    }

    void wordWrap_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("wraps");
        QTest::newRow("missing") << "" << true;
        QTest::newRow("True") << "True" << true;
        QTest::newRow("False") << "False" << false;
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("number") << "1" << true;
        QTest::newRow("other text") << "maybe" << true;
    }
    void wordWrap()
    {
        QFETCH(QString, stored);
        QFETCH(bool, wraps);
        start(stored.isEmpty() ? QStringList() : QStringList{"WordWrap/Wrap=" + stored});
        for (int tries = 0; tries < 3 && f.active()->width() != 666; ++tries)
            resize({666 - f.active()->width(), 0});
        // 9990 twips wide: the menu's 95 % is 9490.5, rounded half to even.
        const int width = f.text()->Width(), noWrap = RichTextBox::NoWrapMargin, byMenu = 9490;
        QCOMPARE(width, 9990);
        QList<int> margins{f.main->item("mnuWrap")->isChecked(), f.text()->RightMargin()};
        for (int i = 0; i < 2; ++i) {  // Word Wrap from the menu, twice
            f.main->item("mnuWrap")->trigger();
            margins << f.main->item("mnuWrap")->isChecked() << f.text()->RightMargin();
        }
        QCOMPARE(margins, wraps ? QList<int>({1, width - 300, 0, noWrap, 1, byMenu}) : QList<int>({0, noWrap, 1, byMenu, 0, noWrap}));
        f.main->item("mnuWrap")->trigger();
        resize({15, 15});  // the menu's choice holds only until the next resize
        QCOMPARE(f.main->item("mnuWrap")->isChecked(), wraps);
    }

    void rightClickPopsUpTheContextMenu()
    {
        start();
        QAction* defaultItem = nullptr;
        QTimer::singleShot(0, this, [&] {
            if (f.main->mnuCEdit->isVisible())
                defaultItem = f.main->mnuCEdit->defaultAction();
            f.main->mnuCEdit->close();
        });
        QTest::mouseClick(f.text()->viewport(), Qt::RightButton, {}, QPoint(30, 20));
        QTRY_VERIFY(defaultItem);
        QCOMPARE(defaultItem, f.main->item("mnuCEditItem", 8));  // Select All
    }
};

PAGEWELL_TEST_MAIN(TestDocumentWindow)
#include "tst_documentwindow.moc"
