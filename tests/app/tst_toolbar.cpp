// The toolbar: the stored layout text and its damaged forms, the customising
// edits, the Customize Toolbar dialog driven through its widgets, the layout
// kept across runs, and a picture for every button.
#include "MainWindowFixture.h"
#include "app/CustomizeToolbarDialog.h"
#include "app/frmMain.h"
#include "core/ToolbarIcons.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolBar>

using testsupport::MainWindowFixture;

namespace {

ToolbarLayout layoutOf(const QString& text)
{
    const auto layout = ToolbarLayout::parse(text);
    if (!layout)
        qFatal("test layout does not parse: %s", qPrintable(text));
    return *layout;
}

QString outcome(const std::optional<ToolbarLayout>& layout)
{
    return layout ? layout->toText() : QStringLiteral("rejected");
}

QStringList texts(const QListWidget* list)
{
    QStringList result;
    for (int row = 0; row < list->count(); ++row)
        result << list->item(row)->text();
    return result;
}

QStringList captions(QStringList entries) { return entries.replaceInStrings(QStringLiteral("|"), QStringLiteral("Separator")); }

// The dialog with its controls found by name, and a record of what it reports.
struct Dialog {
    explicit Dialog(const QString& layout) : dialog(layoutOf(layout)), spy(&dialog, &CustomizeToolbarDialog::layoutChanged)
    {
        available = dialog.findChild<QListWidget*>(QStringLiteral("lstAvailable"));
        current = dialog.findChild<QListWidget*>(QStringLiteral("lstCurrent"));
    }
    QPushButton* button(const QString& name) const { return dialog.findChild<QPushButton*>(name); }
    QString reported() const { return spy.isEmpty() ? QString() : spy.last().first().value<ToolbarLayout>().toText(); }
    void doubleClick(QListWidget* list, int row) const
    {
        const QPoint centre = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    }

    CustomizeToolbarDialog dialog;
    QSignalSpy spy;
    QListWidget* available = nullptr;
    QListWidget* current = nullptr;
};

}  // namespace

class TestToolbar : public QObject {
    Q_OBJECT

