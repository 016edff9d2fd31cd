// Keeping the user's work. Saving goes through a temporary file: the old file
// survives every failure, and permissions, owner and links are kept (faults
// are real even for root: a full or read-only tmpfs in a private mount
// namespace, an immutable file, /dev/full). Crash recovery gives back the
// very document, leaves sessions of live runs alone, and keeps or drops a
// document's entry as it was closed or saved.
#include "MainWindowFixture.h"
#include "app/RecoveryStartup.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/SafeWrite.h"
#include "document/frmDocument.h"
#include "files/DocumentRecovery.h"
#include "files/RecoveryDialog.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

using testsupport::bytesOf;
using testsupport::writeBytes;

namespace {

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

struct stat statusOf(const QString& path)
{
    struct stat status {};
    ::lstat(QFile::encodeName(path).constData(), &status);
    return status;
}

// Runs the script as root of a private mount namespace, where it may mount
// a tmpfs on $1, and keeps it alive; the folder is reached from here through
// /proc/<pid>/root. Needs no privileges where user namespaces are allowed.
QString privateMount(QProcess& process, const QString& folder, const QString& script)
{
    QDir().mkpath(folder);
    process.start(QStringLiteral("unshare"), {"--mount", "--map-root-user", "sh", "-c",
                                              script + "\necho ready; exec sleep 600", "sh", folder});
    while (process.waitForReadyRead(10000)) {
        if (process.readAllStandardOutput().contains("ready"))
            return QStringLiteral("/proc/%1/root%2").arg(process.processId()).arg(folder);
    }
    qWarning() << "no private tmpfs:" << process.readAllStandardError();
    return folder + QStringLiteral("/not-mounted");
}

QTextCharFormat randomCharFormat(QRandomGenerator& random)
{
    QTextCharFormat format;
    if (random.bounded(2))
        format.setFontFamilies({QStringList{"Arial", "Courier New", "Times New Roman"}[random.bounded(3)]});
    if (random.bounded(2))
        format.setFontPointSize(6 + random.bounded(30) / 2.0);
    if (random.bounded(2))
        format.setForeground(QColor::fromRgb(random.generate() & 0xffffff));
    format.setFontWeight(random.bounded(2) ? QFont::Bold : QFont::Normal);
    format.setFontItalic(random.bounded(2));
    format.setFontUnderline(random.bounded(2));
    format.setFontStrikeOut(random.bounded(2));
    return format;
}

// One random edit: typing, a deletion, a format over a range, or tab stops.
void randomEdit(QTextDocument& document, QRandomGenerator& random)
{
    QTextCursor cursor(&document);
    const int end = document.characterCount() - 1;
    cursor.setPosition(random.bounded(end + 1));
    const int kind = random.bounded(4);
    if (kind == 0) {
        QString text;
        for (int i = random.bounded(1, 13); i > 0; --i)
            text += QStringLiteral("ab \t\n\u00e9\u4e2d\u2028")[random.bounded(8)];
        cursor.insertText(text, randomCharFormat(random));
        return;
    }
    cursor.setPosition(std::min(end, cursor.position() + random.bounded(30)), QTextCursor::KeepAnchor);
    if (kind == 1) {
        cursor.removeSelectedText();
    } else if (kind == 2) {
        cursor.mergeCharFormat(randomCharFormat(random));
    } else {
        QTextBlockFormat block;
        block.setTabPositions({QTextOption::Tab(10.0 * (1 + random.bounded(9)), QTextOption::LeftTab)});
        cursor.block().setUserState(int(random.bounded(-1, 6)));
        cursor.mergeBlockFormat(block);
    }
}

// Paragraph by paragraph as the text control shows them; neighbouring
// fragments that look the same are one run (equal formats may list their
// properties in another order).
QStringList describe(const QTextDocument& document)
{
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QList<QPair<int, QMap<int, QVariant>>> runs;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QMap<int, QVariant> properties = it.fragment().charFormat().properties();
            if (!runs.isEmpty() && runs.last().second == properties)
                runs.last().first += it.fragment().length();
            else
                runs.append({it.fragment().length(), properties});
        }
        QString text;
        QDebug(&text) << block.text() << block.userState() << block.blockFormat().properties()
                      << block.charFormat().properties() << runs;
        blocks << text;
    }
    return blocks;
}

