// Go To Line: the digit-only box, the line number's readings, the caret and
// the lasting effects of a far move.
#include "SearchFixture.h"
#include "search/SearchSupport.h"
#include "search/frmGotoLine.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace searchtest;

namespace {

// Five lines, each "line N" padded to 10 characters: line k starts at 12 * k.
const QString FiveLines = QStringLiteral("line 1....\r\nline 2....\r\nline 3....\r\nline 4....\r\nline 5....");

}  // namespace

class TestGotoLine : public QObject {
    Q_OBJECT

    Fixture f;

    // Go To Line... with `number` typed and OK pressed; false if the dialog never showed.
    bool goToLine(const QString& number)
    {
        WhenModal<frmGotoLine> answer([&](frmGotoLine* dialog) {
            QTest::keyClicks(dialog->Text1, number);
            QVERIFY(dialog->cmdOK->isEnabled());
            dialog->cmdOK->click();
        });
        f.main->mnuFind_Click(5);
        return answer.answered();
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void requestedLine_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("index");  // -2: none
        QTest::newRow("1") << "1" << 0;
        QTest::newRow("5") << "5" << 4;
        QTest::newRow("0 is line 1") << "0" << 0;
        QTest::newRow("00 is the caret's line") << "00" << -1;
        QTest::newRow("000") << "000" << -1;
        QTest::newRow("leading zeros") << "007" << 6;
        QTest::newRow("largest") << "2147483648" << 2147483647;
        QTest::newRow("too large") << "2147483649" << -2;
        QTest::newRow("far too large") << "99999999999999999999" << -2;
    }
    void requestedLine()
    {
        QFETCH(QString, number);
        QFETCH(int, index);
        const std::optional<int> line = requestedLineIndex(number);
        QCOMPARE(line.has_value(), index != -2);
        if (line)
            QCOMPARE(*line, index);
    }

