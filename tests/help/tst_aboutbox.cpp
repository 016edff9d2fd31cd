// The About box: its texts, icon, font, place, pointer and memory lines.
#include "HelpFixture.h"
#include "help/Form6.h"

#include <QCursor>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace helptest;

class TestAboutBox : public QObject {
    Q_OBJECT

    Fixture f;

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void texts()
    {
        Form6 box(f.main.get(), MemoryStatus{quint64(16) * 1024 * 1024, 61});
        QCOMPARE(box.windowTitle(), QStringLiteral("About Pagewell"));
        QCOMPARE(box.Label2->text(), QStringLiteral("Pagewell\u2122  V5.0"));
        QCOMPARE(box.Label6->text(), QStringLiteral("Physical Memory Available to Windows:  16,384 KB"));
        QCOMPARE(box.Label7->text(), QStringLiteral("Physical Memory Currently In Use:  61%"));
        QCOMPARE(box.Command1->text(), QStringLiteral("OK"));
        QVERIFY(box.Command1->isDefault());
        for (QLabel* line : {box.Label1, box.Label3, box.Label4, box.Label5, box.Label8})
            QVERIFY(!line->text().isEmpty());
        QVERIFY(box.isModal());
        QCOMPARE(box.parentWidget(), f.main.get());
    }

    void titleInTimesNewRoman()
    {
        Form6 box(f.main.get(), MemoryStatus{});
        QCOMPARE(box.Label2->font().family(), QStringLiteral("Times New Roman"));
        // A metric-compatible face stands in where Times New Roman itself is missing.
        const QString used = QFontInfo(box.Label2->font()).family();
        QVERIFY2(used == QLatin1String("Times New Roman") || used == QLatin1String("Liberation Serif"), qPrintable(used));
    }

    void iconOfTheMainWindow()
    {
        Form6 box(f.main.get(), MemoryStatus{});
        QVERIFY(!f.main->windowIcon().isNull());
        QCOMPARE(box.windowIcon().cacheKey(), f.main->windowIcon().cacheKey());
        QCOMPARE(box.Picture1->pixmap().toImage(), f.main->windowIcon().pixmap(32, 32).toImage());
    }

    void placedFromTheMainWindowsCorner_data()
    {
        QTest::addColumn<QPoint>("mainAt");
        QTest::newRow("first-run place") << QPoint(67, 67);
        QTest::newRow("elsewhere") << QPoint(300, 150);
    }
    void placedFromTheMainWindowsCorner()
    {
        QFETCH(QPoint, mainAt);
        f.main->move(mainAt);
        QApplication::processEvents();
        Form6 box(f.main.get(), MemoryStatus{});
        // 4200 and 1600 twips at 15 twips a pixel: 280 and 106.7, rounded.
        QCOMPARE(box.pos(), f.main->frameGeometry().topLeft() + QPoint(280, 107));
    }

    // The pointer goes onto OK, with the About box's own caption allowance
    // (300 twips, 20 pixels) rather than the dialogs' 360.
    void pointerOnOK()
    {
        Form6 box(f.main.get(), MemoryStatus{});
        box.show();
        QApplication::processEvents();
        const QPoint button = box.Command1->mapTo(&box, QPoint(0, 0));
        const QPoint expected = box.frameGeometry().topLeft() + button
                                + QPoint(box.Command1->width() / 2 + 4, box.Command1->height() / 2 + 20);
        const QPoint off = QCursor::pos() - expected;
        QVERIFY2(qAbs(off.x()) <= 1 && qAbs(off.y()) <= 1,
                 qPrintable(QStringLiteral("pointer at %1,%2, expected %3,%4")
                                .arg(QCursor::pos().x()).arg(QCursor::pos().y()).arg(expected.x()).arg(expected.y())));
    }

    void okCloses()
    {
        Form6 box(f.main.get(), MemoryStatus{});
        box.show();
        box.Command1->click();
        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), int(QDialog::Accepted));
    }

    // Help, About: the box with this machine's memory, then the document's text has the keyboard.
    void aboutCommand()
    {
        QVERIFY(QTest::qWaitForWindowActive(f.main.get()));
        QLineEdit elsewhere(f.main.get());
        elsewhere.show();
        elsewhere.setFocus();
        QTRY_COMPARE(f.main->focusWidget(), static_cast<QWidget*>(&elsewhere));
        QString available;
        QString inUse;
        WhenModal<Form6> answer([&](Form6* box) {
            available = box->Label6->text();
            inUse = box->Label7->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        f.main->mnuHelpAbout->trigger();
        QVERIFY(answer.answered());
        QVERIFY2(QRegularExpression(QStringLiteral("^Physical Memory Available to Windows:  \\d{2,3}(,\\d{3})+ KB$"))
                     .match(available)
                     .hasMatch(),
                 qPrintable(available));
        QVERIFY2(QRegularExpression(QStringLiteral("^Physical Memory Currently In Use:  \\d{1,3}%$")).match(inUse).hasMatch(),
                 qPrintable(inUse));
        // The main window is not made active again here, so ask for the widget it gives the keyboard to.
        QCOMPARE(f.main->focusWidget(), static_cast<QWidget*>(f.text()));
        QVERIFY(!QApplication::activeModalWidget());
    }
};

PAGEWELL_TEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
