// The Customize Toolbar dialog, driven through its lists and buttons: what
// it shows, and the layout it reports after every change.
#include "TestEnvironment.h"
#include "app/CustomizeToolbarDialog.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>

namespace {

ToolbarLayout layoutOf(const QString& text)
{
    const auto layout = ToolbarLayout::parse(text);
    if (!layout)
        qFatal("test layout does not parse: %s", qPrintable(text));
    return *layout;
}

QString plain(QString caption) { return caption.remove(QLatin1Char('&')); }

QStringList texts(const QListWidget* list)
{
    QStringList result;
    for (int row = 0; row < list->count(); ++row)
        result << list->item(row)->text();
    return result;
}

// The dialog with its controls found by name, and a record of what it reports.
struct Fixture {
    explicit Fixture(const QString& layout) : dialog(layoutOf(layout)), spy(&dialog, &CustomizeToolbarDialog::layoutChanged)
    {
        available = dialog.findChild<QListWidget*>(QStringLiteral("lstAvailable"));
        current = dialog.findChild<QListWidget*>(QStringLiteral("lstCurrent"));
    }

    QPushButton* button(const char* name) const { return dialog.findChild<QPushButton*>(QLatin1String(name)); }
    void click(const char* name) const { QTest::mouseClick(button(name), Qt::LeftButton); }

    void selectAvailable(const QString& caption) const
    {
        const auto found = available->findItems(caption, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(caption));
        available->setCurrentItem(found.first());
    }

    // The text form of the last reported layout.
    QString reported() const
    {
        return spy.isEmpty() ? QString() : spy.last().first().value<ToolbarLayout>().toText();
    }

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

class TestCustomizeToolbar : public QObject {
    Q_OBJECT

private slots:
    void showsCaptionsAndBothLists()
    {
        Fixture f(QStringLiteral("New,|,Exit"));
        QCOMPARE(f.dialog.windowTitle(), QStringLiteral("Customize Toolbar"));
        QVERIFY(f.available && f.current);
        QCOMPARE(texts(f.current), (QStringList{"New", "Separator", "Exit"}));
        QCOMPARE(texts(f.available), (QStringList{"Separator", "Open", "Save", "Print", "Cut", "Copy",
                                                  "Paste", "Undo", "Find", "Font", "Help"}));
        QStringList labels;
        for (const QLabel* label : f.dialog.findChildren<QLabel*>())
            labels << plain(label->text());
        QVERIFY(labels.contains(QStringLiteral("Available toolbar buttons:")));
        QVERIFY(labels.contains(QStringLiteral("Current toolbar buttons:")));
        const struct { const char* name; const char* caption; } buttons[] = {
            {"cmdAdd", "Add ->"}, {"cmdRemove", "<- Remove"}, {"cmdMoveUp", "Move Up"},
            {"cmdMoveDown", "Move Down"}, {"cmdReset", "Reset"}, {"cmdClose", "Close"},
        };
        for (const auto& b : buttons) {
            QVERIFY2(f.button(b.name), b.name);
            QCOMPARE(plain(f.button(b.name)->text()), QString::fromLatin1(b.caption));
        }
        for (int row = 0; row < f.current->count(); ++row)
            QVERIFY(!f.current->item(row)->icon().isNull());
        QVERIFY(f.spy.isEmpty());
        QCOMPARE(f.dialog.layout().toText(), QStringLiteral("New,|,Exit"));
    }

    void everyCaptionHasItsOwnMnemonic()
    {
        Fixture f(QStringLiteral("New"));
        QStringList keys;
        QStringList captions;
        for (const QPushButton* b : f.dialog.findChildren<QPushButton*>())
            captions << b->text();
        for (const QLabel* l : f.dialog.findChildren<QLabel*>())
            captions << l->text();
        for (const QString& caption : captions) {
            const int amp = int(caption.indexOf(QLatin1Char('&')));
            QVERIFY2(amp >= 0 && amp + 1 < caption.size(), qPrintable(caption));
            const QString key = caption.mid(amp + 1, 1).toLower();
            QVERIFY2(!keys.contains(key), qPrintable(caption));
            keys << key;
        }
        for (const QLabel* l : f.dialog.findChildren<QLabel*>())
            QVERIFY(qobject_cast<QListWidget*>(l->buddy()));
        QVERIFY(f.button("cmdClose")->isDefault());
    }

