// The File commands through the main window's menu (Open, Insert, Close,
// Save, Save As, Save All, Exit): the questions they ask, the bytes they
// write, the names documents take, and a few runs through Qt's own dialog.
#include "FileMenu.h"
#include "core/Clipboard.h"
#include "document/LoadProgress.h"
#include "files/FileProperties.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QScopedValueRollback>
#include <QToolBar>
#include <optional>

#include <sys/stat.h>

namespace {

const QString DefaultFilter = QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|INI Files (*.ini)|*.ini");
const QString ReadOnly = QStringLiteral("File is read-only and cannot be saved.");
const QString NothingToSave = QStringLiteral("No text has been entered to save.");

QString askedToSave(const QString& name)
{
    return "The contents of " + name + " has changed.\r\nDo you wish to save the changes?";
}

// A Save dialog as the commands show it: action, title, flags, CancelError, then the name it starts at.
QString saveDialog(const QString& name) { return QStringLiteral("%1 Pagewell: Save File %2 1 ").arg(CommonDialog::cdlSave).arg(0x1016) + name; }
QString described(const CommonDialogCall& c)
{
    return QStringLiteral("%1 %2 %3 %4 ").arg(c.action).arg(c.DialogTitle).arg(c.Flags).arg(int(c.CancelError)) + c.FileName;
}

bool isRtf(const QByteArray& bytes) { return bytes.startsWith("{\\rtf1"); }

void makeReadOnly(const QString& path) { QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup); }

bool makePipe(const QString& path, int mode) { return ::mkfifo(QFile::encodeName(path).constData(), mode_t(mode)) == 0; }

struct Outside { bool unsaved; QByteArray outside; int answer; QString told, text; };  // outside "": deleted
struct Inserted { QString content; int selStart, selLength; QByteArray file; QString clipboard, expected; int caretAfter; };
struct Saved { QString name; QByteArray file; QString typed, outside; int command; QList<int> answers; QString asked; QByteArray after; };
struct Selected { QByteArray file; QString typed; int selStart, selLength; QString name; QList<int> answers; QByteArray written; };
struct Cancelled { int command; bool emptyName, cancelError; QString currentFile; };
struct Session { QString documents; int command; QList<int> answers; QStringList names; QString asked, written, message; int left, style = -1; };

}  // namespace

Q_DECLARE_METATYPE(Outside)
Q_DECLARE_METATYPE(Inserted)
Q_DECLARE_METATYPE(Saved)
Q_DECLARE_METATYPE(Selected)
Q_DECLARE_METATYPE(Cancelled)
Q_DECLARE_METATYPE(Session)

class TestFileCommands : public QObject {
    Q_OBJECT

