// File, Properties: the attribute value taken from the file system, its
// text, and the File Information message; a file's identity, which tells
// outside changes, and what the user is told of them.
#include "TestEnvironment.h"
#include "files/FileIdentity.h"
#include "files/FileProperties.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <QHash>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

QDateTime at(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

}  // namespace

class TestFileProperties : public QObject {
    Q_OBJECT

private slots:
    void message_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QDateTime>("modified");
        QTest::addColumn<int>("attributes");
        QTest::addColumn<qint64>("lines");
        QTest::addColumn<QString>("message");
        QTest::newRow("the description's example")
            << "/HOME/USER/LETTER.TXT" << qint64(5000) << at(1997, 5, 2, 15, 7) << 32 << qint64(120)
            << "File name: LETTER.TXT\r\nFile size: 5000 bytes (4K)\r\n"
               "Last modified: May 02, 1997 at 3:07 PM\r\nAttributes: Normal\r\nLine count:  120";
        QTest::newRow("1023 bytes are 0K") << "/A.TXT" << qint64(1023) << at(2024, 1, 9, 9, 5) << 33
                                           << qint64(1)
                                           << "File name: A.TXT\r\nFile size: 1023 bytes (0K)\r\n"
                                              "Last modified: Jan 09, 2024 at 9:05 AM\r\n"
                                              "Attributes: Read-Only\r\nLine count:  1";
        QTest::newRow("1024 bytes are 1K") << "/A.TXT" << qint64(1024) << at(2024, 12, 31, 23, 59) << 32
                                           << qint64(2)
                                           << "File name: A.TXT\r\nFile size: 1024 bytes (1K)\r\n"
                                              "Last modified: Dec 31, 2024 at 11:59 PM\r\n"
                                              "Attributes: Normal\r\nLine count:  2";
        QTest::newRow("midnight, empty file, hidden") << "/HOME/.PROFILE" << qint64(0) << at(2000, 2, 29, 0, 5)
                                                      << 34 << qint64(1)
                                                      << "File name: .PROFILE\r\nFile size: 0 bytes (0K)\r\n"
                                                         "Last modified: Feb 29, 2000 at 12:05 AM\r\n"
                                                         "Attributes: Hidden\r\nLine count:  1";
        QTest::newRow("noon, no separator, many lines")
            << "NOTES.TXT" << qint64(5368709120) << at(2010, 8, 15, 12, 30) << 35 << qint64(40000)
            << "File name: NOTES.TXT\r\nFile size: 5368709120 bytes (5242880K)\r\n"
               "Last modified: Aug 15, 2010 at 12:30 PM\r\nAttributes: Hidden and Read-Only\r\n"
               "Line count:  40000";
        QTest::newRow("blanks and non-ASCII in the name")
            << "/HOME/MY FILES/\u00C9T\u00C9 NOTES.TXT" << qint64(2047) << at(1999, 10, 1, 13, 0) << 32
            << qint64(32768)
            << "File name: \u00C9T\u00C9 NOTES.TXT\r\nFile size: 2047 bytes (1K)\r\n"
               "Last modified: Oct 01, 1999 at 1:00 PM\r\nAttributes: Normal\r\nLine count:  32768";
    }
    void message()
    {
        QFETCH(QString, title);
        QFETCH(qint64, size);
        QFETCH(QDateTime, modified);
        QFETCH(int, attributes);
        QFETCH(qint64, lines);
        QFETCH(QString, message);
        // English month names whatever the user's locale.
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QString text = filePropertiesMessage(title, FileFacts{size, modified, attributes}, lines);
        QLocale::setDefault(previous);
        QCOMPARE(text, message);
    }

    void attributeTexts_data()
    {
        QTest::addColumn<int>("attributes");
        QTest::addColumn<QString>("text");
        const char* texts[] = {"Normal", "Read-Only", "Hidden", "Hidden and Read-Only", "System",
                               "Read-Only and System", "Hidden and System",
                               "Read-Only, Hidden, and System"};
        for (int value = 0; value < 8; ++value) {
            QTest::addRow("%d", value) << value << QString::fromLatin1(texts[value]);
            QTest::addRow("%d with archive", value) << (value | 32) << QString::fromLatin1(texts[value]);
        }
        QTest::newRow("directory bit ignored") << 16 << "Normal";
        QTest::newRow("directory, read-only") << 17 << "Read-Only";
    }
    void attributeTexts()
    {
        QFETCH(int, attributes);
        QFETCH(QString, text);
        QCOMPARE(attributeText(attributes), text);
    }

    void readOnlyRefusal_data()
    {
        QTest::addColumn<int>("attributes");
        QTest::addColumn<bool>("refused");
        QTest::newRow("read-only") << 1 << true;
        QTest::newRow("read-only, archive") << 33 << true;
        QTest::newRow("read-only, hidden") << 3 << false;
        QTest::newRow("read-only, hidden, archive") << 35 << false;
        QTest::newRow("archive") << 32 << false;
        QTest::newRow("nothing") << 0 << false;
        QTest::newRow("hidden, archive") << 34 << false;
    }
    void readOnlyRefusal()
    {
        QFETCH(int, attributes);
        QFETCH(bool, refused);
        QCOMPARE(isRefusedAsReadOnly(attributes), refused);
    }

    // Root may write every file, so the owner's write bit decides.
    void attributesFromTheFileSystem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("attributes");
        QTest::newRow("ordinary") << "plain.txt" << 0644 << 32;
        QTest::newRow("owner may only read") << "readonly.txt" << 0444 << 33;
        QTest::newRow("no permissions") << "locked.txt" << 0000 << 33;
        QTest::newRow("others may write, owner not") << "odd.txt" << 0466 << 33;
        QTest::newRow("owner may only write") << "writeonly.txt" << 0200 << 32;
        QTest::newRow("dot-name") << ".hidden" << 0644 << 34;
        QTest::newRow("dot-name, read-only") << ".hidden-ro" << 0400 << 35;
        QTest::newRow("no extension") << "README" << 0600 << 32;
    }
    void attributesFromTheFileSystem()
    {
        QFETCH(QString, name);
        QFETCH(int, mode);
        QFETCH(int, attributes);
        const QString path = testenv::writeFile(QStringLiteral("attributes/") + name, "x");
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
        QCOMPARE(fileAttributes(path), attributes);
    }

    void attributesOfOtherThings()
    {
        const QString folder = testenv::root() + QStringLiteral("/attributes/folder");
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(fileAttributes(folder), 16);
        QCOMPARE(fileAttributes(folder + QStringLiteral("/missing.txt")), 0);
        const QString target = testenv::writeFile(QStringLiteral("attributes/target.txt"), "x");
        QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadUser));
        const QString link = folder + QStringLiteral("/link.txt");
        QVERIFY(QFile::link(target, link));
        QCOMPARE(fileAttributes(link), 33);  // the file the link names
    }

    void factsFromTheFileSystem()
    {
        const QString path = testenv::writeFile(QStringLiteral("facts/LETTER.txt"), QByteArray(5000, 'x'));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(at(1997, 5, 2, 15, 7), QFileDevice::FileModificationTime));
        file.close();
        QString error;
        const std::optional<FileFacts> facts = readFileFacts(path, &error);
        QVERIFY2(facts, qPrintable(error));
        QCOMPARE(facts->size, qint64(5000));
        QCOMPARE(facts->modified, at(1997, 5, 2, 15, 7));
        QCOMPARE(facts->attributes, 32);
        QCOMPARE(filePropertiesMessage(path.toUpper(), *facts, 120),
                 QStringLiteral("File name: LETTER.TXT\r\nFile size: 5000 bytes (4K)\r\n"
                                "Last modified: May 02, 1997 at 3:07 PM\r\nAttributes: Normal\r\n"
                                "Line count:  120"));
    }

    void missingFileHasNoFacts()
    {
        QString error;
        QVERIFY(!readFileFacts(testenv::root() + QStringLiteral("/facts/gone.txt"), &error));
        QCOMPARE(error, QStringLiteral("No such file or directory"));
    }

    // The file as loaded (a) and changed in one respect only: its
    // modification time by a nanosecond (t), its size (s), or replaced by
    // another file (r); - is no file.
    void whatTheUserIsToldOfAnOutsideChange_data()
    {
        QTest::addColumn<QString>("states");  // remembered, reported (. nothing yet), now
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<int>("notice");
        QTest::newRow("unchanged") << "a.a" << true << int(DiskNotice::None);
        QTest::newRow("touched, clean: reload?") << "a.t" << false << int(DiskNotice::OfferReload);
        QTest::newRow("longer, under changes") << "a.s" << true << int(DiskNotice::ChangedUnder);
        QTest::newRow("replaced, under changes") << "a.r" << true << int(DiskNotice::ChangedUnder);
        QTest::newRow("replaced, already told") << "arr" << false << int(DiskNotice::None);
        QTest::newRow("deleted") << "a.-" << true << int(DiskNotice::Deleted);
        QTest::newRow("deleted, already told") << "a--" << false << int(DiskNotice::None);
        QTest::newRow("deleted, then put back as it was") << "a-a" << false << int(DiskNotice::None);
        QTest::newRow("made where none could be read") << "-.r" << false << int(DiskNotice::OfferReload);
        QTest::newRow("still none") << "-.-" << false << int(DiskNotice::None);
    }
    void whatTheUserIsToldOfAnOutsideChange()
    {
        QFETCH(QString, states);
        QFETCH(bool, unsaved);
        QFETCH(int, notice);
        const QString path = testenv::writeFile(QStringLiteral("notice/file.txt"), "a");
        struct stat status;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
        const auto withTime = [&](long nanoseconds) {
            timespec times[2] = {status.st_atim, status.st_mtim};
            times[1].tv_nsec = (times[1].tv_nsec + nanoseconds) % 1000000000;
            return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0
                   ? FileIdentity::of(path) : FileIdentity();
        };
        QHash<QChar, FileIdentity> files{{u'a', FileIdentity::of(path)}, {u'-', FileIdentity()}};
        files[u't'] = withTime(1);
        testenv::writeFile(QStringLiteral("notice/file.txt"), "ab");  // in place
        files[u's'] = withTime(0);
        const QString other = testenv::writeFile(QStringLiteral("notice/new"), "a");  // while the inode is taken
        QVERIFY(QFile::remove(path) && QFile::rename(other, path));
        files[u'r'] = withTime(0);
        const std::optional<FileIdentity> reported =
            states[1] == u'.' ? std::nullopt : std::optional(files[states[1]]);
        QCOMPARE(int(diskNotice(files[states[0]], reported, files[states[2]], unsaved)), notice);
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("full path") << "/HOME/USER/A.TXT" << "A.TXT";
        QTest::newRow("no separator") << "A.TXT" << "A.TXT";
        QTest::newRow("backslash is a character here") << "C:\\DOCS\\A.TXT" << "C:\\DOCS\\A.TXT";
        QTest::newRow("ends in separator") << "/HOME/" << "";
    }
    void fileNames()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(fileNameFromPath(path), name);
    }
};

PAGEWELL_TEST_MAIN(TestFileProperties)
#include "tst_fileproperties.moc"
