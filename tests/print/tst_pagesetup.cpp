// Page settings: loading from the store, the Page Setup dialog's boxes,
// OK, Cancel, Save and Default, its margin key filter and its refusals.
#include "PrintFixture.h"
#include "app/PointerPlacement.h"
#include "app/Units.h"
#include "print/frmPageSetup.h"

#include <QCursor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

using namespace print_test;

namespace {

const char* const Keys[6] = {"Header", "Footer", "Left", "Right", "Top", "Bottom"};

QString todayText()
{
    return QLocale().toString(QDate::currentDate(), QStringLiteral("dddd, MMMM dd, yyyy"));
}

QStringList storedKeys()
{
    QStringList values;
    for (const char* key : Keys)
        values << stored(key);
    return values;
}

QStringList boxes(const frmPageSetup* dialog)
{
    return {dialog->txtHeader->text(), dialog->txtFooter->text(), dialog->txtLeft->text(),
            dialog->txtRight->text(),  dialog->txtTop->text(),    dialog->txtBottom->text()};
}

QStringList inMemory()
{
    const PageSettings& s = pageSettings();
    const auto number = [](double value) { return QString::number(value); };
    return {s.PageHeader, s.PageFooter, number(s.MarginLeft), number(s.MarginRight),
            number(s.MarginTop), number(s.MarginBottom)};
}

QLineEdit* boxNamed(frmPageSetup* dialog, const QString& name)
{
    return dialog->findChild<QLineEdit*>(QStringLiteral("txt") + name);
}

// Runs a script of words on the dialog: "default", "ok", "save", "cancel",
// "esc", "close", or "Box=text" to replace a box's text (Header, Footer,
// Left, Right, Top, Bottom).
void play(frmPageSetup* dialog, const QString& script)
{
    for (const QString& step : script.split(u' ', Qt::SkipEmptyParts)) {
        if (step == QLatin1String("default"))
            dialog->Command2->click();
        else if (step == QLatin1String("ok"))
            dialog->cmdOK->click();
        else if (step == QLatin1String("save"))
            dialog->Command1->click();
        else if (step == QLatin1String("cancel"))
            dialog->cmdCancel->click();
        else if (step == QLatin1String("esc"))
            QTest::keyClick(dialog, Qt::Key_Escape);
        else if (step == QLatin1String("close"))
            dialog->close();
        else if (const qsizetype eq = step.indexOf(u'='); eq > 0)
            boxNamed(dialog, step.left(eq))->setText(step.mid(eq + 1));
        else
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
}

}  // namespace

class TestPageSetup : public QObject {
    Q_OBJECT

    Fixture f;

    // Page Setup with `act` run on the dialog; false if it never showed.
    bool pageSetupWith(std::function<void(frmPageSetup*)> act)
    {
        WhenModal<frmPageSetup> answer(std::move(act));
        f.main->FilePageSetup();
        return answer.answered();
    }

    void storeAll(const QStringList& values)
    {
        for (int i = 0; i < 6; ++i) {
            if (values[i] != Missing)
                store(Keys[i], values[i]);
        }
    }

private slots:
    void init() { f.start(); }
    void cleanupTestCase() { f.stop(); }

    void load_data()
    {
        QTest::addColumn<QStringList>("storedValues");  // Header ... Bottom
        QTest::addColumn<QStringList>("loaded");
        const QString M = Missing;
        QTest::newRow("empty store: built-in values")
            << QStringList{M, M, M, M, M, M} << QStringList{"&f", "Page &p", "0.75", "0.25", "0.5", "0"};
        QTest::newRow("empty keys: built-in values")
            << QStringList{"", "", "", "", "", ""} << QStringList{"&f", "Page &p", "0.75", "0.25", "0.5", "0"};
        QTest::newRow("None: no header or footer")
            << QStringList{"None", "None", M, M, M, M} << QStringList{"", "", "0.75", "0.25", "0.5", "0"};
        QTest::newRow("none in lower case is a text")
            << QStringList{"none", "NONE", M, M, M, M} << QStringList{"none", "NONE", "0.75", "0.25", "0.5", "0"};
        QTest::newRow("&d alone: today") << QStringList{"&d", "&d", M, M, M, M}
                                         << QStringList{todayText(), "&d", "0.75", "0.25", "0.5", "0"};
        QTest::newRow("&d inside: unchanged") << QStringList{"Date: &d", "- &p -", M, M, M, M}
                                              << QStringList{"Date: &d", "- &p -", "0.75", "0.25", "0.5", "0"};
        QTest::newRow("margins: their leading number")
            << QStringList{M, M, ".75", "1.5in", "abc", " 2"} << QStringList{"&f", "Page &p", "0.75", "1.5", "0", "2"};
        QTest::newRow("margins: two periods stop the number")
            << QStringList{M, M, "1..5", "0", "3.25.1", "10"} << QStringList{"&f", "Page &p", "1", "0", "3.25", "10"};
    }
    void load()
    {
        QFETCH(QStringList, storedValues);
        QFETCH(QStringList, loaded);
        storeAll(storedValues);
        pageSettings().PageHeader = QStringLiteral("stale");
        LoadPageSettings();
        QCOMPARE(inMemory(), loaded);
    }