    // Each step: select on the left (caption) and on the right (row, -1 for
    // none), press a button; then the reported layout.
    void buttonsReportTheNewLayout_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("availableCaption");
        QTest::addColumn<int>("currentRow");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("expected");
        QTest::newRow("add after the selection") << "New,|,Exit" << "Find" << 0 << "cmdAdd" << "New,Find,|,Exit";
        QTest::newRow("add after the last") << "New,|,Exit" << "Help" << 2 << "cmdAdd" << "New,|,Exit,Help";
        QTest::newRow("add to an empty bar") << "(none)" << "Print" << -1 << "cmdAdd" << "Print";
        QTest::newRow("add a separator") << "New,Exit" << "Separator" << 0 << "cmdAdd" << "New,|,Exit";
        QTest::newRow("remove a button") << "New,|,Exit" << "" << 0 << "cmdRemove" << "|,Exit";
        QTest::newRow("remove a separator") << "New,|,Exit" << "" << 1 << "cmdRemove" << "New,Exit";
        QTest::newRow("remove the last entry") << "Help" << "" << 0 << "cmdRemove" << "(none)";
        QTest::newRow("move up") << "New,|,Exit" << "" << 2 << "cmdMoveUp" << "New,Exit,|";
        QTest::newRow("move down") << "New,|,Exit" << "" << 0 << "cmdMoveDown" << "|,New,Exit";
        QTest::newRow("reset") << "Exit,Help" << "" << 1 << "cmdReset"
                               << "|,New,Open,Save,|,Print,|,Cut,Copy,Paste,|,Undo,|,Find,|,Font,|,Help,|,|,Exit";
    }
    void buttonsReportTheNewLayout()
    {
        QFETCH(QString, start);
        QFETCH(QString, availableCaption);
        QFETCH(int, currentRow);
        QFETCH(QString, button);
        QFETCH(QString, expected);
        Fixture f(start);
        if (!availableCaption.isEmpty())
            f.selectAvailable(availableCaption);
        f.current->setCurrentRow(currentRow);
        QVERIFY(f.button(qPrintable(button))->isEnabled());
        f.click(qPrintable(button));
        QCOMPARE(f.spy.size(), 1);
        QCOMPARE(f.reported(), expected);
        QCOMPARE(f.dialog.layout().toText(), expected);
        QCOMPARE(texts(f.current).size(), f.dialog.layout().count());
    }

    void addedButtonLeavesTheLeftListAndIsSelected()
    {
        Fixture f(QStringLiteral("New,|,Exit"));
        f.selectAvailable(QStringLiteral("Find"));
        f.current->setCurrentRow(1);
        f.click("cmdAdd");
        QVERIFY(!texts(f.available).contains(QStringLiteral("Find")));
        QCOMPARE(f.current->currentItem()->text(), QStringLiteral("Find"));
        QCOMPARE(f.current->currentRow(), 2);
        // The next button on the left is ready for another Add.
        QCOMPARE(f.available->currentItem()->text(), QStringLiteral("Font"));
    }

    void removedButtonReturnsToTheLeftList()
    {
        Fixture f(QStringLiteral("New,|,Exit"));
        f.current->setCurrentRow(2);
        f.click("cmdRemove");
        QCOMPARE(f.reported(), QStringLiteral("New,|"));
        QCOMPARE(texts(f.available).last(), QStringLiteral("Exit"));
        QCOMPARE(f.available->currentItem()->text(), QStringLiteral("Exit"));
        QCOMPARE(f.current->currentRow(), 1);
    }

    void separatorCanBeAddedTwice()
    {
        Fixture f(QStringLiteral("New,Exit"));
        f.current->setCurrentRow(0);
        f.selectAvailable(QStringLiteral("Separator"));
        f.click("cmdAdd");
        QCOMPARE(f.available->currentItem()->text(), QStringLiteral("Separator"));
        f.click("cmdAdd");
        QCOMPARE(f.spy.size(), 2);
        QCOMPARE(f.spy.at(0).first().value<ToolbarLayout>().toText(), QStringLiteral("New,|,Exit"));
        QCOMPARE(f.reported(), QStringLiteral("New,|,|,Exit"));
        QVERIFY(texts(f.available).contains(QStringLiteral("Separator")));
    }

