// Font, Color, Color Print, Word Wrap and Tab Set: what each does to the
// document and stores, with the common dialog answered by script and with the
// real font and colour dialogs driven through their widgets.
#include "MainWindowFixture.h"
#include "app/frmMain.h"
#include "core/OleColor.h"
#include "core/Settings.h"
#include "document/RichTextBox.h"
#include "document/TabStops.h"
#include "document/frmDocument.h"
#include "format/CommonFontDialog.h"
#include "format/FontFamilies.h"
#include "format/frmTab.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>

using testsupport::MainWindowFixture;
using testsupport::WhenModal;

namespace {

const QString Missing = QStringLiteral("<missing>");
QString stored(const char* section, const char* key) { return GetSetting(AppTitle, section, key, Missing); }

// A character format: face, size, bold, italic, underline, strike-out, colour.
using Look = std::tuple<QString, double, bool, bool, bool, bool, qint32>;

void choose(CommonDialog& d, const Look& look)
{
    std::tie(d.FontName, d.FontSize, d.FontBold, d.FontItalic, d.FontUnderline, d.FontStrikethru, d.Color) = look;
}

// The look of every character, as the Sel properties show it.
QList<Look> looks(RichTextBox& text)
{
    const int start = text.SelStart(), length = text.SelLength();
    QList<Look> all;
    for (int i = 0; i < text.TextLength(); ++i) {
        text.SetSel(i, i + 1);
        all << Look{text.SelFontName(), text.SelFontSize(), text.SelBold(), text.SelItalic(), text.SelUnderline(),
                    text.SelStrikeThru(), text.SelColor()};
    }
    text.SetSel(start, start + length);
    return all;
}

Look lookOf(const CommonDialog& d)
{
    return {d.FontName, d.FontSize, d.FontBold, d.FontItalic, d.FontUnderline, d.FontStrikethru, d.Color};
}

QList<int> stopsOf(const RichTextBox& text)
{
    QList<int> stops;
    for (int i = 0; i < text.SelTabCount(); ++i)
        stops << text.SelTabs(i);
    return stops;
}

}  // namespace

Q_DECLARE_METATYPE(Look)

class TestFormat : public QObject {
    Q_OBJECT

    MainWindowFixture f;
    QList<CommonDialog> presets;  // every font or colour dialog as the program preset it
    const Look Red{QStringLiteral("Liberation Serif"), 14, true, false, false, false, 255};
    const Look All{QStringLiteral("DejaVu Sans Mono"), 20, false, true, true, true, 0x00FF00};

    Look plain() const
    {
        return {QStringLiteral("Arial"), 9.75, false, false, false, false,
                olecolor::fromQColor(f.text()->palette().color(QPalette::Text))};
    }
    // The next dialog plays the user's choice and accepts; no choice cancels.
    void answer(const std::function<void(CommonDialog&)>& choice = {})
    {
        f.dialogs->onCall = [this, choice](const CommonDialog& shown) {
            presets << shown;
            if (choice)
                choice(const_cast<CommonDialog&>(shown));  // the program's own dialog, not a copy
        };
        choice ? f.dialogs->choose() : f.dialogs->cancel();
    }
    // Runs a command with the keyboard elsewhere; it must come back to the text.
    void run(QAction* command)
    {
        f.main->sbStatusBar->setFocusPolicy(Qt::StrongFocus);
        f.main->sbStatusBar->setFocus();
        command->trigger();
        QApplication::processEvents();
        QCOMPARE(f.main->focusWidget(), static_cast<QWidget*>(f.text()));
    }

    // Opens Tab Set from the menu and lets act answer the dialog.
    bool tabSetWith(std::function<void(frmTab*)> act, int limitMs = 10000)
    {
        WhenModal<frmTab> answer(std::move(act), limitMs);
        f.main->item("mnuTab")->trigger();
        return answer.answered();
    }
    QString storedCount() const { return GetSetting(AppTitle, "Tab Set", "Tab", "<missing>"); }

private slots:
    void init()
    {
        presets.clear();
        f.start();
        f.boxes->defaultAnswer = vb::vbNo;  // changed documents close unsaved
    }
    void cleanup() { f.stop(); }