    void dateHeader_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("header");
        QTest::newRow("two-digit day") << QDate(2026, 12, 4) << "Friday, December 04, 2026";
        QTest::newRow("leap day") << QDate(2024, 2, 29) << "Thursday, February 29, 2024";
    }
    void dateHeader()
    {
        QFETCH(QDate, date);
        QFETCH(QString, header);
        QCOMPARE(pageSettingsFromStored({QStringLiteral("&d"), {}, {}, {}, {}, {}}, date).PageHeader, header);
        QCOMPARE(expandDateHeader(QStringLiteral("&d "), date), QStringLiteral("&d "));
    }

    void marginTexts_data()
    {
        QTest::addColumn<double>("inches");
        QTest::addColumn<QString>("text");
        QTest::newRow("0.75") << 0.75 << "0.75";
        QTest::newRow("0.5") << 0.5 << "0.5";
        QTest::newRow("0") << 0.0 << "0";
        QTest::newRow("1") << 1.0 << "1";
        QTest::newRow("0.1, shortest") << 0.1 << "0.1";
        QTest::newRow("12.125") << 12.125 << "12.125";
        QTest::newRow("100000, no exponent") << 100000.0 << "100000";
    }
    void marginTexts()
    {
        QFETCH(double, inches);
        QFETCH(QString, text);
        QCOMPARE(marginBoxText(inches), text);
    }

    // The dialog starts from the store, whatever is in memory.
    void boxesShowTheStore_data()
    {
        QTest::addColumn<QStringList>("storedValues");
        QTest::addColumn<QStringList>("shown");
        const QString M = Missing;
        QTest::newRow("empty store") << QStringList{M, M, M, M, M, M}
                                     << QStringList{"&f", "Page &p", "0.75", "0.25", "0.5", "0"};
        QTest::newRow("stored texts") << QStringList{"None", "- &p -", ".75", "1.50", "2in", "x"}
                                      << QStringList{"", "- &p -", "0.75", "1.5", "2", "0"};
    }
    void boxesShowTheStore()
    {
        QFETCH(QStringList, storedValues);
        QFETCH(QStringList, shown);
        storeAll(storedValues);
        pageSettings().MarginLeft = 3;
        QStringList seen;
        QString tag;
        QVERIFY(pageSetupWith([&](frmPageSetup* dialog) {
            seen = boxes(dialog);
            tag = dialog->okTag();
            dialog->cmdCancel->click();
        }));
        QCOMPARE(seen, shown);
        QCOMPARE(tag, QStringLiteral("Cancel"));
    }

