// The per-user settings store: exact round trips, defaults, damaged files
// and two running copies sharing one file.
#include "TestEnvironment.h"
#include "app/Settings.h"
#include "app/SettingsStore.h"
#include "files/RecentFiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sys/wait.h>
#include <unistd.h>

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void init() { testenv::clearSettings(); }

    void storeLivesInTheUsersConfigFolder()
    {
        QVERIFY(settingsFilePath(AppTitle).startsWith(testenv::root() + QStringLiteral("/config/")));
        QVERIFY(settingsFilePath(AppTitle).endsWith(QStringLiteral("/Pagewell/Pagewell.ini")));
    }

    void everyKeyRoundTrips_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("placement with fraction") << "Settings" << "MainLeft" << "1234.5";
        QTest::newRow("toolbar") << "Toolbar" << "Visible" << "No";
        QTest::newRow("status bar") << "Toolbar" << "StatusBar" << "Yes";
        QTest::newRow("wrap") << "WordWrap" << "Wrap" << "False";
        QTest::newRow("font name with blank") << "Font" << "Name" << "Liberation Sans";
        QTest::newRow("font size") << "Font" << "Size" << "9.75";
        QTest::newRow("system colour") << "Color" << "Color" << "-2147483643";
        QTest::newRow("tab count keeps its blank") << "Tab Set" << "Tab" << " 4";
        QTest::newRow("recent path") << "Recent Files" << "File1" << "/HOME/ANNA/MY LETTERS/ÉTÉ.TXT";
        QTest::newRow("header codes") << "Page Setup" << "Header" << "&f - page &p";
        QTest::newRow("margin") << "Page Setup" << "Left" << ".75";
        QTest::newRow("extension star") << "Extension" << "One" << "*";
        QTest::newRow("empty name") << "Extension" << "TwoName" << "";
        QTest::newRow("slash in section") << "Date/Time" << "Format" << "8";
        QTest::newRow("toolbar layout") << "Custom" << "Toolbar" << "New,Open,|,Exit";
        QTest::newRow("trailing blanks") << "Page Setup" << "Footer" << "  Page &p  ";
        QTest::newRow("quotes and equals") << "Page Setup" << "Footer" << "\"a\" = b; #c";
        QTest::newRow("backslashes") << "Recent Files" << "File2" << "C:\\DOCS\\A.TXT";
        QTest::newRow("line breaks") << "Custom" << "Toolbar" << "a\nb\r\nc\td";
        QTest::newRow("brackets") << "Page Setup" << "Header" << "[draft]";
        QTest::newRow("at sign") << "Page Setup" << "Header" << "@Variant(x)";
    }
    void everyKeyRoundTrips()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        SaveSetting(AppTitle, section, key, value);
        QCOMPARE(GetSetting(AppTitle, section, key), value);
        resetSettingsStores();  // read back from the file, as the next run would
        QCOMPARE(GetSetting(AppTitle, section, key, QStringLiteral("missing")), value);
    }

    void missingKeysReadAsDefault()
    {
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("Settings"), QStringLiteral("MainLeft"),
                            QStringLiteral("1000")),
                 QStringLiteral("1000"));
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Name")), QString());
        QVERIFY(!QFileInfo::exists(settingsFilePath(AppTitle)));  // reading writes nothing
    }

    void namesAreCaseSensitive()
    {
        SaveSetting(AppTitle, QStringLiteral("Toolbar"), QStringLiteral("Visible"), QStringLiteral("No"));
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("toolbar"), QStringLiteral("Visible")), QString());
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("Toolbar"), QStringLiteral("visible")), QString());
    }

    void damagedFileGivesDefaultsAndHeals_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("binary") << QByteArray("\x00\xFF\xFE[\x01=\x02\n\xC3", 9);
        QTest::newRow("key before any section") << QByteArray("MainLeft=5\n");
        QTest::newRow("unterminated section") << QByteArray("[Settings\nMainLeft=5\n");
        QTest::newRow("lines without equals") << QByteArray("[Settings]\nMainLeft\n=\n");
    }
    void damagedFileGivesDefaultsAndHeals()
    {
        QFETCH(QByteArray, content);
        testenv::writeFile(QStringLiteral("config/Pagewell/Pagewell.ini"), content);
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("Settings"), QStringLiteral("MainLeft"),
                            QStringLiteral("1000")),
                 QStringLiteral("1000"));
        SaveSetting(AppTitle, QStringLiteral("Settings"), QStringLiteral("MainTop"), QStringLiteral("15"));
        resetSettingsStores();
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("Settings"), QStringLiteral("MainTop")), QStringLiteral("15"));
    }

    void goodLinesOfAHandEditedFileSurvive()
    {
        testenv::writeFile(QStringLiteral("config/Pagewell/Pagewell.ini"),
                           "; edited by hand\r\n[Toolbar]\r\nVisible=No\r\ngarbage line\r\n[Font]\r\nSize=12\r\n");
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("Toolbar"), QStringLiteral("Visible")), QStringLiteral("No"));
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Size")), QStringLiteral("12"));
    }

    void unreadableStoreNeverCrashes()
    {
        // A folder where the file should be: nothing can be read or written.
        QDir().mkpath(settingsFilePath(AppTitle));
        QCOMPARE(GetSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Size")), QString());
        SaveSetting(AppTitle, QStringLiteral("Font"), QStringLiteral("Size"), QStringLiteral("10"));
        QDir(settingsFilePath(AppTitle)).removeRecursively();
    }

    void twoRunningCopiesKeepEachOthersKeys()
    {
        SettingsStore first(settingsFilePath(AppTitle));
        SettingsStore second(settingsFilePath(AppTitle));
        QVERIFY(first.setValue(QStringLiteral("Font"), QStringLiteral("Name"), QStringLiteral("Arial")));
        QVERIFY(second.setValue(QStringLiteral("Font"), QStringLiteral("Size"), QStringLiteral("12")));
        QVERIFY(first.setValue(QStringLiteral("Font"), QStringLiteral("Size"), QStringLiteral("14")));
        SettingsStore fresh(settingsFilePath(AppTitle));
        QCOMPARE(fresh.value(QStringLiteral("Font"), QStringLiteral("Name")), QStringLiteral("Arial"));
        QCOMPARE(fresh.value(QStringLiteral("Font"), QStringLiteral("Size")), QStringLiteral("14"));
        QCOMPARE(second.value(QStringLiteral("Font"), QStringLiteral("Size")), QStringLiteral("14"));
    }

    // Two copies recording files at once: every update of the recent files
    // (and of a count kept with them) survives the other copy's.
    void concurrentUpdatesLoseNothing()
    {
        constexpr int Rounds = 150;
        const auto record = [](const char* who) {
            SettingsStore store(settingsFilePath(AppTitle));
            for (int i = 0; i < Rounds; ++i) {
                store.update([&](SettingsStore::Transaction& settings) {
                    updateRecentEntries(settings, {}, QStringLiteral("/%1/%2").arg(who).arg(i));
                    const int count = settings.value(QStringLiteral("Test"), QStringLiteral("Count")).toInt();
                    settings.setValue(QStringLiteral("Test"), QStringLiteral("Count"), QString::number(count + 1));
                });
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

    void fileIsReadableText()
    {
        SaveSetting(AppTitle, QStringLiteral("Tab Set"), QStringLiteral("Tab"), QStringLiteral(" 4"));
        SaveSetting(AppTitle, QStringLiteral("Date/Time"), QStringLiteral("Format"), QStringLiteral("3"));
        QFile file(settingsFilePath(AppTitle));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY2(text.contains("[Tab Set]\nTab=\\s4\n"), text.constData());
        QVERIFY2(text.contains("[Date/Time]\nFormat=3\n"), text.constData());
    }
};

PAGEWELL_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