    // With nothing selected the choice becomes the whole text's font, also
    // for words formatted on their own, and what is typed next. The dialog
    // opens on the text's own font, with the stored colour or else the one it held.
    void fontForTheWholeText_data()
    {
        QTest::addColumn<Look>("choice");
        QTest::addColumn<QString>("mark");  // the changed mark beforehand
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("storedColor");  // Missing: never written
        QTest::addColumn<qint32>("held");          // the shared dialog's colour beforehand
        QTest::addColumn<qint32>("preset");
        QTest::newRow("red bold, clean, stored red") << Red << "" << 7 << "255" << qint32(0x123456) << qint32(255);
        QTest::newRow("every effect, changed, nothing stored") << All << "x" << 3 << Missing << qint32(0x123456) << qint32(0x123456);
        QTest::newRow("stored empty") << Red << "x" << 0 << "" << olecolor::SystemWindow << olecolor::SystemWindow;
    }
    void fontForTheWholeText()
    {
        QFETCH(Look, choice);
        QFETCH(QString, mark);
        QFETCH(int, caret);
        QFETCH(QString, storedColor);
        QFETCH(qint32, held);
        QFETCH(qint32, preset);
        if (storedColor != Missing)
            testsupport::putSetting("Font", "Color", storedColor);
        testsupport::putSetting("Color", "Color", QString::number(olecolor::SystemWindow));  // new documents read the font keys
        QFont base(QStringLiteral("Liberation Mono"));
        base.setPointSizeF(11.5);
        base.setItalic(true);
        f.text()->setFont(base);
        f.main->dlgCommonDialog.Color = held;
        f.main->dlgCommonDialog.FontUnderline = f.main->dlgCommonDialog.FontStrikethru = true;
        f.type(QStringLiteral("ab cd\ref"));
        f.text()->SetSel(3, 5);
        f.text()->setSelFontName(QStringLiteral("DejaVu Sans"));
        f.text()->setSelBold(!std::get<2>(choice));
        f.text()->setSelFontSize(30);
        f.text()->setSelUnderline(!std::get<4>(choice));
        f.text()->setSelStart(caret);
        f.active()->setLabel1(mark);
        answer([choice](CommonDialog& d) { choose(d, choice); });
        f.main->tbToolBar_ButtonClick(QStringLiteral("Font"));
        QCOMPARE(lookOf(presets.value(0)), (Look{"Liberation Mono", 11.5, false, true, true, true, preset}));
        QCOMPARE(f.text()->Text(), QStringLiteral("ab cd\r\nef"));
        QCOMPARE(looks(*f.text()), QList<Look>(9, choice));
        QCOMPARE(QPoint(f.text()->SelStart(), f.text()->SelLength()), QPoint(0, 0));
        QVERIFY(!f.text()->CanUndo());
        QCOMPARE(f.active()->Label1(), mark);
        QCOMPARE(stored("Font", "Color"), QString::number(std::get<6>(choice)));
        // A second choice reaches all of it again; typing and the next document follow.
        answer([this](CommonDialog& d) { choose(d, All); });
        run(f.main->item("mnuFont"));
        f.text()->setSelStart(f.text()->TextLength());
        f.type(QStringLiteral("gh"));
        QCOMPARE(looks(*f.text()), QList<Look>(11, All));
        QCOMPARE(f.main->NewDocument()->txtText->SelColor(), std::get<6>(All));
    }

    // Font on a selection formats just that; Color sets the background only
    // and always opens on the system window colour; a cancel changes nothing,
    // whatever the shared dialog holds.
    void selectionAndBackground_data()
    {
        QTest::addColumn<bool>("font");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::newRow("Font, middle word") << true << true << 6 << 3;
        QTest::newRow("Font, first letter") << true << true << 0 << 1;
        QTest::newRow("Font, a blank and part of a word") << true << true << 9 << 4;
        QTest::newRow("Font cancelled, nothing selected") << true << false << 2 << 0;
        QTest::newRow("Font cancelled, a selection") << true << false << 2 << 4;
        QTest::newRow("Color") << false << true << 2 << 0;
        QTest::newRow("Color cancelled") << false << false << 2 << 4;
    }
    void selectionAndBackground()
    {
        QFETCH(bool, font);
        QFETCH(bool, accept);
        QFETCH(int, start);
        QFETCH(int, length);
        f.type(QStringLiteral("plain red plain\rnext"));  // 21 offsets
        f.text()->setBackColor(0x00C0C0C0);
        f.text()->SetSel(start, start + length);
        const QString mark = font && accept ? "x" : "";
        f.active()->setLabel1(mark);
        const QString before = f.text()->document()->toHtml();
        const QFont base = f.text()->Font();
        f.main->dlgCommonDialog.Color = 255;
        f.main->dlgCommonDialog.FontUnderline = true;
        if (accept)
            answer([this, font](CommonDialog& d) { font ? choose(d, All) : void(d.Color = 0x00E0FFF0); });
        else
            answer();
        run(font ? f.main->item("mnuFont") : f.main->item("mnuColor"));
        QCOMPARE(presets.size(), 1);
        if (!font)
            QCOMPARE(presets[0].Color, olecolor::SystemWindow);
        QList<Look> expected(21, plain());
        for (int i = start; font && accept && i < start + length; ++i)
            expected[i] = All;
        QCOMPARE(looks(*f.text()), expected);
        if (!font || !accept)
            QCOMPARE(f.text()->document()->toHtml(), before);
        QCOMPARE(f.text()->Font(), base);
        const qint32 background = accept && !font ? 0x00E0FFF0 : 0x00C0C0C0;
        QCOMPARE(f.text()->BackColor(), background);
        QCOMPARE(f.text()->viewport()->palette().color(f.text()->viewport()->backgroundRole()), olecolor::toQColor(background));
        QCOMPARE(QPoint(f.text()->SelStart(), f.text()->SelLength()), QPoint(start, length));
        QVERIFY(f.text()->CanUndo());
        QCOMPARE(f.active()->Label1(), mark);
        QCOMPARE(stored("Font", "Color") + stored("Color", "Color"), Missing + Missing);
    }

