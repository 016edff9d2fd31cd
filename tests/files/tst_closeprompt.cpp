// Closing a document window (File, Close) and the whole program (File,
// Exit): which documents ask, the prompt's text and buttons, what Yes
// writes, and a Cancel that keeps windows open (with tst_filesaving's
// savingAnOpenedFile, for opened files).
#include "FileCommandsFixture.h"
#include "files/FileProperties.h"

#include <sys/stat.h>

using namespace files;

namespace {

QString promptFor(const QString& name)
{
    return QStringLiteral("The contents of ") + name
           + QStringLiteral(" has changed.\r\nDo you wish to save the changes?");
}

}  // namespace

class TestClosePrompt : public QObject {
    Q_OBJECT

    Fixture f;

    frmDocument* openChanged(const QString& name, const QByteArray& bytes = "on disk\n")
    {
        if (f.active() && f.text()->TextLength() > 0)
            f.command(New);
        frmDocument* document = f.open(f.file(name, bytes));
        QTest::keyClick(f.text(), Qt::Key_End, Qt::ControlModifier);
        f.type(QStringLiteral("typed"));
        return document;
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void closesWithoutAQuestion_data()
    {
        QTest::addColumn<QString>("state");
        QTest::newRow("new and empty") << "new";
        QTest::newRow("typed in and emptied again") << "emptied";
        QTest::newRow("clean untitled with text") << "clean untitled";
        QTest::newRow("clean opened file") << "opened";
    }
    void closesWithoutAQuestion()
    {
        QFETCH(QString, state);
        if (state == QLatin1String("emptied")) {
            f.type(QStringLiteral("abc"));
            f.text()->SetSel(0, -1);
            QTest::keyClick(f.text(), Qt::Key_Delete);
            QCOMPARE(f.active()->Label1(), QStringLiteral("x"));
            QCOMPARE(f.text()->TextLength(), 0);
        } else if (state == QLatin1String("clean untitled")) {
            f.type(QStringLiteral("abc"));
            f.active()->setLabel1(QString());
        } else if (state == QLatin1String("opened")) {
            f.open(f.file(QStringLiteral("a.txt"), "text"));
        }
        f.command(Close);
        QCOMPARE(f.boxes->shown.size(), 0);
        QCOMPARE(f.documentCount(), 0);
    }

    void promptNamesTheDocument_data()
    {
        QTest::addColumn<bool>("titled");
        QTest::newRow("untitled: its caption") << false;
        QTest::newRow("titled: its upper-cased path") << true;
    }
    void promptNamesTheDocument()
    {
        QFETCH(bool, titled);
        f.command(New);  // "Document 2"
        QString path;
        if (titled) {
            path = f.file(QStringLiteral("Letter.txt"), "on disk\n");
            f.open(path);
        }
        f.type(QStringLiteral("typed "));
        f.boxes->answers = {vb::vbNo};
        f.command(Close);
        QCOMPARE(f.prompts(), QStringList{promptFor(titled ? path.toUpper() : QStringLiteral("Document 2"))});
        QCOMPARE(f.boxes->shown[0].style, int(vb::vbYesNoCancel | vb::vbExclamation));
        QCOMPARE(f.boxes->shown[0].title, QStringLiteral("Pagewell"));
        // No: closes, nothing written.
        QCOMPARE(f.documentCount(), 1);
        QCOMPARE(f.dialogs->calls.size(), titled ? 1 : 0);
        if (titled)
            QCOMPARE(bytesOf(path), QByteArray("on disk\n"));
    }

    void yesOnAnUntitledDocumentAsksForAName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("rtf");
        QTest::newRow("A.RTF") << "A.RTF" << true;
        QTest::newRow("a.txt") << "a.txt" << false;
    }
    void yesOnAnUntitledDocumentAsksForAName()
    {
        QFETCH(QString, name);
        QFETCH(bool, rtf);
        f.command(New);
        f.type(QStringLiteral("fresh"));
        f.main->dlgCommonDialog.FileName = QStringLiteral("/left/by/the/last/dialog.txt");
        const QString path = f.path(name);
        f.boxes->answers = {vb::vbYes};
        f.dialogs->choose(path);
        f.command(Close);
        QCOMPARE(f.prompts(), QStringList{promptFor(QStringLiteral("Document 2"))});
        QCOMPARE(f.dialogs->calls.size(), 1);
        const CommonDialogCall& call = f.dialogs->calls[0];
        QCOMPARE(call.action, int(CommonDialog::cdlSave));
        QCOMPARE(call.DialogTitle, QStringLiteral("Pagewell: Save File"));
        QCOMPARE(call.Flags, 0x1016);
        QCOMPARE(call.CancelError, true);
        QCOMPARE(call.FileName, QStringLiteral("/left/by/the/last/dialog.txt"));  // not preset
        QVERIFY(call.HelpFile.endsWith(QStringLiteral("/Pagewell.hlp")));
        const QByteArray bytes = bytesOf(path);
        QCOMPARE(bytes.startsWith("{\\rtf1"), rtf);
        QVERIFY(bytes.contains("fresh"));
        QCOMPARE(f.documentCount(), 1);
        QCOMPARE(f.main->CurrentFile, path);
        QCOMPARE(recent(1), path.toUpper());
        QCOMPARE(f.recentMenuCaptions(), (QStringList{"-", "&1 " + path.toUpper()}));
    }

