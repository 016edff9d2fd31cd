// The four most recent files in the settings store and at the end of the
// File menu: recording by Open and Save, the order, the items' captions,
// reopening from an item and entries whose file is gone.
#include "FileCommandsFixture.h"

using namespace files;

class TestRecentFilesMenu : public QObject {
    Q_OBJECT

    Fixture f;

    QStringList stored() const { return {recent(1), recent(2), recent(3), recent(4)}; }

    void store(const QStringList& entries)
    {
        for (int k = 1; k <= entries.size(); ++k)
            SaveSetting(AppTitle, RecentFilesSection, recentFileKey(k), entries[k - 1]);
    }

    QStringList captionsFor(const QStringList& entries) const
    {
        QStringList captions{entries.value(0).isEmpty() ? QStringLiteral("(-)") : QStringLiteral("-")};
        for (int k = 1; k <= entries.size(); ++k) {
            if (!entries[k - 1].isEmpty())
                captions << QStringLiteral("&%1 ").arg(k) + entries[k - 1];
        }
        return captions;
    }

    void clickRecent(int k)
    {
        QVERIFY(k < f.main->mnuFileArray.size() && f.main->mnuFileArray[k]);
        f.main->mnuFileArray[k]->trigger();
        QApplication::processEvents();
    }

    void closeAll()
    {
        while (f.documentCount() > 0) {
            const int before = f.documentCount();
            f.command(Close);
            QCOMPARE(f.documentCount(), before - 1);
        }
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void firstOpenMakesEntryOne()
    {
        QCOMPARE(f.recentMenuCaptions(), QStringList{"(-)"});
        const QString path = f.file(QStringLiteral("Letter.txt"), "x");
        f.open(path);
        QCOMPARE(stored(), (QStringList{path.toUpper(), "", "", ""}));
        QCOMPARE(f.recentMenuCaptions(), (QStringList{"-", "&1 " + path.toUpper()}));
        // A new run builds the same items from the store.
        f.restart();
        QCOMPARE(f.recentMenuCaptions(), (QStringList{"-", "&1 " + path.toUpper()}));
    }

    void reopeningReorders_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<QList<int>>("order");  // file numbers in entries 1..4 afterwards
        for (bool menu : {false, true}) {
            const char* how = menu ? "recent item" : "Open";
            QTest::addRow("entry 1, %s", how) << 1 << menu << QList<int>{4, 3, 2, 1};
            QTest::addRow("entry 2, %s", how) << 2 << menu << QList<int>{3, 4, 2, 1};
            QTest::addRow("entry 3, %s", how) << 3 << menu << QList<int>{2, 4, 3, 1};
            QTest::addRow("entry 4, %s", how) << 4 << menu << QList<int>{1, 4, 3, 2};
        }
    }
    void reopeningReorders()
    {
        QFETCH(int, entry);
        QFETCH(bool, fromMenu);
        QFETCH(QList<int>, order);
        QStringList paths{QString()};
        for (int i = 1; i <= 4; ++i) {
            paths << f.file(QStringLiteral("file%1.txt").arg(i), QByteArray::number(i));
            f.open(paths[i]);
        }
        const QStringList before{paths[4].toUpper(), paths[3].toUpper(), paths[2].toUpper(), paths[1].toUpper()};
        QCOMPARE(stored(), before);
        closeAll();

        const int file = 5 - entry;
        if (fromMenu)
            clickRecent(entry);
        else
            f.open(paths[file]);
        QCOMPARE(f.documentCount(), 1);
        QCOMPARE(f.text()->Text(), QString::number(file));
        QCOMPARE(f.active()->Title(), paths[file].toUpper());
        QStringList expected;
        for (int number : order)
            expected << paths[number].toUpper();
        QCOMPARE(stored(), expected);
        QCOMPARE(f.recentMenuCaptions(), captionsFor(expected));
        QCOMPARE(f.boxes->shown.size(), 0);
    }

    void aFifthFileDropsTheOldest()
    {
        QStringList paths;
        for (int i = 1; i <= 5; ++i) {
            paths << f.file(QStringLiteral("file%1.txt").arg(i), "x");
            f.open(paths.last());
        }
        const QStringList expected{paths[4].toUpper(), paths[3].toUpper(), paths[2].toUpper(), paths[1].toUpper()};
        QCOMPARE(stored(), expected);
        QCOMPARE(f.recentMenuCaptions(), captionsFor(expected));
    }