    // Color Print only flips its own mark; every index flips item 0; a new
    // run starts without it.
    void colorPrint()
    {
        QAction* item = f.main->item("mnuColorPrint", 0);
        f.type(QStringLiteral("abc"));
        const QString before = f.text()->document()->toHtml();
        QList<bool> marks{item->isChecked()};
        for (int index : {-1, 1, 0, 1}) {  // -1: the menu item itself
            index < 0 ? item->trigger() : f.main->mnuColorPrint_Click(index);
            marks << item->isChecked();
        }
        QCOMPARE(marks, (QList<bool>{false, true, false, true, false}));
        QCOMPARE(f.text()->document()->toHtml(), before);
        QVERIFY(!QFile::exists(settingsFilePath(AppTitle)));
        QVERIFY(f.main->close());
        f.restart();
        QVERIFY(!f.main->item("mnuColorPrint", 0)->isChecked());
    }

    // Word Wrap puts the margin at 95 % of the control, half to even.
    // ---- the real dialogs ----------------------------------------------

    // Shown and taken back unchanged, the presets come out as they went in.
    void fontDialogRoundTrip_data()
    {
        QTest::addColumn<Look>("look");
        QTest::addColumn<QString>("shown");  // listed family, style and colour entry
        QTest::newRow("editor default") << Look{"Arial", 9.75, false, false, false, false, 0} << "Liberation Sans Regular Black";
        QTest::newRow("stored red") << Look{"DejaVu Sans", 12, true, false, true, true, 255} << "DejaVu Sans Bold Red";
        QTest::newRow("custom colour") << Look{"DejaVu Serif", 36, false, true, false, false, 0x123456}
                                       << "DejaVu Serif Italic Custom";
        QTest::newRow("bold italic") << Look{"Liberation Serif", 8.5, true, true, true, true, 0xFF0000}
                                     << "Liberation Serif Bold Italic Blue";
    }
    void fontDialogRoundTrip()
    {
        QFETCH(Look, look);
        QFETCH(QString, shown);
        CommonDialog preset;
        choose(preset, look);
        preset.Flags = 0x107;
        CommonFontDialog dialog;
        dialog.load(preset);
        QCOMPARE(dialog.txtFontName->text(), std::get<0>(look));
        QCOMPARE(dialog.lstFontName->currentItem()->text() + u' ' + dialog.lstFontStyle->currentItem()->text() + u' '
                     + dialog.cboColor->currentText(),
                 shown);
        CommonDialog result;
        result.Flags = preset.Flags;
        dialog.store(result);
        QCOMPARE(lookOf(result), look);
    }

    // Families from several foundries are listed once, by their plain name,
    // and that name gives the family again.
    void fontFamiliesByPlainNames()
    {
        const QStringList merged{"C059 [UKWN]", "Nimbus Sans", "C059 [urw]", "Nimbus Sans [urw]", "D050000L [URW ]"};
        QCOMPARE(fontfamilies::plain(merged), (QStringList{"C059", "Nimbus Sans", "D050000L"}));
        const QStringList untouched{"A [b] C", "[x]", "Odd[y]", "Serif"};
        QCOMPARE(fontfamilies::plain(untouched), untouched);
        for (const QString& family : QFontDatabase::families()) {
            const QString name = fontfamilies::plain(family);
            if (name != family)
                QCOMPARE(fontfamilies::plain(QFontInfo(QFont(name)).family()), name);
        }
    }

