// The toolbar layout: the standard positions, the stored text and its
// damaged forms, and the customising edits at their edges.
#include "TestEnvironment.h"
#include "app/ToolbarLayout.h"

#include <QApplication>

namespace {

ToolbarLayout layoutOf(const QString& text)
{
    const auto layout = ToolbarLayout::parse(text);
    if (!layout)
        qFatal("test layout does not parse: %s", qPrintable(text));
    return *layout;
}

// An edit's result as stored text, or "rejected".
QString outcome(const std::optional<ToolbarLayout>& layout)
{
    return layout ? layout->toText() : QStringLiteral("rejected");
}

}  // namespace

class TestToolbarLayout : public QObject {
    Q_OBJECT

private slots:
    void standardLayoutIsTheTable_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("key");  // empty for a separator
        QTest::addColumn<int>("image");
        const struct { int position; const char* key; int image; } table[21] = {
            {1, "", 0},       {2, "New", 1},   {3, "Open", 2},   {4, "Save", 3},  {5, "", 0},
            {6, "Print", 4},  {7, "", 0},      {8, "Cut", 5},    {9, "Copy", 6},  {10, "Paste", 7},
            {11, "", 0},      {12, "Undo", 8}, {13, "", 0},      {14, "Find", 9}, {15, "", 0},
            {16, "Font", 11}, {17, "", 0},     {18, "Help", 12}, {19, "", 0},     {20, "", 0},
            {21, "Exit", 10},
        };
        for (const auto& row : table) {
            QTest::addRow("position %d", row.position)
                << row.position << QString::fromLatin1(row.key) << row.image;
        }
    }
    void standardLayoutIsTheTable()
    {
        QFETCH(int, position);
        QFETCH(QString, key);
        QFETCH(int, image);
        const ToolbarLayout standard = ToolbarLayout::standard();
        QCOMPARE(standard.count(), 21);
        const int index = position - 1;
        QCOMPARE(standard.isSeparator(index), key.isEmpty());
        if (!key.isEmpty()) {
            QCOMPARE(standard.entries().at(index), key);
            QCOMPARE(ToolbarLayout::imageNumber(key), image);
        }
    }

    void standardLayoutHoldsEveryButton()
    {
        QVERIFY(ToolbarLayout::standard().missingButtons().isEmpty());
        QCOMPARE(toolbaredit::reset(), ToolbarLayout::standard());
    }

    void standardTextIsReadable()
    {
        QCOMPARE(ToolbarLayout::standard().toText(),
                 QStringLiteral("|,New,Open,Save,|,Print,|,Cut,Copy,Paste,|,Undo,|,Find,|,Font,|,Help,|,|,Exit"));
    }

    void imageNumbersOfOtherNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("separator") << "|";
        QTest::newRow("empty") << "";
        QTest::newRow("lower case") << "new";
        QTest::newRow("caption") << "Separator";
    }
    void imageNumbersOfOtherNames()
    {
        QFETCH(QString, name);
        QCOMPARE(ToolbarLayout::imageNumber(name), 0);
    }

    void layoutsRoundTrip_data()
    {
        QTest::addColumn<QStringList>("entries");
        const QString s = ToolbarLayout::Separator;
        QTest::newRow("standard") << ToolbarLayout::standard().entries();
        QTest::newRow("empty bar") << QStringList();
        QTest::newRow("one separator") << QStringList{s};
        QTest::newRow("separators only") << QStringList{s, s, s, s};
        QTest::newRow("one button") << QStringList{"Help"};
        QTest::newRow("reversed") << QStringList{"Exit", "Help", "Font", "Find", "Undo", "Paste",
                                                 "Copy", "Cut", "Print", "Save", "Open", "New"};
        QTest::newRow("mixed") << QStringList{"Find", s, s, "New", s, "Exit", s};
    }
    void layoutsRoundTrip()
    {
        QFETCH(QStringList, entries);
        const auto layout = ToolbarLayout::fromEntries(entries);
        QVERIFY(layout);
        const QString text = layout->toText();
        QVERIFY(!text.isEmpty());  // an empty value would read as "never customised"
        const auto back = ToolbarLayout::parse(text);
        QVERIFY2(back, qPrintable(text));
        QCOMPARE(back->entries(), entries);
    }

    void damagedTextIsRejected_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing stored") << "";
        QTest::newRow("blanks") << "   ";
        QTest::newRow("empty item") << "New,,Open";
        QTest::newRow("trailing comma") << "New,Open,";
        QTest::newRow("leading comma") << ",New";
        QTest::newRow("other delimiter") << "New;Open";
        QTest::newRow("blank delimiter") << "New Open";
        QTest::newRow("lower-case key") << "|,new,Open";
        QTest::newRow("upper-case key") << "NEW";
        QTest::newRow("unknown key") << "New,Bold,Exit";
        QTest::newRow("caption for separator") << "New,Separator,Exit";
        QTest::newRow("duplicate button") << "New,Open,New";
        QTest::newRow("duplicate across separators") << "|,Save,|,Print,|,Save";
        QTest::newRow("separator glued to key") << "Find|,Exit";
        QTest::newRow("empty-bar mark with more") << "(none),New";
        QTest::newRow("truncated key") << "|,New,Op";
        QTest::newRow("foreign value") << "@ByteArray(\\0\\x1\\x2)";
        QTest::newRow("control characters") << QString::fromUtf8("New,\x01,Exit");
    }
    void damagedTextIsRejected()
    {
        QFETCH(QString, text);
        QVERIFY(!ToolbarLayout::parse(text));
    }

    void tolerableTextIsRead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("blanks around items") << " New , | ,Exit " << QStringList{"New", "|", "Exit"};
        QTest::newRow("empty-bar mark") << "(none)" << QStringList();
        QTest::newRow("only separators") << "|,|,|" << QStringList{"|", "|", "|"};
    }
    void tolerableTextIsRead()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, entries);
        const auto layout = ToolbarLayout::parse(text);
        QVERIFY(layout);
        QCOMPARE(layout->entries(), entries);
    }

    void entriesAreChecked_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("twelve buttons") << ToolbarLayout::buttonKeys() << true;
        QTest::newRow("repeated separators") << QStringList{"|", "|", "New", "|", "|"} << true;
        QTest::newRow("repeated button") << QStringList{"Cut", "|", "Cut"} << false;
        QTest::newRow("unknown") << QStringList{"Cut", "Bold"} << false;
        QTest::newRow("empty entry") << QStringList{"Cut", ""} << false;
    }
    void entriesAreChecked()
    {
        QFETCH(QStringList, entries);
        QFETCH(bool, accepted);
        QCOMPARE(ToolbarLayout::fromEntries(entries).has_value(), accepted);
    }

    void missingButtonsKeepTheStandardOrder()
    {
        const ToolbarLayout layout = layoutOf(QStringLiteral("Exit,|,Save,Cut,Copy,Paste,Undo,Print,Font,Open"));
        QCOMPARE(layout.missingButtons(), (QStringList{"New", "Find", "Help"}));
        QVERIFY(!layout.contains(ToolbarLayout::Separator));
        QVERIFY(layout.contains(QStringLiteral("Exit")));
        QVERIFY(!layout.contains(QStringLiteral("Find")));
    }

    void add_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("afterIndex");
        QTest::addColumn<QString>("expected");
        QTest::newRow("after the first") << "New,Exit" << "Find" << 0 << "New,Find,Exit";
        QTest::newRow("at the front") << "New,Exit" << "Find" << -1 << "Find,New,Exit";
        QTest::newRow("at the end") << "New,Exit" << "Find" << 1 << "New,Exit,Find";
        QTest::newRow("separator next to separator") << "New,|,Exit" << "|" << 1 << "New,|,|,Exit";
        QTest::newRow("into an empty bar") << "(none)" << "Help" << -1 << "Help";
        QTest::newRow("separator into an empty bar") << "(none)" << "|" << -1 << "|";
        QTest::newRow("past the end") << "New,Exit" << "Find" << 2 << "rejected";
        QTest::newRow("before the front") << "New,Exit" << "Find" << -2 << "rejected";
        QTest::newRow("empty bar, index 0") << "(none)" << "Help" << 0 << "rejected";
        QTest::newRow("button already there") << "New,Exit" << "Exit" << 0 << "rejected";
        QTest::newRow("unknown button") << "New,Exit" << "Bold" << 0 << "rejected";
        QTest::newRow("caption instead of separator") << "New,Exit" << "Separator" << 0 << "rejected";
    }
    void add()
    {
        QFETCH(QString, layout);
        QFETCH(QString, entry);
        QFETCH(int, afterIndex);
        QFETCH(QString, expected);
        QCOMPARE(outcome(toolbaredit::add(layoutOf(layout), entry, afterIndex)), expected);
    }

    void separatorsCanBeAddedAgainAndAgain()
    {
        ToolbarLayout layout = ToolbarLayout::standard();
        for (int i = 0; i < 3; ++i) {
            const auto added = toolbaredit::add(layout, ToolbarLayout::Separator, layout.count() - 1);
            QVERIFY(added);
            QCOMPARE(added->count(), layout.count() + 1);
            QVERIFY(added->isSeparator(added->count() - 1));
            layout = *added;
        }
        QCOMPARE(layoutOf(layout.toText()), layout);
    }

    void remove_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first") << "|,New,Exit" << 0 << "New,Exit";
        QTest::newRow("last") << "|,New,Exit" << 2 << "|,New";
        QTest::newRow("middle") << "|,New,Exit" << 1 << "|,Exit";
        QTest::newRow("only entry leaves an empty bar") << "Help" << 0 << "(none)";
        QTest::newRow("one of two separators") << "New,|,|" << 2 << "New,|";
        QTest::newRow("past the end") << "|,New,Exit" << 3 << "rejected";
        QTest::newRow("negative") << "|,New,Exit" << -1 << "rejected";
        QTest::newRow("empty bar") << "(none)" << 0 << "rejected";
    }
    void remove()
    {
        QFETCH(QString, layout);
        QFETCH(int, index);
        QFETCH(QString, expected);
        QCOMPARE(outcome(toolbaredit::remove(layoutOf(layout), index)), expected);
    }

    void move_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("up");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        QTest::newRow("up from the middle") << "New,Open,Save" << true << 1 << "Open,New,Save";
        QTest::newRow("up from the end") << "New,Open,Save" << true << 2 << "New,Save,Open";
        QTest::newRow("up from the top") << "New,Open,Save" << true << 0 << "rejected";
        QTest::newRow("up past the end") << "New,Open,Save" << true << 3 << "rejected";
        QTest::newRow("up, negative") << "New,Open,Save" << true << -1 << "rejected";
        QTest::newRow("down from the top") << "New,Open,Save" << false << 0 << "Open,New,Save";
        QTest::newRow("down from the middle") << "New,Open,Save" << false << 1 << "New,Save,Open";
        QTest::newRow("down from the bottom") << "New,Open,Save" << false << 2 << "rejected";
        QTest::newRow("down, negative") << "New,Open,Save" << false << -1 << "rejected";
        QTest::newRow("single entry up") << "Help" << true << 0 << "rejected";
        QTest::newRow("single entry down") << "Help" << false << 0 << "rejected";
        QTest::newRow("separator past a button") << "|,New" << false << 0 << "New,|";
    }
    void move()
    {
        QFETCH(QString, layout);
        QFETCH(bool, up);
        QFETCH(int, index);
        QFETCH(QString, expected);
        const ToolbarLayout before = layoutOf(layout);
        QCOMPARE(outcome(up ? toolbaredit::moveUp(before, index) : toolbaredit::moveDown(before, index)),
                 expected);
    }
};

PAGEWELL_TEST_MAIN(TestToolbarLayout)
#include "tst_toolbarlayout.moc"
