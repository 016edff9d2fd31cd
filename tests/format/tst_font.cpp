// Font, Color, Color Print and the Word Wrap margin: what each does to the
// document and stores, first with the common dialog answered by script, then
// the real font and colour dialogs driven through their widgets.
#include "MainWindowFixture.h"
#include "app/Settings.h"
#include "app/frmMain.h"
#include "document/OleColor.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "format/ClassicColors.h"
#include "format/CommonFontDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>

using testsupport::MainWindowFixture;
using testsupport::WhenModal;

namespace {

const QString Missing = QStringLiteral("<missing>");
QString stored(const char* section, const char* key) { return GetSetting(AppTitle, section, key, Missing); }

// The font and colour dialogs answered by script: each answer may change
// the dialog's values (the user's choice) and accepts, or cancels. Every
// call is kept with the values the program had preset.
class ScriptedFormatDialogs : public CommonDialogBackend {
public:
    ScriptedFormatDialogs() : m_previous(commonDialogBackend()) { setCommonDialogBackend(this); }
    ~ScriptedFormatDialogs() override { setCommonDialogBackend(m_previous); }
    void choose(std::function<void(CommonDialog&)> change) { m_answers.append(change); }
    void cancel() { m_answers.append(nullptr); }
    QList<std::pair<int, CommonDialog>> calls;

    bool showOpen(CommonDialog& d, QWidget*) override { return answer(d, CommonDialog::cdlOpen); }
    bool showSave(CommonDialog& d, QWidget*) override { return answer(d, CommonDialog::cdlSave); }
    bool showColor(CommonDialog& d, QWidget*) override { return answer(d, CommonDialog::cdlColor); }
    bool showFont(CommonDialog& d, QWidget*) override { return answer(d, CommonDialog::cdlFont); }
    bool showPrintSetup(CommonDialog& d, QWidget*) override { return answer(d, CommonDialog::cdlPrintSetup); }

private:
    bool answer(CommonDialog& dialog, int action)
    {
        calls.append({action, dialog});
        const auto change = m_answers.isEmpty() ? nullptr : m_answers.takeFirst();
        if (change)
            change(dialog);
        return bool(change);
    }
    QList<std::function<void(CommonDialog&)>> m_answers;
    CommonDialogBackend* m_previous;
};

// A character format: face, size, bold, italic, underline, strike-out, colour.
using Look = std::tuple<QString, double, bool, bool, bool, bool, qint32>;

void choose(CommonDialog& d, const Look& look)
{
    std::tie(d.FontName, d.FontSize, d.FontBold, d.FontItalic, d.FontUnderline, d.FontStrikethru, d.Color) = look;
}

// The look of every character, as the Sel properties show it, one string each.
QStringList looks(RichTextBox& text)
{
    const int start = text.SelStart(), length = text.SelLength();
    QStringList all;
    for (int i = 0; i < text.TextLength(); ++i) {
        text.SetSel(i, i + 1);
        all << QStringLiteral("%1 %2 %3%4%5%6 %7").arg(text.SelFontName()).arg(text.SelFontSize()).arg(text.SelBold())
                   .arg(text.SelItalic()).arg(text.SelUnderline()).arg(text.SelStrikeThru()).arg(text.SelColor());
    }
    text.SetSel(start, start + length);
    return all;
}

QStringList repeated(int count, const Look& look)
{
    const auto& [name, size, bold, italic, underline, strike, color] = look;
    return QStringList(count, QStringLiteral("%1 %2 %3%4%5%6 %7").arg(name).arg(size).arg(bold).arg(italic)
                                  .arg(underline).arg(strike).arg(color));
}

}  // namespace

Q_DECLARE_METATYPE(Look)

class TestFont : public QObject {
    Q_OBJECT

    MainWindowFixture f;
    std::unique_ptr<ScriptedFormatDialogs> dialogs;
    const Look Red{QStringLiteral("Liberation Serif"), 14, true, false, false, false, 255};
    const Look All{QStringLiteral("DejaVu Sans Mono"), 20, false, true, true, true, 0x00FF00};

