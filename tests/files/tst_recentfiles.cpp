// The four most recent files: the rule that reorders the stored entries,
// the File menu items that mirror them, and finding the real file behind
// an entry's upper-cased path.
#include "FileMenu.h"
#include "files/PathCase.h"
#include "files/RecentFiles.h"

#include <QHash>

namespace {

// "/A,,/C" is File1 /A, File2 empty, File3 /C, File4 empty.
RecentEntries entries(const QString& list)
{
    const QStringList given = list.split(u',');
    return {given.value(0), given.value(1), given.value(2), given.value(3)};
}

// The steps, what the store then holds, the windows, the active one's text, the file told "not found".
struct Scripted { QString script, stored; int windows; QString text; int missing; };

}  // namespace

Q_DECLARE_METATYPE(Scripted)

class TestRecentFiles : public QObject {
    Q_OBJECT

    FileMenu f;

    QString numbered(int n) const { return f.path(QStringLiteral("file%1.txt").arg(n)); }

    // oN opens file N, mK clicks item K, sN, aN and lN name the document
    // file N by Save, Save As and Save All, S saves, n types into a new
    // window, t into the active one, gN deletes file N, x closes every
    // window, r starts a new run.
    void run(const QString& script)
    {
        for (const QString& step : script.split(u' ')) {
            static const QHash<QChar, int> items{{u'o', Open}, {u'n', New}, {u'S', Save}, {u's', Save}, {u'a', SaveAs}, {u'l', SaveAll}};
            const int n = step.mid(1).toInt();
            if (QStringLiteral("osal").contains(step[0]))
                f.dialogs->choose(numbered(n));
            if (items.contains(step[0]))
                f.command(items[step[0]]);
            if (step[0] == u'm')
                f.main->mnuFileArray.value(n)->trigger();
            if (step[0] == u't' || step[0] == u'n')
                f.typeAtEnd(step[0] == u'n' ? QStringLiteral("new") : QStringLiteral(" typed"));
            if (step[0] == u'g')
                QVERIFY(QFile::remove(numbered(n)));
            if (step[0] == u'r')
                f.restart();
            while (step[0] == u'x' && f.documentCount() > 0)
                f.command(Close);
        }
    }

private slots:
    void init()
    {
        f.start();
        for (int n = 1; n <= 5; ++n)
            writeBytes(numbered(n), QByteArray::number(n));
    }
    void cleanup() { f.stop(); }

    void update_data()
    {
        QTest::addColumn<QString>("row");  // stored|shown in the menu|path|expected
        QTest::newRow("nothing stored") << "||/N|/N";
        QTest::newRow("already entry 1") << "/A,/B,/C,/D|/A,/B,/C,/D|/A|/A,/B,/C,/D";
        QTest::newRow("entry 2 reopened") << "/A,/B,/C,/D|/A,/B,/C,/D|/B|/B,/A,/C,/D";
        QTest::newRow("entry 3 reopened") << "/A,/B,/C,/D|/A,/B,/C,/D|/C|/C,/A,/B,/D";
        QTest::newRow("entry 4 reopened") << "/A,/B,/C,/D|/A,/B,/C,/D|/D|/D,/A,/B,/C";
        QTest::newRow("fifth file pushes the oldest out") << "/A,/B,/C,/D|/A,/B,/C,/D|/E|/E,/A,/B,/C";
        QTest::newRow("one entry, new file") << "/A|/A|/B|/B,/A";
        QTest::newRow("three entries, entry 3 reopened") << "/A,/B,/C|/A,/B,/C|/C|/C,/A,/B";
        QTest::newRow("case differs: a new entry") << "/a|/a|/A|/A,/a";
        QTest::newRow("trailing blank differs") << "/A|/A|/A |/A ,/A";
        // An empty source leaves its target as it was.
        QTest::newRow("gap: entry 3 reopened") << "/A,,/C|/A,,/C|/C|/C,/A,/C";
        QTest::newRow("gap: new file") << "/A,,/C,/D|/A,,/C,/D|/E|/E,/A,/C,/C";
        QTest::newRow("empty File1: entry 2 reopened") << ",/B|,/B|/B|/B,/B";
        // The comparison is with the menu; the moves are in the store.
        QTest::newRow("store changed by another copy") << "/A,/B,/C,/D|/W,/X,/Y,/Z|/Y|/Y,/A,/B,/D";
        QTest::newRow("shown but not stored") << "|/A|/A|";
        QTest::newRow("unloaded item never matches") << "/A|/A||,/A";
    }
    void update()
    {
        QFETCH(QString, row);
        const QStringList parts = row.split(u'|');
        QCOMPARE(updatedRecentEntries(entries(parts[0]), entries(parts[1]), parts[2]), entries(parts[3]));
    }

