// The recent-files rule: which entry moves where when a file is recorded,
// and the menu captions that carry the paths.
#include "TestEnvironment.h"
#include "files/RecentFiles.h"

#include <QApplication>

Q_DECLARE_METATYPE(RecentEntries)

namespace {

RecentEntries entries(const char* f1, const char* f2 = "", const char* f3 = "", const char* f4 = "")
{
    return {QString::fromUtf8(f1), QString::fromUtf8(f2), QString::fromUtf8(f3), QString::fromUtf8(f4)};
}

}  // namespace

class TestRecentFiles : public QObject {
    Q_OBJECT

private slots:
    void update_data()
    {
        QTest::addColumn<RecentEntries>("stored");
        QTest::addColumn<RecentEntries>("shown");
        QTest::addColumn<QString>("path");
        QTest::addColumn<RecentEntries>("expected");
        const RecentEntries full = entries("/A", "/B", "/C", "/D");

        QTest::newRow("nothing stored") << RecentEntries() << RecentEntries() << "/NEW"
                                        << entries("/NEW");
        QTest::newRow("already entry 1") << full << full << "/A" << full;
        QTest::newRow("entry 2 reopened") << full << full << "/B" << entries("/B", "/A", "/C", "/D");
        QTest::newRow("entry 3 reopened") << full << full << "/C" << entries("/C", "/A", "/B", "/D");
        QTest::newRow("entry 4 reopened") << full << full << "/D" << entries("/D", "/A", "/B", "/C");
        QTest::newRow("fifth file pushes the oldest out") << full << full << "/E"
                                                          << entries("/E", "/A", "/B", "/C");
        QTest::newRow("one entry, new file") << entries("/A") << entries("/A") << "/B" << entries("/B", "/A");
        QTest::newRow("two entries, new file") << entries("/A", "/B") << entries("/A", "/B") << "/C"
                                               << entries("/C", "/A", "/B");
        QTest::newRow("three entries, entry 3 reopened")
            << entries("/A", "/B", "/C") << entries("/A", "/B", "/C") << "/C" << entries("/C", "/A", "/B");
        QTest::newRow("case differs: a new entry")
            << entries("/home/a.txt") << entries("/home/a.txt") << "/HOME/A.TXT"
            << entries("/HOME/A.TXT", "/home/a.txt");
        QTest::newRow("trailing blank differs") << entries("/A") << entries("/A") << "/A "
                                                << entries("/A ", "/A");
        // An empty source leaves its target as it was.
        QTest::newRow("gap: entry 3 reopened")
            << entries("/A", "", "/C") << entries("/A", "", "/C") << "/C" << entries("/C", "/A", "/C");
        QTest::newRow("gap: new file") << entries("/A", "", "/C", "/D") << entries("/A", "", "/C", "/D")
                                       << "/E" << entries("/E", "/A", "/C", "/C");
        QTest::newRow("empty File1: entry 2 reopened") << entries("", "/B") << entries("", "/B") << "/B"
                                                       << entries("/B", "/B");
        // The comparison is with the menu; the moves are in the store.
        QTest::newRow("store changed by another copy") << full << entries("/W", "/X", "/Y", "/Z") << "/Y"
                                                       << entries("/Y", "/A", "/B", "/D");
        QTest::newRow("shown but not stored") << RecentEntries() << entries("/A") << "/A" << RecentEntries();
        QTest::newRow("unloaded item never matches") << entries("/A") << entries("/A") << ""
                                                     << entries("", "/A");
    }
    void update()
    {
        QFETCH(RecentEntries, stored);
        QFETCH(RecentEntries, shown);
        QFETCH(QString, path);
        QFETCH(RecentEntries, expected);
        QCOMPARE(updatedRecentEntries(stored, shown, path), expected);
    }

    // Recording files one after another, with the menu rebuilt from the
    // store each time as the program does.
    void sequenceOfOpens()
    {
        RecentEntries stored;
        const QStringList opened{"/1", "/2", "/3", "/2", "/4", "/5", "/5", "/1"};
        for (const QString& path : opened) {
            RecentEntries shown;
            for (int k = 1; k <= 4; ++k) {
                if (!stored[k - 1].isEmpty())
                    shown[k - 1] = pathFromRecentCaption(recentFileCaption(k, stored[k - 1]));
            }
            stored = updatedRecentEntries(stored, shown, path);
        }
        QCOMPARE(stored, entries("/1", "/5", "/4", "/2"));
    }

    void captions_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("caption");
        QTest::newRow("first") << 1 << "/HOME/USER/A.TXT" << "&1 /HOME/USER/A.TXT";
        QTest::newRow("fourth") << 4 << "/X" << "&4 /X";
        QTest::newRow("blanks and ampersands") << 2 << "/MY DOCS/R&D.TXT" << "&2 /MY DOCS/R&D.TXT";
        QTest::newRow("non-ASCII") << 3 << "/HOME/\u00C9T\u00C9.TXT" << "&3 /HOME/\u00C9T\u00C9.TXT";
    }
    void captions()
    {
        QFETCH(int, k);
        QFETCH(QString, path);
        QFETCH(QString, caption);
        QCOMPARE(recentFileCaption(k, path), caption);
        QCOMPARE(pathFromRecentCaption(caption), path);
    }

    void pathFromShortCaption_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("path");
        QTest::newRow("three characters") << "&1 " << "";
        QTest::newRow("shorter") << "&1" << "";
        QTest::newRow("any three characters go") << "abcdef" << "def";
    }
    void pathFromShortCaption()
    {
        QFETCH(QString, caption);
        QFETCH(QString, path);
        QCOMPARE(pathFromRecentCaption(caption), path);
    }

    void storeKeys()
    {
        QCOMPARE(RecentFilesSection, QStringLiteral("Recent Files"));
        for (int k = 1; k <= 4; ++k)
            QCOMPARE(recentFileKey(k), QStringLiteral("File") + QString::number(k));
    }
};

PAGEWELL_TEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