    void yesThenCancelInTheSaveDialogKeepsTheWindow_data()
    {
        QTest::addColumn<bool>("emptyName");
        QTest::addColumn<QString>("currentFile");
        // A cancelled dialog chose nothing; an empty name was taken as chosen.
        QTest::newRow("cancel") << false << "/chosen/before.txt";
        QTest::newRow("empty name") << true << "";
    }
    void yesThenCancelInTheSaveDialogKeepsTheWindow()
    {
        QFETCH(bool, emptyName);
        QFETCH(QString, currentFile);
        f.type(QStringLiteral("fresh"));
        frmDocument* document = f.active();
        f.main->CurrentFile = QStringLiteral("/chosen/before.txt");
        f.boxes->answers = {vb::vbYes};
        if (emptyName)
            f.dialogs->choose(QString());
        else
            f.dialogs->cancel();
        f.command(Close);
        QCOMPARE(f.documentCount(), 1);
        QCOMPARE(f.active(), document);
        QCOMPARE(document->Label1(), QStringLiteral("x"));
        QCOMPARE(document->Title(), QString());
        QCOMPARE(document->windowTitle(), QStringLiteral("Document 1"));
        QCOMPARE(recent(1), QString());
        QCOMPARE(f.main->CurrentFile, currentFile);
    }

    void yesWithAWriteThatFailsKeepsTheWindow()
    {
        f.type(QStringLiteral("precious"));
        const QString path = f.path(QStringLiteral("missing folder/a.txt"));
        f.boxes->answers = {vb::vbYes};
        f.dialogs->choose(path);
        f.command(Close);
        QCOMPARE(f.boxes->shown.size(), 2);
        QVERIFY2(f.boxes->shown[1].prompt.contains(path), qPrintable(f.boxes->shown[1].prompt));
        QCOMPARE(f.documentCount(), 1);
        QCOMPARE(f.text()->Text(), QStringLiteral("precious"));
        QCOMPARE(f.active()->Label1(), QStringLiteral("x"));
        QCOMPARE(f.active()->Title(), QString());
    }

