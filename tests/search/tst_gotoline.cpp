// Go To Line: the digit-only box, the line number's readings, the caret and
// the lasting effects of a far move.
#include "MainWindowFixture.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "search/GotoLine.h"
#include "search/SearchSupport.h"
#include "search/frmGotoLine.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using testsupport::MainWindowFixture;
using testsupport::WhenModal;

namespace {

// Five lines, each "line N" padded to 10 characters: line k starts at 12 * k.
const QString FiveLines = QStringLiteral("line 1....\r\nline 2....\r\nline 3....\r\nline 4....\r\nline 5....");

}  // namespace

class TestGotoLine : public QObject {
    Q_OBJECT

    MainWindowFixture f;

    void start(bool wrap)
    {
        f.startWrapped(wrap);
        f.main->Timer1->stop();
    }

    // Go To Line... with `number` typed and then `key` (OK when none).
    bool goToLine(const QString& number, int key = 0)
    {
        WhenModal<frmGotoLine> answer([&](frmGotoLine* dialog) {
            QCOMPARE(dialog->Text1->text(), QString());  // every use starts empty
            QTest::keyClicks(dialog->Text1, number);
            key ? QTest::keyClick(dialog->Text1, Qt::Key(key)) : dialog->cmdOK->click();
        });
        f.main->mnuFind_Click(5);
        return answer.answered() && !QApplication::activeModalWidget();
    }

    QString selection() const { return QStringLiteral("%1,%2").arg(f.text()->SelStart()).arg(f.text()->SelLength()); }

private slots:
    void cleanup() { f.stop(); }

    // The control's lines start at 0, 10667, 21334, 32001 and 42668, the
    // caret's (-1) at 10667. The jump: the line asked for (-2: none), the
    // caret's target and whether the far move takes it there.
    void lineJump_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("jump");
        QTest::newRow("1") << "1" << "0 0 0";
        QTest::newRow("0 is line 1") << "0" << "0 0 0";
        QTest::newRow("00 is the caret's line") << "00" << "-1 10667 0";
        QTest::newRow("leading zeros, last near line") << "003" << "2 21334 0";
        QTest::newRow("first far line") << "4" << "3 32001 1";
        QTest::newRow("past the last line goes to the end") << "6" << "5 1000000000 0";
        QTest::newRow("largest") << "2147483648" << "2147483647 1000000000 0";
        QTest::newRow("too large") << "2147483649" << "-2 1000000000 0";
    }
    void lineJump()
    {
        QFETCH(QString, number);
        QFETCH(QString, jump);
        int asked = -2;
        const search::LineJump to = search::lineJump(number, [&asked](int line) {
            asked = line;
            return line >= -1 && line < 5 ? 10667 * (line == -1 ? 1 : line) : -1;
        });
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(asked).arg(to.position).arg(to.far), jump);
    }

    void caretGoesToTheLine_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("key");  // 0: OK clicked
        QTest::addColumn<int>("caretBefore");
        QTest::addColumn<int>("caret");
        QTest::newRow("third") << "3" << 0 << 0 << 24;
        QTest::newRow("Enter") << "2" << int(Qt::Key_Return) << 0 << 12;
        QTest::newRow("Escape") << "2" << int(Qt::Key_Escape) << 30 << 30;
        QTest::newRow("last") << "5" << 0 << 0 << 48;
        QTest::newRow("00 goes to the caret's line start") << "00" << 0 << 40 << 36;
        QTest::newRow("past the last line goes to the end") << "6" << 0 << 0 << 58;
    }
    void caretGoesToTheLine()
    {
        QFETCH(QString, number);
        QFETCH(int, key);
        QFETCH(int, caretBefore);
        QFETCH(int, caret);
        start(false);
        f.show(FiveLines, caretBefore);
        f.main->UpdateStatusLine();
        QVERIFY(goToLine(number, key));
        QCOMPARE(selection(), QStringLiteral("%1,0").arg(caret));
        QCOMPARE(f.main->panelText(2).section(u' ', 0, 2),
                 QStringLiteral("Line=%1 of 5").arg(f.text()->LineFromChar(caret) + 1));
        QCOMPARE(f.text()->RightMargin(), int(RichTextBox::NoWrapMargin));
    }

    void onlyDigitsCanBeTyped()
    {
        start(false);
        WhenModal<frmGotoLine> answer([](frmGotoLine* dialog) {
            QVERIFY(!dialog->cmdOK->isEnabled() && dialog->cmdOK->isDefault());
            QTest::keyClicks(dialog->Text1, QStringLiteral("1a2-b 3.+"));
            QCOMPARE(dialog->Text1->text() + QString::number(dialog->cmdOK->isEnabled()), QStringLiteral("1231"));
            QVERIFY(!dialog->Text1_KeyPress(QChar(0x0663)) && !dialog->Text1_KeyPress(QChar(0xe9)));  // an Arabic-Indic digit, é
            QVERIFY(dialog->Text1_KeyPress(u'7') && dialog->Text1_KeyPress(QChar(8)));  // and Backspace
            dialog->cmdCancel->click();
        });
        f.main->mnuFind_Click(5);
        QVERIFY(answer.answered());
    }

    // With Word Wrap on, the far move leaves the text wrapped at the width
    // times a single-precision 1.1, rounded half to even.
    void farMoveMargin_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("margin");
        QTest::newRow("1000") << 1000 << 1100;
        QTest::newRow("15: 16.5 to even") << 15 << 16;
        QTest::newRow("1005: 1105.5 to even") << 1005 << 1106;
        QTest::newRow("8985: 9883.5 to even") << 8985 << 9884;
    }
    void farMoveMargin()
    {
        QFETCH(int, width);
        QFETCH(int, margin);
        QCOMPARE(search::farMoveRightMargin(width), margin);
    }

    // A line starting at 40000 takes the caret exactly there; only from
    // 32001 on, and only with Word Wrap on, does the margin change.
    void farLine_data()
    {
        QTest::addColumn<bool>("wrap");
        QTest::addColumn<int>("lineStart");
        QTest::newRow("wrap off, far") << false << 40000;
        QTest::newRow("wrap on, far") << true << 40000;
        QTest::newRow("wrap on, near") << true << 32000;
        QTest::newRow("wrap on, first far position") << true << 32001;
    }
    void farLine()
    {
        QFETCH(bool, wrap);
        QFETCH(int, lineStart);
        start(wrap);
        // Words, so that a wrapped paragraph has places to break.
        f.show(QStringLiteral("word ").repeated(lineStart / 5 + 1).left(lineStart - 2) + "\r\nthe target line\r\nafter");
        const int marginBefore = f.text()->RightMargin();
        const int line = f.text()->LineFromChar(lineStart);
        QCOMPARE(f.text()->LineIndex(line), lineStart);
        QVERIFY(goToLine(QString::number(line + 1)));
        QCOMPARE(selection(), QStringLiteral("%1,0").arg(lineStart));
        QCOMPARE(f.text()->RightMargin(),
                 wrap && lineStart >= 32001 ? search::farMoveRightMargin(f.text()->Width()) : marginBefore);
        QVERIFY(f.active()->updatesEnabled());
        f.main->UpdateStatusLine();
        QVERIFY(f.main->panelText(2).startsWith(QStringLiteral("Line=%1 ").arg(f.text()->LineFromChar(-1) + 1)));
    }
};

PAGEWELL_TEST_MAIN(TestGotoLine)
#include "tst_gotoline.moc"