    MainWindowFixture f;

private slots:
    // The stored text read back: the layout's own text, or "rejected".
    void storedText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read");
        const QString standard = ToolbarLayout::standard().toText();
        const QStringList same = {standard, "(none)", "|", "|,|,|,|", "Help", "Exit,Help,Font,Find,Undo,Paste,Copy,Cut,Print,Save,Open,New",
                                  "Find,|,|,New,|,Exit,|"};
        for (const QString& text : same)
            QTest::newRow(qPrintable(text.left(30))) << text << text;
        QTest::newRow("blanks around items") << " New , | ,Exit " << "New,|,Exit";
        const QStringList damaged = {"", "   ", "New,,Open", "New,Open,", ",New", "New;Open", "New Open", "|,new,Open",
                                     "NEW", "New,Bold,Exit", "New,Separator,Exit", "New,Open,New", "|,Save,|,Print,|,Save",
                                     "Find|,Exit", "(none),New", "|,New,Op", "@ByteArray(\\0\\x1\\x2)",
                                     QString::fromUtf8("New,\x01,Exit")};
        for (const QString& text : damaged)
            QTest::newRow(qPrintable(QStringLiteral("damaged ") + text)) << text << "rejected";
    }
    void storedText()
    {
        QFETCH(QString, text);
        QFETCH(QString, read);
        QCOMPARE(outcome(ToolbarLayout::parse(text)), read);
    }

    // Every button once on the standard bar, each with a picture of its own.
    void buttonsAndPictures()
    {
        QVERIFY(ToolbarLayout::standard().missingButtons().isEmpty());
        QCOMPARE(ToolbarLayout::buttonKeys().size(), 12);
        QList<QImage> pictures;
        for (const QString& key : ToolbarLayout::buttonKeys()) {
            const QImage picture = toolbarIcon(ToolbarLayout::imageNumber(key)).pixmap(16, 16).toImage();
            QVERIFY2(!picture.isNull() && !pictures.contains(picture), qPrintable(key));
            pictures << picture;
        }
        for (const char* other : {"|", "", "new", "Separator"})
            QCOMPARE(ToolbarLayout::imageNumber(QString::fromLatin1(other)), 0);
        QCOMPARE(layoutOf("Exit,|,Save,Cut,Copy,Paste,Undo,Print,Font,Open").missingButtons(),
                 (QStringList{"New", "Find", "Help"}));
    }

    void edits_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("edit");  // "add <entry>", "remove", "up", "down"
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        const QList<std::tuple<const char*, const char*, int, const char*>> rows = {
            {"New,Exit", "add Find", 0, "New,Find,Exit"},     {"New,Exit", "add Find", -1, "Find,New,Exit"},
            {"New,Exit", "add Find", 1, "New,Exit,Find"},     {"New,|,Exit", "add |", 1, "New,|,|,Exit"},
            {"(none)", "add Help", -1, "Help"},               {"(none)", "add |", -1, "|"},
            {"New,Exit", "add Find", 2, "rejected"},          {"New,Exit", "add Find", -2, "rejected"},
            {"(none)", "add Help", 0, "rejected"},            {"New,Exit", "add Exit", 0, "rejected"},
            {"New,Exit", "add Bold", 0, "rejected"},          {"New,Exit", "add Separator", 0, "rejected"},
            {"|,New,Exit", "remove", 0, "New,Exit"},          {"|,New,Exit", "remove", 2, "|,New"},
            {"|,New,Exit", "remove", 1, "|,Exit"},            {"Help", "remove", 0, "(none)"},
            {"New,|,|", "remove", 2, "New,|"},                {"|,New,Exit", "remove", 3, "rejected"},
            {"|,New,Exit", "remove", -1, "rejected"},         {"(none)", "remove", 0, "rejected"},
            {"New,Open,Save", "up", 1, "Open,New,Save"},      {"New,Open,Save", "up", 2, "New,Save,Open"},
            {"New,Open,Save", "up", 0, "rejected"},           {"New,Open,Save", "up", 3, "rejected"},
            {"New,Open,Save", "up", -1, "rejected"},          {"New,Open,Save", "down", 0, "Open,New,Save"},
            {"New,Open,Save", "down", 1, "New,Save,Open"},    {"New,Open,Save", "down", 2, "rejected"},
            {"New,Open,Save", "down", -1, "rejected"},        {"Help", "up", 0, "rejected"},
            {"Help", "down", 0, "rejected"},                  {"|,New", "down", 0, "New,|"},
        };
        for (const auto& [layout, edit, index, expected] : rows)
            QTest::addRow("%s %s %d", layout, edit, index) << layout << edit << index << expected;
    }
    void edits()
    {
        QFETCH(QString, layout);
        QFETCH(QString, edit);
        QFETCH(int, index);
        QFETCH(QString, expected);
        const ToolbarLayout before = layoutOf(layout);
        std::optional<ToolbarLayout> after;
        if (edit.startsWith(QLatin1String("add ")))
            after = toolbaredit::add(before, edit.mid(4), index);
        else if (edit == QLatin1String("remove"))
            after = toolbaredit::remove(before, index);
        else
            after = edit == QLatin1String("up") ? toolbaredit::moveUp(before, index) : toolbaredit::moveDown(before, index);
        QCOMPARE(outcome(after), expected);
    }

    // One press in the dialog: what it reports and selects; then both lists
    // show the layout, and each button is offered exactly when its edit applies.
    void dialogStep_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("left");  // caption selected on the left, "" for none
        QTest::addColumn<int>("row");       // selected on the right
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("reported");  // "" when nothing changed
        QTest::addColumn<QString>("selected");  // the current items afterwards, right and left
        const QString standard = ToolbarLayout::standard().toText();
        QTest::newRow("add after the selection") << "New,|,Exit" << "Find" << 1 << "cmdAdd" << "New,|,Find,Exit" << "Find Font";
        QTest::newRow("add after the last") << "New,|,Exit" << "Help" << 2 << "cmdAdd" << "New,|,Exit,Help" << "Help Font";
        QTest::newRow("add to an empty bar") << "(none)" << "Print" << -1 << "cmdAdd" << "Print" << "Print Cut";
        QTest::newRow("a separator stays on the left") << "New,Exit" << "Separator" << 0 << "cmdAdd" << "New,|,Exit"
                                                       << "Separator Separator";
        QTest::newRow("remove a button") << "New,|,Exit" << "" << 2 << "cmdRemove" << "New,|" << "Separator Exit";
        QTest::newRow("remove the first") << "New,|,Exit" << "" << 0 << "cmdRemove" << "|,Exit" << "Separator New";
        QTest::newRow("remove a separator") << "New,|,Exit" << "" << 1 << "cmdRemove" << "New,Exit" << "Exit Separator";
        QTest::newRow("remove the last entry") << "Help" << "" << 0 << "cmdRemove" << "(none)" << "- Help";
        QTest::newRow("move up") << "New,|,Exit" << "" << 2 << "cmdMoveUp" << "New,Exit,|" << "Exit Separator";
        QTest::newRow("move down") << "New,|,Exit" << "" << 0 << "cmdMoveDown" << "|,New,Exit" << "New Separator";
        QTest::newRow("swapping two separators") << "New,|,|" << "" << 2 << "cmdMoveUp" << "" << "Separator Separator";
        QTest::newRow("reset") << "Exit,|,Help" << "" << 1 << "cmdReset" << standard << "Separator Separator";
    }
    void dialogStep()
    {
        QFETCH(QString, start);
        QFETCH(QString, left);
        QFETCH(int, row);
        QFETCH(QString, button);
        QFETCH(QString, reported);
        QFETCH(QString, selected);
        Dialog d(start);
        if (!left.isEmpty())
            d.available->setCurrentItem(d.available->findItems(left, Qt::MatchExactly).value(0));
        d.current->setCurrentRow(row);
        QTest::mouseClick(d.button(button), Qt::LeftButton);
        QCOMPARE(d.spy.size(), reported.isEmpty() ? 0 : 1);
        QCOMPARE(d.reported(), reported);
        const ToolbarLayout now = d.dialog.layout();
        QCOMPARE(now.toText(), reported.isEmpty() ? start : reported);
        const auto currentText = [](const QListWidget* list) { return list->currentItem() ? list->currentItem()->text() : "-"; };
        QCOMPARE(currentText(d.current) + u' ' + currentText(d.available), selected);
        QCOMPARE(texts(d.current), captions(now.entries()));
        QCOMPARE(texts(d.available), QStringList{"Separator"} + now.missingButtons());
        const int at = d.current->currentRow();
        QCOMPARE(d.button("cmdMoveUp")->isEnabled(), toolbaredit::moveUp(now, at).has_value());
        QCOMPARE(d.button("cmdMoveDown")->isEnabled(), toolbaredit::moveDown(now, at).has_value());
        QCOMPARE(d.button("cmdRemove")->isEnabled(), toolbaredit::remove(now, at).has_value());
        QCOMPARE(d.button("cmdReset")->isEnabled(), now != ToolbarLayout::standard());
        QVERIFY(d.button("cmdAdd")->isEnabled() && d.button("cmdClose")->isEnabled());
    }

    // Mnemonics, Delete, double clicks and Enter.
    void keyboardAndMouse()
    {
        Dialog d(QStringLiteral("New,|,Exit"));
        d.dialog.show();
        QApplication::setActiveWindow(&d.dialog);
        QVERIFY(QTest::qWaitForWindowActive(&d.dialog));
        d.current->setCurrentRow(0);
        d.available->setCurrentItem(d.available->findItems(QStringLiteral("Open"), Qt::MatchExactly).value(0));
        QTest::keyClick(&d.dialog, Qt::Key_A, Qt::AltModifier);  // a mnemonic presses its button visibly
        QTRY_COMPARE(d.reported(), QStringLiteral("New,Open,|,Exit"));
        d.current->setFocus();
        d.current->setCurrentRow(2);
        QTest::keyClick(d.current, Qt::Key_Delete);
        QCOMPARE(d.reported(), QStringLiteral("New,Open,Exit"));
        d.doubleClick(d.available, int(texts(d.available).indexOf(QStringLiteral("Help"))));
        QCOMPARE(d.reported(), QStringLiteral("New,Open,Exit,Help"));
        d.doubleClick(d.current, 0);
        QCOMPARE(d.reported(), QStringLiteral("Open,Exit,Help"));
        QCOMPARE(d.spy.size(), 4);
        QTest::keyClick(d.current, Qt::Key_Return);
        QVERIFY(!d.dialog.isVisible());
        QCOMPARE(d.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(d.spy.size(), 4);
    }

    // The customised bar is what the next run shows; a damaged stored text
    // gives the standard bar.
    void customisedBarIsKeptAcrossRuns()
    {
        f.start();
        testsupport::WhenModal<CustomizeToolbarDialog> answer([](CustomizeToolbarDialog* dialog) {
            dialog->findChild<QListWidget*>(QStringLiteral("lstCurrent"))->setCurrentRow(1);
            dialog->findChild<QPushButton*>(QStringLiteral("cmdRemove"))->click();
            dialog->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
        });
        f.main->customizeToolbar();
        QVERIFY(answer.answered());
        QStringList expected = ToolbarLayout::standard().entries();
        expected.removeAt(1);
        QStringList shown;
        for (QAction* action : f.main->tbToolBar->actions())
            shown << (action->isSeparator() ? QStringLiteral("|") : action->property("Key").toString());
        QCOMPARE(shown, expected);
        f.restart();
        QCOMPARE(f.main->toolbarLayout().entries(), expected);
        f.start(QString(), [] { testsupport::putSetting("Custom", "Toolbar", "New,New"); });
        QCOMPARE(f.main->toolbarLayout(), ToolbarLayout::standard());
        f.stop();
    }
};

PAGEWELL_TEST_MAIN(TestToolbar)
#include "tst_toolbar.moc"