QStringList textsOf(const RecoveryBlockList& list)
{
    QStringList texts;
    for (const RecoveryBlock& block : list)
        texts << block.text;
    return texts;
}

}  // namespace

class TestSafeWriteAndRecovery : public QObject {
    Q_OBJECT

    testsupport::MainWindowFixture f;

private slots:
    void cleanup()
    {
        setRecoveryPrompt({});
        DocumentRecovery::finish();
        f.stop();
    }

    void writes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("mode");   // of the file before; -1: there was none
        QTest::addColumn<int>("links");  // a chain of links to it that is written; -1: one dangling link
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("new file") << "new.txt" << -1 << 0 << QByteArray("hello\n");
        QTest::newRow("0 bytes, new file") << "new.txt" << -1 << 0 << QByteArray();
        QTest::newRow("0 bytes over a file") << "a.txt" << 0644 << 0 << QByteArray();
        QTest::newRow("NUL bytes, blanks and non-ASCII in the name") << "Mein \u00D6rdner na\u00EFve.txt" << 0640
                                                                     << 0 << QByteArray("a\0b\0\xFF", 5);
        QTest::newRow("owner may only read") << "a.txt" << 0444 << 0 << QByteArray("y");
        QTest::newRow("others only") << "a.txt" << 0604 << 0 << QByteArray("y");
        QTest::newRow("sticky") << "a.txt" << 01644 << 0 << QByteArray("y");
        QTest::newRow("set-group-id") << "a.txt" << 02664 << 0 << QByteArray("y");
        QTest::newRow("set-user-id") << "a.txt" << 04750 << 0 << QByteArray("y");
        QTest::newRow("link") << "a.txt" << 0640 << 1 << QByteArray("y");
        QTest::newRow("link to a link") << "a.txt" << 0755 << 2 << QByteArray("y");
        QTest::newRow("dangling link") << "later.txt" << -1 << -1 << QByteArray("made");
    }
    void writes()
    {
        QFETCH(QString, name);
        QFETCH(int, mode);
        QFETCH(int, links);
        QFETCH(QByteArray, bytes);
        QTemporaryDir folder(testenv::root() + QStringLiteral("/write-XXXXXX"));
        const QString target = folder.filePath(name);
        QStringList expected{name};
        if (mode >= 0) {
            writeBytes(target, QByteArray(100000, 'x'));
            QCOMPARE(::chown(QFile::encodeName(target).constData(), 1234, 2345), ::geteuid() == 0 ? 0 : -1);
            QCOMPARE(::chmod(QFile::encodeName(target).constData(), mode_t(mode)), 0);
        }
        QString path = target;
        for (int i = 1; i <= std::abs(links); ++i) {  // the first absolute, then relative
            expected << QStringLiteral("link%1").arg(i);
            QVERIFY(QFile::link(i == 1 ? target : expected[i - 1], path = folder.filePath(expected[i])));
        }
        const struct stat before = statusOf(target);
        QString error = QStringLiteral("untouched");
        QVERIFY(writeFileSafely(path, bytes, &error));
        const mode_t mask = ::umask(0);
        ::umask(mask);
        const struct stat after = statusOf(target);
        const bool kept = mode >= 0 && ::geteuid() == 0;  // only root may give a file away
        expected.sort();  // no temporary file left, links still links
        QCOMPARE(QStringList({error, bytesOf(target).toHex(), entries(folder.path()).join(u'|'),
                              QString::number(after.st_mode, 8), kept ? QStringLiteral("%1:%2").arg(after.st_uid).arg(after.st_gid) : ""}),
                 QStringList({"untouched", bytes.toHex(), expected.join(u'|'),
                              QString::number(S_IFREG | (mode >= 0 ? mode : 0666 & ~mask), 8), kept ? "1234:2345" : ""}));
        QVERIFY(mode < 0 || after.st_ino != before.st_ino);  // replaced, not written in place
    }

    void failuresKeepTheOldFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");  // in the folder; empty: an empty path
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder does not exist") << "" << "not/there.txt" << "No such file or directory";
        QTest::newRow("empty path") << "" << "" << "No such file or directory";
        QTest::newRow("path is a folder") << "" << "sub" << "Is a directory";
        QTest::newRow("links in a loop") << "loop" << "a" << "Too many levels of symbolic links";
        QTest::newRow("immutable file") << "immutable" << "file.txt" << "Operation not permitted";
        QTest::newRow("full disk, replacing a file") << "full" << "file.txt" << "No space left on device";
        QTest::newRow("full disk, a new file") << "full" << "new.txt" << "No space left on device";
        QTest::newRow("read-only file system") << "read-only" << "file.txt" << "Read-only file system";
        QTest::newRow("read-only file system, a new file") << "read-only" << "new.txt" << "Read-only file system";
        QTest::newRow("a device, written in place") << "" << "/dev/full" << "No space left on device";
    }
    void failuresKeepTheOldFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QTemporaryDir temporary(testenv::root() + QStringLiteral("/fail-XXXXXX"));
        QString folder = temporary.path();
        QProcess mount;
        const auto unmount = qScopeGuard([&] { mount.kill(), mount.waitForFinished(); });
        if (kind == QLatin1String("full") || kind == QLatin1String("read-only"))
            folder = privateMount(mount, folder + QStringLiteral("/mnt"),
                                  "mount -t tmpfs -o size=64k,mode=1777 tmpfs \"$1\" && printf x > \"$1/file.txt\""
                                      + QString(kind == QLatin1String("read-only") ? " && mount -o remount,ro \"$1\"" : ""));
        else
            writeBytes(folder + QStringLiteral("/file.txt"), "x");
        const QString path = name.isEmpty() || name.startsWith(u'/') ? name : folder + u'/' + name;
        QDir().mkpath(folder + QStringLiteral("/sub"));
        if (kind == QLatin1String("loop")) {
            QVERIFY(QFile::link(folder + QStringLiteral("/b"), path));
            QVERIFY(QFile::link(path, folder + QStringLiteral("/b")));
        }
        if (kind == QLatin1String("immutable") && QProcess::execute(QStringLiteral("chattr"), {"+i", path}) != 0)
            QSKIP("this file system cannot make a file immutable (or this user may not)");
        const QStringList before = entries(folder);
        QString error;
        const bool written = writeFileSafely(path, QByteArray(1024 * 1024, 'y'), &error);
        if (kind == QLatin1String("immutable"))
            QProcess::execute(QStringLiteral("chattr"), {"-i", path});
        QVERIFY(!written);
        QCOMPARE(error, path + QStringLiteral(" could not be saved: ") + reason);
        QCOMPARE(entries(folder), before);
        QCOMPARE(bytesOf(folder + QStringLiteral("/file.txt")), QByteArray("x"));
    }

    // The caller hears how far a write has come after each slice and may
    // stop it: stopped, the write leaves everything as it was.
    void progressMayAbandonTheWrite_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("stopAt");  // the slice after which progress says no; 0: never
        for (const char* name : {"file.txt", "new.txt"}) {
            QTest::addRow("%s, to the end", name) << name << 0;
            QTest::addRow("%s, stopped after the first slice", name) << name << 1;
            QTest::addRow("%s, stopped after the last slice", name) << name << 3;
        }
    }
    void progressMayAbandonTheWrite()
    {
        QFETCH(QString, name);
        QFETCH(int, stopAt);
        constexpr qint64 Slice = 1 << 20;
        QTemporaryDir folder(testenv::root() + QStringLiteral("/progress-XXXXXX"));
        writeBytes(folder.filePath(QStringLiteral("file.txt")), "x");
        const QStringList before = entries(folder.path());
        const QString path = folder.filePath(name);
        QList<qint64> heard;
        QString error = QStringLiteral("untouched");
        const bool written = writeFileSafely(
            path,
            [](const ByteSink& sink) {
                for (char c : {'a', 'b', 'c'})
                    if (!sink(QByteArray(Slice, c)))
                        return true;  // the producer's own verdict does not undo a stop
                return true;
            },
            &error, [&](qint64 done) {
                heard << done;
                return stopAt == 0 || heard.size() < stopAt;
            });
        QCOMPARE(written, stopAt == 0);
        QCOMPARE(error, QStringLiteral("untouched"));
        const int slices = stopAt == 0 ? 3 : stopAt;
        QCOMPARE(heard.mid(0, slices), (QList<qint64>{Slice, 2 * Slice, 3 * Slice}).mid(0, slices));
        QVERIFY(std::all_of(heard.begin() + slices, heard.end(), [&](qint64 done) { return done == 3 * Slice; }));
        if (stopAt != 0) {
            QCOMPARE(entries(folder.path()), before);
            QCOMPARE(bytesOf(folder.filePath(QStringLiteral("file.txt"))), QByteArray("x"));
        } else {
            QCOMPARE(bytesOf(path), QByteArray(Slice, 'a') + QByteArray(Slice, 'b') + QByteArray(Slice, 'c'));
        }
    }

    // Random edits against the copy kept while they happen, and the entry
    // through the file format and back.
    void entriesGiveBackTheDocument_data()
    {
        QTest::addColumn<int>("seed");
        for (int seed = 0; seed <= 6; ++seed)
            QTest::addRow("seed %d, %d edits", seed, 40 * seed) << seed;
    }
    void entriesGiveBackTheDocument()
    {
        QFETCH(int, seed);
        QRandomGenerator random{quint32(seed)};
        QTextDocument document;
        document.documentLayout();  // a document tells its changes only once it has one
        DocumentRecorder recorder(&document, [](RecoveryEntry&) {}, [] { return true; },
                                  [](std::shared_ptr<const RecoveryEntry>) {});
        recorder.start();
        for (int i = 0; i < 40 * seed; ++i) {
            randomEdit(document, random);
            if (random.bounded(8) == 0)  // the copy completed now and then
                QVERIFY(QTest::qWaitFor([&] { return recorder.isComplete(); }));
        }
        RecoveryEntry written = *recorder.snapshotNow();
        QTextDocument fresh;  // the copy kept while editing against one made now
        RecoveryEntry::ofDocument(document).restoreInto(fresh);
        QCOMPARE(describe(fresh), describe(document));
        written.header = {"/tmp/a.txt", "/TMP/A.TXT", "/TMP/A.TXT", QDateTime::fromMSecsSinceEpoch(seed * 1000003LL)};
        written.backColor = 0x00ff8040;
        written.fileFormat = {TextFileFormat::Utf16BE, true, TextFileFormat::Cr};
        QBuffer bytes;
        bytes.open(QIODevice::ReadWrite);
        QVERIFY(writeRecoveryEntry(bytes, written));
        bytes.seek(0);
        RecoveryEntry read;
        QVERIFY(readRecoveryEntry(bytes, &read));
        const auto metadata = [](const RecoveryEntry& e) {
            return QStringList({e.header.filePath, e.header.caption, e.header.lastChange.toString(Qt::ISODateWithMs),
                                QString::number(e.backColor, 16), e.baseFont.toString(),
                                QString::number(e.fileFormat.encoding * 100 + e.fileFormat.bom * 10 + e.fileFormat.lineBreak)});
        };
        written.baseFont = document.defaultFont();
        QCOMPARE(metadata(read), metadata(written));
        QTextDocument restored;
        read.restoreInto(restored);
        QCOMPARE(describe(restored), describe(document));
        bytes.buffer().chop(1);  // a file cut short is refused rather than restored in part
        bytes.seek(0);
        QVERIFY(!readRecoveryEntry(bytes, &read));
    }

    // The paged list against a plain one, with pages small enough to split
    // and empty often; a copy handed over keeps what it held.
    void blockListMatchesAPlainList()
    {
        QRandomGenerator random{11};
        RecoveryBlockList list(4), handedOver;
        QStringList expected, expectedHandedOver;
        for (int step = 0; step < 3000; ++step) {
            const int at = random.bounded(int(expected.size()) + 1);
            const int count = std::min(random.bounded(1, 10), int(expected.size()) - at);
            const QString text = QString::number(step);
            switch (random.bounded(6)) {
            case 0:
                for (int i = 0; i <= count; ++i, expected.insert(at, text))
                    list.insert(at, {text});
                break;
            case 1:
                list.append({text});
                expected.append(text);
                break;
            case 2:
                list.remove(at, count);
                expected.remove(at, count);
                break;
            case 3:
                if (at < expected.size())
                    list.replace(at, {expected[at] = text});
                break;
            case 4:
                if (random.bounded(20) == 0) {
                    list.truncate(at);
                    expected.resize(at);
                }
                break;
            default:
                QCOMPARE(textsOf(handedOver), expectedHandedOver);
                handedOver = list;
                expectedHandedOver = expected;
            }
            QCOMPARE(list.size(), expected.size());
            if (at < expected.size())
                QCOMPARE(list[at].text, expected[at]);
        }
        QCOMPARE(textsOf(list), expected);
    }

    // Only sessions whose run has ended are offered; once taken, an empty
    // one goes and one still holding entries is offered again.
    void endedSessionsOnly()
    {
        const QString root = testenv::root() + QStringLiteral("/sessions");
        RecoveryStore live(root);
        QVERIFY(live.open() && live.write(QStringLiteral("doc1"), RecoveryEntry{}));
        QProcess ended;  // a lock as a run leaves it when it is killed: its process is gone
        ended.start(QStringLiteral("true"));
        QVERIFY(ended.waitForStarted());
        const qint64 endedPid = ended.processId();
        QVERIFY(ended.waitForFinished());
        for (const QString& name : {QStringLiteral("without lock"), QStringLiteral("stale")}) {
            RecoveryEntry entry;
            entry.header.caption = name;
            const QString folder = root + QStringLiteral("/session-") + name;
            QFile file(folder + QStringLiteral("/doc1.pwr"));
            QVERIFY(QDir().mkpath(folder) && file.open(QIODevice::WriteOnly) && writeRecoveryEntry(file, entry));
            QLockFile held(folder + QStringLiteral("/lock"));
            QByteArray lock = held.tryLock(0) ? bytesOf(held.fileName()) : QByteArray("no lock");
            held.unlock();
            if (name == QLatin1String("stale"))
                writeBytes(held.fileName(), lock.replace(0, lock.indexOf('\n'), QByteArray::number(endedPid)));
        }
        RecoveryStore next(root);
        QVERIFY(next.open());
        std::vector<RecoveryStore::Orphan> orphans = next.claimOrphans();
        QCOMPARE(orphans.size(), size_t(2));
        QCOMPARE(QSet<QString>({orphans[0].header.caption, orphans[1].header.caption}), (QSet<QString>{"stale", "without lock"}));
        QVERIFY(next.claimOrphans().empty());  // a second look finds them taken
        QVERIFY(next.adopt(orphans[0].path, QStringLiteral("doc5")));
        next.releaseOrphans();
        QVERIFY(QFile::exists(next.entryPath(QStringLiteral("doc5"))));
        QCOMPARE(QDir(root).entryList({"session-*"}, QDir::Dirs).size(), 3);  // live, next, one still holding
        RecoveryStore third(root);
        QVERIFY(third.open());
        QCOMPARE(third.claimOrphans().size(), size_t(1));
        live.close();
        QVERIFY(QFile::exists(live.entryPath(QStringLiteral("doc1"))));  // kept entries keep the folder
    }

    // Which ends of a changed document keep its entry for the next start; a
    // kept one is restored, changed, into the next run's empty first window.
    void entryKeptOrDropped_data()
    {
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("restored");  // empty: the entry is dropped
        QTest::newRow("saved") << "save" << "";
        QTest::newRow("closed with No") << "no" << "";
        QTest::newRow("untitled typed in and emptied") << "emptied" << "";
        QTest::newRow("read-only file refused at close") << "read-only" << "line\r\ntyped last";
        QTest::newRow("save failed") << "write failure" << "line\r\ntyped";
        QTest::newRow("ended by a signal") << "signal" << "line\r\ntyped last";
    }
    void entryKeptOrDropped()
    {
        QFETCH(QString, end);
        QFETCH(QString, restored);
        f.start();
        DocumentRecovery* recovery = DocumentRecovery::start(f.path("recovery"));
        recovery->attach(f.active());
        const QString path = f.file("sub/a.txt", "line\r\n");
        auto command = [&](int item, int answer = 0) {
            f.boxes->answers = {answer};
            f.main->item("mnuFileItem", item)->trigger();
            QApplication::processEvents();
        };
        if (end != QLatin1String("emptied")) {
            f.dialogs->choose(path);
            command(1);  // Open
        }
        QTest::keyClick(f.text(), Qt::Key_End, Qt::ControlModifier);
        f.type(QStringLiteral("typed"));
        const QString session = recovery->store().sessionPath(), entry = session + QStringLiteral("/doc1.pwr");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(entry), 3000);
        if (end == QLatin1String("read-only"))
            QFile::setPermissions(path, QFileDevice::ReadOwner);
        if (end == QLatin1String("write failure")) {
            QDir(f.path("sub")).removeRecursively();
            writeBytes(f.path("sub"), "a file where the folder was");
        }
        if (restored.endsWith(QLatin1String("last")))
            f.type(QStringLiteral(" last"));  // not written yet when the window closes
        if (end == QLatin1String("save") || end == QLatin1String("write failure")) {
            command(5);  // Save
        } else if (end == QLatin1String("no") || end == QLatin1String("read-only")) {
            command(3, end == QLatin1String("no") ? vb::vbNo : vb::vbYes);  // Close
        } else if (end == QLatin1String("signal")) {
            recovery->keepAll();
            f.main->closeWithoutPrompts();
        } else {
            f.text()->SetSel(0, -1);
            QTest::keyClick(f.text(), Qt::Key_Delete);
            QTest::qWait(DocumentRecorder::WriteDelayMs + 300);
        }
        if (end == QLatin1String("read-only"))
            QCOMPARE(f.lastPrompt(), QStringLiteral("File is read-only and cannot be saved!"));
        DocumentRecovery::finish();  // waits for the writes, then ends the session
        QCOMPARE(QFile::exists(entry), !restored.isEmpty());
        QCOMPARE(QDir(session).exists(), !restored.isEmpty());
        if (restored.isEmpty())
            return;
        f.restart();
        recovery = DocumentRecovery::start(f.path("recovery"));
        recovery->attach(f.active());
        QList<RecoveryOffer> offered;
        setRecoveryPrompt([&](const QList<RecoveryOffer>& offers) {
            offered = offers;
            return RecoveryDecision{RecoveryDecision::Restore, {true}};
        });
        offerRecoveredDocuments(*f.main, *recovery);
        QCOMPARE(QStringList({QString::number(offered.size()), offered.value(0).caption, QString::number(f.documentCount()),
                              f.active()->windowTitle(), f.active()->filePath(), f.active()->Label1(), f.text()->Text()}),
                 QStringList({"1", path.toUpper(), "1", path.toUpper(), path, "x", restored}));
        QVERIFY(QFile::exists(recovery->store().entryPath("doc1")));  // now this run's
    }
};

PAGEWELL_TEST_MAIN(TestSafeWriteAndRecovery)
#include "tst_safewriteandrecovery.moc"
