// Tab Set: the stop arithmetic, the dialog's list and preselection, and Set
// and Cancel on the active document's paragraphs.
#include "FormatFixture.h"
#include "app/PointerPlacement.h"
#include "app/Units.h"
#include "format/TabStops.h"
#include "format/frmTab.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

using namespace format_test;

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

    Fixture f;

    // Opens Tab Set from the menu and lets act answer the dialog.
    bool tabSetWith(std::function<void(frmTab*)> act)
    {
        WhenModal<frmTab> answer(std::move(act));
        f.main->mnuTab->trigger();
        return answer.answered();
    }

private slots:
    void initTestCase() { QCOMPARE(units::twipsToPixelsX(1440), 96); }
    void init() { f.start(); }
    void cleanupTestCase() { f.stop(); }

    void evenStops_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("stops");
        QTest::newRow("first use: 4 on 9000") << 9000 << 4 << QList<int>{1800, 3600, 5400, 7200};
        QTest::newRow("10 on 9000: 818.18 down") << 9000 << 10 << multiples(818, 10);
        QTest::newRow("3 on 4502: 1125.5 to even 1126") << 4502 << 3 << QList<int>{1126, 2252, 3378};
        QTest::newRow("3 on 4506: 1126.5 to even 1126") << 4506 << 3 << QList<int>{1126, 2252, 3378};
        QTest::newRow("3 on 4503: 1125.75 up") << 4503 << 3 << QList<int>{1126, 2252, 3378};
        QTest::newRow("3 on 4501: 1125.25 down") << 4501 << 3 << QList<int>{1125, 2250, 3375};
        QTest::newRow("4 on 5000") << 5000 << 4 << QList<int>{1000, 2000, 3000, 4000};
        QTest::newRow("1 halves the width") << 9000 << 1 << QList<int>{4500};
        QTest::newRow("none") << 9000 << 0 << QList<int>{};
    }
    void evenStops()
    {
        QFETCH(int, width);
        QFETCH(int, count);
        QFETCH(QList<int>, stops);
        QCOMPARE(evenTabStops(width, count), stops);
    }

    void entriesCarryALeadingBlank()
    {
        QCOMPARE(tabSetEntries(), (QStringList{" 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9", " 10"}));
    }

    void preselection_data()
    {
        QTest::addColumn<QString>("stored");  // Missing: never written
        QTest::addColumn<QString>("selected");
        QTest::newRow("first use") << Missing << " 4";
        QTest::newRow("empty") << "" << " 4";
        QTest::newRow("stored 1") << " 1" << " 1";
        QTest::newRow("stored 7") << " 7" << " 7";
        QTest::newRow("stored 10") << " 10" << " 10";
        QTest::newRow("without the blank") << "6" << " 6";
        QTest::newRow("0 selects none") << " 0" << " 4";
        QTest::newRow("11 selects none") << " 11" << " 4";
        QTest::newRow("negative") << "-3" << " 4";
        QTest::newRow("not a number") << "many" << " 4";
    }
    void preselection()
    {
        QFETCH(QString, stored);
        QFETCH(QString, selected);
        if (stored != Missing)
            store("Tab Set", "Tab", stored);
        frmTab dialog(f.main.get());
        QCOMPARE(dialog.Combo1->currentText(), selected);
        QCOMPARE(dialog.Combo1->count(), 10);
    }

    void dialogLayout()
    {
        frmTab dialog(f.main.get());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Tab Set"));
        QCOMPARE(dialog.Label1->text(), QStringLiteral("Tab Set"));
        QCOMPARE(dialog.Label2->text(), QString());
        QVERIFY(!dialog.Combo1->isEditable());
        QCOMPARE(dialog.Command1->text(), QStringLiteral("&Set"));
        QCOMPARE(dialog.Command2->text(), QStringLiteral("Cancel"));
        QVERIFY(dialog.Command1->isDefault());
        QVERIFY(!dialog.Command2->isDefault());
        QCOMPARE(dialog.windowIcon().cacheKey(), f.main->windowIcon().cacheKey());
        dialog.show();
        QApplication::processEvents();
        const QSize size = dialog.size();
        dialog.resize(size + QSize(80, 60));
        QApplication::processEvents();
        QCOMPARE(dialog.size(), size);  // fixed size
    }

    void setSpacesStopsAcrossTheControl_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QList<int>>("stops");
        QTest::addColumn<QString>("stored");
        QTest::newRow("preselected 4") << -1 << QList<int>{1800, 3600, 5400, 7200} << " 4";
        QTest::newRow("10") << 9 << multiples(818, 10) << " 10";
        QTest::newRow("1") << 0 << QList<int>{4500} << " 1";
        QTest::newRow("3") << 2 << QList<int>{2250, 4500, 6750} << " 3";
    }
    void setSpacesStopsAcrossTheControl()
    {
        QFETCH(int, entry);
        QFETCH(QList<int>, stops);
        QFETCH(QString, stored);
        f.setControlWidth(600);
        QCOMPARE(f.text->Width(), 9000);
        f.text->setText(QStringLiteral("a\tb"));
        f.main->sbStatusBar->setFocusPolicy(Qt::StrongFocus);
        f.main->sbStatusBar->setFocus();
        QVERIFY(tabSetWith([entry](frmTab* dialog) {
            if (entry >= 0)
                dialog->Combo1->setCurrentIndex(entry);
            dialog->Command1->click();
        }));
        QCOMPARE(stopsOf(*f.text), stops);
        QCOMPARE(setting("Tab Set", "Tab"), stored);
        QApplication::processEvents();
        QCOMPARE(f.main->focusWidget(), static_cast<QWidget*>(f.text));
    }

    void enterIsSet()
    {
        f.setControlWidth(600);
        QVERIFY(tabSetWith([](frmTab* dialog) {
            dialog->Combo1->setCurrentIndex(1);
            QTest::keyClick(dialog, Qt::Key_Return);
        }));
        QCOMPARE(stopsOf(*f.text), (QList<int>{3000, 6000}));
        QCOMPARE(setting("Tab Set", "Tab"), QStringLiteral(" 2"));
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
        f.setControlWidth(600);
        f.text->setText(QStringLiteral("a\tb"));
        f.text->setSelTabCount(2);
        f.text->setSelTabs(0, 700);
        f.text->setSelTabs(1, 1400);
        QVERIFY(tabSetWith([escape](frmTab* dialog) {
            dialog->Combo1->setCurrentIndex(7);
            if (escape)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                dialog->Command2->click();
        }));
        QCOMPARE(stopsOf(*f.text), (QList<int>{700, 1400}));
        QCOMPARE(setting("Tab Set", "Tab"), Missing);
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
        f.setControlWidth(600);
        f.text->setText(QStringLiteral("p0\np1\np2\np3"));
        f.text->SetSel(start, start + length);
        QVERIFY(tabSetWith([](frmTab* dialog) {
            dialog->Combo1->setCurrentIndex(2);
            dialog->Command1->click();
        }));
        QCOMPARE(f.text->SelStart(), start);  // the command selects nothing itself
        QCOMPARE(f.text->SelLength(), length);
        for (int paragraph = 0; paragraph < 4; ++paragraph) {
            f.text->setSelStart(paragraph * 4);
            const QList<int> expected = changed[paragraph] ? QList<int>{2250, 4500, 6750} : QList<int>{};
            QVERIFY2(stopsOf(*f.text) == expected, qPrintable(QStringLiteral("paragraph %1").arg(paragraph)));
        }
    }

    void storedEntryReachesTheNextDocument()
    {
        QVERIFY(tabSetWith([](frmTab* dialog) {
            dialog->Combo1->setCurrentIndex(4);
            dialog->Command1->click();
        }));
        frmDocument* next = f.main->NewDocument();
        QCOMPARE(next->txtText->SelTabCount(), 5);
        QVERIFY(tabSetWith([](frmTab* dialog) {
            QCOMPARE(dialog->Combo1->currentText(), QStringLiteral(" 5"));
            dialog->Command2->click();
        }));
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
        QVERIFY(!f.main->ActiveDocument());
        WhenModal<frmTab> answer([](frmTab* dialog) { dialog->Command2->click(); }, 300);
        f.main->mnuTab->trigger();
        QVERIFY(!answer.answered());
    }
};

PAGEWELL_TEST_MAIN(TestTabSet)
#include "tst_tabset.moc"