    void caretGoesToTheLine_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("caretBefore");
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("statusLine");
        QTest::newRow("first") << "1" << 30 << 0 << 1;
        QTest::newRow("third") << "3" << 0 << 24 << 3;
        QTest::newRow("last") << "5" << 0 << 48 << 5;
        QTest::newRow("0 goes to line 1") << "0" << 30 << 0 << 1;
        QTest::newRow("00 goes to the caret's line start") << "00" << 40 << 36 << 4;
        QTest::newRow("past the last line goes to the end") << "6" << 0 << 58 << 5;
        QTest::newRow("far past the end") << "99999999999" << 0 << 58 << 5;
    }
    void caretGoesToTheLine()
    {
        QFETCH(QString, number);
        QFETCH(int, caretBefore);
        QFETCH(int, caret);
        QFETCH(int, statusLine);
        f.main->Timer1->stop();
        f.open(FiveLines, caretBefore);
        QCOMPARE(f.text->TextLength(), 58);
        f.main->UpdateStatusLine();
        QVERIFY(goToLine(number));
        QCOMPARE(f.selection(), qMakePair(caret, 0));
        QVERIFY2(f.main->panelText(2).startsWith(QStringLiteral("Line=%1 of 5 ").arg(statusLine)),
                 qPrintable(f.main->panelText(2)));
        QCOMPARE(f.text->RightMargin(), int(RichTextBox::NoWrapMargin));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void onlyDigitsCanBeTyped()
    {
        f.open(FiveLines);
        WhenModal<frmGotoLine> answer([](frmGotoLine* dialog) {
            QVERIFY(!dialog->cmdOK->isEnabled());
            QVERIFY(dialog->cmdOK->isDefault());
            QTest::keyClicks(dialog->Text1, QStringLiteral("1a2-b 3.+"));
            QCOMPARE(dialog->Text1->text(), QStringLiteral("123"));
            QVERIFY(dialog->cmdOK->isEnabled());
            QTest::keyClick(dialog->Text1, Qt::Key_Backspace);
            QCOMPARE(dialog->Text1->text(), QStringLiteral("12"));
            QTest::keyClick(dialog->Text1, Qt::Key_Backspace);
            QTest::keyClick(dialog->Text1, Qt::Key_Backspace);
            QVERIFY(!dialog->cmdOK->isEnabled());
            QVERIFY(!dialog->Text1_KeyPress(u'x'));
            QVERIFY(!dialog->Text1_KeyPress(u' '));
            QVERIFY(!dialog->Text1_KeyPress(QChar(0xe9)));
            QVERIFY(!dialog->Text1_KeyPress(QChar(0x0663)));  // an Arabic-Indic digit
            QVERIFY(dialog->Text1_KeyPress(u'7'));
            QVERIFY(dialog->Text1_KeyPress(QChar(8)));  // Backspace
            dialog->cmdCancel->click();
        });
        f.main->mnuFind_Click(5);
        QVERIFY(answer.answered());
    }

    void cancelLeavesTheCaret()
    {
        f.open(FiveLines, 30);
        WhenModal<frmGotoLine> answer([](frmGotoLine* dialog) {
            QTest::keyClicks(dialog->Text1, QStringLiteral("2"));
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        f.main->mnuFind_Click(5);
        QVERIFY(answer.answered());
        QCOMPARE(f.selection(), qMakePair(30, 0));
        // Every use starts empty.
        WhenModal<frmGotoLine> again([](frmGotoLine* dialog) {
            QCOMPARE(dialog->Text1->text(), QString());
            dialog->cmdCancel->click();
        });
        f.main->mnuFind_Click(5);
        QVERIFY(again.answered());
    }

    void enterGoes()
    {
        f.open(FiveLines);
        WhenModal<frmGotoLine> answer([](frmGotoLine* dialog) {
            QTest::keyClicks(dialog->Text1, QStringLiteral("2"));
            QTest::keyClick(dialog->Text1, Qt::Key_Return);
        });
        f.main->mnuFind_Click(5);
        QCOMPARE(f.selection(), qMakePair(12, 0));
    }

    // The far move's lasting effect: with Word Wrap on, the wrap margin
    // becomes 1.1 times the width, in single precision.
    void farMoveMargin_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("margin");
        QTest::newRow("1000") << 1000 << 1100;
        QTest::newRow("15: 16.5 to even") << 15 << 16;
        QTest::newRow("1005: 1105.5 to even") << 1005 << 1106;
        QTest::newRow("1015: 1116.5 to even") << 1015 << 1116;
        QTest::newRow("6015: 6616.5 to even") << 6015 << 6616;
        QTest::newRow("8985: 9883.5 to even") << 8985 << 9884;
    }
    void farMoveMargin()
    {
        QFETCH(int, width);
        QFETCH(int, margin);
        QCOMPARE(search::farMoveRightMargin(width), margin);
    }

    // A line starting at 40000 takes the caret exactly there; Word Wrap off
    // leaves the margin, Word Wrap on wraps at 1.1 times the width afterwards.
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
        f.start(wrap);
        f.main->Timer1->stop();
        QVERIFY(f.main->mnuWrap->isChecked() == wrap);
        // Words, so that a wrapped paragraph has places to break.
        QString first;
        while (first.size() < lineStart - 2)
            first += QStringLiteral("word ");
        first.truncate(lineStart - 2);
        f.open(first + QStringLiteral("\r\nthe target line\r\nafter"));
        const int marginBefore = f.text->RightMargin();
        const int line = f.text->LineFromChar(lineStart);
        QCOMPARE(f.text->LineIndex(line), lineStart);
        QVERIFY(goToLine(QString::number(line + 1)));
        QCOMPARE(f.selection(), qMakePair(lineStart, 0));
        const bool far = lineStart >= 32001;
        QCOMPARE(f.text->RightMargin(),
                 wrap && far ? search::farMoveRightMargin(f.text->Width()) : marginBefore);
        QVERIFY(f.document->updatesEnabled());
        f.main->UpdateStatusLine();
        QVERIFY2(f.main->panelText(2).startsWith(QStringLiteral("Line=%1 ").arg(f.text->LineFromChar(-1) + 1)),
                 qPrintable(f.main->panelText(2)));
    }

    void pointerOnOkWhenActivated()
    {
        f.open(FiveLines);
        WhenModal<frmGotoLine> answer([](frmGotoLine* dialog) {
            QTRY_VERIFY(dialog->isActiveWindow());
            QApplication::processEvents();
            const QPoint centre = dialog->cmdOK->mapToGlobal(dialog->cmdOK->rect().center());
            // The target allows for border and caption in twips, so it lies near the centre.
            QVERIFY2((QCursor::pos() - centre).manhattanLength() < 40,
                     qPrintable(QStringLiteral("%1,%2 vs %3,%4")
                                    .arg(QCursor::pos().x()).arg(QCursor::pos().y()).arg(centre.x()).arg(centre.y())));
            dialog->cmdCancel->click();
        });
        QCursor::setPos(0, 0);
        f.main->mnuFind_Click(5);
        QVERIFY(answer.answered());
    }
};

PAGEWELL_TEST_MAIN(TestGotoLine)
#include "tst_gotoline.moc"
