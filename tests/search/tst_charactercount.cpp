// Character Count: the length less two for every line, and where the caret
// goes back to, by the size of the document's file on disk.
#include "SearchFixture.h"
#include "search/SearchSupport.h"

#include <QAction>
#include <QTest>

using namespace searchtest;

class TestCharacterCount : public QObject {
    Q_OBJECT

    Fixture f;

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void count_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("12 less 2 x 3") << "abcd\r\nef\r\ngh" << "This document contains 6 characters.";
        QTest::newRow("one line") << "abc" << "This document contains 1 characters.";
        QTest::newRow("below zero") << "a\r\n" << "This document contains-1 characters.";
        QTest::newRow("blank lines") << "\r\n\r\nabcdefgh" << "This document contains 6 characters.";
    }
    void count()
    {
        QFETCH(QString, content);
        QFETCH(QString, prompt);
        f.open(content, 1);
        f.main->mnuFind_Click(8);
        QCOMPARE(f.shownCount(), 1);
        QCOMPARE(f.lastShown().prompt, prompt);
        QCOMPARE(f.lastShown().style, int(vb::vbInformation));
        QCOMPARE(f.lastShown().title, QStringLiteral("Pagewell"));
        QVERIFY(f.main->updatesEnabled());
    }

    // With Word Wrap on, the lines are the control's display lines.
    void wrappedLinesCount()
    {
        f.start(true);
        QString paragraph;
        while (paragraph.size() < 3000)
            paragraph += QStringLiteral("some words ");
        f.open(paragraph);
        const int lines = f.text->LineCount();
        QVERIFY(lines > 3);
        f.main->mnuFind_Click(8);
        QCOMPARE(f.lastShown().prompt, QStringLiteral("This document contains %1 characters.")
                                           .arg(paragraph.size() - 2 * lines));
    }

    // A file of up to 32000 bytes gets the caret back exactly; a larger
    // file, or none on disk, only to the start of the caret's line.
    void caretComesBack_data()
    {
        QTest::addColumn<int>("fileBytes");  // -1: no file
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<int>("caret");
        QTest::newRow("small file") << 100 << 9 << 0 << 9;
        QTest::newRow("32000 bytes") << 32000 << 9 << 0 << 9;
        QTest::newRow("32001 bytes") << 32001 << 9 << 0 << 6;
        QTest::newRow("large file") << 100000 << 9 << 0 << 6;
        QTest::newRow("no file") << -1 << 9 << 0 << 6;
        QTest::newRow("small file, selection dropped") << 10 << 7 << 3 << 7;
        QTest::newRow("no file, selection dropped") << -1 << 7 << 3 << 6;
        QTest::newRow("no file, first line") << -1 << 2 << 0 << 0;
    }
    void caretComesBack()
    {
        QFETCH(int, fileBytes);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(int, caret);
        f.open(QStringLiteral("abcd\r\nefghij\r\nkl"), selStart, selLength);
        if (fileBytes >= 0) {
            const QString path = testenv::writeFile(QStringLiteral("count/file%1.txt").arg(fileBytes),
                                                    QByteArray(fileBytes, 'x'));
            f.document->setFilePath(path);
            f.document->setTitle(path.toUpper());
        }
        f.main->mnuFind_Click(8);
        QCOMPARE(f.selection(), qMakePair(caret, 0));
        QCOMPARE(f.lastShown().prompt, QStringLiteral("This document contains 10 characters."));
    }

    // A line start beyond 32000 is reached by the far move: caret exactly
    // there, and with Word Wrap on the text wrapped at 1.1 times the width.
    void farLineStart_data()
    {
        QTest::addColumn<bool>("wrap");
        QTest::newRow("wrap off") << false;
        QTest::newRow("wrap on") << true;
    }
    void farLineStart()
    {
        QFETCH(bool, wrap);
        f.start(wrap);
        QString first;
        while (first.size() < 39998)
            first += QStringLiteral("word ");
        first.truncate(39998);
        f.open(first + QStringLiteral("\r\nlast line"), 40005);
        const int marginBefore = f.text->RightMargin();
        const int lineStart = f.text->LineIndex(-1);
        QCOMPARE(lineStart, 40000);
        f.main->mnuFind_Click(8);
        QCOMPARE(f.selection(), qMakePair(40000, 0));
        QCOMPARE(f.text->RightMargin(), wrap ? search::farMoveRightMargin(f.text->Width()) : marginBefore);
        QVERIFY(f.main->updatesEnabled());
    }
};

PAGEWELL_TEST_MAIN(TestCharacterCount)
#include "tst_charactercount.moc"