    FileMenu f;

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void open_data()
    {
        QTest::addColumn<QString>("before");  // the active window: empty, emptied, text or none; "empty rtf" opens RTF
        QTest::newRow("empty window is reused") << "empty";
        QTest::newRow("typed in and emptied again is reused") << "emptied";
        QTest::newRow("text adds a window") << "text";
        QTest::newRow("no window creates one") << "none";
        QTest::newRow("RTF shows its markup") << "empty rtf";
        // A long load shows its progress; Cancel leaves no trace of the file: a
        // window opened for it closes, an empty window reused for it stays empty.
        QTest::newRow("long load cancelled, into a new window") << "text huge";
        QTest::newRow("long load cancelled, into the empty window") << "empty huge";
        // Dropped files open alike, on the window or on a document's text.
        QTest::newRow("dropped on the text, adds a window") << "text dropped on the text";
        QTest::newRow("dropped on the window, long load cancelled") << "empty huge dropped on the window";
    }
    void open()
    {
        QFETCH(QString, before);
        const bool rtf = before.endsWith(QLatin1String("rtf")), huge = before.contains(QLatin1String("huge"));
        const bool dropped = before.contains(QLatin1String("dropped"));
        const QByteArray bytes = huge ? (QByteArray(79, 'w') + '\n').repeated(600000)
                                 : rtf ? QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b Bold\\b0  text\\par\n}") : QByteArray("Dear Anna,\nthanks\nBen\n");
        const QString path = f.file(huge ? "Huge.log" : rtf ? "Report.rtf" : "Letter.txt", bytes);
        frmDocument* first = f.active();
        if (before == QLatin1String("none")) {
            f.command(Close);
            first = nullptr;
        } else if (!before.startsWith(QLatin1String("empty")))
            f.type(huge ? QStringLiteral("text") : QStringLiteral("ab"));
        if (before == QLatin1String("emptied")) {
            QTest::keyClick(f.text(), Qt::Key_Backspace);
            QTest::keyClick(f.text(), Qt::Key_Backspace);
            QCOMPARE(first->Label1(), QStringLiteral("x"));
        }
        WhenModal<QProgressDialog> cancel([](QProgressDialog* progress) { progress->cancel(); });
        frmDocument* document = !dropped ? f.open(path) : f.drop(before.endsWith("text") ? f.text()->viewport() : f.main.get(), {path});
        QCOMPARE(cancel.answered(), huge);
        if (huge) {  // cancelling is no error
            QCOMPARE((QList<QObject*>{f.active(), document}), (QList<QObject*>{first, first}));
            QCOMPARE(QString::number(f.documentCount()) + first->txtText->Text() + first->Title(), "1" + before.section(u' ', 0, 0).replace("empty", ""));
            QCOMPARE(f.recent().first() + f.prompts().join(u'|'), QString());
            // A later load that fails before reading is a failure, not a cancel.
            QVERIFY(!first->txtText->LoadFile(QFileInfo(path).absolutePath()) && !first->txtText->loadCancelled());
            return;
        }
        const QString shown = QString::fromLatin1(bytes).replace(u'\n', QStringLiteral("\r\n"));
        QCOMPARE(f.documentCount(), before.startsWith(QLatin1String("text")) ? 2 : 1);
        QCOMPARE(document == first, before.startsWith(QLatin1String("empt")));
        QCOMPARE(document->txtText->Text(), shown);
        QCOMPARE((QStringList{document->windowTitle(), document->Title(), document->filePath(), document->Label1()}),
                 (QStringList{path.toUpper(), path.toUpper(), path, ""}));
        QCOMPARE(f.recent() + f.prompts(), (QStringList{path.toUpper(), "", "", ""}));
        QCOMPARE(f.main->panelText(2), QStringLiteral("Line=1 of %1 Column=1").arg(shown.count(u'\n') + 1));
        if (before.startsWith(QLatin1String("text")))
            QCOMPARE(first->txtText->Text(), QStringLiteral("ab"));  // left as it was
        QCOMPARE(f.dialogs->calls.size(), int(!dropped));
        if (!dropped)
            QCOMPARE(QString::number(f.dialogs->calls[0].action) + f.dialogs->calls[0].DialogTitle, QString::number(CommonDialog::cdlOpen) + "Pagewell: Open File");
    }

    // Files dropped together open one after the other; one already open
    // only comes to the front, as it was. Dropped text is still text.
    void droppedFilesOpenOnce()
    {
        const QString a = f.file(QStringLiteral("a.txt"), "alpha"), b = f.file(QStringLiteral("b.txt"), "beta");
        frmDocument* first = f.open(a);
        f.type(QStringLiteral("x"));
        f.command(New);
        frmDocument* reused = f.active();
        QCOMPARE(f.drop(f.main->tbToolBar, {b, a}), first);
        QCOMPARE(QString::number(f.documentCount()) + first->txtText->Text() + first->Label1() + reused->windowTitle(), "2xalphax" + b.toUpper());
        f.drop(f.text()->viewport(), {}, QStringLiteral("hi "));
        QCOMPARE(QString::number(f.documentCount()) + f.text()->Text(), "2hi xalpha");
    }

    // A dialog cancelled, or OK with no name, leaves the document, the
    // clipboard, the store and the folder as they were.
    void cancelledDialogChangesNothing_data()
    {
        QTest::addColumn<Cancelled>("row");  // cancelError: set by an earlier Save dialog; currentFile: afterwards
        const QString before = QStringLiteral("/before.txt");
        const std::pair<int, const char*> commands[] = {{Open, "Open"}, {Insert, "Insert"}, {Save, "Save"},
                                                        {SaveAs, "Save As"}, {SaveAll, "Save All"}};
        for (const auto& [command, name] : commands) {
            QTest::addRow("%s, cancel", name) << Cancelled{command, false, false, before};
            QTest::addRow("%s, empty name", name) << Cancelled{command, true, false, before};
        }
        QTest::newRow("Open, cancel, CancelError set") << Cancelled{Open, false, true, before};
        QTest::newRow("Insert, cancel, CancelError set") << Cancelled{Insert, false, true, before};
        // Close asks first (answered Yes); an empty name counts as chosen there.
        QTest::newRow("Close, Yes, cancel") << Cancelled{Close, false, false, before};
        QTest::newRow("Close, Yes, empty name") << Cancelled{Close, true, false, ""};
    }
    void cancelledDialogChangesNothing()
    {
        QFETCH(Cancelled, row);
        const auto [command, emptyName, cancelError, currentFile] = row;
        f.type(QStringLiteral("Hello world"));
        frmDocument* document = f.active();
        if (command != SaveAs)  // which would ask whether only the selection goes
            f.text()->SetSel(2, 5);
        if (command != Close)
            document->setLabel1(QString());
        f.main->CurrentFile = QStringLiteral("/before.txt");
        f.main->dlgCommonDialog.CancelError = cancelError;
        Clipboard::SetText(QStringLiteral("keep me"));
        f.boxes->answers = {vb::vbYes};
        emptyName ? f.dialogs->choose(QString()) : f.dialogs->cancel();
        f.command(command);
        QCOMPARE(f.dialogs->calls.size(), 1);
        QCOMPARE(f.dialogs->calls[0].CancelError, cancelError || (command != Open && command != Insert));
        QCOMPARE(f.active(), document);
        QCOMPARE(QString::number(f.documentCount()) + f.text()->Text() + "|" + document->Title() + "|" + document->windowTitle() + "|" + document->Label1(),
                 QStringLiteral("1Hello world||Document 1|") + (command == Close ? "x" : ""));
        QCOMPARE(f.text()->SelStart() * 100 + f.text()->SelLength(), command == SaveAs ? 1100 : 203);
        QCOMPARE(Clipboard::GetText() + "|" + f.main->CurrentFile + "|" + f.recent().join(u'|'), "keep me|" + currentFile + "||||");
        QCOMPARE(f.prompts(), command == Close ? QStringList{askedToSave("Document 1")} : QStringList());
        QCOMPARE(f.files(), QStringList());
    }

    // Told when the window comes back to the front, once per change.
    void outsideChangeIsToldOnActivation_data()
    {
        QTest::addColumn<Outside>("row");
        const QString reload = "changed by another program.\r\nDo you want to reload it?", kept = "typed on disk";
        QTest::newRow("clean, reloaded") << Outside{false, "other", vb::vbYes, reload, "other"};
        QTest::newRow("clean, kept") << Outside{false, "other", vb::vbNo, reload, kept};
        QTest::newRow("unsaved changes") << Outside{true, "other", vb::vbOK, "changed by another program.\r\nYour changes are "
                                                     "not saved; saving them will ask before overwriting the file.", kept};
        QTest::newRow("deleted") << Outside{false, "", vb::vbOK, "deleted or moved by another program.\r\nSaving the "
                                                                 "document will write it again.", kept};
    }
    void outsideChangeIsToldOnActivation()
    {
        QFETCH(Outside, row);
        const QString path = f.file(QStringLiteral("a.txt"), "on disk");
        frmDocument* document = f.open(path);
        f.type(QStringLiteral("typed "));
        if (!row.unsaved)
            f.command(Save);
        f.command(New);
        QVERIFY(row.outside.isEmpty() ? QFile::remove(path) : replaceFile(path, row.outside));
        f.boxes->answers = {row.answer, vb::vbNo};
        f.main->activateDocument(document);
        QApplication::processEvents();
        QCOMPARE(f.prompts(), QStringList{QDir::toNativeSeparators(path) + " has been " + row.told});
        QCOMPARE((QStringList{document->txtText->Text(), document->Label1(), document->windowTitle(), QString::number(document->txtText->CanUndo())}),
                 (QStringList{row.text, row.unsaved ? "x" : "", path.toUpper(), QString::number(row.text != QLatin1String("other"))}));
        // The program comes to the front: the same change is not told again, the next one is.
        for (const int shown : {1, 2}) {
            emit qApp->applicationStateChanged(Qt::ApplicationActive);
            QApplication::processEvents();
            QCOMPARE(f.boxes->shown.size(), shown);
            QVERIFY(replaceFile(path, "third"));
        }
        // Not while a load or a long command goes on: it may be editing the text.
        for (const bool busy : {true, false}) {
            std::optional<LoadProgress> progress;
            if (busy)
                progress.emplace(document, 1, QString());
            emit qApp->applicationStateChanged(Qt::ApplicationActive);
            QApplication::processEvents();
            QCOMPARE(f.boxes->shown.size(), busy ? 2 : 3);
        }
    }

    void insert_data()
    {
        QTest::addColumn<Inserted>("row");
        QTest::newRow("at the caret, clipboard restored") << Inserted{"Hello world", 6, 0, "big ", "keep me", "Hello big world", 10};
        QTest::newRow("replacing the selection, no clipboard") << Inserted{"Hello world", 6, 5, "there", "", "Hello there", 11};
        QTest::newRow("lines at the start") << Inserted{"end", 0, 0, "one\r\ntwo\n", "x", "one\r\ntwo\r\nend", 10};
        QTest::newRow("all replaced by an empty file") << Inserted{"gone", 0, 4, "", "clip", "", 0};
        QTest::newRow("into an empty document") << Inserted{"", 0, 0, "caf\xc3\xa9", "", "caf\u00e9", 4};
    }
    void insert()
    {
        QFETCH(Inserted, row);
        const QString path = f.file(QStringLiteral("part.txt"), row.file);
        f.show(row.content, row.selStart, row.selLength);
        row.clipboard.isEmpty() ? Clipboard::Clear() : Clipboard::SetText(row.clipboard);
        f.main->dlgCommonDialog.FileName = QStringLiteral("/left/over/by/another.txt");
        f.dialogs->choose(path);
        f.command(Insert);
        QCOMPARE(f.text()->Text(), row.expected);
        QCOMPARE(f.text()->SelStart() * 100 + f.text()->SelLength(), row.caretAfter * 100);
        QCOMPARE(f.active()->Label1() + f.active()->Title(), row.expected == row.content ? "" : "x");  // names nothing
        QCOMPARE(QString::number(Clipboard::GetFormat()) + Clipboard::GetText(), QString::number(!row.clipboard.isEmpty()) + row.clipboard);
        QCOMPARE(f.main->CurrentFile, path);
        QCOMPARE(f.dialogs->calls.size(), 1);
        QCOMPARE(described(f.dialogs->calls[0]) + f.dialogs->calls[0].Filter,
                 QStringLiteral("%1 Pagewell: Insert File %2 0 ").arg(CommonDialog::cdlOpen).arg(0x1016) + DefaultFilter);
        f.dialogs->cancel();
        f.command(Save);  // suggests the name the last dialog left
        QCOMPARE(f.dialogs->calls.last().FileName, row.expected.isEmpty() ? QString() : path);
    }

    // A folder, a named pipe or a device is refused with a message naming
    // it, and nothing waits for a writer or reads without end. Open, a drop and
    // the command line still caption the window; Insert keeps text and clipboard.
    void notRegularFilesAreRefused_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("what");
        for (const char* how : {"open", "insert", "recent", "command line", "dropped"}) {
            for (const char* what : {"folder", "fifo", "/dev/zero", "/dev/null"})
                QTest::addRow("%s %s", how, what) << how << what;
        }
    }
    void notRegularFilesAreRefused()
    {
        QFETCH(QString, how);
        QFETCH(QString, what);
        QString path = what.startsWith(u'/') ? what : f.path(what);
        if (what == QLatin1String("fifo"))
            QVERIFY(makePipe(path, 0600));
        else if (what == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(path));
        f.show(QStringLiteral("Hello"));  // for Insert; the others start afresh
        Clipboard::SetText(QStringLiteral("keep me"));
        if (how == QLatin1String("open")) {
            f.open(path);
        } else if (how == QLatin1String("insert")) {
            f.dialogs->choose(path);
            f.command(Insert);
        } else if (how == QLatin1String("recent")) {
            putSetting(QStringLiteral("Recent Files"), QStringLiteral("File1"), path.toUpper());
            f.restart();
            f.main->mnuFileArray[1]->trigger();
        } else if (how == QLatin1String("dropped")) {
            f.drop(f.main.get(), {path});
        } else {
            f.restart(path);
        }
        const bool captioned = how != QLatin1String("insert") && how != QLatin1String("recent");
        QCOMPARE((QStringList{f.text()->Text(), f.active()->Label1(), Clipboard::GetText(), f.active()->Title()}),
                 (QStringList{how == QLatin1String("insert") ? "Hello" : "", "", "keep me", captioned ? path.toUpper() : ""}));
        QCOMPARE(f.boxes->shown.size() * 100 + f.boxes->shown[0].style, 100 + vb::vbExclamation);
        QVERIFY2(f.lastPrompt().contains(path + " is") && f.lastPrompt().contains("not a regular file"), qPrintable(f.lastPrompt()));
    }

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
        QCOMPARE(f.open(path)->txtText->Text(), shown);
        f.command(Save);
        QCOMPARE(bytesOf(path), bytes);
        const QString copy = f.path(QStringLiteral("copy.txt"));  // under another name, the same bytes
        f.dialogs->choose(copy);
        f.command(SaveAs);
        QCOMPARE(bytesOf(copy), bytes);
        QCOMPARE(f.active()->Title() + f.prompts().join(u'|'), copy.toUpper());
    }

    // Writing an opened file by its name's format. A file another program
    // replaced since, or a text its Windows-1252 file cannot hold, is written
    // only when the user agrees; a deleted file is written again.
    void savingAnOpenedFile_data()
    {
        QTest::addColumn<Saved>("row");
        const QString changed = "%1 has been changed by another program since it was opened or saved.\r\nDo you want to overwrite it?";
        const QString encoding = "%1 is stored as Windows-1252, which cannot hold some of the characters in the "
                                 "text.\r\nDo you want to save it as UTF-8 instead?";
        const QList<int> none, ok{vb::vbOK}, cancel{vb::vbCancel}, yes{vb::vbYes}, yesOk{vb::vbYes, vb::vbOK}, yesCancel{vb::vbYes, vb::vbCancel};
        const QByteArray file("on disk\n"), ours("on disk\ntyped"), other("other\n"), rtf("{\\rtf1"), cafe("caf\xe9");
        QTest::newRow("Save, txt") << Saved{"Notes.txt", file, "typed", "", Save, none, "", ours};
        QTest::newRow("Save, rtf") << Saved{"Notes.rtf", file, "typed", "", Save, none, "", rtf};
        QTest::newRow("Save, rtf in the middle") << Saved{"a.rtf.bak", file, "typed", "", Save, none, "", ours};
        QTest::newRow("Close, Cancel") << Saved{"a.txt", file, "typed", "", Close, cancel, "", file};
        QTest::newRow("Close, Yes, txt") << Saved{"a.txt", file, "typed", "", Close, yes, "", ours};
        QTest::newRow("Close, Yes, rtf") << Saved{"a.Rtf", file, "typed", "", Close, yes, "", rtf};
        const std::pair<int, const char*> saves[] = {{Save, "Save"}, {SaveAll, "Save All"}, {SaveAs, "Save As"}};
        for (const auto& [command, name] : saves) {
            QTest::addRow("%s, replaced, Cancel", name) << Saved{"a.txt", file, "typed", "replaced", command, cancel, changed, other};
            QTest::addRow("%s, replaced, OK", name) << Saved{"a.txt", file, "typed", "replaced", command, ok, changed, ours};
        }
        QTest::newRow("Close, Yes, replaced, Cancel") << Saved{"a.txt", file, "typed", "replaced", Close, yesCancel, changed, other};
        QTest::newRow("Close, Yes, replaced, OK") << Saved{"a.txt", file, "typed", "replaced", Close, yesOk, changed, ours};
        QTest::newRow("Exit, Yes, replaced, Cancel") << Saved{"a.txt", file, "typed", "replaced", Exit, yesCancel, changed, other};
        QTest::newRow("Save, clean, deleted") << Saved{"a.txt", file, "", "deleted", Save, none, "", file};
        QTest::newRow("Save, empty, deleted") << Saved{"a.txt", "", "", "deleted", Save, none, "", ""};
        QTest::newRow("Save As, empty, deleted") << Saved{"a.txt", "", "", "deleted", SaveAs, none, "", ""};
        QTest::newRow("1252 lacks it, Cancel") << Saved{"a.txt", cafe, "\u4e2d", "", Save, cancel, encoding, cafe};
        QTest::newRow("1252 lacks it, OK: UTF-8") << Saved{"a.txt", cafe, "\u4e2d", "", Save, ok, encoding, "caf\xc3\xa9\xe4\xb8\xad"};
        QTest::newRow("1252 lacks it, Close, Yes, Cancel") << Saved{"a.txt", cafe, "\u4e2d", "", Close, yesCancel, encoding, cafe};
        QTest::newRow("1252 holds it") << Saved{"a.txt", cafe, "\u00e9", "", Save, none, "", "caf\xe9\xe9"};
        // A long save shows its progress; Cancel leaves the file and the mark.
        const QByteArray big = (QByteArray(79, 'w') + '\n').repeated(40000);
        QTest::newRow("Save, long, cancelled") << Saved{"a.txt", big, "typed", "cancelled", Save, none, "", big};
        QTest::newRow("Close, Yes, long, cancelled") << Saved{"a.rtf", big, "typed", "cancelled", Close, yes, "", big};
        QTest::newRow("mixed breaks: untouched lines keep theirs, a new one takes the first")
            << Saved{"a.txt", "one\r\ntwo\nthree\rfour", "\rfive", "", Save, none, "", "one\r\ntwo\nthree\rfour\r\nfive"};
    }
    void savingAnOpenedFile()
    {
        QFETCH(Saved, row);
        const QString path = f.file(row.name, row.file);
        frmDocument* document = f.open(path);
        f.typeAtEnd(row.typed);
        QVERIFY(row.outside == QLatin1String("replaced") ? replaceFile(path, "other\n")
                : row.outside == QLatin1String("deleted") ? QFile::remove(path) : true);
        if (row.command == SaveAs)
            f.dialogs->choose(path);  // its own name
        f.boxes->answers = row.answers;
        f.main->CurrentFile.clear();
        const bool stopped = row.outside == QLatin1String("cancelled");
        const QScopedValueRollback<int> delay(LoadProgress::DelayMs, stopped ? 0 : LoadProgress::DelayMs);
        WhenModal<QProgressDialog> stop([](QProgressDialog* progress) { progress->cancel(); }, 10000, stopped ? 0 : 20);
        f.command(row.command);
        QCOMPARE(stop.answered(), stopped);
        QCOMPARE(f.prompts().size(), row.answers.size());
        if (!row.asked.isEmpty())
            QCOMPARE(f.lastPrompt() + QString::number(f.boxes->shown.last().style),
                     row.asked.arg(QDir::toNativeSeparators(path)) + QString::number(vb::vbOKCancel | vb::vbExclamation));
        const QByteArray bytes = bytesOf(path);
        QVERIFY2(isRtf(row.after) ? isRtf(bytes) && bytes.contains("typed") : bytes == row.after, bytes.constData());
        const bool closing = row.command == Close || row.command == Exit;
        if (!closing || row.answers.value(0) != vb::vbCancel)
            QCOMPARE(f.main->CurrentFile, row.command == SaveAs ? path : path.toUpper());
        const bool cancelled = stopped || (!row.answers.isEmpty() && row.answers.last() == vb::vbCancel);
        QCOMPARE(f.documentCount(), closing && !cancelled ? 0 : 1);
        if (!closing || cancelled)
            QCOMPARE(document->Label1(), cancelled ? QStringLiteral("x") : QString());
    }

    // Save As asks whether only the selection goes; it goes to the file as
    // plain text in the document's own format, and names nothing.
    void saveAsWithASelection_data()
    {
        QTest::addColumn<Selected>("row");  // name "": the dialog is cancelled; written "(missing)": nothing
        const QList<int> ok{vb::vbOK};
        QTest::newRow("untitled, one word") << Selected{"", "Hello brave world", 6, 5, "part.txt", ok, "brave\n"};
        QTest::newRow("untitled, named rtf: plain text") << Selected{"", "Hello brave world", 0, 5, "part.rtf", ok, "Hello\n"};
        QTest::newRow("titled CR LF file, two lines") << Selected{"one\r\ntwo\r\nthree\r\n", "", 5, 10, "part.txt", ok, "two\r\nthree\r\n"};
        QTest::newRow("titled UTF-8 with BOM") << Selected{"\xef\xbb\xbf\xc3\xa9t\xc3\xa9\n", "", 0, 3, "part.txt", ok, "\xef\xbb\xbf\xc3\xa9t\xc3\xa9\n"};
        QTest::newRow("Windows-1252 lacks a letter, UTF-8 agreed")
            << Selected{"caf\xe9", "\u4e2d", 0, 5, "part.txt", {vb::vbOK, vb::vbOK}, "caf\xc3\xa9\xe4\xb8\xad\n"};
        QTest::newRow("Cancel in the question") << Selected{"", "Hello world", 0, 5, "part.txt", {vb::vbCancel}, "(missing)"};
        QTest::newRow("OK, then cancel in the dialog") << Selected{"", "Hello world", 0, 5, "", ok, "(missing)"};
    }
    void saveAsWithASelection()
    {
        QFETCH(Selected, row);
        const QString original = row.file.isEmpty() ? QString() : f.file(QStringLiteral("Source.txt"), row.file);
        if (!original.isEmpty())
            f.open(original);
        f.typeAtEnd(row.typed);
        frmDocument* document = f.active();
        const QStringList before{document->Title(), document->windowTitle(), f.recent().first()};
        f.text()->SetSel(row.selStart, row.selStart + row.selLength);
        f.boxes->answers = row.answers;
        row.name.isEmpty() ? f.dialogs->cancel() : f.dialogs->choose(f.path(row.name));
        f.command(SaveAs);
        QCOMPARE(f.prompts().first() + QString::number(f.boxes->shown[0].style) + "," + QString::number(f.prompts().size()),
                 "Save only selected text?" + QString::number(vb::vbOKCancel | vb::vbQuestion) + "," + QString::number(row.answers.size()));
        QCOMPARE(bytesOf(f.path(row.name.isEmpty() ? QStringLiteral("part.txt") : row.name)), row.written);
        QCOMPARE((QStringList{document->Title(), document->windowTitle(), f.recent().first()}), before);  // names nothing
        const bool nothing = row.written == "(missing)";
        QCOMPARE(document->Label1() + QString::number(nothing ? f.text()->SelLength() : 0),  // else clean all the same
                 nothing ? "x" + QString::number(row.selLength) : "0");
        QCOMPARE(bytesOf(original), original.isEmpty() ? QByteArray("(missing)") : row.file);
    }

    // Close (the last document), Exit and Save All over a row of documents,
    // in the order they were made: "t" titled and changed, "c" titled and
    // clean, "u" untitled with text, "k" the same but clean, "n" typed in and
    // emptied again, "e" new and empty, "r" titled with a read-only file
    // (33, refused), "p" a read-only pipe put in its file's place (1, refused),
    // "m" its folder removed, "h" read-only and hidden (35, the write
    // decides), "x" closed. Style: the last message's, where it matters.
    // Asked: the documents asked about, in order; names: the Save dialog's
    // answers ("" cancels), for Save As the active document's; written per
    // document: 'w' plain text, 'R' RTF, 'r' plain text and RTF on the next Save, '-' not.
    void closeExitSaveAll_data()
    {
        QTest::addColumn<Session>("row");
        const int no = vb::vbNo, yes = vb::vbYes, cancel = vb::vbCancel;
        QTest::newRow("Close, new and empty") << Session{"ee", Close, {}, {}, "", "--", "", 1};
        QTest::newRow("Close, typed in and emptied") << Session{"en", Close, {}, {}, "", "--", "", 1};
        QTest::newRow("Close, clean untitled with text") << Session{"ek", Close, {}, {}, "", "--", "", 1};
        QTest::newRow("Close, clean opened file") << Session{"ec", Close, {}, {}, "", "--", "", 1};
        QTest::newRow("Close, untitled, No") << Session{"eu", Close, {no}, {}, "1", "--", "", 1};
        QTest::newRow("Close, titled, No") << Session{"et", Close, {no}, {}, "1", "--", "", 1};
        QTest::newRow("Close, untitled, Yes, A.RTF") << Session{"eu", Close, {yes}, {"A.RTF"}, "1", "-R", "", 1};
        QTest::newRow("Close, untitled, Yes, a.txt") << Session{"eu", Close, {yes}, {"a.txt"}, "1", "-w", "", 1};
        QTest::newRow("Exit, No, No") << Session{"tte", Exit, {no, no}, {}, "01", "---", "", 0};
        QTest::newRow("Exit, Yes, No") << Session{"tte", Exit, {yes, no}, {}, "01", "w--", "", 0};
        QTest::newRow("Exit, No, Yes") << Session{"tte", Exit, {no, yes}, {}, "01", "-w-", "", 0};
        QTest::newRow("Exit, Yes, Cancel") << Session{"tte", Exit, {yes, cancel}, {}, "01", "w--", "", 3};
        QTest::newRow("Exit, Yes, Yes, Yes and cancel the dialog") << Session{"ttu", Exit, {yes, yes, yes}, {""}, "012", "ww-", "", 3};
        QTest::newRow("Save All, clean ones too") << Session{"tct", SaveAll, {}, {}, "", "www", "", 3};
        QTest::newRow("Save All, untitled and empty second") << Session{"tet", SaveAll, {}, {}, "", "w--", NothingToSave, 3};
        QTest::newRow("Save All, untitled with text is named") << Session{"tut", SaveAll, {}, {"named.txt"}, "", "www", "", 3};
        QTest::newRow("Save All, cancel in the dialog stops") << Session{"tut", SaveAll, {}, {""}, "", "w--", "", 3};
        QTest::newRow("Save All, read-only second") << Session{"trt", SaveAll, {}, {}, "", "w--", ReadOnly, 3};
        QTest::newRow("Save All, two untitled, plain text") << Session{"uuc", SaveAll, {}, {"one.txt", "two.rtf"}, "", "www", "", 3};
        QTest::newRow("Save All, names one, then an empty one") << Session{"tue", SaveAll, {}, {"b.txt"}, "", "ww-", NothingToSave, 3};
        for (const auto& [command, name] : {std::pair<int, const char*>{Save, "Save"}, {SaveAs, "Save As"}, {SaveAll, "Save All"}}) {
            const QString told = command == SaveAs ? "No text has been entered to save!" : NothingToSave;
            QTest::addRow("%s, typed in and emptied: nothing to save", name) << Session{"n", command, {}, {}, "", "-", told, 1};
            QTest::addRow("%s, no document", name) << Session{"x", command, {}, {}, "", "-", "", 0};
        }
        const QString failed = "%1 could not be saved: No such file or directory", missing = "no such folder/letter.txt";
        const int warn = vb::vbExclamation;
        for (const auto& [command, name] : {std::pair<int, const char*>{Save, "Save"}, {SaveAll, "Save All"}}) {
            QTest::addRow("%s, read-only", name) << Session{"r", command, {}, {}, "", "-", ReadOnly, 1, warn};
            QTest::addRow("%s, attributes 1", name) << Session{"p", command, {}, {}, "", "-", ReadOnly, 1, warn};
            QTest::addRow("%s, untitled into a missing folder", name) << Session{"u", command, {}, {missing}, "", "-", failed, 1, warn};
            QTest::addRow("%s, folder removed under the file", name) << Session{"m", command, {}, {}, "", "-", failed, 1, warn};
        }
        QTest::newRow("Save As into a missing folder") << Session{"u", SaveAs, {}, {missing}, "", "-", failed, 1, warn};
        QTest::newRow("Save, X.RTF: plain text, then RTF") << Session{"u", Save, {}, {"X.RTF"}, "", "r", "", 1};
        QTest::newRow("Save, x.rtf") << Session{"u", Save, {}, {"x.rtf"}, "", "r", "", 1};
        QTest::newRow("Save, MYRTF") << Session{"u", Save, {}, {"MYRTF"}, "", "r", "", 1};
        QTest::newRow("Save, x.txt") << Session{"u", Save, {}, {"x.txt"}, "", "w", "", 1};
        QTest::newRow("Save As, untitled to txt") << Session{"u", SaveAs, {}, {"new.txt"}, "", "w", "", 1};
        QTest::newRow("Save As, untitled to RTF") << Session{"u", SaveAs, {}, {"New.RTF"}, "", "R", "", 1};
        QTest::newRow("Save As, titled to txt") << Session{"c", SaveAs, {}, {"other.txt"}, "", "w", "", 1};
        QTest::newRow("Save As, titled and changed to rtf") << Session{"t", SaveAs, {}, {"other.rtf"}, "", "R", "", 1};
        const QString refused = "File is read-only and cannot be saved!";
        QTest::newRow("Close, Yes, read-only: closed unsaved") << Session{"er", Close, {yes}, {}, "1", "--", refused, 1, warn};
        QTest::newRow("Close, Yes, attributes 1: no icon") << Session{"ep", Close, {yes}, {}, "1", "--", refused, 1, vb::vbOKOnly};
        QTest::newRow("Close, Yes, into a missing folder") << Session{"eu", Close, {yes}, {missing}, "1", "--", failed, 2, warn};
        QTest::newRow("Save, hidden too") << Session{"h", Save, {}, {}, "", "w", "", 1};
    }
    void closeExitSaveAll()
    {
        QFETCH(Session, row);
        const auto& [documents, command, answers, names, asked, written, message, left, style] = row;
        QList<frmDocument*> windows;
        QStringList paths;
        for (int i = 0; i < documents.size(); ++i) {
            const QChar kind = documents[i];
            if (i > 0)
                f.command(New);
            windows << f.active();
            const QString name = QString(kind == u'm' ? "removed/doc%1.txt" : kind == u'h' ? ".doc%1.txt" : "doc%1.txt").arg(i);
            paths << (QStringLiteral("tcrpmh").contains(kind) ? f.file(name, "on disk\n") : QString());
            if (QStringLiteral("ukn").contains(kind))
                f.type(QStringLiteral("untitled %1\r").arg(i));
            if (kind == u'n') {
                f.text()->SetSel(0, -1);
                QTest::keyClick(f.text(), Qt::Key_Delete);
            } else if (kind == u'k')
                f.active()->setLabel1(QString());
            else if (kind == u'x')
                f.command(Close);
            if (paths[i].isEmpty())
                continue;
            QCOMPARE(f.open(paths[i]), windows[i]);
            if (kind != u'c')
                f.typeAtEnd(QStringLiteral("typed"));
            if (command == SaveAll)  // every titled file is rewritten: gone until then
                QFile::remove(paths[i]);
            if (kind == u'r' && command == SaveAll)
                writeBytes(paths[i], "stale");
            if (kind == u'r' || kind == u'h')
                makeReadOnly(paths[i]);
            if (kind == u'h' && QFileInfo(paths[i]).isWritable() != (written[i] == u'w'))
                QSKIP("the write decides, and here it goes the other way");
            if (kind == u'p')  // Save All has removed the file already
                QVERIFY((QFile::remove(paths[i]) || command == SaveAll) && makePipe(paths[i], 0444));
            if (kind == u'm')
                QVERIFY(QDir(f.path(QStringLiteral("removed"))).removeRecursively());
        }
        f.dialogs->calls.clear();
        const QString leftOver = QStringLiteral("/left/by/the/last/dialog.txt"), startAt = command == SaveAs ? paths.last() : leftOver;
        f.main->dlgCommonDialog.FileName = leftOver;
        const QString recentBefore = f.recent().first();
        for (const QString& name : names)
            name.isEmpty() ? f.dialogs->cancel() : f.dialogs->choose(f.path(name));
        QList<frmDocument*> activeAtDialog;
        f.dialogs->onCall = [&](const CommonDialog&) { activeAtDialog << f.active(); };
        f.boxes->answers = answers;
        f.command(command);
        QStringList prompts;
        for (const QChar i : asked)
            prompts << askedToSave(paths[i.digitValue()].isEmpty() ? QStringLiteral("Document %1").arg(i.digitValue() + 1) : paths[i.digitValue()].toUpper());
        const QString target = names.value(0).isEmpty() ? paths.join(QString()) : f.path(names[0]);
        QCOMPARE(f.prompts(), message.isEmpty() ? prompts : prompts << (message.contains("%1") ? message.arg(target) : message));
        if (style >= 0)
            QCOMPARE(f.boxes->shown.last().style, style);
        for (int i = 0; i < f.boxes->shown.size(); ++i)
            QCOMPARE(f.boxes->shown[i].title + QString::number(i < asked.size() ? f.boxes->shown[i].style : 0),
                     "Pagewell" + QString::number(i < asked.size() ? vb::vbYesNoCancel | vb::vbExclamation : 0));
        QCOMPARE(QStringLiteral("%1 shown, %2 left").arg(f.dialogs->calls.size()).arg(f.dialogs->pending()), QStringLiteral("%1 shown, 0 left").arg(names.size()));
        for (const CommonDialogCall& call : f.dialogs->calls)  // only Save As starts at the document's file
            QCOMPARE(described(call), saveDialog(command == SaveAll ? call.FileName : startAt));
        QString lastNamed;
        for (int i = 0, answer = 0; i < documents.size(); ++i) {
            const bool wrote = written[i] != u'-';
            const bool named = documents[i] == u'u' || (command == SaveAs && i == documents.size() - 1);
            if (named && answer++ < names.size() && wrote) {
                if (!paths[i].isEmpty())
                    QCOMPARE(bytesOf(paths[i]), QByteArray("on disk\n"));  // the original stays
                paths[i] = f.path(names[answer - 1]);
                QCOMPARE(activeAtDialog.value(answer - 1), windows[i]);  // the user sees which text is named
                const QByteArray bytes = bytesOf(paths[i]), text = documents[i] == u'u' ? QStringLiteral("untitled %1\n").arg(i).toUtf8()
                                                                   : documents[i] == u'c' ? QByteArray("on disk\n") : QByteArray("on disk\ntyped");
                QVERIFY2(written[i] == u'R' ? isRtf(bytes) && bytes.contains(text.left(6)) : bytes == text, bytes.constData());
                lastNamed = paths[i];
                if (left == documents.size())
                    QCOMPARE(windows[i]->Title(), paths[i].toUpper());
            } else if (!paths[i].isEmpty() && documents[i] != u'p') {  // a pipe would block
                const QByteArray unwritten = documents[i] == u'm' || (command == SaveAll && documents[i] != u'r') ? "(missing)"
                                             : command == SaveAll ? "stale" : "on disk\n";
                QCOMPARE(bytesOf(paths[i]), !wrote ? unwritten : documents[i] == u'c' ? QByteArray("on disk\n") : QByteArray("on disk\ntyped"));
            }
            if (left == documents.size())  // Exit cancelled marks even the written ones
                QCOMPARE(windows[i]->Label1(), (wrote && command != Exit) || QStringLiteral("cke").contains(documents[i]) ? "" : "x");
        }
        QCOMPARE(f.documentCount(), left);
        QCOMPARE(f.recent().first(), lastNamed.isEmpty() ? recentBefore : lastNamed.toUpper());
        if (!lastNamed.isEmpty())
            QCOMPARE(f.recentItems().mid(0, 2), (QStringList{"-", "&1 " + lastNamed.toUpper()}));
        if (command != SaveAll && !lastNamed.isEmpty()) {
            QCOMPARE(f.main->CurrentFile, lastNamed);
            QCOMPARE(windows.last()->filePath() + windows.last()->windowTitle(), lastNamed + lastNamed.toUpper());
        }
        if (command != Close && command != SaveAll && !lastNamed.isEmpty()) {  // named now: no dialog
            const int calls = f.dialogs->calls.size();
            f.type(QStringLiteral("more"));
            f.command(Save);
            QCOMPARE(f.dialogs->calls.size(), calls);
            const QByteArray bytes = bytesOf(lastNamed);
            QVERIFY2(isRtf(bytes) == (written.contains(u'R') || written.contains(u'r')) && bytes.contains("more"), bytes.constData());
            QCOMPARE(windows.last()->Label1(), QString());
        }
        if (command != Exit)
            return;
        // Settings are written on the way out only.
        QCOMPARE(QString::number(f.main->isVisible()) + QString::number(setting("Settings", "MainLeft").isEmpty()), left > 0 ? "11" : "00");
        if (left == 0)
            return;
        f.main->activateDocument(windows[0]);  // closing it again asks again
        f.boxes->shown.clear();
        f.boxes->answers = {vb::vbNo};
        f.command(Close);
        QCOMPARE(f.prompts(), QStringList{askedToSave(paths[0].toUpper())});
    }
    // Qt's own file dialog, worked as a user does: a name typed into its
    // name box, then Enter, or Esc.
    void realFileDialog_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("typed");  // null: Esc
        QTest::newRow("Open") << int(Open) << "Typed Name.txt";
        QTest::newRow("Open, Esc") << int(Open) << QString();
        QTest::newRow("Save As") << int(SaveAs) << "second.txt";
    }
    void realFileDialog()
    {
        QFETCH(int, command);
        QFETCH(QString, typed);
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);
        const QString path = typed.isNull() ? QString() : f.path(typed), first = f.file(QStringLiteral("first.txt"), "keep\r\n");
        command == SaveAs ? void(f.open(first)) : f.type(QStringLiteral("mine"));
        f.dialogs.reset();  // the real dialogs from here on
        QStringList seen;
        WhenModal<QFileDialog> answer([&](QFileDialog* dialog) {
            auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            seen << dialog->windowTitle() << dialog->nameFilters().join(u'|') << box->text();
            QTimer::singleShot(5000, dialog, &QDialog::reject);  // one the keys did not close ends all the same
            QApplication::setActiveWindow(dialog);
            box->setFocus();
            auto* model = dialog->findChild<QFileSystemModel*>();  // it selects the suggested name once it has read its folder
            (void)QTest::qWaitFor([&] { return model->rowCount(model->index(f.folder->path())) > 0; }, 3000);  // best effort
            box->selectAll();
            QTest::keyClicks(box, path);
            if (box->completer())
                box->completer()->popup()->hide();
            QTest::keyClick(box, path.isNull() ? Qt::Key_Escape : Qt::Key_Return);
        });
        writeBytes(f.path(QStringLiteral("Typed Name.txt")), "typed into the dialog\n");
        f.command(command);
        QVERIFY(answer.answered());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(seen, (QStringList{command == Open ? "Pagewell: Open File" : "Pagewell: Save File",
                                    "All Files (*)|Text Files (*.txt)|INI Files (*.ini)", command == Open ? "" : "first.txt"}));
        QCOMPARE(f.documentCount(), command == Open && !path.isNull() ? 2 : 1);
        QCOMPARE(f.active()->Title(), path.toUpper());
        QCOMPARE(command == SaveAs ? QString::fromLatin1(bytesOf(path)) : f.text()->Text(),
                 path.isNull() ? "mine" : command == SaveAs ? "keep\r\n" : "typed into the dialog\r\n");
    }
};
PAGEWELL_TEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
