// The per-user settings store: exact round trips (also through an editor that
// trims lines), hand-edited and damaged files, and two running copies.
#include "TestEnvironment.h"
#include "core/Settings.h"
#include "core/SettingsStore.h"
#include "files/RecentFiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString Ini = QStringLiteral("config/Pagewell/Pagewell.ini");

QByteArray storedText()
{
    QFile file(settingsFilePath(AppTitle));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

}  // namespace

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void init() { testenv::clearSettings(); }

    void roundTrips_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        const QList<std::tuple<const char*, const char*, const char*, QString>> rows = {
            {"plain", "Font", "Name", "Liberation Sans"},
            {"leading blank", "Tab Set", "Tab", " 4"},
            {"trailing blank", "Page Setup", "Footer", "Page &p "},
            {"blanks both ends", "Page Setup", "Footer", "  Page &p  "},
            {"only a blank", "Page Setup", "Header", " "},
            {"trailing tab", "Custom", "Toolbar", "a\t"},
            {"trailing CR", "Custom", "Toolbar", "a\r"},
            {"line breaks", "Custom", "Toolbar", "a\nb\r\nc\td"},
            {"backslashes", "Recent Files", "File2", "C:\\DOCS\\A.TXT\\"},
            {"escape look-alikes", "Recent Files", "File3", "\\s\\x3d\\n"},
            {"non-ASCII", "Recent Files", "File1", "/HOME/ANNA/ÉTÉ \u4e2d.TXT"},
            {"quotes, equals, comment marks", "Page Setup", "Footer", "\"a\" = b; #c"},
            {"value starts with a comment mark", "Page Setup", "Header", "; #x"},
            {"brackets", "Page Setup", "Header", "[draft]"},
            {"empty", "Extension", "TwoName", ""},
            {"slash in section", "Date/Time", "Format", "8"},
            {"brackets in section", "a]b[c", "k", "v"},
            {"equals and brackets in key", "S", "k=[1]", "v=w"},
            {"key starts with a semicolon", "S", ";k", "v"},
            {"key starts with a hash", "S", "#k", "v"},
            {"blanks around key", "S", " k ", "v"},
            {"case differs from another key", "Toolbar", "visible", "x"},
        };
        for (const auto& [name, section, key, value] : rows)
            QTest::newRow(name) << section << key << value;
    }
    // Read back in this run, in the next run, and after an editor trimmed
    // every line of the file.
    void roundTrips()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        SaveSetting(AppTitle, QStringLiteral("Toolbar"), QStringLiteral("Visible"), QStringLiteral("No"));
        SaveSetting(AppTitle, section, key, value);
        QCOMPARE(GetSetting(AppTitle, section, key, QStringLiteral("missing")), value);
        resetSettingsStores();
        QCOMPARE(GetSetting(AppTitle, section, key, QStringLiteral("missing")), value);
        QByteArrayList lines = storedText().split('\n');
        for (QByteArray& line : lines)
            line = line.trimmed();
        testenv::writeFile(Ini, lines.join('\n'));
        resetSettingsStores();
        QCOMPARE(GetSetting(AppTitle, section, key, QStringLiteral("missing")), value);
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("Toolbar"), QStringLiteral("Visible")), QStringLiteral("No"));
    }

    // What a hand-edited or damaged file gives for [S] k; a file that holds
    // no good line reads as defaults and a write heals it.
    void handEditedFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("value");
        QTest::newRow("Windows line ends, comments") << QByteArray("; by hand\r\n[S]\r\n# x\r\nk=1\r\n") << "1";
        QTest::newRow("garbage between") << QByteArray("[T]\nx=2\ngarbage\n[S]\nk=1\n") << "1";
        QTest::newRow("last one wins") << QByteArray("[S]\nk=1\n[T]\nk=2\n[S]\nk=3\n") << "3";
        QTest::newRow("first equals separates") << QByteArray("[S]\nk=a=b\n") << "a=b";
        QTest::newRow("unknown escape") << QByteArray("[S]\nk=\\q\\xzz\\x4\n") << "qxzzx4";
        QTest::newRow("trailing backslash") << QByteArray("[S]\nk=a\\\n") << "a\\";
        QTest::newRow("hex escape") << QByteArray("[S]\nk=\\x41\\x3D\n") << "A=";
        QTest::newRow("commented out") << QByteArray("[S]\n;k=1\n#k=2\n") << "missing";
        QTest::newRow("key before any section") << QByteArray("k=5\n") << "missing";
        QTest::newRow("unterminated section") << QByteArray("[S\nk=5\n") << "missing";
        QTest::newRow("line without equals") << QByteArray("[S]\nk\n=\n") << "missing";
        QTest::newRow("binary") << QByteArray("\x00\xFF\xFE[\x01=\x02\n\xC3", 9) << "missing";
    }
    void handEditedFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, value);
        testenv::writeFile(Ini, content);
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("missing")), value);
        SaveSetting(AppTitle, QStringLiteral("T"), QStringLiteral("new"), QStringLiteral("15"));
        resetSettingsStores();
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("T"), QStringLiteral("new")), QStringLiteral("15"));
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("missing")), value);
    }

    // The file stays readable and editable by hand: sections in first-use
    // order, keys sorted, escapes only where a line would otherwise change.
    void fileIsReadable()
    {
        QVERIFY(settingsFilePath(AppTitle).startsWith(testenv::root() + QStringLiteral("/config/")));
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Size"), QStringLiteral("d")),
                 QStringLiteral("d"));
        QVERIFY(!QFile::exists(settingsFilePath(AppTitle)));  // reading writes nothing
        SaveSetting(AppTitle, QStringLiteral("Tab Set"), QStringLiteral("Tab"), QStringLiteral(" 4 "));
        SaveSetting(AppTitle, QStringLiteral("Date/Time"), QStringLiteral("Format"), QStringLiteral("3"));
        SaveSetting(AppTitle, QStringLiteral("Tab Set"), QStringLiteral("A=[x]"), QStringLiteral("#a=[b] c"));
        SaveSetting(AppTitle, QStringLiteral("Date/Time"), QStringLiteral(";k"), QStringLiteral("a\\b\tc"));
        QCOMPARE(storedText(), QByteArray("[Tab Set]\nA\\x3d\\x5bx\\x5d=\\x23a=[b] c\nTab=\\s4\\s\n\n"
                                          "[Date/Time]\n\\x3bk=a\\\\b\\tc\nFormat=3\n\n"));
    }

    void unreadableStoreNeverCrashes()
    {
        QDir().mkpath(settingsFilePath(AppTitle));  // a folder where the file should be
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Size")), QString());
        SaveSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Size"), QStringLiteral("10"));
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Size")), QStringLiteral("10"));
        QDir(settingsFilePath(AppTitle)).removeRecursively();
    }

    void twoRunningCopiesKeepEachOthersKeys()
    {
        SettingsStore first(settingsFilePath(AppTitle));
        SettingsStore second(settingsFilePath(AppTitle));
        QVERIFY(first.setValue(QStringLiteral("Font"), QStringLiteral("Name"), QStringLiteral("Arial")));
        QVERIFY(second.setValue(QStringLiteral("Font"), QStringLiteral("Size"), QStringLiteral("12")));
        QVERIFY(first.setValue(QStringLiteral("Font"), QStringLiteral("Size"), QStringLiteral("14")));
        bool found = false;
        QCOMPARE(second.value(QStringLiteral("Font"), QStringLiteral("Size"), &found), QStringLiteral("14"));
        QVERIFY(found);
        second.value(QStringLiteral("Font"), QStringLiteral("Colour"), &found);
        QVERIFY(!found);
        SettingsStore fresh(settingsFilePath(AppTitle));
        QCOMPARE(fresh.value(QStringLiteral("Font"), QStringLiteral("Name")), QStringLiteral("Arial"));
        // An edit in place that keeps the file's size and time is still read
        // before the next write, which would otherwise put back the old value.
        const QByteArray path = QFile::encodeName(settingsFilePath(AppTitle));
        struct stat before {};
        QVERIFY(::stat(path.constData(), &before) == 0);
        QFile file(settingsFilePath(AppTitle));
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray text = file.readAll();
        QVERIFY(file.seek(0) && file.write(QByteArray(text).replace("Arial", "Times")) == text.size());
        file.close();
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        QVERIFY(::utimensat(AT_FDCWD, path.constData(), times, 0) == 0);
        QVERIFY(fresh.setValue(QStringLiteral("Font"), QStringLiteral("Bold"), QStringLiteral("True")));
        QCOMPARE(SettingsStore(settingsFilePath(AppTitle)).value(QStringLiteral("Font"), QStringLiteral("Name")),
                 QStringLiteral("Times"));
    }

    // Two copies recording files at once: every update of the recent files
    // (and of a count kept with them) survives the other copy's.
    void concurrentUpdatesLoseNothing()
    {
        constexpr int Rounds = 60;
        const auto record = [](const char* who) {
            SettingsStore store(settingsFilePath(AppTitle));
            for (int i = 0; i < Rounds; ++i) {
                store.update([&](SettingsStore::Transaction& settings) {
                    updateRecentEntries(settings, {}, QStringLiteral("/%1/%2").arg(who).arg(i));
                    const int count = settings.value(QStringLiteral("Test"), QStringLiteral("Count")).toInt();
                    settings.setValue(QStringLiteral("Test"), QStringLiteral("Count"), QString::number(count + 1));
                });
                QThread::usleep(2000);  // a user's copies never write back to back: let the other one in
            }
        };
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            record("CHILD");
            _exit(0);
        }
        record("PARENT");
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        SettingsStore fresh(settingsFilePath(AppTitle));
        QCOMPARE(fresh.value(QStringLiteral("Test"), QStringLiteral("Count")), QString::number(2 * Rounds));
        QSet<QString> recent;
        for (int k = 1; k <= 4; ++k)
            recent << fresh.value(RecentFilesSection, recentFileKey(k));
        QVERIFY(recent.size() == 4 && !recent.contains(QString()));
    }
};

PAGEWELL_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
