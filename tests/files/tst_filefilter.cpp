// The file-type filter text and the File Types dialog's key rules.
#include "TestEnvironment.h"
#include "files/CommonDialog.h"
#include "files/FileFilter.h"

#include <QApplication>

Q_DECLARE_METATYPE(FileTypeRows)

namespace {

FileTypeRows rows(std::initializer_list<std::pair<const char*, const char*>> filled)
{
    FileTypeRows result;
    int i = 0;
    for (const auto& [extension, name] : filled) {
        result[i].extension = QString::fromUtf8(extension);
        result[i].name = QString::fromUtf8(name);
        ++i;
    }
    return result;
}

}  // namespace

class TestFileFilter : public QObject {
    Q_OBJECT

private slots:
    void filterText_data()
    {
        QTest::addColumn<FileTypeRows>("types");
        QTest::addColumn<QString>("filter");
        const QString fixed =
            QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|INI Files (*.ini)|*.ini");
        QTest::newRow("nothing stored") << FileTypeRows() << fixed;
        QTest::newRow("row 1 empty, others ignored")
            << rows({{"", "Ignored"}, {"txt", "Text Files"}, {"log", "Logs"}}) << fixed;
        QTest::newRow("row 1 empty but named") << rows({{"", "Name"}}) << fixed;
        QTest::newRow("the description's example")
            << rows({{"txt", "Text Files"}, {"*", "All Files"}})
            << QStringLiteral("Text Files (*.txt) |*.txt|All Files (*.*) |*.*");
        QTest::newRow("initial types, built") << initialFileTypeRows()
                                              << QStringLiteral("All Files (*.*) |*.*|Text Files (*.txt) "
                                                                "|*.txt|INI Files (*.ini) |*.ini");
        QTest::newRow("one row") << rows({{"rtf", "Rich Text"}})
                                 << QStringLiteral("Rich Text (*.rtf) |*.rtf");
        QTest::newRow("no name gives a leading blank")
            << rows({{"txt", "Text"}, {"log", ""}}) << QStringLiteral("Text (*.txt) |*.txt| (*.log) |*.log");
        QTest::newRow("row 1 without name") << rows({{"c", ""}}) << QStringLiteral(" (*.c) |*.c");
        QTest::newRow("rows without extension are skipped")
            << rows({{"a", "A"}, {"", "Skipped"}, {"c", "C"}, {"", ""}, {"", "Also skipped"}, {"f", "F"}})
            << QStringLiteral("A (*.a) |*.a|C (*.c) |*.c|F (*.f) |*.f");
        QTest::newRow("all six rows")
            << rows({{"1", "N1"}, {"2", "N2"}, {"3", "N3"}, {"4", "N4"}, {"5", "N5"}, {"6", "N6"}})
            << QStringLiteral("N1 (*.1) |*.1|N2 (*.2) |*.2|N3 (*.3) |*.3|N4 (*.4) |*.4|N5 (*.5) "
                              "|*.5|N6 (*.6) |*.6");
        QTest::newRow("non-ASCII names") << rows({{"txt", "Textdateien \u00E4\u00F6\u00FC"}})
                                         << QStringLiteral("Textdateien \u00E4\u00F6\u00FC (*.txt) |*.txt");
    }
    void filterText()
    {
        QFETCH(FileTypeRows, types);
        QFETCH(QString, filter);
        QCOMPARE(buildFileFilterText(types), filter);
    }

    // The text must stay usable by the dialog: every entry a description
    // with its pattern, whatever blanks it carries.
    void filterTextReachesTheDialog_data()
    {
        QTest::addColumn<FileTypeRows>("types");
        QTest::addColumn<QStringList>("nameFilters");
        QTest::newRow("fixed default") << FileTypeRows()
                                       << QStringList{"All Files (*)", "Text Files (*.txt)", "INI Files (*.ini)"};
        QTest::newRow("built") << rows({{"txt", "Text Files"}, {"*", "All Files"}, {"log", ""}})
                               << QStringList{"Text Files (*.txt)", "All Files (*)", "(*.log)"};
    }
    void filterTextReachesTheDialog()
    {
        QFETCH(FileTypeRows, types);
        QFETCH(QStringList, nameFilters);
        QCOMPARE(nameFiltersFromFilter(buildFileFilterText(types)), nameFilters);
    }

    void storeKeys_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("extensionKey");
        QTest::addColumn<QString>("nameKey");
        const char* names[] = {"One", "Two", "Three", "Four", "Five", "Six"};
        for (int row = 0; row < 6; ++row)
            QTest::addRow("row %d", row + 1) << row << QString::fromLatin1(names[row])
                                             << QString::fromLatin1(names[row]) + QStringLiteral("Name");
    }
    void storeKeys()
    {
        QFETCH(int, row);
        QFETCH(QString, extensionKey);
        QFETCH(QString, nameKey);
        QCOMPARE(fileTypeExtensionKey(row), extensionKey);
        QCOMPARE(fileTypeNameKey(row), nameKey);
        QCOMPARE(FileTypeSection, QStringLiteral("Extension"));
    }

    void initialRows()
    {
        const FileTypeRows initial = initialFileTypeRows();
        QCOMPARE(initial[0].extension, QStringLiteral("*"));
        QCOMPARE(initial[0].name, QStringLiteral("All Files"));
        QCOMPARE(initial[1].extension, QStringLiteral("txt"));
        QCOMPARE(initial[1].name, QStringLiteral("Text Files"));
        QCOMPARE(initial[2].extension, QStringLiteral("ini"));
        QCOMPARE(initial[2].name, QStringLiteral("INI Files"));
        for (int row = 3; row < 6; ++row)
            QVERIFY(initial[row].extension.isEmpty() && initial[row].name.isEmpty());
    }

    void extensionBoxKeys_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("boxText");
        QTest::newRow("the description's example") << "txt.bak" << "txtbak";
        QTest::newRow("only dots") << "..." << "";
        QTest::newRow("star and others") << "*?,-_ 1" << "*?,-_ 1";
        QTest::newRow("non-ASCII") << "\u00E9\u3002x" << "\u00E9\u3002x";  // only the ASCII dot is refused
    }
    void extensionBoxKeys()
    {
        QFETCH(QString, typed);
        QFETCH(QString, boxText);
        QString box;
        for (QChar key : typed) {
            if (extensionBoxAcceptsKey(key))
                box += key;
        }
        QCOMPARE(box, boxText);
    }

    void nameBoxKeys_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("empty extension refuses") << "" << false;
        QTest::newRow("extension set accepts") << "txt" << true;
        QTest::newRow("a blank counts as an extension") << " " << true;
    }
    void nameBoxKeys()
    {
        QFETCH(QString, extension);
        QFETCH(bool, accepted);
        QCOMPARE(nameBoxAcceptsKey(extension), accepted);
    }
};

PAGEWELL_TEST_MAIN(TestFileFilter)
#include "tst_filefilter.moc"
