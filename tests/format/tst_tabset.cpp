// Tab Set: the dialog's preselection, and Set and Cancel on the paragraphs
// the selection touches, with the choice kept for the next time.
#include "MainWindowFixture.h"
#include "app/PointerPlacement.h"
#include "app/Settings.h"
#include "app/Units.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "format/TabStops.h"
#include "format/frmTab.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QPushButton>
#include <QStatusBar>

using testsupport::MainWindowFixture;
using testsupport::WhenModal;

namespace {

QList<int> stopsOf(const RichTextBox& text)
{
    QList<int> stops;
    for (int i = 0; i < text.SelTabCount(); ++i)
        stops << text.SelTabs(i);
    return stops;
}

}  // namespace

class TestTabSet : public QObject {
    Q_OBJECT

    MainWindowFixture f;

    // Opens Tab Set from the menu and lets act answer the dialog.
    bool tabSetWith(std::function<void(frmTab*)> act, int limitMs = 10000)
    {
        WhenModal<frmTab> answer(std::move(act), limitMs);
        f.main->mnuTab->trigger();
        return answer.answered();
    }
    QString storedCount() const { return GetSetting(AppTitle, "Tab Set", "Tab", "<missing>"); }

private slots:
    void init() { f.start(); }
    void cleanupTestCase() { f.stop(); }

    void preselection_data()
    {
        QTest::addColumn<QString>("stored");  // "<missing>": never written
        QTest::addColumn<QString>("selected");
        const QList<std::pair<const char*, const char*>> rows = {
            {"<missing>", " 4"}, {"", " 4"}, {" 1", " 1"}, {" 7", " 7"}, {" 10", " 10"}, {"6", " 6"},
            {" 0", " 4"}, {" 11", " 4"}, {"-3", " 4"}, {"many", " 4"},
        };
        for (const auto& [stored, selected] : rows)
            QTest::addRow("'%s'", stored) << stored << selected;
    }
    void preselection()
    {
        QFETCH(QString, stored);
        QFETCH(QString, selected);
        if (stored != QLatin1String("<missing>"))
            testsupport::putSetting("Tab Set", "Tab", stored);
        frmTab dialog(f.main.get());
        QCOMPARE(dialog.Combo1->currentText(), selected);
        QCOMPARE(dialog.Combo1->count(), 10);
        QVERIFY(!dialog.Combo1->isEditable());
    }

    // Set (by button or Enter) spaces the stops evenly across the control
    // and keeps the choice; the keyboard goes back to the text.
    void setSpacesStopsAcrossTheControl_data()
    {
        QTest::addColumn<int>("entry");  // -1: the preselection
        QTest::addColumn<bool>("enter");
        QTest::addColumn<int>("count");
        QTest::newRow("preselected 4") << -1 << false << 4;
        QTest::newRow("10") << 9 << false << 10;
        QTest::newRow("1") << 0 << false << 1;
        QTest::newRow("2 by Enter") << 1 << true << 2;
    }
    void setSpacesStopsAcrossTheControl()
    {
        QFETCH(int, entry);
        QFETCH(bool, enter);
        QFETCH(int, count);
        f.text()->setText(QStringLiteral("a\tb"));
        f.main->sbStatusBar->setFocusPolicy(Qt::StrongFocus);
        f.main->sbStatusBar->setFocus();
        QVERIFY(tabSetWith([=](frmTab* dialog) {
            if (entry >= 0)
                dialog->Combo1->setCurrentIndex(entry);
            enter ? QTest::keyClick(dialog, Qt::Key_Return) : dialog->Command1->click();
        }));
        QVERIFY(f.text()->Width() > 1000);
        QCOMPARE(stopsOf(*f.text()), evenTabStops(f.text()->Width(), count));
        QCOMPARE(storedCount(), u' ' + QString::number(count));
        QApplication::processEvents();
        QCOMPARE(f.main->focusWidget(), static_cast<QWidget*>(f.text()));
        // The next document starts with the stored count, and the dialog offers it.
        QCOMPARE(f.main->NewDocument()->txtText->SelTabCount(), count);
        QVERIFY(tabSetWith([&](frmTab* dialog) {
            QCOMPARE(dialog->Combo1->currentText(), storedCount());
            dialog->Command2->click();
        }));
    }