    Look plain() const
    {
        return {QStringLiteral("Arial"), 9.75, false, false, false, false,
                olecolor::fromQColor(f.text()->palette().color(QPalette::Text))};
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

private slots:
    void initTestCase()
    {
        for (const char* family : {"DejaVu Sans", "DejaVu Serif", "Liberation Serif"})
            QVERIFY2(QFontDatabase::hasFamily(family), family);
    }
    void init()
    {
        dialogs.reset();
        f.start();
        f.boxes->defaultAnswer = vb::vbNo;  // changed documents close unsaved
        dialogs = std::make_unique<ScriptedFormatDialogs>();
    }
    void cleanup()
    {
        dialogs.reset();
        f.stop();
    }

    void fontDialogPresets_data()
    {
        QTest::addColumn<QString>("storedColor");  // Missing: never written
        QTest::addColumn<qint32>("held");          // the shared dialog's colour beforehand
        QTest::addColumn<qint32>("preset");
        QTest::newRow("stored red") << "255" << qint32(0x123456) << qint32(255);
        QTest::newRow("stored blue") << "16711680" << qint32(0) << qint32(0xFF0000);
        QTest::newRow("nothing stored keeps the held colour") << Missing << qint32(0x123456) << qint32(0x123456);
        QTest::newRow("empty keeps the held colour") << "" << olecolor::SystemWindow << olecolor::SystemWindow;
    }
    void fontDialogPresets()
    {
        QFETCH(QString, storedColor);
        QFETCH(qint32, held);
        QFETCH(qint32, preset);
        if (storedColor != Missing)
            testsupport::putSetting("Font", "Color", storedColor);
        QFont base(QStringLiteral("Liberation Mono"));
        base.setPointSizeF(11.5);
        base.setItalic(true);
        f.text()->setFont(base);
        f.main->dlgCommonDialog.Color = held;
        f.main->dlgCommonDialog.FontUnderline = f.main->dlgCommonDialog.FontStrikethru = held != 0;
        f.main->dlgCommonDialog.CancelError = false;
        dialogs->cancel();
        f.main->tbToolBar_ButtonClick(QStringLiteral("Font"));
        QCOMPARE(dialogs->calls.size(), 1);
        const auto& [action, d] = dialogs->calls[0];
        QCOMPARE(action, int(CommonDialog::cdlFont));
        QCOMPARE((Look{d.FontName, d.FontSize, d.FontBold, d.FontItalic, d.FontUnderline, d.FontStrikethru, d.Color}),
                 (Look{"Liberation Mono", 11.5, false, true, held != 0, held != 0, preset}));
        QCOMPARE(QList<int>({d.Flags, d.CancelError, d.HelpCommand, d.HelpContext}),
                 QList<int>({0x107, true, CommonDialog::cdlHelpContext, 2}));
        QVERIFY2(d.HelpFile.endsWith(QLatin1String("/Pagewell.hlp")), qPrintable(d.HelpFile));
    }

    // With nothing selected the choice becomes the whole text's font, also
    // for words formatted on their own, and what is typed next.
    void fontForTheWholeText_data()
    {
        QTest::addColumn<Look>("choice");
        QTest::addColumn<QString>("mark");  // the changed mark beforehand
        QTest::addColumn<int>("caret");
        QTest::newRow("red bold, clean") << Red << "" << 7;
        QTest::newRow("every effect, changed") << All << "x" << 3;
        QTest::newRow("plain, caret at the start") << Look{"Arial", 9.75, false, false, false, false, 0} << "x" << 0;
    }
    void fontForTheWholeText()
    {
        QFETCH(Look, choice);
        QFETCH(QString, mark);
        QFETCH(int, caret);
        testsupport::putSetting("Color", "Color", QString::number(olecolor::SystemWindow));  // new documents read the font keys
        f.type(QStringLiteral("ab cd\ref"));
        f.text()->SetSel(3, 5);
        f.text()->setSelFontName(QStringLiteral("Liberation Mono"));
        f.text()->setSelBold(!std::get<2>(choice));
        f.text()->setSelFontSize(30);
        f.text()->setSelUnderline(!std::get<4>(choice));
        f.text()->setSelStart(caret);
        f.active()->setLabel1(mark);
        dialogs->choose([choice](CommonDialog& d) { choose(d, choice); });
        run(f.main->mnuFont);
        QCOMPARE(f.text()->Text(), QStringLiteral("ab cd\r\nef"));
        QCOMPARE(looks(*f.text()), repeated(9, choice));
        QCOMPARE(QPoint(f.text()->SelStart(), f.text()->SelLength()), QPoint(0, 0));
        QVERIFY(!f.text()->CanUndo());
        QCOMPARE(f.active()->Label1(), mark);
        QCOMPARE(stored("Font", "Color"), QString::number(std::get<6>(choice)));
        const QFont base = f.text()->Font();
        QCOMPARE((Look{base.family(), base.pointSizeF(), base.bold(), base.italic(), false, false, 0}),
                 (Look{std::get<0>(choice), std::get<1>(choice), std::get<2>(choice), std::get<3>(choice), false, false, 0}));
        QVERIFY(f.main->updatesEnabled());
        // A second choice reaches all of it again; typing and the next document follow.
        dialogs->choose([this](CommonDialog& d) { choose(d, All); });
        run(f.main->mnuFont);
        f.text()->setSelStart(f.text()->TextLength());
        f.type(QStringLiteral("gh"));
        QCOMPARE(looks(*f.text()), repeated(11, All));
        QCOMPARE(f.main->NewDocument()->txtText->SelColor(), std::get<6>(All));
    }

    // A new base font replaces the faces and sizes of formatted text but not
    // its colours and effects, even while the text is selected.
    void baseFontKeepsColoursAndEffects()
    {
        f.type(QStringLiteral("one two"));
        f.text()->SetSel(4, 7);
        f.text()->setSelFontName(QStringLiteral("Liberation Mono"));
        f.text()->setSelFontSize(20);
        f.text()->setSelColor(255);
        f.text()->setSelUnderline(true);
        f.text()->SetSel(0, 7);
        QFont base(QStringLiteral("DejaVu Serif"));
        base.setPointSizeF(13);
        f.text()->setFont(base);
        QCOMPARE(looks(*f.text()), repeated(4, {"DejaVu Serif", 13, false, false, false, false, std::get<6>(plain())})
                                       + repeated(3, {"DejaVu Serif", 13, false, false, true, false, 255}));
        QCOMPARE(f.text()->SelLength(), 7);
    }

    void fontForTheSelection_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::newRow("middle word") << 6 << 3;
        QTest::newRow("first letter") << 0 << 1;
        QTest::newRow("a blank and part of a word") << 9 << 4;
    }
    void fontForTheSelection()
    {
        QFETCH(int, start);
        QFETCH(int, length);
        f.type(QStringLiteral("plain red plain\rnext"));  // 21 offsets
        f.text()->SetSel(start, start + length);
        f.active()->setLabel1(QStringLiteral("x"));
        dialogs->choose([this](CommonDialog& d) { choose(d, All); });
        run(f.main->mnuFont);
        QStringList expected = repeated(21, plain());
        for (int i = start; i < start + length; ++i)
            expected[i] = repeated(1, All).first();
        QCOMPARE(looks(*f.text()), expected);
        QCOMPARE(f.text()->Font().family() + f.text()->Font().toString().section(u',', 1, 1), QStringLiteral("Arial9.75"));
        QVERIFY(f.text()->CanUndo());
        QCOMPARE(f.active()->Label1(), QStringLiteral("x"));
        QCOMPARE(stored("Font", "Color"), Missing);
    }