    // Every regular file here carries the archive bit (32), so a read-only
    // file is 33. Exactly 1 is something that exists but is no regular
    // file: a named pipe whose owner may not write it.
    void yesOnAReadOnlyFileClosesUnsaved_data()
    {
        QTest::addColumn<bool>("pipe");
        QTest::addColumn<int>("style");
        QTest::newRow("read-only file (33): exclamation") << false << int(vb::vbExclamation);
        QTest::newRow("read-only pipe (1): no icon") << true << int(vb::vbOKOnly);
    }
    void yesOnAReadOnlyFileClosesUnsaved()
    {
        QFETCH(bool, pipe);
        QFETCH(int, style);
        frmDocument* document = openChanged(QStringLiteral("Locked.txt"));
        const QString path = document->filePath();
        if (pipe) {
            QFile::remove(path);
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0444), 0);
            QCOMPARE(fileAttributes(path), 1);
        } else {
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
            QCOMPARE(fileAttributes(path), 33);
        }
        f.boxes->answers = {vb::vbYes};
        f.command(Close);
        QCOMPARE(f.prompts(), (QStringList{promptFor(path.toUpper()), "File is read-only and cannot be saved!"}));
        QCOMPARE(f.boxes->shown[1].style, style);
        QCOMPARE(f.boxes->shown[1].title, QStringLiteral("Pagewell"));
        QCOMPARE(f.documentCount(), 0);
        if (!pipe)
            QCOMPARE(bytesOf(path), QByteArray("on disk\n"));
    }

    void exitWithYesThenCancelKeepsEverythingOpen()
    {
        frmDocument* first = openChanged(QStringLiteral("first.txt"));
        frmDocument* second = openChanged(QStringLiteral("second.txt"));
        f.boxes->answers = {vb::vbYes, vb::vbCancel};
        f.command(Exit);
        QCOMPARE(f.prompts(), (QStringList{promptFor(first->Title()), promptFor(second->Title())}));
        QCOMPARE(bytesOf(first->filePath()), QByteArray("on disk\ntyped"));
        QCOMPARE(bytesOf(second->filePath()), QByteArray("on disk\n"));
        QCOMPARE(f.documentCount(), 2);
        QVERIFY(f.main->isVisible());
        QCOMPARE(first->Label1(), QStringLiteral("x"));
        QCOMPARE(second->Label1(), QStringLiteral("x"));
        // Nothing closed, so nothing wrote its settings on the way out.
        QCOMPARE(setting(QStringLiteral("Settings"), QStringLiteral("MainLeft")), QString());

        // Closing the first again asks again.
        f.main->activateDocument(first);
        f.boxes->shown.clear();
        f.boxes->answers = {vb::vbNo};
        f.command(Close);
        QCOMPARE(f.prompts(), QStringList{promptFor(first->Title())});
        QCOMPARE(f.documentCount(), 1);
    }

    void exitWithUntitledYesThenCancelInTheDialogKeepsEverythingOpen()
    {
        frmDocument* first = openChanged(QStringLiteral("first.txt"));
        f.command(New);
        f.type(QStringLiteral("untitled"));
        f.boxes->answers = {vb::vbYes, vb::vbYes};
        f.dialogs->cancel();
        f.command(Exit);
        QCOMPARE(f.boxes->shown.size(), 2);
        QCOMPARE(bytesOf(first->filePath()), QByteArray("on disk\ntyped"));
        QCOMPARE(f.documentCount(), 2);
        QVERIFY(f.main->isVisible());
    }

    void exitAnsweredForEveryDocumentCloses_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QString>("written");
        QTest::newRow("No, No") << QList<int>{vb::vbNo, vb::vbNo} << "--";
        QTest::newRow("Yes, No") << QList<int>{vb::vbYes, vb::vbNo} << "w-";
        QTest::newRow("No, Yes") << QList<int>{vb::vbNo, vb::vbYes} << "-w";
    }
    void exitAnsweredForEveryDocumentCloses()
    {
        QFETCH(QList<int>, answers);
        QFETCH(QString, written);
        frmDocument* first = openChanged(QStringLiteral("first.txt"));
        const QString firstPath = first->filePath();
        frmDocument* second = openChanged(QStringLiteral("second.txt"));
        const QString secondPath = second->filePath();
        f.command(New);  // empty: asks nothing
        f.boxes->answers = answers;
        f.command(Exit);
        QCOMPARE(f.boxes->shown.size(), 2);
        QVERIFY(!f.main->isVisible());
        QCOMPARE(f.documentCount(), 0);
        QCOMPARE(bytesOf(firstPath) == "on disk\ntyped", written[0] == u'w');
        QCOMPARE(bytesOf(secondPath) == "on disk\ntyped", written[1] == u'w');
        QVERIFY(!setting(QStringLiteral("Settings"), QStringLiteral("MainLeft")).isEmpty());
    }
};

PAGEWELL_TEST_MAIN(TestClosePrompt)
#include "tst_closeprompt.moc"