    void closing_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("memory");  // page settings afterwards
        QTest::addColumn<QStringList>("store");   // the six keys afterwards
        const QString M = Missing;
        const QStringList builtIn{"&f", "Page &p", "0.75", "0.25", "0.5", "0"};
        const QStringList nothingStored{M, M, M, M, M, M};
        QTest::newRow("Default then OK: applied, not stored")
            << "default ok" << QStringList{"&f", "Page &p", "0.75", "0.75", "0.5", "0"} << nothingStored;
        QTest::newRow("Default then Save: stored, not applied")
            << "Left=2 default save cancel" << builtIn << QStringList{"&f", "Page &p", ".75", ".75", ".5", "0"};
        QTest::newRow("Save writes None for empty texts")
            << "Header= Footer= Left=1.25 save cancel" << builtIn << QStringList{"None", "None", "1.25", "0.25", "0.5", "0"};
        QTest::newRow("Save then OK") << "Header=Report Top=1 save ok"
                                      << QStringList{"Report", "Page &p", "0.75", "0.25", "1", "0"}
                                      << QStringList{"Report", "Page &p", "0.75", "0.25", "1", "0"};
        QTest::newRow("OK with empty texts: no header or footer")
            << "Header= Footer= ok" << QStringList{"", "", "0.75", "0.25", "0.5", "0"} << nothingStored;
        QTest::newRow("OK with &d: today") << "Header=&d ok"
                                           << QStringList{todayText(), "Page &p", "0.75", "0.25", "0.5", "0"} << nothingStored;
        QTest::newRow("OK with a trailing period") << "Bottom=1.5 Top=2. ok"
                                                   << QStringList{"&f", "Page &p", "0.75", "0.25", "2", "1.5"} << nothingStored;
        QTest::newRow("Cancel") << "default Header=x cancel" << builtIn << nothingStored;
        QTest::newRow("Esc") << "Left=3 esc" << builtIn << nothingStored;
        QTest::newRow("close box") << "Left=3 close" << builtIn << nothingStored;
    }
    void closing()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, memory);
        QFETCH(QStringList, store);
        QString tag;
        bool stillOpen = false;
        QVERIFY(pageSetupWith([&](frmPageSetup* dialog) {
            play(dialog, script);
            tag = dialog->okTag();
            stillOpen = dialog->isVisible();
            if (stillOpen)
                dialog->reject();
        }));
        QVERIFY(!stillOpen);
        QCOMPARE(tag, script.endsWith(QLatin1String("ok")) ? QStringLiteral("OK") : QStringLiteral("Cancel"));
        QCOMPARE(inMemory(), memory);
        QCOMPARE(storedKeys(), store);
        QVERIFY(f.boxes->shown.isEmpty());
    }

    // Settings confirmed with OK but never saved are gone the next time.
    void reopeningStartsFromTheStore()
    {
        QVERIFY(pageSetupWith([](frmPageSetup* dialog) { play(dialog, "Left=2 Footer=F ok"); }));
        QCOMPARE(pageSettings().MarginLeft, 2.0);
        QStringList seen;
        QVERIFY(pageSetupWith([&](frmPageSetup* dialog) {
            seen = boxes(dialog);
            play(dialog, "cancel");
        }));
        QCOMPARE(seen, (QStringList{"&f", "Page &p", "0.75", "0.25", "0.5", "0"}));
        QCOMPARE(pageSettings().MarginLeft, 0.75);
    }

    void okRefusesAMargin_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty left") << "Left" << "";
        QTest::newRow("empty bottom") << "Bottom" << "";
        QTest::newRow("a lone period") << "Right" << ".";
        QTest::newRow("two periods left in place") << "Top" << "1..";
        QTest::newRow("pasted letters") << "Left" << "1in";
        QTest::newRow("a blank") << "Left" << " ";
        QTest::newRow("negative") << "Top" << "-1";
    }
    void okRefusesAMargin()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        bool openAfterRefusal = false;
        QString tagAfterRefusal;
        QVERIFY(pageSetupWith([&](frmPageSetup* dialog) {
            boxNamed(dialog, box)->setText(text);
            dialog->cmdOK->click();
            openAfterRefusal = dialog->isVisible();
            tagAfterRefusal = dialog->okTag();
            boxNamed(dialog, box)->setText(QStringLiteral("1"));
            dialog->cmdOK->click();
        }));
        QVERIFY(openAfterRefusal);
        QCOMPARE(tagAfterRefusal, QStringLiteral("Cancel"));
        QCOMPARE(f.boxes->shown.size(), 1);
        QCOMPARE(f.boxes->shown[0].prompt, QStringLiteral("Invalid margin entry!"));
        QCOMPARE(f.boxes->shown[0].style, int(vb::vbExclamation));
        QCOMPARE(f.boxes->shown[0].title, QStringLiteral("Pagewell"));
        // The corrected box was taken.
        const int index = QStringList{"Header", "Footer", "Left", "Right", "Top", "Bottom"}.indexOf(box);
        QCOMPARE(inMemory()[index], QStringLiteral("1"));
    }

    void keyFilter_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("result");
        QTest::newRow("1..5: the digit takes back the period") << "Left" << "" << 0 << "1..5" << "1.5";
        QTest::newRow("1.. stays until the next key") << "Right" << "" << 0 << "1.." << "1..";
        QTest::newRow("1.2.3") << "Top" << "" << 0 << "1.2.3" << "1.23";
        QTest::newRow("a third period") << "Bottom" << "" << 0 << "1...5" << "1.5";
        QTest::newRow("letters and signs refused") << "Left" << "" << 0 << "a1-b 2+e" << "12";
        QTest::newRow("a refused key still checks") << "Left" << "" << 0 << "2..x" << "2.";
        QTest::newRow("deletes before the caret, not the period") << "Left" << "1.5" << 0 << ".2" << "21.5";
        QTest::newRow("caret at the start: nothing to delete") << "Left" << "1..5" << 0 << "7" << "71..5";
        QTest::newRow("header takes anything") << "Header" << "" << 0 << "a.b..c-" << "a.b..c-";
        QTest::newRow("footer takes anything") << "Footer" << "" << 0 << "- &p -" << "- &p -";
    }
    void keyFilter()
    {
        QFETCH(QString, box);
        QFETCH(QString, start);
        QFETCH(int, caret);
        QFETCH(QString, typed);
        QFETCH(QString, result);
        frmPageSetup dialog;
        QLineEdit* edit = boxNamed(&dialog, box);
        edit->setText(start);
        edit->setCursorPosition(caret);
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), result);
    }

    void controlKeysPass()
    {
        frmPageSetup dialog;
        dialog.txtLeft->setText(QStringLiteral("1.25"));
        dialog.txtLeft->setCursorPosition(4);
        QTest::keyClick(dialog.txtLeft, Qt::Key_Backspace);
        QTest::keyClick(dialog.txtLeft, Qt::Key_Left);
        QTest::keyClick(dialog.txtLeft, Qt::Key_Delete);
        QCOMPARE(dialog.txtLeft->text(), QStringLiteral("1."));
        QVERIFY(dialog.txtMargin_KeyPress(dialog.txtLeft, QChar(8)));
        QVERIFY(!dialog.txtMargin_KeyPress(dialog.txtLeft, u','));
        QVERIFY(!dialog.txtMargin_KeyPress(dialog.txtLeft, QChar(0x0663)));  // an Arabic-Indic digit
    }

    void boxesSelectAllOnFocus_data()
    {
        QTest::addColumn<QString>("box");
        for (const char* name : Keys)
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void boxesSelectAllOnFocus()
    {
        QFETCH(QString, box);
        QString selected;
        QVERIFY(pageSetupWith([&](frmPageSetup* dialog) {
            QLineEdit* edit = boxNamed(dialog, box);
            edit->setText(QStringLiteral("12.5 text"));
            edit->setCursorPosition(2);
            dialog->cmdCancel->setFocus();
            edit->setFocus(Qt::MouseFocusReason);
            selected = edit->selectedText();
            dialog->cmdCancel->click();
        }));
        QCOMPARE(selected, QStringLiteral("12.5 text"));
    }

    void layoutOfTheDialog()
    {
        frmPageSetup dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Page Setup"));
        QCOMPARE(dialog.Frame1->title(), QStringLiteral("Margins"));
        QVERIFY(dialog.cmdOK->isDefault());
        QCOMPARE(dialog.okTag(), QStringLiteral("Cancel"));
        const QList<QPair<QLabel*, QLineEdit*>> pairs{{dialog.Label3, dialog.txtLeft},  {dialog.Label1, dialog.txtRight},
                                                      {dialog.Label4, dialog.txtTop},   {dialog.Label2, dialog.txtBottom},
                                                      {dialog.Label5, dialog.txtHeader}, {dialog.Label6, dialog.txtFooter}};
        const QStringList captions{"&Left:", "&Right:", "&Top:", "&Bottom:", "&Header:", "&Footer:"};
        for (int i = 0; i < pairs.size(); ++i) {
            QCOMPARE(pairs[i].first->text(), captions[i]);
            QCOMPARE(pairs[i].first->buddy(), pairs[i].second);
        }
        for (QLineEdit* margin : {dialog.txtLeft, dialog.txtRight, dialog.txtTop, dialog.txtBottom})
            QCOMPARE(margin->parentWidget(), dialog.Frame1);
        QCOMPARE(dialog.Command1->text(), QStringLiteral("&Save"));
        QCOMPARE(dialog.Command2->text(), QStringLiteral("&Default"));
        QCOMPARE(dialog.cmdCancel->text(), QStringLiteral("Cancel"));
    }

    void pointerGoesOntoOK()
    {
        QCursor::setPos(1, 1);
        QPoint expected, atOpen;
        QVERIFY(pageSetupWith([&](frmPageSetup* dialog) {
            QTRY_VERIFY(QCursor::pos() != QPoint(1, 1));
            atOpen = QCursor::pos();
            const double tx = units::twipsPerPixelX(), ty = units::twipsPerPixelY();
            const QPoint at = dialog->cmdOK->mapTo(dialog, QPoint(0, 0));
            const QRect frame = dialog->frameGeometry();
            expected = pointerTarget(frame.x() * tx, frame.y() * ty,
                                     {at.x() * tx, at.y() * ty, dialog->cmdOK->width() * tx, dialog->cmdOK->height() * ty},
                                     tx, ty);
            dialog->cmdCancel->click();
        }));
        QCOMPARE(atOpen, expected);
    }
};

PAGEWELL_TEST_MAIN(TestPageSetup)
#include "tst_pagesetup.moc"