    // What the shared dialog holds must not reach the text on a cancel.
    void cancelChangesNothing_data()
    {
        QTest::addColumn<bool>("font");
        QTest::addColumn<int>("length");
        QTest::newRow("Font, nothing selected") << true << 0;
        QTest::newRow("Font, a selection") << true << 4;
        QTest::newRow("Color") << false << 0;
    }
    void cancelChangesNothing()
    {
        QFETCH(bool, font);
        QFETCH(int, length);
        f.type(QStringLiteral("some text"));
        f.text()->setBackColor(0x00C0C0C0);
        f.text()->SetSel(2, 2 + length);
        const QString before = f.text()->document()->toHtml();
        const QFont base = f.text()->Font();
        f.main->dlgCommonDialog.Color = 255;
        f.main->dlgCommonDialog.FontUnderline = true;
        dialogs->cancel();
        run(font ? f.main->mnuFont : f.main->mnuColor);
        QCOMPARE(dialogs->calls.size(), 1);
        QCOMPARE(f.text()->document()->toHtml(), before);
        QCOMPARE(f.text()->Font(), base);
        QCOMPARE(f.text()->BackColor(), qint32(0x00C0C0C0));
        QCOMPARE(QPoint(f.text()->SelStart(), f.text()->SelLength()), QPoint(2, length));
        QVERIFY(f.text()->CanUndo());
        QCOMPARE(f.active()->Label1(), QStringLiteral("x"));
        QCOMPARE(stored("Font", "Color") + stored("Color", "Color"), Missing + Missing);
    }

