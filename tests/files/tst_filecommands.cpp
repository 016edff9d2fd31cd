// File, Open and Insert through the main window's menu, the Properties
// item and its message, what the shared common dialog is shown with, the
// byte-for-byte round trip of a file through Open and Save, and files that
// another program changes while they are open.
#include "FileCommandsFixture.h"
#include "editing/Clipboard.h"
#include "files/FileTypes.h"

#include <QClipboard>
#include <QFileInfo>
#include <QLocale>
#include <QProgressDialog>
#include <QMimeData>

#include <sys/stat.h>

using namespace files;

namespace {

const QString DefaultFilter = QStringLiteral(
    "All Files (*.*)|*.*|Text Files (*.txt)|*.txt|INI Files (*.ini)|*.ini");

}  // namespace

class TestFileCommands : public QObject {
    Q_OBJECT

    Fixture f;

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    // ---- Open ----------------------------------------------------------

    void openFillsAnEmptyWindowOrAddsOne_data()
    {
        QTest::addColumn<QString>("before");  // "empty", "text", "emptied" or "none"
        QTest::addColumn<int>("windowsAfter");
        QTest::addColumn<bool>("sameWindow");
        QTest::newRow("empty window is reused") << "empty" << 1 << true;
        QTest::newRow("typed in and emptied again is reused") << "emptied" << 1 << true;
        QTest::newRow("text adds a window") << "text" << 2 << false;
        QTest::newRow("no window creates one") << "none" << 1 << false;
    }
    void openFillsAnEmptyWindowOrAddsOne()
    {
        QFETCH(QString, before);
        QFETCH(int, windowsAfter);
        QFETCH(bool, sameWindow);
        const QString path = f.file(QStringLiteral("Letter.txt"), "Dear Anna,\nthanks\nBen\n");
        frmDocument* first = f.active();
        if (before == QLatin1String("text")) {
            f.type(QStringLiteral("draft"));
        } else if (before == QLatin1String("emptied")) {
            f.type(QStringLiteral("ab"));
            QTest::keyClick(f.text(), Qt::Key_Backspace);
            QTest::keyClick(f.text(), Qt::Key_Backspace);
            QCOMPARE(first->Label1(), QStringLiteral("x"));
        } else if (before == QLatin1String("none")) {
            f.command(Close);
            QCOMPARE(f.documentCount(), 0);
            first = nullptr;
        }

        frmDocument* document = f.open(path);
        QCOMPARE(f.documentCount(), windowsAfter);
        QVERIFY(document);
        QCOMPARE(document == first, sameWindow);
        QCOMPARE(document->txtText->Text(), QStringLiteral("Dear Anna,\r\nthanks\r\nBen\r\n"));
        QCOMPARE(document->windowTitle(), path.toUpper());
        QCOMPARE(document->Title(), path.toUpper());
        QCOMPARE(document->filePath(), path);
        QCOMPARE(document->Label1(), QString());
        QCOMPARE(recent(1), path.toUpper());
        QCOMPARE(f.main->panelText(2), QStringLiteral("Line=1 of 4 Column=1"));
        QCOMPARE(f.boxes->shown.size(), 0);
        if (before == QLatin1String("text"))
            QCOMPARE(first->txtText->Text(), QStringLiteral("draft"));  // left as it was

        QCOMPARE(f.dialogs->calls.size(), 1);
        QCOMPARE(f.dialogs->calls[0].action, int(CommonDialog::cdlOpen));
        QCOMPARE(f.dialogs->calls[0].DialogTitle, QStringLiteral("Pagewell: Open File"));
        QCOMPARE(f.dialogs->calls[0].Filter, DefaultFilter);
    }