    void cancelChangesNothing_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Esc") << true;
    }
    void cancelChangesNothing()
    {
        QFETCH(bool, escape);
        f.text()->setText(QStringLiteral("a\tb"));
        f.text()->setSelTabCount(2);
        f.text()->setSelTabs(0, 700);
        f.text()->setSelTabs(1, 1400);
        QVERIFY(tabSetWith([escape](frmTab* dialog) {
            dialog->Combo1->setCurrentIndex(7);
            escape ? QTest::keyClick(dialog, Qt::Key_Escape) : dialog->Command2->click();
        }));
        QCOMPARE(stopsOf(*f.text()), (QList<int>{700, 1400}));
        QCOMPARE(storedCount(), QStringLiteral("<missing>"));
    }

    void stopsGoToTheParagraphsTheSelectionTouches_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QList<bool>>("changed");  // per paragraph
        // "p0\r\np1\r\np2\r\np3": paragraphs start at 0, 4, 8 and 12.
        QTest::newRow("caret only") << 5 << 0 << QList<bool>{false, true, false, false};
        QTest::newRow("inside one") << 4 << 2 << QList<bool>{false, true, false, false};
        QTest::newRow("across two") << 5 << 4 << QList<bool>{false, true, true, false};
        QTest::newRow("whole text") << 0 << 14 << QList<bool>{true, true, true, true};
        QTest::newRow("caret at the end") << 14 << 0 << QList<bool>{false, false, false, true};
    }
    void stopsGoToTheParagraphsTheSelectionTouches()
    {
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QList<bool>, changed);
        f.text()->setText(QStringLiteral("p0\np1\np2\np3"));
        f.text()->SetSel(start, start + length);
        QVERIFY(tabSetWith([](frmTab* dialog) {
            dialog->Combo1->setCurrentIndex(2);
            dialog->Command1->click();
        }));
        QCOMPARE(QPoint(f.text()->SelStart(), f.text()->SelLength()), QPoint(start, length));
        QList<bool> actual;
        for (int paragraph = 0; paragraph < 4; ++paragraph) {
            f.text()->setSelStart(paragraph * 4);
            actual << (stopsOf(*f.text()) == evenTabStops(f.text()->Width(), 3));
            QVERIFY(actual.last() || stopsOf(*f.text()).isEmpty());
        }
        QCOMPARE(actual, changed);
    }

    void pointerGoesOntoSet()
    {
        QCursor::setPos(1, 1);
        QPoint expected, atActivation;
        QVERIFY(tabSetWith([&](frmTab* dialog) {
            QTRY_VERIFY(dialog->isActiveWindow());
            QApplication::processEvents();
            atActivation = QCursor::pos();
            const double tx = units::twipsPerPixelX(), ty = units::twipsPerPixelY();
            const QPoint at = dialog->Command1->mapTo(dialog, QPoint(0, 0));
            const QRect frame = dialog->frameGeometry();
            expected = pointerTarget(frame.x() * tx, frame.y() * ty,
                                     {at.x() * tx, at.y() * ty, dialog->Command1->width() * tx,
                                      dialog->Command1->height() * ty},
                                     tx, ty);
            dialog->Command2->click();
        }));
        QCOMPARE(atActivation, expected);
    }

    void withoutADocumentNothingOpens()
    {
        f.main->mnuFileItem[3]->trigger();  // Close
        QApplication::processEvents();
        QCOMPARE(f.documentCount(), 0);
        QVERIFY(!tabSetWith([](frmTab* dialog) { dialog->Command2->click(); }, 300));
    }
};

PAGEWELL_TEST_MAIN(TestTabSet)
#include "tst_tabset.moc"
