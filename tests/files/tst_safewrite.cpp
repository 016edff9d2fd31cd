// Saving through a temporary file: the old file survives every failure,
// permissions and links are kept. Faults are real even for root: a full or
// read-only tmpfs in a private mount namespace, an immutable file, /dev/full.
#include "TestEnvironment.h"
#include "files/SafeWrite.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

struct stat statusOf(const QString& path)
{
    struct stat status {};
    ::lstat(QFile::encodeName(path).constData(), &status);
    return status;
}

int modeOf(const QString& path) { return int(statusOf(path).st_mode & 07777); }

// A tmpfs mounted in a private mount namespace of a helper process, reached
// from here through /proc/<pid>/root. The mount goes away with the helper,
// and nothing outside the namespace sees it; it needs no privileges where
// user namespaces are allowed, and works for root.
class PrivateMount {
public:
    // Mounts a tmpfs of the size on folder holding file.txt = "original";
    // readOnly remounts it read-only afterwards.
    PrivateMount(const QString& folder, const QString& size, bool readOnly)
    {
        QDir().mkpath(folder);
        const QString script = QStringLiteral(
            "mount -t tmpfs -o size=%1,mode=1777 tmpfs \"$1\" || exit 1\n"
            "printf original > \"$1/file.txt\" || exit 1\n"
            "%2"
            "echo ready\n"
            "exec sleep 600\n")
                                   .arg(size, readOnly ? QStringLiteral("mount -o remount,ro \"$1\" || exit 1\n")
                                                       : QString());
        m_process.start(QStringLiteral("unshare"),
                        {QStringLiteral("--mount"), QStringLiteral("--map-root-user"), QStringLiteral("sh"),
                         QStringLiteral("-c"), script, QStringLiteral("sh"), folder});
        if (!m_process.waitForStarted(10000)) {
            m_error = QStringLiteral("unshare could not be started: ") + m_process.errorString();
            return;
        }
        while (!m_process.readAllStandardOutput().contains("ready")) {
            if (m_process.state() != QProcess::Running || !m_process.waitForReadyRead(10000)) {
                m_error = QStringLiteral("no private tmpfs: ")
                          + QString::fromLocal8Bit(m_process.readAllStandardError()).trimmed();
                return;
            }
        }
        m_root = QStringLiteral("/proc/%1/root%2").arg(m_process.processId()).arg(folder);
    }
    ~PrivateMount()
    {
        m_process.kill();
        m_process.waitForFinished(10000);
    }

    QString error() const { return m_error; }
    QString folder() const { return m_root; }  // the mounted tmpfs, as seen from here

private:
    QProcess m_process;
    QString m_error;
    QString m_root;
};

}  // namespace

class TestSafeWrite : public QObject {
    Q_OBJECT

    QString m_folder;
    int m_case = 0;

    // A fresh, empty folder for each check.
    QString freshFolder()
    {
        const QString folder = m_folder + QStringLiteral("/case%1").arg(++m_case);
        QDir().mkpath(folder);
        return folder;
    }

    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

private slots:
    void initTestCase() { m_folder = testenv::root() + QStringLiteral("/safewrite"); }