    void openingAnOpenFileOnlyBringsItToTheFront()
    {
        const QString a = f.file(QStringLiteral("a.txt"), "alpha\n");
        const QString b = f.file(QStringLiteral("b.txt"), "beta\n");
        frmDocument* documentA = f.open(a);
        QTest::keyClick(f.text(), Qt::Key_End, Qt::ControlModifier);
        f.type(QStringLiteral("more"));
        QCOMPARE(documentA->Label1(), QStringLiteral("x"));
        frmDocument* documentB = f.open(b);
        QVERIFY(documentB != documentA);
        QCOMPARE(recent(1), b.toUpper());

        f.open(a);
        QCOMPARE(f.documentCount(), 2);
        QCOMPARE(f.active(), documentA);
        QCOMPARE(documentA->txtText->Text(), QStringLiteral("alpha\r\nmore"));
        QCOMPARE(documentA->Label1(), QStringLiteral("x"));
        // The command stops there: the recent list is not touched either.
        QCOMPARE(recent(1), b.toUpper());
        QCOMPARE(recent(2), a.toUpper());
    }

    void openingAnRtfFileShowsItsMarkup()
    {
        const QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b Bold\\b0  text\\par\n}";
        const QString path = f.file(QStringLiteral("Report.rtf"), rtf);
        frmDocument* document = f.open(path);
        QCOMPARE(document->txtText->Text(), QString::fromLatin1(rtf).replace(u'\n', QStringLiteral("\r\n")));
        QCOMPARE(document->windowTitle(), path.toUpper());
        QVERIFY(document->windowTitle().endsWith(QStringLiteral("/REPORT.RTF")));
    }

    void openCancelledChangesNothing_data()
    {
        QTest::addColumn<bool>("cancelError");
        QTest::addColumn<bool>("emptyName");
        QTest::newRow("cancel") << false << false;
        QTest::newRow("cancel while CancelError is set") << true << false;
        QTest::newRow("OK with an empty name") << false << true;
    }
    void openCancelledChangesNothing()
    {
        QFETCH(bool, cancelError);
        QFETCH(bool, emptyName);
        f.main->dlgCommonDialog.CancelError = cancelError;
        f.type(QStringLiteral("kept"));
        frmDocument* document = f.active();
        if (emptyName)
            f.dialogs->choose(QString());
        else
            f.dialogs->cancel();
        f.command(Open);
        QCOMPARE(f.dialogs->calls.size(), 1);
        QCOMPARE(f.documentCount(), 1);
        QCOMPARE(f.active(), document);
        QCOMPARE(document->txtText->Text(), QStringLiteral("kept"));
        QCOMPARE(document->Title(), QString());
        QCOMPARE(document->windowTitle(), QStringLiteral("Document 1"));
        QCOMPARE(document->Label1(), QStringLiteral("x"));
        QCOMPARE(recent(1), QString());
        QCOMPARE(f.boxes->shown.size(), 0);
    }

    // A long load shows its progress; Cancel leaves no trace of the file: a
    // window opened for it closes, an empty window reused for it stays empty.
    void openCancelledWhileLoading_data()
    {
        QTest::addColumn<bool>("reuseEmpty");
        QTest::newRow("into a new window") << false;
        QTest::newRow("into the empty window") << true;
    }
    void openCancelledWhileLoading()
    {
        QFETCH(bool, reuseEmpty);
        QByteArray line(79, 'w');
        line += '\n';
        const QString path = f.file(QStringLiteral("Huge.log"), line.repeated(600000));  // 48 MB
        frmDocument* first = f.active();
        if (!reuseEmpty)
            f.type(QStringLiteral("kept"));
        bool progressSeen = false;
        QPointer<QTimer> watch = whenModal<QProgressDialog>([&](QProgressDialog* progress) {
            progressSeen = true;
            progress->cancel();
        });
        f.open(path);
        delete watch;
        QVERIFY(progressSeen);
        QCOMPARE(f.documentCount(), 1);
        QCOMPARE(f.active(), first);
        QCOMPARE(first->txtText->Text(), reuseEmpty ? QString() : QStringLiteral("kept"));
        QCOMPARE(first->Title(), QString());
        QCOMPARE(recent(1), QString());
        QCOMPARE(f.boxes->shown.size(), 0);  // cancelling is no error
    }

    // Told when the window comes back to the front, once per change.
    void outsideChangeIsToldOnActivation_data()
    {
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<QByteArray>("outside");  // the file's new bytes; none: deleted
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("told");  // after the path and " has been "
        QTest::addColumn<QString>("text");  // afterwards
        const QString reload = "changed by another program.\r\nDo you want to reload it?";
        QTest::newRow("clean, reloaded") << false << QByteArray("other") << int(vb::vbYes) << reload << "other";
        QTest::newRow("clean, kept") << false << QByteArray("other") << int(vb::vbNo) << reload << "typed on disk";
        QTest::newRow("unsaved changes") << true << QByteArray("other") << int(vb::vbOK)
            << "changed by another program.\r\nYour changes are not saved; saving them will ask before "
               "overwriting the file." << "typed on disk";
        QTest::newRow("deleted") << false << QByteArray() << int(vb::vbOK)
            << "deleted or moved by another program.\r\nSaving the document will write it again." << "typed on disk";
    }
    void outsideChangeIsToldOnActivation()
    {
        QFETCH(bool, unsaved);
        QFETCH(QByteArray, outside);
        QFETCH(int, answer);
        QFETCH(QString, told);
        QFETCH(QString, text);
        const QString path = f.file(QStringLiteral("a.txt"), "on disk");
        frmDocument* document = f.open(path);
        f.type(QStringLiteral("typed "));
        if (!unsaved)
            f.command(Save);
        f.command(New);
        QVERIFY(outside.isEmpty() ? QFile::remove(path) : replaceFile(path, outside));
        f.boxes->answers = {answer, vb::vbNo};
        f.main->activateDocument(document);
        QApplication::processEvents();
        QCOMPARE(f.prompts(), QStringList{QDir::toNativeSeparators(path) + " has been " + told});
        QCOMPARE(document->txtText->Text(), text);
        QCOMPARE(document->Label1(), unsaved ? QStringLiteral("x") : QString());
        QCOMPARE(document->windowTitle(), path.toUpper());
        QCOMPARE(document->txtText->CanUndo(), text != QLatin1String("other"));
        // The program comes to the front: the same change is not told again, the next one is.
        for (const int shown : {1, 2}) {
            emit qApp->applicationStateChanged(Qt::ApplicationActive);
            QApplication::processEvents();
            QCOMPARE(f.boxes->shown.size(), shown);
            QVERIFY(replaceFile(path, "third"));
        }
    }

    // ---- Insert --------------------------------------------------------

    void insert_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("clipboard");  // "" for a clipboard without text
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("caretAfter");
        QTest::newRow("at the caret, clipboard restored")
            << "Hello world" << 6 << 0 << QByteArray("big ") << "keep me" << "Hello big world" << 10;
        QTest::newRow("replacing the selection, clipboard cleared")
            << "Hello world" << 6 << 5 << QByteArray("there") << "" << "Hello there" << 11;
        QTest::newRow("lines of the file at the start")
            << "end" << 0 << 0 << QByteArray("one\r\ntwo\n") << "x" << "one\r\ntwo\r\nend" << 10;
        QTest::newRow("whole text replaced by an empty file")
            << "gone" << 0 << 4 << QByteArray() << "clip" << "" << 0;
        QTest::newRow("into an empty document")
            << "" << 0 << 0 << QByteArray("caf\xc3\xa9") << "" << "caf\u00e9" << 4;
    }
    void insert()
    {
        QFETCH(QString, content);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QByteArray, file);
        QFETCH(QString, clipboard);
        QFETCH(QString, expected);
        QFETCH(int, caretAfter);
        const QString path = f.file(QStringLiteral("part.txt"), file);
        f.text()->setText(content);
        f.text()->setSelStart(selStart);
        f.text()->setSelLength(selLength);
        f.active()->setLabel1(QString());
        if (clipboard.isEmpty())
            Clipboard::Clear();
        else
            Clipboard::SetText(clipboard);
        f.main->dlgCommonDialog.FileName = QStringLiteral("/left/over/by/another.txt");

        f.dialogs->choose(path);
        f.command(Insert);
        QCOMPARE(f.text()->Text(), expected);
        QCOMPARE(f.text()->SelStart(), caretAfter);
        QCOMPARE(f.text()->SelLength(), 0);
        QCOMPARE(f.active()->Label1(), expected == content ? QString() : QStringLiteral("x"));
        QCOMPARE(Clipboard::GetFormat(), !clipboard.isEmpty());
        QCOMPARE(Clipboard::GetText(), clipboard);
        QCOMPARE(f.main->CurrentFile, path);
        QCOMPARE(f.active()->Title(), QString());  // inserting names nothing

        QCOMPARE(f.dialogs->calls.size(), 1);
        const CommonDialogCall& call = f.dialogs->calls[0];
        QCOMPARE(call.action, int(CommonDialog::cdlOpen));
        QCOMPARE(call.DialogTitle, QStringLiteral("Pagewell: Insert File"));
        QCOMPARE(call.Flags, 0x1016);
        QCOMPARE(call.FileName, QString());
        QCOMPARE(call.Filter, DefaultFilter);
        QVERIFY2(call.HelpFile.endsWith(QStringLiteral("/Pagewell.hlp")), qPrintable(call.HelpFile));
    }

    void insertCancelledLeavesEverything_data()
    {
        QTest::addColumn<bool>("afterSave");  // a Save dialog has set CancelError
        QTest::addColumn<bool>("emptyName");
        QTest::newRow("cancel") << false << false;
        QTest::newRow("cancel after a Save set CancelError") << true << false;
        QTest::newRow("OK with an empty name") << false << true;
    }
    void insertCancelledLeavesEverything()
    {
        QFETCH(bool, afterSave);
        QFETCH(bool, emptyName);
        f.text()->setText(QStringLiteral("Hello world"));
        if (afterSave) {
            f.dialogs->cancel();
            f.command(SaveAs);
        }
        f.text()->SetSel(2, 5);
        f.active()->setLabel1(QString());
        f.main->CurrentFile = QStringLiteral("/before.txt");
        Clipboard::SetText(QStringLiteral("keep me"));
        if (emptyName)
            f.dialogs->choose(QString());
        else
            f.dialogs->cancel();
        f.command(Insert);

        QCOMPARE(f.dialogs->calls.last().DialogTitle, QStringLiteral("Pagewell: Insert File"));
        QCOMPARE(f.dialogs->calls.last().CancelError, afterSave);
        QCOMPARE(f.text()->Text(), QStringLiteral("Hello world"));
        QCOMPARE(f.text()->SelStart(), 2);
        QCOMPARE(f.text()->SelLength(), 3);
        QCOMPARE(f.active()->Label1(), QString());
        QCOMPARE(Clipboard::GetText(), QStringLiteral("keep me"));
        QCOMPARE(f.main->CurrentFile, QStringLiteral("/before.txt"));
        QCOMPARE(f.boxes->shown.size(), 0);
    }

    // ---- what is not a regular file -----------------------------------

    // A folder, a named pipe or a device is refused with a message naming
    // it, and nothing waits for a writer or reads without end. Open and the
    // command line still caption the window; Insert keeps text and clipboard.
    void notRegularFilesAreRefused_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("what");
        for (const char* how : {"open", "insert", "recent", "command line"}) {
            for (const char* what : {"folder", "fifo", "/dev/zero", "/dev/null"})
                QTest::addRow("%s %s", how, what) << how << what;
        }
    }
    void notRegularFilesAreRefused()
    {
        QFETCH(QString, how);
        QFETCH(QString, what);
        QString path = what;
        if (!what.startsWith(u'/')) {
            path = f.path(what);
            QVERIFY(what == QLatin1String("fifo") ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                                                   : QDir().mkpath(path));
        }
        f.text()->setText(QStringLiteral("Hello"));  // for Insert; the others start afresh
        f.active()->setLabel1(QString());
        Clipboard::SetText(QStringLiteral("keep me"));
        if (how == QLatin1String("open")) {
            f.open(path);
        } else if (how == QLatin1String("insert")) {
            f.dialogs->choose(path);
            f.command(Insert);
            QCOMPARE(Clipboard::GetText(), QStringLiteral("keep me"));
        } else if (how == QLatin1String("recent")) {
            SaveSetting(AppTitle, RecentFilesSection, recentFileKey(1), path.toUpper());
            f.restart();
            f.main->mnuFileArray[1]->trigger();
        } else {
            f.restart(path);
        }
        QCOMPARE(f.text()->Text(), how == QLatin1String("insert") ? QStringLiteral("Hello") : QString());
        QCOMPARE(f.active()->Label1(), QString());
        const bool captioned = how == QLatin1String("open") || how == QLatin1String("command line");
        QCOMPARE(f.active()->Title(), captioned ? path.toUpper() : QString());
        QCOMPARE(f.boxes->shown.size(), 1);
        const QString prompt = f.boxes->shown[0].prompt;
        QVERIFY2(prompt.contains(path + QStringLiteral(" is")) && prompt.contains(QStringLiteral("not a regular file")), qPrintable(prompt));
        QCOMPARE(f.boxes->shown[0].style, int(vb::vbExclamation));
    }

    // ---- Properties ----------------------------------------------------

    void propertiesIsEnabledOnlyForATitledDocument_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("untitled") << "untitled" << false;
        QTest::newRow("untitled with text") << "typed" << false;
        QTest::newRow("opened file") << "opened" << true;
        QTest::newRow("no document") << "none" << false;
        QTest::newRow("untitled after a titled one") << "new after opened" << false;
    }
    void propertiesIsEnabledOnlyForATitledDocument()
    {
        QFETCH(QString, state);
        QFETCH(bool, enabled);
        const QString path = f.file(QStringLiteral("p.txt"), "text\n");
        if (state == QLatin1String("typed"))
            f.type(QStringLiteral("abc"));
        if (state.contains(QLatin1String("opened")))
            f.open(path);
        if (state.startsWith(QLatin1String("new")))
            f.command(New);
        if (state == QLatin1String("none"))
            f.command(Close);
        // The item follows the active document each time the menu opens.
        f.main->mnuFileItem[Properties]->setEnabled(!enabled);
        f.openFileMenu();
        QCOMPARE(f.main->mnuFileItem[Properties]->isEnabled(), enabled);
        f.command(Properties);
        QCOMPARE(f.boxes->shown.size(), enabled ? 1 : 0);
    }

    void propertiesDescribesTheSavedFile()
    {
        f.type(QStringLiteral("one"));
        QTest::keyClick(f.text(), Qt::Key_Return);
        f.type(QStringLiteral("two"));
        QTest::keyClick(f.text(), Qt::Key_Return);
        f.type(QStringLiteral("three"));
        const QString path = f.path(QStringLiteral("Letter.txt"));
        f.dialogs->choose(path);
        f.command(Save);
        QCOMPARE(bytesOf(path), QByteArray("one\ntwo\nthree"));
        // Lines typed since count; size and date are the file's.
        QTest::keyClick(f.text(), Qt::Key_Return);
        f.type(QStringLiteral("four"));

        f.openFileMenu();
        f.command(Properties);
        QCOMPARE(f.boxes->shown.size(), 1);
        const QDateTime modified = QFileInfo(path).lastModified();
        const QLocale c = QLocale::c();
        const QString expected = QStringLiteral("File name: LETTER.TXT\r\n"
                                                "File size: 13 bytes (0K)\r\n"
                                                "Last modified: ")
                                 + c.toString(modified, QStringLiteral("MMM dd, yyyy")) + QStringLiteral(" at ")
                                 + c.toString(modified, QStringLiteral("h:mm AP"))
                                 + QStringLiteral("\r\nAttributes: Normal\r\nLine count:  4");
        QCOMPARE(f.boxes->shown[0].prompt, expected);
        QCOMPARE(f.boxes->shown[0].title, QStringLiteral("File Information"));
        QCOMPARE(f.boxes->shown[0].style, int(vb::vbInformation));
    }

    void propertiesOfAFileGoneFromDiskReportsIt()
    {
        const QString path = f.file(QStringLiteral("gone.txt"), "text\n");
        f.open(path);
        QFile::remove(path);
        f.openFileMenu();
        f.command(Properties);
        QCOMPARE(f.boxes->shown.size(), 1);
        QVERIFY(f.boxes->shown[0].title != QStringLiteral("File Information"));
        QCOMPARE(f.boxes->shown[0].style, int(vb::vbExclamation));
        QVERIFY2(f.boxes->shown[0].prompt.contains(path.toUpper()), qPrintable(f.boxes->shown[0].prompt));
    }

    // ---- the common dialog's properties --------------------------------

    void filtersHandedToTheDialogs_data()
    {
        QTest::addColumn<QStringList>("rows");  // extension, name, ... for rows 1..6
        QTest::addColumn<QString>("filter");
        QTest::newRow("nothing stored") << QStringList() << DefaultFilter;
        QTest::newRow("two types")
            << QStringList{"txt", "Text Files", "*", "All Files"}
            << "Text Files (*.txt) |*.txt|All Files (*.*) |*.*";
        QTest::newRow("no name, gap in the rows")
            << QStringList{"log", "", "", "", "md", "Markdown"} << " (*.log) |*.log|Markdown (*.md) |*.md";
        QTest::newRow("row 1 empty: the fixed list")
            << QStringList{"", "", "txt", "Text Files"} << DefaultFilter;
    }
    void filtersHandedToTheDialogs()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, filter);
        static const char* const keys[6] = {"One", "Two", "Three", "Four", "Five", "Six"};
        for (int i = 0; i + 1 < rows.size(); i += 2) {
            SaveSetting(AppTitle, QStringLiteral("Extension"), QString::fromLatin1(keys[i / 2]), rows[i]);
            SaveSetting(AppTitle, QStringLiteral("Extension"), QString::fromLatin1(keys[i / 2]) + QStringLiteral("Name"),
                        rows[i + 1]);
        }
        f.type(QStringLiteral("text"));
        f.dialogs->cancel();
        f.command(Open);
        f.dialogs->cancel();
        f.command(Insert);
        f.dialogs->cancel();
        f.command(Save);
        f.dialogs->cancel();
        f.command(SaveAs);
        f.boxes->answers = {vb::vbYes};
        f.dialogs->cancel();
        f.command(Close);
        QCOMPARE(f.dialogs->calls.size(), 5);
        for (const CommonDialogCall& call : std::as_const(f.dialogs->calls))
            QCOMPARE(call.Filter, filter);
        QCOMPARE(FileFilter, filter);
    }

    // One dialog for all commands: what one sets stays for the next.
    void dialogPropertiesPersistBetweenCommands()
    {
        const QString part = f.file(QStringLiteral("part.txt"), "part");
        f.dialogs->choose(part);
        f.command(Insert);
        f.dialogs->cancel();
        f.command(PrintSetup);
        f.dialogs->cancel();
        f.command(Open);
        f.dialogs->cancel();
        f.command(Save);
        f.dialogs->cancel();
        f.command(Insert);
        f.dialogs->cancel();
        f.command(Open);
        QCOMPARE(f.dialogs->calls.size(), 6);
        const QList<CommonDialogCall>& calls = f.dialogs->calls;

        QCOMPARE(calls[0].CancelError, false);
        QCOMPARE(calls[1].action, int(CommonDialog::cdlPrintSetup));
        QCOMPARE(calls[1].Flags, 0x840);
        QCOMPARE(calls[1].CancelError, false);
        // Open sets neither flags nor CancelError, nor the name.
        QCOMPARE(calls[2].Flags, 0x840);
        QCOMPARE(calls[2].CancelError, false);
        QCOMPARE(calls[2].FileName, part);
        QCOMPARE(calls[2].DialogTitle, QStringLiteral("Pagewell: Open File"));
        // Save without a name suggests what the last dialog left (Open
        // cancelled, so nothing).
        QCOMPARE(calls[3].action, int(CommonDialog::cdlSave));
        QCOMPARE(calls[3].DialogTitle, QStringLiteral("Pagewell: Save File"));
        QCOMPARE(calls[3].Flags, 0x1016);
        QCOMPARE(calls[3].CancelError, true);
        QCOMPARE(calls[3].FileName, QString());
        QVERIFY(calls[3].HelpFile.endsWith(QStringLiteral("/Pagewell.hlp")));
        // CancelError stays set for the commands that never set it.
        QCOMPARE(calls[4].CancelError, true);
        QCOMPARE(calls[4].DialogTitle, QStringLiteral("Pagewell: Insert File"));
        QCOMPARE(calls[5].CancelError, true);
        QCOMPARE(calls[5].Flags, 0x1016);
        // Every cancel changed nothing.
        QCOMPARE(f.documentCount(), 1);
        QCOMPARE(f.text()->Text(), QStringLiteral("part"));
        QCOMPARE(f.active()->Title(), QString());
        QCOMPARE(f.boxes->shown.size(), 0);
    }

    void saveSuggestsTheNameTheLastDialogLeft()
    {
        const QString part = f.file(QStringLiteral("part.txt"), "part");
        f.dialogs->choose(part);
        f.command(Insert);
        f.dialogs->cancel();
        f.command(Save);
        QCOMPARE(f.dialogs->calls.size(), 2);
        QCOMPARE(f.dialogs->calls[1].FileName, part);
    }

    // ---- round trip ----------------------------------------------------

    void openAndSaveKeepEveryByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("UTF-8, LF") << QByteArray("gr\xc3\xbc\xc3\x9f dich\nzweite Zeile\n") << "gr\u00fc\u00df dich\r\nzweite Zeile\r\n";
        QTest::newRow("UTF-8 with BOM, CR LF") << QByteArray("\xef\xbb\xbf" "caf\xc3\xa9\r\nna\xc3\xafve\r\n") << "caf\u00e9\r\nna\u00efve\r\n";
        QTest::newRow("UTF-16 LE with BOM") << QByteArray("\xff\xfe" "A\0\xac\x20\r\0\n\0B\0", 12) << "A\u20ac\r\nB";
        QTest::newRow("Windows-1252") << QByteArray("Gr\xfc\xdf" "e \x80 5\r\n\x93quoted\x94") << "Gr\u00fc\u00dfe \u20ac 5\r\n\u201cquoted\u201d";
        QTest::newRow("CR only") << QByteArray("old\rmac\r") << "old\r\nmac\r\n";
        QTest::newRow("mixed breaks") << QByteArray("a\r\nb\nc\rd\n\r\ne") << "a\r\nb\r\nc\r\nd\r\n\r\ne";
        QTest::newRow("no final break") << QByteArray("last line") << "last line";
        QTest::newRow("blank lines at the end") << QByteArray("x\n\n\n") << "x\r\n\r\n\r\n";
        QTest::newRow("empty file") << QByteArray() << "";
        QTest::newRow("tabs and trailing blanks") << QByteArray("\tindent  \n  \t\n") << "\tindent  \r\n  \t\r\n";
    }
    void openAndSaveKeepEveryByte()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        const QString path = f.file(QStringLiteral("round.txt"), bytes);
        frmDocument* document = f.open(path);
        QCOMPARE(document->txtText->Text(), shown);
        f.command(Save);
        QCOMPARE(f.boxes->shown.size(), 0);
        QCOMPARE(bytesOf(path), bytes);

        // Under another name the same bytes are written.
        const QString copy = f.path(QStringLiteral("copy.txt"));
        f.dialogs->choose(copy);
        f.command(SaveAs);
        QCOMPARE(bytesOf(copy), bytes);
        QCOMPARE(document->Title(), copy.toUpper());
    }

    void untouchedLinesKeepTheirBreaks()
    {
        const QString path = f.file(QStringLiteral("mixed.txt"), "one\r\ntwo\nthree\rfour");
        f.open(path);
        f.text()->setSelStart(5);  // start of "two"
        f.type(QStringLiteral("2 "));
        QTest::keyClick(f.text(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(f.text(), Qt::Key_Return);
        f.type(QStringLiteral("five"));
        f.command(Save);
        // The new line takes the file's first kind of break.
        QCOMPARE(bytesOf(path), QByteArray("one\r\n2 two\nthree\rfour\r\nfive"));
    }
};

PAGEWELL_TEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