    // Files recorded one after another, the menu rebuilt from the store
    // each time as the program does; the reference is a plain list.
    void sequenceOfOpens()
    {
        RecentEntries stored;
        QStringList reference;
        for (const QString& path : {"/1", "/2", "/3", "/2", "/4", "/5", "/5", "/1", "/3", "/é&ü", "/3"}) {
            RecentEntries shown;
            for (int k = 1; k <= 4; ++k)
                shown[k - 1] = stored[k - 1].isEmpty() ? QString() : pathFromRecentCaption(recentFileCaption(k, stored[k - 1]));
            stored = updatedRecentEntries(stored, shown, path);
            reference.removeOne(path);
            reference = (QStringList{path} + reference).mid(0, 4);
        }
        QCOMPARE(QStringList(stored.begin(), stored.end()), reference);
    }

    // What the store holds (file numbers, - for none) after the steps; the
    // menu always shows the store, and an item's upper-cased path opens and
    // saves the file on disk.
    void menu_data()
    {
        QTest::addColumn<Scripted>("row");
        QTest::newRow("first open, then a new run") << Scripted{"o1 r", "1---", 1, "", 0};
        QTest::newRow("a fifth file drops the oldest") << Scripted{"o1 o2 o3 o4 o5", "5432", 5, "5", 0};
        QTest::newRow("entry 1 from its item") << Scripted{"o1 o2 o3 o4 x m1", "4321", 1, "4", 0};
        QTest::newRow("entry 2 by Open") << Scripted{"o1 o2 o3 o4 x o3", "3421", 1, "3", 0};
        QTest::newRow("entry 3 from its item") << Scripted{"o1 o2 o3 o4 x m3", "2431", 1, "2", 0};
        QTest::newRow("entry 4 from its item") << Scripted{"o1 o2 o3 o4 x m4", "1432", 1, "1", 0};
        QTest::newRow("entry 4 by Open") << Scripted{"o1 o2 o3 o4 x o1", "1432", 1, "1", 0};
        QTest::newRow("from its item, typed and saved") << Scripted{"o1 o2 r t m2 t S", "12--", 2, "1 typed", 0};
        QTest::newRow("Save names it, saving again changes nothing") << Scripted{"o1 n s9 S", "91--", 2, "new", 0};
        QTest::newRow("Save As names it") << Scripted{"o1 n a9", "91--", 2, "new", 0};
        QTest::newRow("Save All names it") << Scripted{"o1 n l9", "91--", 2, "new", 0};
        QTest::newRow("an open window's item only brings it to the front") << Scripted{"o1 t o2 m2", "21--", 2, "1 typed", 0};
        QTest::newRow("so does Open") << Scripted{"o1 t o2 o1", "21--", 2, "1 typed", 0};
        QTest::newRow("gone, into the empty window") << Scripted{"o1 o2 r g1 m2", "21--", 1, "", 1};
        QTest::newRow("gone, a window made for it stays") << Scripted{"o1 o2 r t g1 m2", "21--", 2, "", 1};
    }
    void menu()
    {
        QFETCH(Scripted, row);
        const auto& [script, stored, windows, text, missing] = row;
        QCOMPARE(f.recentItems(), QStringList{"(-)"});
        run(script);
        QStringList entries, items{stored[0] == u'-' ? "(-)" : "-"};
        for (int k = 1; k <= 4; ++k) {
            entries << (stored[k - 1] == u'-' ? QString() : numbered(stored[k - 1].digitValue()).toUpper());
            if (!entries.last().isEmpty())
                items << QStringLiteral("&%1 ").arg(k) + entries.last();
        }
        QCOMPARE(f.recent(), entries);
        QCOMPARE(f.recentItems(), items);
        QCOMPARE(f.documentCount(), windows);
        QCOMPARE(f.text()->Text(), text);
        QCOMPARE(f.prompts(), missing ? QStringList{numbered(missing).toUpper() + " not found."} : QStringList());
        if (missing)
            QCOMPARE(f.active()->Title() + QString::number(f.boxes->shown[0].style), QString::number(vb::vbExclamation));
        QVERIFY(!QApplication::overrideCursor());
        if (!f.active()->Title().isEmpty())
            QCOMPARE((QStringList{f.active()->Title(), QString::fromUtf8(bytesOf(f.active()->filePath())) == f.text()->Text() ? "" : "x"}),
                     (QStringList{f.active()->filePath().toUpper(), f.active()->Label1()}));
    }

