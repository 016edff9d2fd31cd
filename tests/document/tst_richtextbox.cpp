// The text control: CR LF offsets, selection, Find, display lines, formats,
// tab stops, undo, and loading with its messages (key, change and mouse
// events are seen through the document window).
#include "TestEnvironment.h"
#include "WhenModal.h"
#include "core/Clipboard.h"
#include "core/OleColor.h"
#include "document/LoadProgress.h"
#include "document/RichTextBox.h"
#include "document/TextEdits.h"
#include "document/TextFileCodec.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QProgressDialog>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>

namespace {

// The text, the selection, and each character's colour and each
// paragraph's tab stops, whatever fragments hold them.
QStringList snapshot(RichTextBox& box)
{
    QStringList seen{box.Text(), QStringLiteral("%1+%2").arg(box.SelStart()).arg(box.SelLength())};
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        QString formats = QString::number(block.blockFormat().tabPositions().size());
        for (auto it = block.begin(); !it.atEnd(); ++it)
            formats += QString(it.fragment().length(), QChar(u'a' + it.fragment().charFormat().foreground().color().red() % 26));
        seen << formats;
    }
    return seen;
}

}  // namespace

class TestRichTextBox : public QObject {
    Q_OBJECT

    RichTextBox* box = nullptr;

private slots:
    void init()
    {
        box = new RichTextBox;
        box->resize(400, 300);
    }
    void cleanup() { delete box; }