    void commandsThatCannotApplyAreGreyed_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("currentRow");
        QTest::addColumn<bool>("up");
        QTest::addColumn<bool>("down");
        QTest::addColumn<bool>("remove");
        QTest::addColumn<bool>("reset");
        QTest::newRow("first") << "New,|,Exit" << 0 << false << true << true << true;
        QTest::newRow("middle") << "New,|,Exit" << 1 << true << true << true << true;
        QTest::newRow("last") << "New,|,Exit" << 2 << true << false << true << true;
        QTest::newRow("empty bar") << "(none)" << -1 << false << false << false << true;
        QTest::newRow("standard bar") << ToolbarLayout::standard().toText() << 5 << true << true << true << false;
    }
    void commandsThatCannotApplyAreGreyed()
    {
        QFETCH(QString, start);
        QFETCH(int, currentRow);
        QFETCH(bool, up);
        QFETCH(bool, down);
        QFETCH(bool, remove);
        QFETCH(bool, reset);
        Fixture f(start);
        f.current->setCurrentRow(currentRow);
        QCOMPARE(f.button("cmdMoveUp")->isEnabled(), up);
        QCOMPARE(f.button("cmdMoveDown")->isEnabled(), down);
        QCOMPARE(f.button("cmdRemove")->isEnabled(), remove);
        QCOMPARE(f.button("cmdReset")->isEnabled(), reset);
        QVERIFY(f.button("cmdClose")->isEnabled());
    }

    void resetAfterSeveralChanges()
    {
        Fixture f(ToolbarLayout::standard().toText());
        f.current->setCurrentRow(1);
        f.click("cmdRemove");
        f.click("cmdMoveDown");
        QCOMPARE(f.spy.size(), 2);
        QVERIFY(f.dialog.layout() != ToolbarLayout::standard());
        f.click("cmdReset");
        QCOMPARE(f.spy.size(), 3);
        QCOMPARE(f.spy.last().first().value<ToolbarLayout>(), ToolbarLayout::standard());
        QCOMPARE(texts(f.available), QStringList{QStringLiteral("Separator")});
        QVERIFY(!f.button("cmdReset")->isEnabled());
    }

    void swappingTwoSeparatorsReportsNothing()
    {
        Fixture f(QStringLiteral("New,|,|"));
        f.current->setCurrentRow(2);
        f.click("cmdMoveUp");
        QVERIFY(f.spy.isEmpty());
        QCOMPARE(f.current->currentRow(), 1);  // the selection still moves
    }

    void doubleClickAddsAndRemoves()
    {
        Fixture f(QStringLiteral("New,|,Exit"));
        f.dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.dialog));
        f.current->setCurrentRow(2);
        f.doubleClick(f.available, int(texts(f.available).indexOf(QStringLiteral("Help"))));
        QCOMPARE(f.reported(), QStringLiteral("New,|,Exit,Help"));
        f.doubleClick(f.current, 0);
        QCOMPARE(f.reported(), QStringLiteral("|,Exit,Help"));
        QCOMPARE(f.spy.size(), 2);
    }

    void keyboardDrivesTheDialog()
    {
        Fixture f(QStringLiteral("New,|,Exit"));
        f.dialog.show();
        QApplication::setActiveWindow(&f.dialog);
        QVERIFY(QTest::qWaitForWindowActive(&f.dialog));
        f.current->setCurrentRow(0);
        f.selectAvailable(QStringLiteral("Open"));
        // A mnemonic presses its button visibly, which takes a moment.
        QTest::keyClick(&f.dialog, Qt::Key_A, Qt::AltModifier);  // Add
        QTRY_COMPARE(f.reported(), QStringLiteral("New,Open,|,Exit"));
        QTest::keyClick(&f.dialog, Qt::Key_U, Qt::AltModifier);  // Move Up
        QTRY_COMPARE(f.reported(), QStringLiteral("Open,New,|,Exit"));
        f.current->setFocus();
        f.current->setCurrentRow(2);
        QTest::keyClick(f.current, Qt::Key_Delete);
        QCOMPARE(f.reported(), QStringLiteral("Open,New,Exit"));
        QCOMPARE(f.spy.size(), 3);
        QTest::keyClick(&f.dialog, Qt::Key_Escape);
        QVERIFY(!f.dialog.isVisible());
        QCOMPARE(f.dialog.layout().toText(), QStringLiteral("Open,New,Exit"));  // changes stay made
    }

    void enterPressesClose()
    {
        Fixture f(QStringLiteral("New,|,Exit"));
        f.dialog.show();
        QApplication::setActiveWindow(&f.dialog);
        QVERIFY(QTest::qWaitForWindowActive(&f.dialog));
        f.current->setFocus();
        QTest::keyClick(f.current, Qt::Key_Return);
        QVERIFY(!f.dialog.isVisible());
        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
        QVERIFY(f.spy.isEmpty());
    }
};

PAGEWELL_TEST_MAIN(TestCustomizeToolbar)
#include "tst_customizetoolbar.moc"