    void savingUnderANameIsRecorded_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("Save") << int(Save);
        QTest::newRow("Save As") << int(SaveAs);
        QTest::newRow("Save All") << int(SaveAll);
    }
    void savingUnderANameIsRecorded()
    {
        QFETCH(int, command);
        const QString old = f.file(QStringLiteral("old.txt"), "x");
        f.open(old);
        f.command(New);
        f.type(QStringLiteral("text"));
        const QString path = f.path(QStringLiteral("Named.txt"));
        f.dialogs->choose(path);
        f.command(command);
        QCOMPARE(stored(), (QStringList{path.toUpper(), old.toUpper(), "", ""}));
        // Saving a titled document again changes nothing.
        f.command(Save);
        QCOMPARE(stored(), (QStringList{path.toUpper(), old.toUpper(), "", ""}));
    }

    void aLowerCaseEntryIsAnotherPath()
    {
        const QString path = f.file(QStringLiteral("notes.txt"), "x");
        store({path.toLower()});
        f.restart();
        QCOMPARE(f.recentMenuCaptions(), (QStringList{"-", "&1 " + path.toLower()}));
        f.open(path);
        QCOMPARE(stored(), (QStringList{path.toUpper(), path.toLower(), "", ""}));
    }

    void anEntryWhoseFileIsGone_data()
    {
        QTest::addColumn<bool>("activeHasText");
        QTest::addColumn<int>("windowsAfter");
        QTest::newRow("empty active window") << false << 1;
        QTest::newRow("active window with text") << true << 2;
    }
    void anEntryWhoseFileIsGone()
    {
        QFETCH(bool, activeHasText);
        QFETCH(int, windowsAfter);
        const QString kept = f.file(QStringLiteral("kept.txt"), "x");
        const QString gone = f.file(QStringLiteral("gone.txt"), "y");
        const QStringList entries{kept.toUpper(), gone.toUpper()};
        store(entries);
        f.restart();
        QFile::remove(gone);
        if (activeHasText)
            f.type(QStringLiteral("mine"));
        clickRecent(2);
        QCOMPARE(f.prompts(), QStringList{gone.toUpper() + " not found."});
        QCOMPARE(f.boxes->shown[0].style, int(vb::vbExclamation));
        QCOMPARE(stored(), entries + QStringList({"", ""}));
        QCOMPARE(f.recentMenuCaptions(), captionsFor(entries));
        QCOMPARE(f.documentCount(), windowsAfter);
        QCOMPARE(f.text()->Text(), QString());  // a window made for it stays, empty
        QCOMPARE(f.active()->Title(), QString());
        QVERIFY(!QApplication::overrideCursor());
    }

    void anUpperCaseEntryFindsTheFileOnDisk_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("mixed case") << "Mixed Case/Notes.Txt";
        QTest::newRow("non-ASCII") << QStringLiteral("\u00c9t\u00e9/Gr\u00fc\u00dfe an \u00e5sa.txt");
    }
    void anUpperCaseEntryFindsTheFileOnDisk()
    {
        QFETCH(QString, name);
        const QString path = f.file(name, "from disk\n");
        store({path.toUpper()});
        f.restart();
        f.type(QStringLiteral("other"));  // the entry opens in a new window
        clickRecent(1);
        QCOMPARE(f.boxes->shown.size(), 0);
        QCOMPARE(f.documentCount(), 2);
        frmDocument* document = f.active();
        QCOMPARE(document->txtText->Text(), QStringLiteral("from disk\r\n"));
        QCOMPARE(document->Title(), path.toUpper());
        QCOMPARE(document->windowTitle(), path.toUpper());
        QCOMPARE(document->filePath(), path);
        QCOMPARE(document->Label1(), QString());
        QCOMPARE(f.main->panelText(2), QStringLiteral("Line=1 of 2 Column=1"));
        QCOMPARE(stored(), (QStringList{path.toUpper(), "", "", ""}));

        // Saving goes back to that file, not to an upper-cased new one.
        QTest::keyClick(f.text(), Qt::Key_End, Qt::ControlModifier);
        f.type(QStringLiteral("more"));
        f.command(Save);
        QCOMPARE(bytesOf(path), QByteArray("from disk\nmore"));
        QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files).size(), 1);
    }

    void anItemOfAnOpenWindowOnlyBringsItToTheFront()
    {
        const QString a = f.file(QStringLiteral("a.txt"), "alpha");
        const QString b = f.file(QStringLiteral("b.txt"), "beta");
        frmDocument* documentA = f.open(a);
        f.type(QStringLiteral("new "));
        f.open(b);
        clickRecent(2);
        QCOMPARE(f.active(), documentA);
        QCOMPARE(f.documentCount(), 2);
        QCOMPARE(documentA->txtText->Text(), QStringLiteral("new alpha"));
        QCOMPARE(documentA->Label1(), QStringLiteral("x"));
        QCOMPARE(stored(), (QStringList{b.toUpper(), a.toUpper(), "", ""}));
    }
};

PAGEWELL_TEST_MAIN(TestRecentFilesMenu)
#include "tst_recentfilesmenu.moc"