    // Color always opens on the system window colour and sets the background only.
    void colourSetsTheBackground_data()
    {
        QTest::addColumn<qint32>("background");
        QTest::addColumn<qint32>("held");
        QTest::addColumn<QString>("mark");
        QTest::newRow("first use") << olecolor::SystemWindow << qint32(0) << "";
        QTest::newRow("after a change") << qint32(0x00E0FFFF) << qint32(0x00E0FFFF) << "x";
        QTest::newRow("after a font colour") << qint32(0x123456) << qint32(255) << "";
    }
    void colourSetsTheBackground()
    {
        QFETCH(qint32, background);
        QFETCH(qint32, held);
        QFETCH(QString, mark);
        f.type(QStringLiteral("abc"));
        f.active()->setLabel1(mark);
        f.text()->setBackColor(background);
        f.main->dlgCommonDialog.Color = held;
        f.main->dlgCommonDialog.Flags = 0x1016;
        const QString before = f.text()->document()->toHtml();
        dialogs->choose([](CommonDialog& d) { d.Color = 0x00E0FFF0; });
        run(f.main->mnuColor);
        const CommonDialog& preset = dialogs->calls.value(0).second;
        QCOMPARE(dialogs->calls.value(0).first, int(CommonDialog::cdlColor));
        QCOMPARE(olecolor::toQColor(preset.Color), QApplication::palette().color(QPalette::Base));
        QCOMPARE(QList<int>({preset.Color, preset.Flags, preset.CancelError, preset.HelpContext}),
                 QList<int>({olecolor::SystemWindow, 9, true, 2}));
        QCOMPARE(f.text()->BackColor(), qint32(0x00E0FFF0));
        QCOMPARE(f.text()->viewport()->palette().color(f.text()->viewport()->backgroundRole()), QColor(0xF0, 0xFF, 0xE0));
        QCOMPARE(f.text()->document()->toHtml(), before);
        QCOMPARE(f.active()->Label1(), mark);
        QCOMPARE(stored("Color", "Color"), Missing);
        QVERIFY(f.text()->CanUndo());
    }

    // Color Print only flips its own mark; every index flips item 0; a new
    // run starts without it.
    void colorPrint()
    {
        QAction* item = f.main->mnuColorPrint[0];
        f.type(QStringLiteral("abc"));
        const QString before = f.text()->document()->toHtml();
        QList<bool> marks{item->isChecked()};
        item->trigger();
        marks << item->isChecked();
        for (int index : {1, 0, 1}) {
            f.main->mnuColorPrint_Click(index);
            marks << item->isChecked();
        }
        QCOMPARE(marks, (QList<bool>{false, true, false, true, false}));
        QCOMPARE(f.text()->document()->toHtml(), before);
        QVERIFY(f.main->mnuWrap->isChecked());
        QVERIFY(dialogs->calls.isEmpty());
        QVERIFY(!QFile::exists(settingsFilePath(AppTitle)));
        QVERIFY(f.main->close());
        f.restart();
        QVERIFY(!f.main->mnuColorPrint[0]->isChecked());
    }

    // Word Wrap puts the margin at 95 % of the control, half to even.
    void wordWrapMargin_data()
    {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("margin");
        QTest::newRow("9000 twips") << 600 << 8550;
        QTest::newRow("9990 twips: 9490.5 to even") << 666 << 9490;
        QTest::newRow("10005 twips: 9504.75 up") << 667 << 9505;
    }
    void wordWrapMargin()
    {
        QFETCH(int, pixels);
        QFETCH(int, margin);
        QWidget* frame = f.active()->parentWidget();
        for (int tries = 0; tries < 3 && f.active()->width() != pixels; ++tries) {
            frame->resize(frame->width() + pixels - f.active()->width(), frame->height());
            QApplication::processEvents();
        }
        QCOMPARE(f.text()->Width(), pixels * 15);
        f.main->mnuWrap->trigger();
        QCOMPARE(f.text()->RightMargin(), RichTextBox::NoWrapMargin);
        f.main->mnuWrap->trigger();
        QCOMPARE(f.text()->RightMargin(), margin);
    }

    // ---- the real dialogs ----------------------------------------------

    void classicColours()
    {
        QCOMPARE(classicColors().size(), 16);
        for (int i = 0; i < 16; ++i)
            QCOMPARE(classicColorIndex(classicColors()[i].value), i);
        QCOMPARE(QList<int>({classicColorIndex(255), classicColorIndex(0x123456), classicColorIndex(254)}),
                 QList<int>({9, -1, -1}));
    }

