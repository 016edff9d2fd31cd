// File, Properties: the attribute value taken from the file system, its
// text and the File Information message; and a file's identity, which
// tells outside changes, with what the user is told of them.
#include "FileMenu.h"
#include "document/FileIdentity.h"
#include "files/FileProperties.h"

#include <QHash>
#include <QLocale>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

QDateTime at(int year, int month, int day, int hour, int minute) { return {QDate(year, month, day), QTime(hour, minute)}; }

// shown: name, size, date and attributes as the message gives them
struct Described { QString title; qint64 size; QDateTime modified; int attributes; qint64 lines; QStringList shown; };

}  // namespace

Q_DECLARE_METATYPE(Described)

class TestFileProperties : public QObject {
    Q_OBJECT

    FileMenu f;

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void message_data()
    {
        QTest::addColumn<Described>("row");
        QTest::newRow("the description's example") << Described{"/HOME/USER/LETTER.TXT", qint64(5000), at(1997, 5, 2, 15, 7), 32, qint64(120),
            {"LETTER.TXT", "5000 bytes (4K)", "May 02, 1997 at 3:07 PM", "Normal"}};
        QTest::newRow("1023 bytes are 0K") << Described{"/A.TXT", qint64(1023), at(2024, 1, 9, 9, 5), 33, qint64(1),
            {"A.TXT", "1023 bytes (0K)", "Jan 09, 2024 at 9:05 AM", "Read-Only"}};
        QTest::newRow("1024 bytes are 1K") << Described{"/A.TXT", qint64(1024), at(2024, 12, 31, 23, 59), 32, qint64(2),
            {"A.TXT", "1024 bytes (1K)", "Dec 31, 2024 at 11:59 PM", "Normal"}};
        QTest::newRow("midnight, empty file, hidden") << Described{"/HOME/.PROFILE", qint64(0), at(2000, 2, 29, 0, 5), 34, qint64(1),
            {".PROFILE", "0 bytes (0K)", "Feb 29, 2000 at 12:05 AM", "Hidden"}};
        QTest::newRow("noon, no separator, huge") << Described{"NOTES.TXT", qint64(5368709120), at(2010, 8, 15, 12, 30), 35, qint64(40000),
            {"NOTES.TXT", "5368709120 bytes (5242880K)", "Aug 15, 2010 at 12:30 PM", "Hidden and Read-Only"}};
        QTest::newRow("blanks, non-ASCII, 2047 bytes") << Described{"/MY FILES/\u00C9T\u00C9 NOTES.TXT", qint64(2047), at(1999, 10, 1, 13, 0), 32, qint64(32768),
            {"\u00C9T\u00C9 NOTES.TXT", "2047 bytes (1K)", "Oct 01, 1999 at 1:00 PM", "Normal"}};
        QTest::newRow("backslash is a character here") << Described{"C:\\DOCS\\A.TXT", qint64(10), at(2001, 1, 1, 1, 1), 32, qint64(1),
            {"C:\\DOCS\\A.TXT", "10 bytes (0K)", "Jan 01, 2001 at 1:01 AM", "Normal"}};
    }
    void message()
    {
        QFETCH(Described, row);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));  // English month names all the same
        const QString text = filePropertiesMessage(row.title, FileFacts{row.size, row.modified, row.attributes}, row.lines);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(text, QStringLiteral("File name: %1\r\nFile size: %2\r\nLast modified: %3\r\nAttributes: %4\r\nLine count:  %5")
                           .arg(row.shown[0], row.shown[1], row.shown[2], row.shown[3], QString::number(row.lines)));
    }

    void attributeTexts()
    {
        const QStringList texts{"Normal", "Read-Only", "Hidden", "Hidden and Read-Only", "System", "Read-Only and System",
                                "Hidden and System", "Read-Only, Hidden, and System"};
        for (int value = 0; value < 64; ++value) {
            QCOMPARE(attributeText(value), texts[value & 7]);  // archive and directory bits ignored
            QCOMPARE(isRefusedAsReadOnly(value), value == 1 || value == 33);
        }
    }

    // Root may write every file, so the owner's write bit decides.
    void attributesFromTheFileSystem_data()
    {
        QTest::addColumn<QString>("name");  // "folder" is made a folder, "link" names a read-only file
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("attributes");
        QTest::newRow("ordinary") << "plain.txt" << 0644 << 32;
        QTest::newRow("owner may only read") << "readonly.txt" << 0444 << 33;
        QTest::newRow("no permissions") << "locked.txt" << 0000 << 33;
        QTest::newRow("others may write, owner not") << "odd.txt" << 0466 << 33;
        QTest::newRow("owner may only write") << "writeonly.txt" << 0200 << 32;
        QTest::newRow("dot-name") << ".hidden" << 0644 << 34;
        QTest::newRow("dot-name, read-only") << ".hidden-ro" << 0400 << 35;
        QTest::newRow("folder") << "folder" << 0755 << 16;
        QTest::newRow("missing") << "missing" << -1 << 0;
        QTest::newRow("link: the file it names") << "link" << 0444 << 33;
    }
    void attributesFromTheFileSystem()
    {
        QFETCH(QString, name);
        QFETCH(int, mode);
        QFETCH(int, attributes);
        QString path = f.path(name);
        if (name == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(path));
        else if (mode >= 0)
            path = f.file(name == QLatin1String("link") ? QStringLiteral("target") : name, "x");
        if (mode >= 0)
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
        if (name == QLatin1String("link")) {
            QVERIFY(QFile::link(path, f.path(name)));
            path = f.path(name);
        }
        QCOMPARE(fileAttributes(path), attributes);
    }

    void missingFileHasNoFacts()
    {
        QString error;
        QVERIFY(!readFileFacts(f.path(QStringLiteral("gone.txt")), &error));
        QCOMPARE(error, QStringLiteral("No such file or directory"));
    }

    // The item follows the active document each time the menu opens.
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
        if (state == QLatin1String("typed"))
            f.type(QStringLiteral("abc"));
        if (state.contains(QLatin1String("opened")))
            f.open(f.file(QStringLiteral("p.txt"), "text\n"));
        if (state.startsWith(QLatin1String("new")))
            f.command(New);
        if (state == QLatin1String("none"))
            f.command(Close);
        f.main->item("mnuFileItem", Properties)->setEnabled(!enabled);
        emit f.main->mnuFile->aboutToShow();
        QCOMPARE(f.main->item("mnuFileItem", Properties)->isEnabled(), enabled);
        f.command(Properties);
        QCOMPARE(f.boxes->shown.size(), enabled ? 1 : 0);
    }

    // Lines typed since count; size, date and attributes are the file's.
    void propertiesDescribesTheSavedFile_data()
    {
        QTest::addColumn<bool>("gone");
        QTest::newRow("saved") << false;
        QTest::newRow("deleted since") << true;
    }
    void propertiesDescribesTheSavedFile()
    {
        QFETCH(bool, gone);
        f.type(QStringLiteral("one\rtwo\rthree"));
        const QString path = f.path(QStringLiteral("Letter.txt"));
        f.dialogs->choose(path);
        f.command(Save);
        QCOMPARE(bytesOf(path), QByteArray("one\ntwo\nthree"));
        f.type(QStringLiteral("\rfour"));
        const QDateTime modified = QFileInfo(path).lastModified();
        if (gone)
            QFile::remove(path);
        emit f.main->mnuFile->aboutToShow();
        f.command(Properties);
        QCOMPARE(f.boxes->shown.size(), 1);
        const ShownMessage& shown = f.boxes->shown[0];
        if (gone) {
            QVERIFY2(shown.prompt.contains(path.toUpper()) && shown.title != "File Information", qPrintable(shown.prompt));
            QCOMPARE(shown.style, int(vb::vbExclamation));
            return;
        }
        const QString date = QLocale::c().toString(modified, QStringLiteral("MMM dd, yyyy 'at' h:mm AP"));
        QCOMPARE(shown.prompt, "File name: LETTER.TXT\r\nFile size: 13 bytes (0K)\r\nLast modified: " + date
                                   + "\r\nAttributes: Normal\r\nLine count:  4");
        QCOMPARE(shown.title + QString::number(shown.style), "File Information" + QString::number(vb::vbInformation));
    }

    // The file as loaded (a) and changed in one respect only: its
    // modification time by a nanosecond (t), its size (s), or replaced by
    // another file (r); - is no file.
    void whatTheUserIsToldOfAnOutsideChange_data()
    {
        QTest::addColumn<QString>("states");  // remembered, reported (. nothing yet), now; * unsaved changes
        QTest::addColumn<int>("notice");
        QTest::newRow("unchanged") << "a.a*" << int(DiskNotice::None);
        QTest::newRow("touched, clean: reload?") << "a.t" << int(DiskNotice::OfferReload);
        QTest::newRow("longer, under changes") << "a.s*" << int(DiskNotice::ChangedUnder);
        QTest::newRow("replaced, under changes") << "a.r*" << int(DiskNotice::ChangedUnder);
        QTest::newRow("replaced, already told") << "arr" << int(DiskNotice::None);
        QTest::newRow("deleted") << "a.-*" << int(DiskNotice::Deleted);
        QTest::newRow("deleted, already told") << "a--" << int(DiskNotice::None);
        QTest::newRow("deleted, then put back as it was") << "a-a" << int(DiskNotice::None);
        QTest::newRow("made where none could be read") << "-.r" << int(DiskNotice::OfferReload);
        QTest::newRow("still none") << "-.-" << int(DiskNotice::None);
    }
    void whatTheUserIsToldOfAnOutsideChange()
    {
        QFETCH(QString, states);
        QFETCH(int, notice);
        const QString path = f.file(QStringLiteral("file.txt"), "a");
        struct stat status;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
        const auto withTime = [&](long nanoseconds) {
            timespec times[2] = {status.st_atim, status.st_mtim};
            times[1].tv_nsec = (times[1].tv_nsec + nanoseconds) % 1000000000;
            return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0 ? FileIdentity::of(path)
                                                                                                : FileIdentity();
        };
        QHash<QChar, FileIdentity> files{{u'a', FileIdentity::of(path)}, {u'-', FileIdentity()}};
        files[u't'] = withTime(1);
        f.file(QStringLiteral("file.txt"), "ab");  // in place
        files[u's'] = withTime(0);
        const QString other = f.file(QStringLiteral("new"), "a");  // while the inode is taken
        QVERIFY(QFile::remove(path) && QFile::rename(other, path));
        files[u'r'] = withTime(0);
        const std::optional<FileIdentity> reported = states[1] == u'.' ? std::nullopt : std::optional(files[states[1]]);
        QCOMPARE(int(diskNotice(files[states[0]], reported, files[states[2]], states.endsWith(u'*'))), notice);
    }
};

PAGEWELL_TEST_MAIN(TestFileProperties)
#include "tst_fileproperties.moc"