    // On "ab" CR LF "cd" CR LF CR LF "ef": between CR and LF is the
    // paragraph's end; offsets outside the text clamp.
    void selection_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("selected");  // start, length, text
        QTest::newRow("start") << 0 << 0 << "0 0 ";
        QTest::newRow("before CR") << 2 << 0 << "2 0 ";
        QTest::newRow("between CR and LF") << 3 << 0 << "2 0 ";
        QTest::newRow("second paragraph") << 5 << 0 << "5 0 ";
        QTest::newRow("LF of the empty paragraph") << 9 << 0 << "8 0 ";
        QTest::newRow("past the end") << 99 << 0 << "12 0 ";
        QTest::newRow("negative") << -5 << 0 << "0 0 ";
        QTest::newRow("ending between CR and LF") << 1 << 6 << "1 5 b\r\ncd";
        QTest::newRow("over two breaks") << 1 << 9 << "1 9 b\r\ncd\r\n\r\n";
        QTest::newRow("longer than the text") << 10 << 100 << "10 2 ef";
        QTest::newRow("whole text") << 0 << -1 << "0 12 ab\r\ncd\r\n\r\nef";
    }
    void selection()
    {
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, selected);
        box->setText(QStringLiteral("ab\ncd\n\nef"));
        box->setSelLength(1);
        box->setSelStart(start);  // drops the selection
        QCOMPARE(box->SelLength(), 0);
        if (length < 0)
            box->SendMessage(RichTextBox::EM_SETSEL, 0, -1);
        else
            box->setSelLength(length);
        QCOMPARE(QStringLiteral("%1 %2 ").arg(box->SelStart()).arg(box->SelLength()) + box->SelText(), selected);
    }

    void replacingTheSelection()
    {
        box->setText(QStringLiteral("one\ntwo\nthree"));
        box->SetSel(2, 3);
        box->setSelColor(255);
        box->SetSel(2, 10);
        box->setSelText(QStringLiteral("X\r\nY"));
        QCOMPARE(box->Text(), QStringLiteral("onX\r\nYthree"));
        QCOMPARE(QList<int>({box->SelStart(), box->SelLength()}), QList<int>({6, 0}));  // caret after the text
        box->SetSel(2, 3);
        QCOMPARE(box->SelColor(), 255);  // the first replaced character's format
        QCOMPARE(box->Find(QStringLiteral("Ythree"), 0), 5);  // Find sees the edit
    }

    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("options");  // 2 whole word, 4 match case
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
        box->SetSel(selStart, selStart + selLength);
        QCOMPARE(box->Find(what, start, end, options), expected);
        // A match is selected; a failed search leaves the selection alone.
        QCOMPARE(QList<int>({box->SelStart(), box->SelLength()}),
                 expected < 0 ? QList<int>({selStart, selLength}) : QList<int>({expected, int(what.size())}));
    }

    void lines()
    {
        box->show();
        box->setText(QStringLiteral("first\nsecond\n\nfourth"));
        box->setSelStart(9);  // "sec|ond"
        QCOMPARE(QList<qint64>({box->LineCount(), box->SendMessage(RichTextBox::EM_GETLINECOUNT, 0, 0), box->LineFromChar(-1),
                                box->LineIndex(-1), box->LineIndex(3), box->LineIndex(4), box->LineFromChar(17),
                                box->LineFromChar(6)}),
                 QList<qint64>({4, 4, 1, 7, 17, -1, 3, 0}));
        box->SetSel(17, 8);  // made backwards: the selection's start and the caret's line
        QCOMPARE(QList<int>({box->LineFromChar(-1), box->LineIndex(-1)}), QList<int>({1, 7}));
        box->SetSel(0, 16);
        QCOMPARE(QList<int>({box->LineFromChar(-1), box->LineIndex(-1)}), QList<int>({0, 15}));

        box->setText(QStringLiteral("word ").repeated(200) + QStringLiteral("\nshort"));
        QCOMPARE(box->LineCount(), 2);
        box->setRightMargin(3000);  // about 200 pixels
        const int lines = box->LineCount();
        QVERIFY2(lines > 5, qPrintable(QString::number(lines)));
        box->setSelStart(box->TextLength());
        QCOMPARE(QList<int>({box->LineFromChar(-1), box->LineIndex(-1)}), QList<int>({lines - 1, 1002}));
        const int second = box->LineIndex(1);
        QVERIFY(second > 0 && second < 1000 && second % 5 == 0);  // wraps between words
        QCOMPARE(QList<int>({box->LineFromChar(second), box->LineFromChar(second - 1)}), QList<int>({1, 0}));
        box->SetSel(0, -1);
        box->setSelText(QStringLiteral("x"));  // lines follow edits
        QCOMPARE(box->LineCount(), 1);
        box->setSelText(QStringLiteral(" word").repeated(200));
        QVERIFY(box->LineCount() > 5);
        box->setRightMargin(RichTextBox::NoWrapMargin);
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
        const auto formats = [&] {
            return QStringList({QString::number(box->SelColor()), box->SelFontName(), QString::number(box->SelFontSize()),
                                QString::number(box->SelBold() + 2 * box->SelItalic() + 4 * box->SelUnderline()
                                                + 8 * box->SelStrikeThru())});
        };
        QCOMPARE(formats(), QStringList({"255", "Liberation Serif", "14", "15"}));
        box->SetSel(8, 13);
        QCOMPARE(formats(), QStringList({QString::number(olecolor::fromQColor(box->palette().color(QPalette::Text))), "Arial",
                                         "9.75", "0"}));
        box->setSelStart(13);  // typing takes the colour set at the caret
        box->setSelColor(0x00FF00);
        box->setSelText(QStringLiteral("cd"));
        box->SetSel(13, 15);
        QCOMPARE(box->SelColor(), 0x00FF00);
        QFont font(QStringLiteral("Liberation Mono"));  // the base font reaches formatted text
        font.setPointSizeF(12);
        box->setFont(font);
        box->SetSel(0, 1);
        QCOMPARE(formats().mid(1, 2), QStringList({"Liberation Mono", "12"}));
        QCOMPARE(box->Font().family(), QStringLiteral("Liberation Mono"));
    }

    void backColour()
    {
        for (const qint32 color : {qint32(0xFF0000), olecolor::SystemWindow, qint32(0x0000FF)}) {
            box->setBackColor(color);
            QCOMPARE(box->BackColor(), color);
        }
        QCOMPARE(box->palette().color(QPalette::Base), QColor(255, 0, 0));
        box->setBackColor(olecolor::SystemWindow);
        QCOMPARE(box->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
    }

    void undoAndItsMessages()
    {
        box->setText(QStringLiteral("abc"));
        box->setSelStart(3);
        box->setSelText(QStringLiteral("d"));
        QList<qint64> seen{box->SendMessage(RichTextBox::EM_CANUNDO, 0, 0)};
        box->SendMessage(RichTextBox::EM_UNDO, 0, 0);
        seen << box->Text().size();
        box->setSelText(QStringLiteral("d"));
        box->SendMessage(RichTextBox::EM_EMPTYUNDOBUFFER, 0, 0);
        seen << box->SendMessage(RichTextBox::EM_CANUNDO, 0, 0) << box->CanUndo();
        box->SendMessage(RichTextBox::WM_SETREDRAW, 0, 0);
        seen << box->updatesEnabled();
        box->SendMessage(RichTextBox::WM_SETREDRAW, 1, 0);
        seen << box->updatesEnabled();
        QCOMPARE(seen, QList<qint64>({1, 3, 0, 0, 0, 1}));
    }

    // Text set or loaded from a file: line breaks become CR LF; a file's
    // encoding is found (the codec's own tests try every
    // encoding), and its load cannot be undone.
    // Text typed in any order lies scattered in the document's buffer; a
    // selection reads the same as Qt's own, breaks as CR LF.
    void scatteredSelectionsReadAsQtReadsThem()
    {
        QRandomGenerator random(31);
        box->setText(QString());
        QTextCursor cursor(box->document());
        for (int edit = 0; edit < 300; ++edit) {
            cursor.setPosition(int(random.bounded(box->document()->characterCount())));
            cursor.insertText(QStringLiteral("ab\ncd e").left(int(random.bounded(1, 9))));
        }
        const int end = box->document()->characterCount() - 1;
        for (int pick = 0; pick < 300; ++pick) {
            const int from = int(random.bounded(end + 1)), to = int(random.bounded(from, end + 1));
            cursor.setPosition(from);
            cursor.setPosition(to, QTextCursor::KeepAnchor);
            box->setTextCursor(cursor);
            QCOMPARE(box->SelText(), QString(cursor.selectedText()).replace(QChar::ParagraphSeparator, QLatin1String("\r\n")));
        }
    }

    // A long change goes in slices, painting between them; the outcome and
    // its Undo are those of Qt's one-stretch edit, and a change cancelled
    // midway leaves nothing behind.
    void longChangesGoInSlices_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QKeySequence>("key");  // typed over the selection instead
        const QString breaks = QStringLiteral("X\r\nY\r\n") + QString(20, u'Z') + QStringLiteral("\r\n");
        const QKeySequence none;
        QTest::newRow("text with breaks over the middle") << 3 << 40 << breaks << none;
        QTest::newRow("everything deleted") << 0 << -1 << QString() << none;
        QTest::newRow("pairs at the slice ends, at the caret") << 10 << 0 << QString(10, QChar(0xD83D)).replace(u'\xD83D', QStringLiteral("\U0001F600")) << none;
        QTest::newRow("typed over") << 5 << 60 << QString() << QKeySequence(Qt::Key_X);
        QTest::newRow("Delete") << 0 << -1 << QString() << QKeySequence(Qt::Key_Delete);
        QTest::newRow("Backspace") << 2 << 70 << QString() << QKeySequence(Qt::Key_Backspace);
        QTest::newRow("Enter") << 20 << 30 << QString() << QKeySequence(Qt::Key_Return);
        QTest::newRow("Qt's Cut key") << 0 << 100 << QString() << QKeySequence(QKeySequence::Cut);
        // The text goes on the clipboard first.
        QTest::newRow("Qt's Paste key") << 4 << 30 << breaks << QKeySequence(QKeySequence::Paste);
    }
    void longChangesGoInSlices()
    {
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, text);
        QFETCH(QKeySequence, key);
        const bool types = key == QKeySequence(Qt::Key_X) || key == QKeySequence(Qt::Key_Return);
        QString base;
        for (int line = 0; line < 12; ++line)
            base += QStringLiteral("line %1 of the text\r\n").arg(line);
        box->setText(base);
        for (int at = 0; at < base.size(); at += 9) {
            box->SetSel(at, 4);
            box->setSelColor(at);
        }
        QTextCursor tabs(box->document()->findBlockByNumber(3));
        QTextBlockFormat stops;
        stops.setTabPositions({QTextOption::Tab(40, QTextOption::LeftTab)});
        tabs.mergeBlockFormat(stops);
        box->setSelStart(0);
        const QStringList before = snapshot(*box);
        const auto select = [&] {
            length < 0 ? box->SetSel(start, box->TextLength()) : box->SetSel(start, start + length);
        };
        const auto change = [&] {
            Clipboard::SetText(text);
            select();
            if (!key.isEmpty())
                QTest::keySequence(box, key);
            else
                box->setSelText(text);
            return snapshot(*box) << Clipboard::GetText();
        };
        const QScopedValueRollback<int> slicedFrom(RichTextBox::SlicedEditFrom, INT_MAX);
        const QStringList oneStretch = change();
        box->Undo();
        QCOMPARE(snapshot(*box).mid(2), before.mid(2));
        RichTextBox::SlicedEditFrom = 1;
        const QScopedValueRollback<int> slice(textedits::SliceLength, 7);
        const QScopedValueRollback<int> pause(textedits::PauseEveryMs, 0);
        const int steps = box->document()->availableUndoSteps();
        QCOMPARE(change(), oneStretch);
        QVERIFY(box->document()->availableUndoSteps() > steps + 2);  // it did pause
        for (int undo = types ? 2 : 1; undo > 0; --undo)
            box->Undo();  // what was typed goes first
        QCOMPARE(snapshot(*box).mid(2), before.mid(2));
        QCOMPARE(box->document()->availableUndoSteps(), steps);

        // Cancelled in its progress window: the key, too, is dropped.
        const QScopedValueRollback<int> delay(LoadProgress::DelayMs, 0);
        QString label;
        testsupport::WhenModal<QProgressDialog> cancel(
            [&label](QProgressDialog* progress) { label = progress->labelText(), progress->cancel(); }, 10000, 0);
        const QStringList cancelled = change();
        QCOMPARE(label, text.isEmpty() ? QStringLiteral("Deleting...") : QStringLiteral("Inserting..."));
        select();
        QCOMPARE(cancelled.mid(0, before.size()), snapshot(*box));  // the selection too
        QCOMPARE(cancelled.mid(2, before.size() - 2), before.mid(2));
        QVERIFY(box->document()->availableUndoSteps() == steps && !box->document()->isRedoAvailable());
    }

    // Qt's own paste key with nothing on the clipboard leaves the text alone.
    void pastingNothing()
    {
        box->setText(QStringLiteral("kept"));
        box->SetSel(1, 2);
        QGuiApplication::clipboard()->setMimeData(new QMimeData);  // as an empty X11 clipboard
        box->paste();
        QCOMPARE(box->Text() + box->SelText(), QStringLiteral("kepte"));
    }

    void text_data()
    {
        QTest::addColumn<bool>("viaFile");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("set: LF, CR LF, lone CR") << false << QByteArray("a\nb\r\nc\rd") << "a\r\nb\r\nc\r\nd";
        QTest::newRow("set: CR CR LF is two breaks") << false << QByteArray("a\r\r\nb") << "a\r\n\r\nb";
        QTest::newRow("set: trailing and empty lines") << false << QByteArray("a\n\n") << "a\r\n\r\n";
        QTest::newRow("set: empty") << false << QByteArray() << "";
        QTest::newRow("LF") << true << QByteArray("one\ntwo\n") << "one\r\ntwo\r\n";
        QTest::newRow("empty") << true << QByteArray() << "";
        QTest::newRow("UTF-16 LE BOM") << true << QByteArray("\xFF\xFEh\0i\0", 6) << "hi";
        QTest::newRow("Windows-1252") << true << QByteArray("\x80 5 caf\xE9") << QString::fromUtf8("\xE2\x82\xAC 5 caf\xC3\xA9");
        QTest::newRow("NUL bytes shown as text") << true << QByteArray("a\0b", 3) << QString::fromUtf8("a\0b", 3);
    }
    void text()
    {
        QFETCH(bool, viaFile);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        box->setText(QStringLiteral("old"));
        box->setSelStart(2);
        if (viaFile)
            QVERIFY(box->LoadFile(testenv::writeFile(QStringLiteral("load/%1.txt").arg(QTest::currentDataTag()), bytes),
                                  RichTextBox::rtfText));
        else
            box->setText(QString::fromUtf8(bytes));
        QCOMPARE(box->Text(), text);
        QCOMPARE(QList<qint64>({box->TextLength(), box->SendMessage(RichTextBox::WM_GETTEXTLENGTH, 0, 0), box->SelStart(),
                                viaFile && box->CanUndo()}),  // a load cannot be undone
                 QList<qint64>({text.size(), text.size(), 0, 0}));
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
        QVERIFY(box->SaveFile(path + QStringLiteral(".saved"), RichTextBox::rtfText));
        QFile saved(path + QStringLiteral(".saved"));
        QVERIFY(saved.open(QIODevice::ReadOnly) && saved.readAll() == bytes);
    }

    void loadFileFailures()
    {
        box->setText(QStringLiteral("kept"));
        for (const QString& path : {testenv::root() + QStringLiteral("/no/such/file.txt"), testenv::root()}) {
            QVERIFY(!box->LoadFile(path));
            QVERIFY(!box->errorString().isEmpty());
        }
        QCOMPARE(box->Text(), QStringLiteral("kept"));
    }
};

PAGEWELL_TEST_MAIN(TestRichTextBox)
#include "tst_richtextbox.moc"