    // Shown and taken back unchanged, the presets come out as they went in.
    void fontDialogRoundTrip_data()
    {
        QTest::addColumn<Look>("look");
        QTest::addColumn<QString>("shown");  // style and colour entry
        QTest::newRow("editor default") << Look{"Arial", 9.75, false, false, false, false, 0} << "Regular Black";
        QTest::newRow("stored red") << Look{"DejaVu Sans", 12, true, false, true, true, 255} << "Bold Red";
        QTest::newRow("custom colour") << Look{"DejaVu Serif", 36, false, true, false, false, 0x123456} << "Italic Custom";
        QTest::newRow("bold italic") << Look{"Liberation Serif", 8.5, true, true, true, true, 0xFF0000} << "Bold Italic Blue";
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
        QCOMPARE(dialog.lstFontStyle->currentItem()->text() + u' ' + dialog.cboColor->currentText(), shown);
        QCOMPARE(dialog.chkUnderline->isChecked(), std::get<4>(look));
        CommonDialog result;
        result.Flags = preset.Flags;
        dialog.store(result);
        QCOMPARE((Look{result.FontName, result.FontSize, result.FontBold, result.FontItalic, result.FontUnderline,
                       result.FontStrikethru, result.Color}),
                 look);
    }

    // Without the effects flag the dialog's underline and colour stay out.
    void fontDialogFlags_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("effects");
        QTest::addColumn<bool>("help");
        QTest::newRow("0x107") << 0x107 << true << true;
        QTest::newRow("effects only") << 0x103 << true << false;
        QTest::newRow("help only") << 0x7 << false << true;
    }
    void fontDialogFlags()
    {
        QFETCH(int, flags);
        QFETCH(bool, effects);
        QFETCH(bool, help);
        CommonDialog preset;
        choose(preset, Look{"DejaVu Sans", 10, false, false, false, false, 255});
        preset.Flags = flags;
        CommonFontDialog dialog;
        dialog.load(preset);
        QCOMPARE(dialog.fraEffects->isVisibleTo(&dialog), effects);
        QCOMPARE(dialog.cmdHelp->isVisibleTo(&dialog), help);
        dialog.chkUnderline->setChecked(true);
        dialog.cboColor->setCurrentIndex(12);
        dialog.store(preset);
        QCOMPARE(preset.FontUnderline, effects);
        QCOMPARE(preset.Color, effects ? qint32(0xFF0000) : qint32(255));
    }

    // Typing and the lists fill the boxes; the sample shows the choice.
    void fontDialogWidgets()
    {
        CommonDialog preset;
        choose(preset, Look{"Liberation Serif", 9.75, false, false, false, false, 0});
        preset.Flags = 0x107;
        CommonFontDialog dialog;
        dialog.load(preset);
        dialog.lstFontName->setCurrentItem(dialog.lstFontName->findItems(QStringLiteral("DejaVu Serif"), Qt::MatchExactly).value(0));
        QCOMPARE(dialog.txtFontName->text(), QStringLiteral("DejaVu Serif"));
        dialog.txtFontName->clear();
        QTest::keyClicks(dialog.txtFontName, QStringLiteral("dejavu serif"));
        QCOMPARE(dialog.lstFontName->currentItem()->text() + u'|' + dialog.fontName() + u'|' + dialog.txtFontName->text(),
                 QStringLiteral("DejaVu Serif|DejaVu Serif|dejavu serif"));
        dialog.txtFontName->setText(QStringLiteral("No Such Face"));
        QCOMPARE(dialog.fontName(), QStringLiteral("No Such Face"));
        dialog.lstFontSize->setCurrentItem(dialog.lstFontSize->findItems(QStringLiteral("28"), Qt::MatchExactly).value(0));
        QCOMPARE(dialog.txtFontSize->text() + u' ' + QString::number(dialog.fontSize()), QStringLiteral("28 28"));
        dialog.txtFontSize->clear();
        QTest::keyClicks(dialog.txtFontSize, QStringLiteral("18"));
        QCOMPARE(dialog.lstFontSize->currentItem()->text(), QStringLiteral("18"));
        QTest::keyClicks(dialog.txtFontSize, QStringLiteral(".5"));
        QCOMPARE(dialog.fontSize(), 18.5);
        QCOMPARE(dialog.lstFontSize->currentItem(), nullptr);
        dialog.lstFontStyle->setCurrentRow(3);
        dialog.chkUnderline->setChecked(true);
        dialog.chkStrikeout->setChecked(true);
        dialog.cboColor->setCurrentIndex(2);  // Green
        const QFont sample = dialog.lblSample->font();
        QCOMPARE((Look{sample.family(), sample.pointSizeF(), sample.bold(), sample.italic(), sample.underline(),
                       sample.strikeOut(), olecolor::fromQColor(dialog.lblSample->palette().color(QPalette::WindowText))}),
                 (Look{"No Such Face", 18.5, true, true, true, true, 0x008000}));
        dialog.txtFontSize->clear();  // nothing typed keeps the preset
        QCOMPARE(dialog.fontSize(), 9.75);
    }

    void customColour_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("chosen") << true;
        QTest::newRow("cancelled") << false;
    }
    void customColour()
    {
        QFETCH(bool, accept);
        CommonDialog preset;
        choose(preset, Look{"DejaVu Sans", 10, false, false, false, false, 255});
        preset.Flags = 0x107;
        CommonFontDialog dialog;
        dialog.load(preset);
        QColor offered;
        WhenModal<QColorDialog> answer([&](QColorDialog* colors) {
            offered = colors->currentColor();
            colors->setCurrentColor(QColor(0x12, 0x34, 0x56));
            accept ? colors->accept() : colors->reject();
        });
        const int custom = dialog.cboColor->count() - 1;
        QCOMPARE(dialog.cboColor->itemText(custom), QStringLiteral("Custom..."));
        dialog.cboColor->setCurrentIndex(custom);
        emit dialog.cboColor->activated(custom);
        QVERIFY(answer.answered());
        QCOMPARE(offered, QColor(255, 0, 0));  // opens on the colour chosen before
        QCOMPARE(dialog.color(), accept ? qint32(0x563412) : qint32(255));
        QCOMPARE(dialog.cboColor->currentText(), accept ? QStringLiteral("Custom") : QStringLiteral("Red"));
        QCOMPARE(dialog.cboColor->itemText(dialog.cboColor->count() - 1), QStringLiteral("Custom..."));
    }

    // The commands with the real dialogs: Font formats the selection, Escape
    // changes nothing, Color takes the chosen background, Help asks for topic 2.
    void commandsWithTheRealDialogs()
    {
        dialogs.reset();
        setCommonDialogBackend(nullptr);
        testsupport::putSetting("Font", "Color", "255");
        f.type(QStringLiteral("plain RED plain"));
        f.text()->SetSel(6, 9);
        QList<int> topics;
        setCommonDialogHelp([&](const CommonDialog& asked) { topics << asked.HelpContext; });
        QString presetColour;
        WhenModal<CommonFontDialog> font([&](CommonFontDialog* dialog) {
            presetColour = dialog->cboColor->currentText();
            dialog->cmdHelp->click();
            dialog->txtFontName->selectAll();
            QTest::keyClicks(dialog->txtFontName, QStringLiteral("DejaVu Serif"));
            dialog->txtFontSize->selectAll();
            QTest::keyClicks(dialog->txtFontSize, QStringLiteral("14"));
            dialog->lstFontStyle->setCurrentRow(2);  // Bold
            dialog->cmdOK->click();
        });
        f.main->mnuFont->trigger();
        QVERIFY(font.answered());
        QCOMPARE(presetColour, QStringLiteral("Red"));
        QCOMPARE(looks(*f.text()), repeated(6, plain()) + repeated(3, {"DejaVu Serif", 14, true, false, false, false, 255})
                                       + repeated(6, plain()));
        const QString before = f.text()->document()->toHtml();
        WhenModal<CommonFontDialog> cancelled([](CommonFontDialog* dialog) {
            dialog->lstFontStyle->setCurrentRow(3);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        f.main->mnuFont->trigger();
        QVERIFY(cancelled.answered());
        QCOMPARE(f.text()->document()->toHtml(), before);

        f.text()->setBackColor(0x00FFFF);
        QColor offered;
        WhenModal<QColorDialog> colour([&](QColorDialog* dialog) {
            offered = dialog->currentColor();
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
            dialog->setCurrentColor(QColor(0xE0, 0xFF, 0xFF));
            dialog->accept();
        });
        f.main->mnuColor->trigger();
        setCommonDialogHelp({});
        QVERIFY(colour.answered());
        QCOMPARE(offered, QApplication::palette().color(QPalette::Base));
        QCOMPARE(f.text()->BackColor(), qint32(0xFFFFE0));
        QCOMPARE(topics, (QList<int>{2, 2}));
    }
};

PAGEWELL_TEST_MAIN(TestFont)
#include "tst_font.moc"