    void writes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("before");  // empty: no file yet
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new file") << "new.txt" << QByteArray() << QByteArray("hello\n");
        QTest::newRow("longer") << "a.txt" << QByteArray("short") << QByteArray("a longer text\r\n");
        QTest::newRow("shorter") << "a.txt" << QByteArray(100000, 'x') << QByteArray("y");
        QTest::newRow("0 bytes over a file") << "a.txt" << QByteArray("something") << QByteArray();
        QTest::newRow("0 bytes, new file") << "empty.txt" << QByteArray() << QByteArray();
        QTest::newRow("NUL bytes") << "bin.dat" << QByteArray("old") << QByteArray("a\0b\0\xFF", 5);
        QTest::newRow("blanks and non-ASCII") << "Mein \u00D6rdner na\u00EFve.txt" << QByteArray("old")
                                              << QByteArray("neu");
    }
    void writes()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const QString folder = freshFolder();
        const QString path = folder + u'/' + name;
        if (!before.isEmpty())
            write(path, before);
        QString error = QStringLiteral("untouched");
        QVERIFY(writeFileSafely(path, after, &error));
        QCOMPARE(error, QStringLiteral("untouched"));
        QCOMPARE(contents(path), after);
        QCOMPARE(entries(folder), QStringList{name});  // no temporary file left
    }

    void keepsPermissions_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("0640") << 0640;
        QTest::newRow("0600") << 0600;
        QTest::newRow("0755") << 0755;
        QTest::newRow("0444, owner may only read") << 0444;
        QTest::newRow("0604") << 0604;
        QTest::newRow("sticky 01644") << 01644;
        QTest::newRow("set-group-id 02664") << 02664;
    }
    void keepsPermissions()
    {
        QFETCH(int, mode);
        const QString path = freshFolder() + QStringLiteral("/kept.txt");
        write(path, "old");
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
        const ino_t inode = statusOf(path).st_ino;
        QVERIFY(writeFileSafely(path, "new"));
        QCOMPARE(contents(path), QByteArray("new"));
        QCOMPARE(QString::number(modeOf(path), 8), QString::number(mode, 8));
        QVERIFY(statusOf(path).st_ino != inode);  // really replaced, not written in place
    }

    void newFileFollowsUmask()
    {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        const QString path = freshFolder() + QStringLiteral("/new.txt");
        QVERIFY(writeFileSafely(path, "x"));
        QCOMPARE(QString::number(modeOf(path), 8), QString::number(0666 & ~mask, 8));
    }

    void keepsOwnerAndGroup()
    {
        if (::geteuid() != 0)
            QSKIP("only root can give a file to another owner");
        const QString path = freshFolder() + QStringLiteral("/owned.txt");
        write(path, "old");
        QCOMPARE(::chown(QFile::encodeName(path).constData(), 1234, 2345), 0);
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 04750), 0);
        QVERIFY(writeFileSafely(path, "new"));
        QCOMPARE(int(statusOf(path).st_uid), 1234);
        QCOMPARE(int(statusOf(path).st_gid), 2345);
        QCOMPARE(QString::number(modeOf(path), 8), QStringLiteral("4750"));  // set-id bits survive chown
    }

    void linkStaysALink_data()
    {
        QTest::addColumn<bool>("relative");
        QTest::addColumn<int>("chain");
        QTest::newRow("absolute link") << false << 1;
        QTest::newRow("relative link") << true << 1;
        QTest::newRow("link to a link") << true << 2;
    }
    void linkStaysALink()
    {
        QFETCH(bool, relative);
        QFETCH(int, chain);
        const QString folder = freshFolder();
        QDir().mkpath(folder + QStringLiteral("/real"));
        const QString target = folder + QStringLiteral("/real/target.txt");
        write(target, "old");
        QCOMPARE(::chmod(QFile::encodeName(target).constData(), 0640), 0);
        QString pointsTo = relative ? QStringLiteral("real/target.txt") : target;
        QString link;
        for (int i = 1; i <= chain; ++i) {
            link = folder + QStringLiteral("/link%1.txt").arg(i);
            QCOMPARE(::symlink(QFile::encodeName(pointsTo).constData(), QFile::encodeName(link).constData()), 0);
            pointsTo = QFileInfo(link).fileName();
        }
        QString error;
        QVERIFY2(writeFileSafely(link, "new", &error), qPrintable(error));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(contents(target), QByteArray("new"));
        QCOMPARE(modeOf(target), 0640);
        QCOMPARE(entries(folder + QStringLiteral("/real")), QStringList{QStringLiteral("target.txt")});
    }

    void danglingLinkCreatesItsTarget()
    {
        const QString folder = freshFolder();
        const QString link = folder + QStringLiteral("/link.txt");
        QVERIFY(QFile::link(folder + QStringLiteral("/later.txt"), link));
        QVERIFY(writeFileSafely(link, "made"));
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(contents(folder + QStringLiteral("/later.txt")), QByteArray("made"));
    }

    void failuresKeepTheOldFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder does not exist") << "missing folder" << "No such file or directory";
        QTest::newRow("path is a folder") << "folder" << "Is a directory";
        QTest::newRow("links in a loop") << "loop" << "Too many levels of symbolic links";
    }
    void failuresKeepTheOldFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString folder = freshFolder();
        QString path;
        if (kind == QLatin1String("missing folder")) {
            path = folder + QStringLiteral("/not/there.txt");
        } else if (kind == QLatin1String("folder")) {
            path = folder + QStringLiteral("/sub");
            QVERIFY(QDir().mkpath(path));
        } else {
            path = folder + QStringLiteral("/a");
            QVERIFY(QFile::link(folder + QStringLiteral("/b"), path));
            QVERIFY(QFile::link(path, folder + QStringLiteral("/b")));
        }
        const QStringList before = entries(folder);
        QString error;
        QVERIFY(!writeFileSafely(path, "new", &error));
        QCOMPARE(error, path + QStringLiteral(" could not be saved: ") + reason);
        QCOMPARE(entries(folder), before);
    }

    void emptyPathFails()
    {
        QString error;
        QVERIFY(!writeFileSafely(QString(), "x", &error));
        QVERIFY(error.contains(QStringLiteral("No such file or directory")));
    }

    void fullDisk_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("replacing a file") << "file.txt";
        QTest::newRow("a new file") << "new.txt";
    }
    void fullDisk()
    {
        QFETCH(QString, name);
        PrivateMount mount(freshFolder(), QStringLiteral("64k"), false);
        QVERIFY2(mount.error().isEmpty(), qPrintable(mount.error()));
        const QString path = mount.folder() + u'/' + name;
        QString error;
        QVERIFY(!writeFileSafely(path, QByteArray(1024 * 1024, 'x'), &error));
        QCOMPARE(error, path + QStringLiteral(" could not be saved: No space left on device"));
        QCOMPARE(contents(mount.folder() + QStringLiteral("/file.txt")), QByteArray("original"));
        QCOMPARE(entries(mount.folder()), QStringList{QStringLiteral("file.txt")});
        // What fits is still written.
        QVERIFY(writeFileSafely(path, "fits"));
        QCOMPARE(contents(path), QByteArray("fits"));
    }

    void readOnlyFileSystem()
    {
        PrivateMount mount(freshFolder(), QStringLiteral("1m"), true);
        QVERIFY2(mount.error().isEmpty(), qPrintable(mount.error()));
        const QString path = mount.folder() + QStringLiteral("/file.txt");
        QString error;
        QVERIFY(!writeFileSafely(path, "new", &error));
        QCOMPARE(error, path + QStringLiteral(" could not be saved: Read-only file system"));
        QCOMPARE(contents(path), QByteArray("original"));
        QCOMPARE(entries(mount.folder()), QStringList{QStringLiteral("file.txt")});
    }

    // An immutable file refuses to be replaced, even by root.
    void immutableFile()
    {
        const QString chattr = QStandardPaths::findExecutable(QStringLiteral("chattr"));
        QVERIFY2(!chattr.isEmpty(), "chattr (e2fsprogs) is needed to make a file immutable");
        const QString folder = freshFolder();
        const QString path = folder + QStringLiteral("/locked.txt");
        write(path, "original");
        if (QProcess::execute(chattr, {QStringLiteral("+i"), path}) != 0)
            QSKIP("this file system cannot make a file immutable (or this user may not)");
        QString error;
        const bool written = writeFileSafely(path, "new", &error);
        QProcess::execute(chattr, {QStringLiteral("-i"), path});
        QVERIFY(!written);
        QCOMPARE(error, path + QStringLiteral(" could not be saved: Operation not permitted"));
        QCOMPARE(contents(path), QByteArray("original"));
        QCOMPARE(entries(folder), QStringList{QStringLiteral("locked.txt")});
    }

    // A device is written in place: a rename would put a file where it was.
    void devicesAreWrittenInPlace()
    {
        QVERIFY(writeFileSafely(QStringLiteral("/dev/null"), "discarded"));
        QVERIFY(S_ISCHR(statusOf(QStringLiteral("/dev/null")).st_mode));
        QString error;
        QVERIFY(!writeFileSafely(QStringLiteral("/dev/full"), "x", &error));
        QCOMPARE(error, QStringLiteral("/dev/full could not be saved: No space left on device"));
        QVERIFY(S_ISCHR(statusOf(QStringLiteral("/dev/full")).st_mode));
    }
};

PAGEWELL_TEST_MAIN(TestSafeWrite)
#include "tst_safewrite.moc"