    // The commands with the real dialogs: Font formats the selection, Color
    // takes the chosen background, Help asks for topic 2.
    void commandsWithTheRealDialogs()
    {
        setCommonDialogBackend(nullptr);
        testsupport::putSetting("Font", "Color", "255");
        f.type(QStringLiteral("plain RED plain"));
        f.text()->SetSel(6, 9);
        QList<int> topics;
        setCommonDialogHelp([&](const CommonDialog& asked) { topics << asked.HelpContext; });
        WhenModal<CommonFontDialog> font([&](CommonFontDialog* dialog) {
            dialog->cmdHelp->click();
            dialog->txtFontName->selectAll();
            QTest::keyClicks(dialog->txtFontName, QStringLiteral("DejaVu Serif"));
            dialog->txtFontSize->selectAll();
            QTest::keyClicks(dialog->txtFontSize, QStringLiteral("14"));
            dialog->lstFontStyle->setCurrentRow(2);  // Bold
            dialog->cmdOK->click();
        });
        f.main->item("mnuFont")->trigger();
        QVERIFY(font.answered());
        QCOMPARE(looks(*f.text()), QList<Look>(6, plain()) + QList<Look>(3, Look{"DejaVu Serif", 14, true, false, false, false, 255})
                                       + QList<Look>(6, plain()));
        f.text()->setBackColor(0x00FFFF);
        QColor offered;
        WhenModal<QColorDialog> colour([&](QColorDialog* dialog) {
            offered = dialog->currentColor();
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
            dialog->setCurrentColor(QColor(0xE0, 0xFF, 0xFF));
            dialog->accept();
        });
        f.main->item("mnuColor")->trigger();
        setCommonDialogHelp({});
        QVERIFY(colour.answered());
        QCOMPARE(offered, QApplication::palette().color(QPalette::Base));
        QCOMPARE(f.text()->BackColor(), qint32(0xFFFFE0));
        QCOMPARE(topics, (QList<int>{2, 2}));
    }
    // ---- Tab Set -------------------------------------------------------

    // Set (by button or Enter) spaces the stops evenly across the control,
    // keeps the choice for the next document and the next time, and gives the
    // keyboard back to the text; Cancel and Esc change nothing. The dialog
    // preselects the stored count when it is one of its entries, else 4.
    void tabSet_data()
    {
        QTest::addColumn<QString>("before");  // the stored count
        QTest::addColumn<int>("entry");  // -1: the preselection
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("count");  // 0: nothing set
        QTest::newRow("preselected 4") << Missing << -1 << "Set" << 4;
        QTest::newRow("stored 7 preselected") << " 7" << -1 << "Set" << 7;
        QTest::newRow("stored 6 without a blank") << "6" << -1 << "Set" << 6;
        QTest::newRow("stored 0 is no entry") << " 0" << -1 << "Set" << 4;
        QTest::newRow("stored 11 is no entry") << " 11" << -1 << "Enter" << 4;
        QTest::newRow("stored words") << "many" << -1 << "Set" << 4;
        QTest::newRow("10") << Missing << 9 << "Set" << 10;
        QTest::newRow("1") << " 7" << 0 << "Set" << 1;
        QTest::newRow("2 by Enter") << Missing << 1 << "Enter" << 2;
        QTest::newRow("Cancel") << " 5" << 7 << "Cancel" << 0;
        QTest::newRow("Esc") << Missing << 7 << "Esc" << 0;
    }
    void tabSet()
    {
        QFETCH(QString, before);
        QFETCH(int, entry);
        QFETCH(QString, answer);
        QFETCH(int, count);
        if (before != Missing)
            testsupport::putSetting("Tab Set", "Tab", before);
        f.text()->setText(QStringLiteral("a\tb"));
        f.text()->setSelTabCount(2);
        f.text()->setSelTabs(0, 700);
        f.text()->setSelTabs(1, 1400);
        f.main->sbStatusBar->setFocusPolicy(Qt::StrongFocus);
        f.main->sbStatusBar->setFocus();
        QVERIFY(tabSetWith([=](frmTab* dialog) {
            if (entry >= 0)
                dialog->Combo1->setCurrentIndex(entry);
            if (answer.startsWith(u'E'))
                QTest::keyClick(dialog, answer == QLatin1String("Esc") ? Qt::Key_Escape : Qt::Key_Return);
            else
                (answer == QLatin1String("Set") ? dialog->Command1 : dialog->Command2)->click();
        }));
        QVERIFY(f.text()->Width() > 1000);
        QCOMPARE(stopsOf(*f.text()), count ? evenTabStops(f.text()->Width(), count) : QList<int>({700, 1400}));
        QCOMPARE(storedCount(), count ? u' ' + QString::number(count) : before);
        if (!count)
            return;
        QApplication::processEvents();
        QCOMPARE(f.main->focusWidget(), static_cast<QWidget*>(f.text()));
        QCOMPARE(f.main->NewDocument()->txtText->SelTabCount(), count);
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

    void withoutADocumentNothingOpens()
    {
        f.main->item("mnuFileItem", 3)->trigger();  // Close
        QApplication::processEvents();
        QCOMPARE(f.documentCount(), 0);
        QVERIFY(!tabSetWith([](frmTab* dialog) { dialog->Command2->click(); }, 300));
    }
};

PAGEWELL_TEST_MAIN(TestFormat)
#include "tst_format.moc"
