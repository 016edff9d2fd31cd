// The text control's contract: CR LF offsets, selection, Find, display
// lines, formats, tab stops, loading and its messages.
#include "TestEnvironment.h"
#include "document/OleColor.h"
#include "document/RichTextBox.h"
#include "files/TextFileCodec.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>

class TestRichTextBox : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        box = new RichTextBox;
        box->resize(400, 300);
    }
    void cleanup() { delete box; }

    void newControlDefaults()
    {
        QCOMPARE(box->Text(), QString());
        QCOMPARE(box->TextLength(), 0);
        QCOMPARE(box->Font().family(), QStringLiteral("Arial"));
        QCOMPARE(box->Font().pointSizeF(), 9.75);
        QCOMPARE(box->BackColor(), olecolor::SystemWindow);
        QCOMPARE(box->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
        QCOMPARE(box->LineCount(), 1);
        QCOMPARE(box->RightMargin(), RichTextBox::NoWrapMargin);
    }

    void lineBreaksBecomeCrLf_data()
    {
        QTest::addColumn<QString>("assigned");
        QTest::addColumn<QString>("expected");
        QTest::newRow("LF") << "a\nb" << "a\r\nb";
        QTest::newRow("CR LF") << "a\r\nb" << "a\r\nb";
        QTest::newRow("lone CR") << "a\rb" << "a\r\nb";
        QTest::newRow("mixed") << "a\nb\r\nc\rd" << "a\r\nb\r\nc\r\nd";
        QTest::newRow("CR CR LF is two breaks") << "a\r\r\nb" << "a\r\n\r\nb";
        QTest::newRow("trailing break") << "a\n" << "a\r\n";
        QTest::newRow("empty lines") << "\n\n" << "\r\n\r\n";
    }
    void lineBreaksBecomeCrLf()
    {
        QFETCH(QString, assigned);
        QFETCH(QString, expected);
        box->setText(assigned);
        QCOMPARE(box->Text(), expected);
        QCOMPARE(box->TextLength(), expected.size());
        QCOMPARE(box->SendMessage(RichTextBox::WM_GETTEXTLENGTH, 0, 0), expected.size());
    }

    void offsetsCountBreaksAsTwo_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("selStartAfter");
        // "ab" CR LF "cd" CR LF CR LF "ef"
        QTest::newRow("start") << 0 << 0;
        QTest::newRow("before CR") << 2 << 2;
        QTest::newRow("between CR and LF is the paragraph end") << 3 << 2;
        QTest::newRow("second paragraph") << 4 << 4;
        QTest::newRow("inside second") << 5 << 5;
        QTest::newRow("empty paragraph") << 8 << 8;
        QTest::newRow("LF of empty paragraph") << 9 << 8;
        QTest::newRow("last paragraph") << 10 << 10;
        QTest::newRow("end") << 12 << 12;
        QTest::newRow("past the end clamps") << 99 << 12;
        QTest::newRow("negative clamps") << -5 << 0;
    }
    void offsetsCountBreaksAsTwo()
    {
        QFETCH(int, index);
        QFETCH(int, selStartAfter);
        box->setText(QStringLiteral("ab\ncd\n\nef"));
        box->setSelStart(index);
        QCOMPARE(box->SelStart(), selStartAfter);
        QCOMPARE(box->SelLength(), 0);
        QCOMPARE(box->Text().mid(selStartAfter, 2), QStringLiteral("ab\r\ncd\r\n\r\nef").mid(selStartAfter, 2));
    }

    void selectionAcrossBreaks()
    {
        box->setText(QStringLiteral("one\ntwo\nthree"));
        box->setSelStart(2);
        box->setSelLength(7);  // ends between CR and LF: the paragraph's end
        QCOMPARE(box->SelText(), QStringLiteral("e\r\ntwo"));
        QCOMPARE(box->SelLength(), 6);
        box->setSelLength(8);  // "e" CR LF "two" CR LF
        QCOMPARE(box->SelText(), QStringLiteral("e\r\ntwo\r\n"));
        QCOMPARE(box->SelLength(), 8);
        box->setSelText(QStringLiteral("X\r\nY"));
        QCOMPARE(box->Text(), QStringLiteral("onX\r\nYthree"));
        QCOMPARE(box->SelStart(), 6);  // caret after the inserted text
        QCOMPARE(box->SelLength(), 0);
    }

    void selLengthClampsToText()
    {
        box->setText(QStringLiteral("hello"));
        box->setSelStart(3);
        box->setSelLength(100);
        QCOMPARE(box->SelStart(), 3);
        QCOMPARE(box->SelLength(), 2);
        box->setSelStart(1);  // setting the start drops the selection
        QCOMPARE(box->SelLength(), 0);
    }

    void setSelWholeText()
    {
        box->setText(QStringLiteral("a\nbc"));
        box->SendMessage(RichTextBox::EM_SETSEL, 0, -1);
        QCOMPARE(box->SelStart(), 0);
        QCOMPARE(box->SelLength(), 5);
        QCOMPARE(box->SelText(), QStringLiteral("a\r\nbc"));
    }

    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("options");
        QTest::addColumn<int>("expected");

        QTest::newRow("from start") << "abc abc" << 0 << 0 << "abc" << 0 << -1 << 0 << 0;
        QTest::newRow("start passes first") << "abc abc" << 0 << 0 << "abc" << 1 << -1 << 0 << 4;
        QTest::newRow("nothing after start") << "abc abc" << 0 << 0 << "abc" << 5 << -1 << 0 << -1;
        QTest::newRow("case-insensitive by default") << "xABC" << 0 << 0 << "abc" << 0 << -1 << 0 << 1;
        QTest::newRow("match case") << "ABC abc" << 0 << 0 << "abc" << 0 << -1 << 4 << 4;
        QTest::newRow("match case fails") << "ABC" << 0 << 0 << "abc" << 0 << -1 << 4 << -1;
        QTest::newRow("whole word skips part") << "abcd abc" << 0 << 0 << "abc" << 0 << -1 << 2 << 5;
        QTest::newRow("whole word at ends") << "abc" << 0 << 0 << "abc" << 0 << -1 << 2 << 0;
        QTest::newRow("whole word with underscore") << "_abc abc_" << 0 << 0 << "abc" << 0 << -1 << 2 << -1;
        QTest::newRow("whole word and case") << "Abc abc" << 0 << 0 << "abc" << 0 << -1 << 6 << 4;
        QTest::newRow("no start: from caret") << "abc abc abc" << 5 << 0 << "abc" << -1 << -1 << 0 << 8;
        QTest::newRow("no start: within selection") << "abc abc abc" << 4 << 3 << "abc" << -1 << -1 << 0 << 4;
        QTest::newRow("no start: selection too short") << "abc abc abc" << 5 << 4 << "abc" << -1 << -1 << 0 << -1;
        QTest::newRow("no start with end from caret") << "abc abc" << 4 << 3 << "abc" << -1 << 7 << 0 << 4;
        QTest::newRow("end bounds the match") << "abc abc" << 0 << 0 << "abc" << 1 << 6 << 0 << -1;
        QTest::newRow("end exactly at match end") << "abc abc" << 0 << 0 << "abc" << 1 << 7 << 0 << 4;
        QTest::newRow("across a paragraph break") << "ab\ncd" << 0 << 0 << "b\r\nc" << 0 << -1 << 0 << 1;
        QTest::newRow("offsets after breaks") << "x\ny\nabc" << 0 << 0 << "abc" << 0 << -1 << 0 << 6;
        QTest::newRow("empty pattern") << "abc" << 0 << 0 << "" << 0 << -1 << 0 << -1;
        QTest::newRow("start past end") << "abc" << 0 << 0 << "abc" << 10 << -1 << 0 << -1;
    }
    void find()
    {
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, what);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, options);
        QFETCH(int, expected);
        box->setText(text);
        box->setSelStart(selStart);
        box->setSelLength(selLength);
        QCOMPARE(box->Find(what, start, end, options), expected);
        if (expected >= 0) {
            QCOMPARE(box->SelStart(), expected);
            QCOMPARE(box->SelLength(), what.size());
            QCOMPARE(box->SelText().compare(what, Qt::CaseInsensitive), 0);
        } else {  // a failed search leaves the selection alone
            QCOMPARE(box->SelStart(), selStart);
            QCOMPARE(box->SelLength(), selLength);
        }
    }

    void replacementTakesTheFirstReplacedFormat()
    {
        box->setText(QStringLiteral("ab"));
        box->SetSel(0, 1);
        box->setSelColor(255);
        box->SetSel(0, 2);
        box->setSelText(QStringLiteral("X"));
        box->SetSel(0, 1);
        QCOMPARE(box->SelColor(), 255);
    }

    void findSeesEdits()
    {
        box->setText(QStringLiteral("abc"));
        QCOMPARE(box->Find(QStringLiteral("xyz"), 0), -1);
        box->setSelStart(3);
        box->setSelText(QStringLiteral(" xyz"));
        QCOMPARE(box->Find(QStringLiteral("xyz"), 0), 4);
    }

    void linesWithoutWrapping()
    {
        box->setText(QStringLiteral("first\nsecond\n\nfourth"));
        QCOMPARE(box->LineCount(), 4);
        QCOMPARE(box->SendMessage(RichTextBox::EM_GETLINECOUNT, 0, 0), 4);
        box->setSelStart(9);  // "sec|ond"
        QCOMPARE(box->LineFromChar(-1), 1);
        QCOMPARE(box->LineIndex(-1), 7);
        QCOMPARE(box->LineIndex(3), 17);
        QCOMPARE(box->LineIndex(4), -1);  // past the last line
        QCOMPARE(box->LineFromChar(17), 3);
        QCOMPARE(box->LineFromChar(6), 0);  // the LF of line 0's break
    }

    void lineFromCharUsesSelectionStart()
    {
        box->setText(QStringLiteral("a\nb\nc"));
        box->SetSel(5, 0);  // selection made backwards: caret at 0, anchor at 5
        QCOMPARE(box->SelStart(), 0);
        QCOMPARE(box->LineFromChar(-1), 0);
        box->SetSel(0, 6);  // caret on the last line
        QCOMPARE(box->LineFromChar(-1), 0);
        QCOMPARE(box->LineIndex(-1), 6);  // the caret's line
    }

    void wrappedLinesCount()
    {
        box->show();
        const QString word = QStringLiteral("word ");
        box->setText(word.repeated(200) + QStringLiteral("\nshort"));
        QCOMPARE(box->LineCount(), 2);
        box->setRightMargin(3000);  // about 200 pixels
        const int lines = box->LineCount();
        QVERIFY2(lines > 5, qPrintable(QString::number(lines)));
        box->setSelStart(box->TextLength());
        QCOMPARE(box->LineFromChar(-1), lines - 1);
        QCOMPARE(box->LineIndex(-1), 1002);  // "short" starts after 1000 chars and CR LF
        const int second = box->LineIndex(1);
        QVERIFY(second > 0 && second < 1000);
        QCOMPARE(second % 5, 0);  // wraps between words
        QCOMPARE(box->LineFromChar(second), 1);
        QCOMPARE(box->LineFromChar(second - 1), 0);
        box->setRightMargin(RichTextBox::NoWrapMargin);
        QCOMPARE(box->LineCount(), 2);
    }

    void wrappedLinesFollowEdits()
    {
        box->show();
        box->setRightMargin(3000);
        box->setText(QStringLiteral("x"));
        QCOMPARE(box->LineCount(), 1);
        box->setSelStart(1);
        box->setSelText(QStringLiteral(" word").repeated(200));
        QVERIFY(box->LineCount() > 5);
        box->SetSel(0, -1);
        box->setSelText(QString());
        QCOMPARE(box->LineCount(), 1);
    }

    void characterFormats()
    {
        box->setText(QStringLiteral("red and plain"));
        box->SetSel(0, 3);
        box->setSelColor(255);
        box->setSelBold(true);
        box->setSelItalic(true);
        box->setSelUnderline(true);
        box->setSelStrikeThru(true);
        box->setSelFontName(QStringLiteral("Liberation Serif"));
        box->setSelFontSize(14);
        QCOMPARE(box->SelColor(), 255);
        QVERIFY(box->SelBold() && box->SelItalic() && box->SelUnderline() && box->SelStrikeThru());
        QCOMPARE(box->SelFontName(), QStringLiteral("Liberation Serif"));
        QCOMPARE(box->SelFontSize(), 14.0);
        box->SetSel(8, 13);
        QCOMPARE(box->SelColor(), olecolor::fromQColor(box->palette().color(QPalette::Text)));
        QVERIFY(!box->SelBold() && !box->SelUnderline());
        QCOMPARE(box->SelFontName(), QStringLiteral("Arial"));
        QCOMPARE(box->SelFontSize(), 9.75);
    }

    void colourOfNewTyping()
    {
        box->setText(QStringLiteral("ab"));
        box->setSelStart(2);
        box->setSelColor(0x00FF00);
        box->setSelText(QStringLiteral("cd"));
        box->SetSel(2, 4);
        QCOMPARE(box->SelColor(), 0x00FF00);
        box->SetSel(0, 2);
        QVERIFY(box->SelColor() != 0x00FF00);
    }

    void backColourRoundTrips_data()
    {
        QTest::addColumn<qint32>("color");
        QTest::addColumn<QColor>("shown");
        QTest::newRow("red") << qint32(0x0000FF) << QColor(255, 0, 0);
        QTest::newRow("blue") << qint32(0xFF0000) << QColor(0, 0, 255);
        QTest::newRow("system window") << olecolor::SystemWindow
                                       << QApplication::palette().color(QPalette::Base);
    }
    void backColourRoundTrips()
    {
        QFETCH(qint32, color);
        QFETCH(QColor, shown);
        box->setBackColor(color);
        QCOMPARE(box->BackColor(), color);
        QCOMPARE(box->palette().color(QPalette::Base), shown);
    }

    void baseFontReachesFormattedText()
    {
        box->setText(QStringLiteral("abc"));
        box->SetSel(0, 1);
        box->setSelFontSize(20);
        QFont font(QStringLiteral("Liberation Mono"));
        font.setPointSizeF(12);
        box->setFont(font);
        QCOMPARE(box->Font().family(), QStringLiteral("Liberation Mono"));
        box->SetSel(0, 1);
        QCOMPARE(box->SelFontSize(), 12.0);
        QCOMPARE(box->SelFontName(), QStringLiteral("Liberation Mono"));
    }

    void tabStopsApplyToTouchedParagraphs()
    {
        box->setText(QStringLiteral("one\ntwo\nthree"));
        box->SetSel(1, 6);  // touches "one" and "two"
        box->setSelTabCount(3);
        box->setSelTabs(0, 1000);
        box->setSelTabs(1, 2000);
        box->setSelTabs(2, 3000);
        for (int start : {0, 5}) {
            box->setSelStart(start);
            QCOMPARE(box->SelTabCount(), 3);
            QCOMPARE(box->SelTabs(0), 1000);
            QCOMPARE(box->SelTabs(2), 3000);
        }
        box->setSelStart(10);
        QCOMPARE(box->SelTabCount(), 0);
        box->setSelStart(0);
        box->setSelTabCount(1);
        QCOMPARE(box->SelTabCount(), 1);
        QCOMPARE(box->SelTabs(0), 1000);
    }

    void changeFiresOnEveryEdit()
    {
        QSignalSpy change(box, &RichTextBox::Change);
        box->setText(QStringLiteral("abc"));
        QVERIFY(change.count() >= 1);
        change.clear();
        box->setSelStart(1);
        QCOMPARE(change.count(), 0);  // moving the caret is no edit
        box->setSelText(QStringLiteral("x"));
        QVERIFY(change.count() >= 1);
        change.clear();
        QTest::keyClick(box, Qt::Key_Y);
        QVERIFY(change.count() >= 1);
        QCOMPARE(box->Text(), QStringLiteral("axybc"));
    }

    void keyDownComesBeforeTheKey()
    {
        QString textAtKeyDown;
        int code = -1, shift = -1;
        connect(box, &RichTextBox::KeyDown, this, [&](int keyCode, int shiftState) {
            code = keyCode;
            shift = shiftState;
            textAtKeyDown = box->Text();
        });
        QTest::keyClick(box, Qt::Key_Q);
        QCOMPARE(code, int('Q'));
        QCOMPARE(shift, 0);
        QCOMPARE(textAtKeyDown, QString());
        QCOMPARE(box->Text(), QStringLiteral("q"));
        QTest::keyClick(box, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(code, 37);
        QCOMPARE(shift, 1);
        QTest::keyClick(box, Qt::Key_Insert);
        QCOMPARE(code, 45);
        QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(code, 13);
        QCOMPARE(shift, 2);
    }

    void rightClickReportsMouseDown()
    {
        box->show();
        QSignalSpy down(box, &RichTextBox::MouseDown);
        QTest::mouseClick(box->viewport(), Qt::RightButton, {}, QPoint(20, 10));
        QCOMPARE(down.count(), 1);
        QCOMPARE(down.at(0).at(0).toInt(), 2);
        QVERIFY(down.at(0).at(2).toDouble() > 0);
    }

    void undoAndItsMessages()
    {
        box->setText(QStringLiteral("abc"));
        box->EmptyUndoBuffer();
        QCOMPARE(box->SendMessage(RichTextBox::EM_CANUNDO, 0, 0), 0);
        box->setSelStart(3);
        box->setSelText(QStringLiteral("d"));
        QCOMPARE(box->SendMessage(RichTextBox::EM_CANUNDO, 0, 0), 1);
        box->SendMessage(RichTextBox::EM_UNDO, 0, 0);
        QCOMPARE(box->Text(), QStringLiteral("abc"));
        box->setSelText(QStringLiteral("d"));
        box->SendMessage(RichTextBox::EM_EMPTYUNDOBUFFER, 0, 0);
        QVERIFY(!box->CanUndo());
    }

    void loadFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("LF") << QByteArray("one\ntwo\n") << "one\r\ntwo\r\n";
        QTest::newRow("CR LF") << QByteArray("one\r\ntwo") << "one\r\ntwo";
        QTest::newRow("CR") << QByteArray("one\rtwo") << "one\r\ntwo";
        QTest::newRow("empty") << QByteArray() << "";
        QTest::newRow("UTF-8") << QByteArray("caf\xC3\xA9") << QString::fromUtf8("caf\xC3\xA9");
        QTest::newRow("UTF-8 BOM") << QByteArray("\xEF\xBB\xBFhi") << "hi";
        QTest::newRow("UTF-16 LE BOM") << QByteArray("\xFF\xFEh\0i\0", 6) << "hi";
        QTest::newRow("UTF-16 BE BOM") << QByteArray("\xFE\xFF\0h\0i", 6) << "hi";
        QTest::newRow("Windows-1252") << QByteArray("\x80 5 caf\xE9") << QString::fromUtf8("\xE2\x82\xAC 5 caf\xC3\xA9");
        QTest::newRow("NUL bytes shown as text") << QByteArray("a\0b", 3) << QString::fromUtf8("a\0b", 3);
    }
    void loadFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        box->setText(QStringLiteral("old"));
        const QString path = testenv::writeFile(QStringLiteral("load/%1.txt").arg(QTest::currentDataTag()), bytes);
        QVERIFY(box->LoadFile(path, RichTextBox::rtfText));
        QCOMPARE(box->Text(), text);
        QVERIFY(!box->CanUndo());  // a load cannot be undone
        QCOMPARE(box->SelStart(), 0);
    }

    // A file loads in pieces; one whose first non-UTF-8 byte comes pieces
    // after the start is read again as Windows-1252 and saved back unchanged.
    void bigFileLoadsInPiecesAndSavesBack_data()
    {
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<int>("encoding");
        QTest::newRow("UTF-8 to the end") << QByteArray("caf\xC3\xA9\r\nend") << int(TextFileFormat::Utf8);
        QTest::newRow("Windows-1252 late") << QByteArray("caf\xE9\r\nend") << int(TextFileFormat::Windows1252);
    }
    void bigFileLoadsInPiecesAndSavesBack()
    {
        QFETCH(QByteArray, tail);
        QFETCH(int, encoding);
        QByteArray bytes;
        for (int n = 0; bytes.size() < 3 * (1 << 20); ++n)
            bytes += "line " + QByteArray::number(n) + (n % 3 ? "\n" : "\r\n");
        bytes += tail;
        const QString path = testenv::writeFile(QStringLiteral("load/big-%1.txt").arg(encoding), bytes);
        QVERIFY(box->LoadFile(path, RichTextBox::rtfText));
        QCOMPARE(int(box->fileFormat().encoding), encoding);
        QVERIFY(box->Text().endsWith(QString::fromUtf8("caf\xC3\xA9\r\nend")));
        QCOMPARE(box->document()->blockCount(), int(bytes.count('\n')) + 1);
        QVERIFY(!box->CanUndo());
        const QString copy = path + QStringLiteral(".saved");
        QVERIFY(box->SaveFile(copy, RichTextBox::rtfText));
        QFile saved(copy);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll() == bytes);
    }

    void loadFileFailures()
    {
        box->setText(QStringLiteral("kept"));
        QVERIFY(!box->LoadFile(testenv::root() + QStringLiteral("/no/such/file.txt")));
        QVERIFY(!box->errorString().isEmpty());
        QVERIFY(!box->LoadFile(testenv::root()));  // a folder
        QVERIFY(!box->errorString().isEmpty());
        QCOMPARE(box->Text(), QStringLiteral("kept"));
    }

    void redrawSwitch()
    {
        box->show();
        box->SendMessage(RichTextBox::WM_SETREDRAW, 0, 0);
        QVERIFY(!box->updatesEnabled());
        box->SendMessage(RichTextBox::WM_SETREDRAW, 1, 0);
        QVERIFY(box->updatesEnabled());
    }

private:
    RichTextBox* box = nullptr;
};

PAGEWELL_TEST_MAIN(TestRichTextBox)
#include "tst_richtextbox.moc"
