// Finding the real file behind an upper-cased path on a case-sensitive
// file system.
#include "TestEnvironment.h"
#include "files/PathCase.h"

#include <QApplication>
#include <QDir>
#include <QFile>

class TestPathCase : public QObject {
    Q_OBJECT

    QString m_base;

    QString make(const QString& relative, bool folder = false)
    {
        const QString path = m_base + u'/' + relative;
        if (folder)
            QDir().mkpath(path);
        else
            testenv::writeFile(QStringLiteral("tree/") + relative, relative.toUtf8());
        return path;
    }

private slots:
    void initTestCase()
    {
        m_base = testenv::root() + QStringLiteral("/tree");
        make(QStringLiteral("Mixed Case/Sub Folder/Datei.txt"));
        make(QStringLiteral("Twins/ReadMe.txt"));
        make(QStringLiteral("Twins/readme.txt"));
        make(QStringLiteral("Exact/README.TXT"));
        make(QStringLiteral("Exact/readme.txt"));
        make(QStringLiteral("\u00C9t\u00E9/Caf\u00E9.txt"));
        make(QStringLiteral("Decomposed/Cafe\u0301.txt"));
        make(QStringLiteral("Stra\u00DFe/Gro\u00DF.txt"));
        make(QStringLiteral("DeadEnd/DATA"), true);  // exists exactly, but is empty
        make(QStringLiteral("DeadEnd/data/file.txt"));
        make(QStringLiteral("FileFirst/notes"));      // a file named like the folder
        make(QStringLiteral("FileFirst/Notes/x.txt"));
        make(QStringLiteral(".Hidden/.Settings.ini"));
        make(QStringLiteral("Target/Inner.txt"));
        QVERIFY(QFile::link(m_base + QStringLiteral("/Target"), m_base + QStringLiteral("/LinkDir")));
        QVERIFY(QFile::link(m_base + QStringLiteral("/Nowhere"), m_base + QStringLiteral("/Dangling")));
    }

    void resolves_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("real");
        QTest::newRow("mixed-case folders") << "MIXED CASE/SUB FOLDER/DATEI.TXT"
                                            << "Mixed Case/Sub Folder/Datei.txt";
        QTest::newRow("exact path") << "Mixed Case/Sub Folder/Datei.txt" << "Mixed Case/Sub Folder/Datei.txt";
        QTest::newRow("lower case asked") << "mixed case/sub folder/datei.txt"
                                          << "Mixed Case/Sub Folder/Datei.txt";
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
        QTest::newRow("folder") << "MIXED CASE/SUB FOLDER" << "Mixed Case/Sub Folder";
    }
    void resolves()
    {
        QFETCH(QString, relative);
        QFETCH(QString, real);
        QCOMPARE(resolvePathCaseInsensitive(m_base.toUpper() + u'/' + relative), m_base + u'/' + real);
    }

    void doubledAndTrailingSlashes()
    {
        const QString asked = m_base.toUpper() + QStringLiteral("//MIXED CASE///SUB FOLDER/");
        QCOMPARE(resolvePathCaseInsensitive(asked), m_base + QStringLiteral("/Mixed Case/Sub Folder"));
    }

    void notFound_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("missing file") << "MIXED CASE/SUB FOLDER/MISSING.TXT";
        QTest::newRow("missing folder") << "NOPE/DATEI.TXT";
        QTest::newRow("file used as folder") << "EXACT/README.TXT/MORE";
        QTest::newRow("different letters") << "STRASE/GROSS.TXT";
    }
    void notFound()
    {
        QFETCH(QString, relative);
        QCOMPARE(resolvePathCaseInsensitive(m_base.toUpper() + u'/' + relative), QString());
    }

    void emptyPath() { QCOMPARE(resolvePathCaseInsensitive(QString()), QString()); }

    void relativePath()
    {
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_base));
        const QString found = resolvePathCaseInsensitive(QStringLiteral("MIXED CASE/SUB FOLDER/DATEI.TXT"));
        QDir::setCurrent(previous);
        QCOMPARE(found, QStringLiteral("Mixed Case/Sub Folder/Datei.txt"));
    }
};

PAGEWELL_TEST_MAIN(TestPathCase)
#include "tst_pathcase.moc"