    // The real path behind an upper-cased one, on a case-sensitive file system.
    void pathCase_data()
    {
        QTest::addColumn<QString>("asked");  // below the upper-cased folder
        QTest::addColumn<QString>("real");   // "": none
        QTest::newRow("mixed-case folders") << "MIXED CASE/SUB FOLDER/DATEI.TXT" << "Mixed Case/Sub Folder/Datei.txt";
        QTest::newRow("exact path") << "Mixed Case/Sub Folder/Datei.txt" << "Mixed Case/Sub Folder/Datei.txt";
        QTest::newRow("lower case asked") << "mixed case/sub folder/datei.txt" << "Mixed Case/Sub Folder/Datei.txt";
        QTest::newRow("doubled and trailing slashes") << "/MIXED CASE///SUB FOLDER/" << "Mixed Case/Sub Folder";
        QTest::newRow("two candidates: first by name") << "TWINS/README.TXT" << "Twins/ReadMe.txt";
        QTest::newRow("exact match wins") << "EXACT/README.TXT" << "Exact/README.TXT";
        QTest::newRow("accented letters") << "\u00C9T\u00C9/CAF\u00C9.TXT" << "\u00C9t\u00E9/Caf\u00E9.txt";
        QTest::newRow("decomposed on disk") << "DECOMPOSED/CAF\u00C9.TXT" << "Decomposed/Cafe\u0301.txt";
        QTest::newRow("sharp s grows to SS") << "STRASSE/GROSS.TXT" << "Stra\u00DFe/Gro\u00DF.txt";
        QTest::newRow("sharp s kept") << "STRA\u00DFE/GRO\u00DF.TXT" << "Stra\u00DFe/Gro\u00DF.txt";
        QTest::newRow("exact folder leads nowhere") << "DEADEND/DATA/FILE.TXT" << "DeadEnd/data/file.txt";
        QTest::newRow("a file is no folder") << "FILEFIRST/NOTES/X.TXT" << "FileFirst/Notes/x.txt";
        QTest::newRow("at the end a file before a folder") << "FILEFIRST/NOTES" << "FileFirst/notes";
        QTest::newRow("exact folder at the end") << "DEADEND/DATA" << "DeadEnd/DATA";
        QTest::newRow("hidden names") << ".HIDDEN/.SETTINGS.INI" << ".Hidden/.Settings.ini";
        QTest::newRow("through a link") << "LINKDIR/INNER.TXT" << "LinkDir/Inner.txt";
        QTest::newRow("a dangling link is a name") << "DANGLING" << "Dangling";
        QTest::newRow("missing file") << "MIXED CASE/SUB FOLDER/MISSING.TXT" << "";
        QTest::newRow("missing folder") << "NOPE/DATEI.TXT" << "";
        QTest::newRow("file used as folder") << "EXACT/README.TXT/MORE" << "";
        QTest::newRow("different letters") << "STRASE/GROSS.TXT" << "";
    }
    void pathCase()
    {
        QFETCH(QString, asked);
        QFETCH(QString, real);
        const QString base = f.folder->path();
        for (const char* name : {"Mixed Case/Sub Folder/Datei.txt", "Twins/ReadMe.txt", "Twins/readme.txt",
                                 "Exact/README.TXT", "Exact/readme.txt", "\u00C9t\u00E9/Caf\u00E9.txt",
                                 "Decomposed/Cafe\u0301.txt", "Stra\u00DFe/Gro\u00DF.txt", "DeadEnd/data/file.txt",
                                 "FileFirst/notes", "FileFirst/Notes/x.txt", ".Hidden/.Settings.ini", "Target/Inner.txt"})
            writeBytes(base + u'/' + QString::fromUtf8(name), "x");
        QVERIFY(QDir().mkpath(base + QStringLiteral("/DeadEnd/DATA")));  // exists exactly, but is empty
        QVERIFY(QFile::link(base + QStringLiteral("/Target"), base + QStringLiteral("/LinkDir")));
        QVERIFY(QFile::link(base + QStringLiteral("/Nowhere"), base + QStringLiteral("/Dangling")));
        QCOMPARE(resolvePathCaseInsensitive(base.toUpper() + u'/' + asked), real.isEmpty() ? real : base + u'/' + real);
        // Relative paths are looked up from the current folder and stay relative.
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(base));
        const QString relative = resolvePathCaseInsensitive(asked);
        QDir::setCurrent(previous);
        QCOMPARE(relative, asked.startsWith(u'/') ? QString() : real);
        QCOMPARE(resolvePathCaseInsensitive(QString()), QString());
    }
};

PAGEWELL_TEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
