// The real font and colour dialogs behind the common dialog: presets, the
// choice written back, the live sample, "Custom..." colours, and the Font
// and Color commands driven through their widgets.
#include "FormatFixture.h"
#include "document/OleColor.h"
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

using namespace format_test;

namespace {

CommonDialog fontPreset(const QString& name, double size, bool bold, bool italic, qint32 color)
{
    CommonDialog dialog;
    dialog.FontName = name;
    dialog.FontSize = size;
    dialog.FontBold = bold;
    dialog.FontItalic = italic;
    dialog.Color = color;
    dialog.Flags = 0x107;
    return dialog;
}

}  // namespace

class TestFontDialog : public QObject {
    Q_OBJECT

    Fixture f;

private slots:
    void initTestCase()
    {
        for (const char* family : {"DejaVu Sans", "DejaVu Serif", "Liberation Serif"})
            QVERIFY2(QFontDatabase::hasFamily(QString::fromLatin1(family)),
                     qPrintable(QStringLiteral("font %1 is not installed (scripts/deps.sh run)").arg(family)));
    }
    void init() { f.start(); }
    void cleanupTestCase() { f.stop(); }

    void classicColours_data()
    {
        QTest::addColumn<qint32>("color");
        QTest::addColumn<int>("index");
        QTest::newRow("black") << qint32(0) << 0;
        QTest::newRow("red is 255") << qint32(255) << 9;
        QTest::newRow("navy") << qint32(0x800000) << 4;
        QTest::newRow("white") << qint32(0xFFFFFF) << 15;
        QTest::newRow("not classic") << qint32(0x123456) << -1;
        QTest::newRow("near red") << qint32(254) << -1;
    }
    void classicColours()
    {
        QFETCH(qint32, color);
        QFETCH(int, index);
        QCOMPARE(classicColors().size(), 16);
        QCOMPARE(classicColorIndex(color), index);
        if (index >= 0)
            QCOMPARE(classicColors()[index].value, color);
    }

    // Shown and taken back unchanged, the presets come out as they went in.
    void presetsRoundTrip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("size");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("effects");  // underline and strike-out
        QTest::addColumn<qint32>("color");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("colorEntry");
        QTest::newRow("editor default") << "Arial" << 9.75 << false << false << false << qint32(0) << "Regular" << "Black";
        QTest::newRow("stored red") << "DejaVu Sans" << 12.0 << true << false << true << qint32(255) << "Bold" << "Red";
        QTest::newRow("italic, custom colour") << "DejaVu Serif" << 36.0 << false << true << false << qint32(0x123456)
                                               << "Italic" << "Custom";
        QTest::newRow("bold italic") << "Liberation Serif" << 8.5 << true << true << true << qint32(0xFF0000)
                                     << "Bold Italic" << "Blue";
    }
    void presetsRoundTrip()
    {
        QFETCH(QString, name);
        QFETCH(double, size);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(bool, effects);
        QFETCH(qint32, color);
        QFETCH(QString, style);
        QFETCH(QString, colorEntry);
        CommonDialog preset = fontPreset(name, size, bold, italic, color);
        preset.FontUnderline = preset.FontStrikethru = effects;
        CommonFontDialog dialog;
        dialog.load(preset);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Font"));
        QCOMPARE(dialog.txtFontName->text(), name);
        QCOMPARE(dialog.lstFontStyle->currentItem()->text(), style);
        QCOMPARE(dialog.cboColor->currentText(), colorEntry);
        QCOMPARE(dialog.chkUnderline->isChecked(), effects);
        QCOMPARE(dialog.chkStrikeout->isChecked(), effects);

        CommonDialog result;
        result.Flags = preset.Flags;
        dialog.store(result);
        QCOMPARE(result.FontName, name);
        QCOMPARE(result.FontSize, size);
        QCOMPARE(result.FontBold, bold);
        QCOMPARE(result.FontItalic, italic);
        QCOMPARE(result.FontUnderline, effects);
        QCOMPARE(result.FontStrikethru, effects);
        QCOMPARE(result.Color, color);
    }

    void flagsDecideEffectsAndHelp_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("effects");
        QTest::addColumn<bool>("help");
        QTest::newRow("0x107") << 0x107 << true << true;
        QTest::newRow("effects only") << 0x103 << true << false;
        QTest::newRow("help only") << 0x7 << false << true;
    }
    void flagsDecideEffectsAndHelp()
    {
        QFETCH(int, flags);
        QFETCH(bool, effects);
        QFETCH(bool, help);
        CommonDialog preset = fontPreset(QStringLiteral("DejaVu Sans"), 10, false, false, 255);
        preset.Flags = flags;
        CommonFontDialog dialog;
        dialog.load(preset);
        QCOMPARE(dialog.fraEffects->isVisibleTo(&dialog), effects);
        QCOMPARE(dialog.cmdHelp->isVisibleTo(&dialog), help);

        // Without effects the dialog's underline, strike-out and colour stay.
        dialog.chkUnderline->setChecked(true);
        dialog.cboColor->setCurrentIndex(12);
        CommonDialog result = preset;
        dialog.store(result);
        QCOMPARE(result.FontUnderline, effects);
        QCOMPARE(result.Color, effects ? qint32(0xFF0000) : qint32(255));
    }

    void familyFollowsTyping_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("listed");  // the list's current entry
        QTest::addColumn<QString>("chosen");
        QTest::newRow("exact") << "DejaVu Serif" << "DejaVu Serif" << "DejaVu Serif";
        QTest::newRow("any case") << "dejavu serif" << "DejaVu Serif" << "DejaVu Serif";
        QTest::newRow("a name not installed stays as typed") << "Arial" << "" << "Arial";
    }
    void familyFollowsTyping()
    {
        QFETCH(QString, typed);
        QFETCH(QString, listed);
        QFETCH(QString, chosen);
        if (QFontDatabase::hasFamily(QStringLiteral("Arial")) && typed == QLatin1String("Arial"))
            QSKIP("Arial is installed here");
        CommonFontDialog dialog;
        dialog.load(fontPreset(QStringLiteral("Liberation Serif"), 10, false, false, 0));
        dialog.txtFontName->clear();
        QTest::keyClicks(dialog.txtFontName, typed);
        if (!listed.isEmpty())
            QCOMPARE(dialog.lstFontName->currentItem()->text(), listed);
        QCOMPARE(dialog.fontName(), chosen);
        QCOMPARE(dialog.txtFontName->text(), typed);  // the list does not overwrite the typing
    }

    void listsFillTheBoxes()
    {
        CommonFontDialog dialog;
        dialog.load(fontPreset(QStringLiteral("DejaVu Sans"), 9.75, false, false, 0));
        dialog.lstFontName->setCurrentItem(dialog.lstFontName->findItems(QStringLiteral("DejaVu Serif"), Qt::MatchExactly).first());
        QCOMPARE(dialog.txtFontName->text(), QStringLiteral("DejaVu Serif"));
        dialog.lstFontSize->setCurrentItem(dialog.lstFontSize->findItems(QStringLiteral("28"), Qt::MatchExactly).first());
        QCOMPARE(dialog.txtFontSize->text(), QStringLiteral("28"));
        QCOMPARE(dialog.fontSize(), 28.0);
        dialog.txtFontSize->clear();
        QTest::keyClicks(dialog.txtFontSize, QStringLiteral("11.5"));
        QCOMPARE(dialog.fontSize(), 11.5);
        QCOMPARE(dialog.lstFontSize->currentItem(), nullptr);
        dialog.txtFontSize->clear();  // nothing typed keeps the preset
        QCOMPARE(dialog.fontSize(), 9.75);
    }

    void sampleShowsTheChoice()
    {
        CommonFontDialog dialog;
        dialog.load(fontPreset(QStringLiteral("DejaVu Sans"), 10, false, false, 0));
        dialog.lstFontName->setCurrentItem(dialog.lstFontName->findItems(QStringLiteral("DejaVu Serif"), Qt::MatchExactly).first());
        dialog.lstFontStyle->setCurrentRow(3);
        dialog.txtFontSize->setText(QStringLiteral("18"));
        dialog.chkUnderline->setChecked(true);
        dialog.chkStrikeout->setChecked(true);
        dialog.cboColor->setCurrentIndex(2);  // Green
        const QFont shown = dialog.lblSample->font();
        QCOMPARE(shown.family(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(shown.pointSizeF(), 18.0);
        QVERIFY(shown.bold() && shown.italic() && shown.underline() && shown.strikeOut());
        QCOMPARE(dialog.lblSample->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    }

    void customColourComesFromTheColourDialog_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("chosen") << true;
        QTest::newRow("cancelled") << false;
    }
    void customColourComesFromTheColourDialog()
    {
        QFETCH(bool, accept);
        CommonFontDialog dialog;
        dialog.load(fontPreset(QStringLiteral("DejaVu Sans"), 10, false, false, 0x0000FF));
        QColor offered;
        WhenModal<QColorDialog> answer([&](QColorDialog* colors) {
            offered = colors->currentColor();
            colors->setCurrentColor(QColor(0x12, 0x34, 0x56));
            if (accept)
                colors->accept();
            else
                colors->reject();
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

    // ---- the commands with the real dialogs --------------------------------

    void fontDialogFormatsTheSelection()
    {
        QTest::keyClicks(f.text, QStringLiteral("plain RED plain"));
        f.text->SetSel(6, 9);
        QVERIFY(commonDialogBackend() != nullptr);
        WhenModal<CommonFontDialog> answer([](CommonFontDialog* dialog) {
            dialog->txtFontName->selectAll();
            QTest::keyClicks(dialog->txtFontName, QStringLiteral("DejaVu Serif"));
            dialog->txtFontSize->selectAll();
            QTest::keyClicks(dialog->txtFontSize, QStringLiteral("14"));
            dialog->lstFontStyle->setCurrentRow(2);  // Bold
            dialog->cboColor->setCurrentIndex(dialog->cboColor->findText(QStringLiteral("Red")));
            dialog->cmdOK->click();
        });
        f.main->mnuFont->trigger();
        QVERIFY(answer.answered());
        QCOMPARE(f.text->SelStart(), 6);
        QCOMPARE(f.text->SelLength(), 3);
        QCOMPARE(f.text->SelFontName(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(f.text->SelFontSize(), 14.0);
        QVERIFY(f.text->SelBold());
        QCOMPARE(f.text->SelColor(), 255);
        f.text->SetSel(0, 5);
        QCOMPARE(f.text->SelFontName(), QStringLiteral("Arial"));
        QCOMPARE(f.text->SelFontSize(), 9.75);
        QVERIFY(!f.text->SelBold());
        QVERIFY(f.text->SelColor() != 255);
        QCOMPARE(setting("Font", "Color"), Missing);
    }

    void fontDialogCancelledChangesNothing()
    {
        QTest::keyClicks(f.text, QStringLiteral("some text"));
        const QString before = f.text->document()->toHtml();
        WhenModal<CommonFontDialog> answer([](CommonFontDialog* dialog) {
            dialog->lstFontStyle->setCurrentRow(3);
            dialog->cboColor->setCurrentIndex(9);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        f.main->mnuFont->trigger();
        QVERIFY(answer.answered());
        QCOMPARE(f.text->document()->toHtml(), before);
        QCOMPARE(setting("Font", "Color"), Missing);
    }

    void storedRedPresetsTheRealDialog()
    {
        store("Font", "Color", QStringLiteral("255"));
        QString shown;
        WhenModal<CommonFontDialog> answer([&](CommonFontDialog* dialog) {
            shown = dialog->cboColor->currentText();
            dialog->cmdCancel->click();
        });
        f.main->mnuFont->trigger();
        QVERIFY(answer.answered());
        QCOMPARE(shown, QStringLiteral("Red"));
    }

    // Both dialogs' Help buttons ask for the font and colour topic.
    void helpButtonsShowTopicTwo()
    {
        QList<int> contexts;
        setCommonDialogHelp([&](const CommonDialog& asked) { contexts << asked.HelpContext; });
        WhenModal<CommonFontDialog> font([](CommonFontDialog* dialog) {
            dialog->cmdHelp->click();
            dialog->cmdCancel->click();
        });
        f.main->mnuFont->trigger();
        WhenModal<QColorDialog> colour([](QColorDialog* dialog) {
            const auto* buttons = dialog->findChild<QDialogButtonBox*>();
            if (QPushButton* help = buttons ? buttons->button(QDialogButtonBox::Help) : nullptr)
                help->click();
            dialog->reject();
        });
        f.main->mnuColor->trigger();
        setCommonDialogHelp({});
        QVERIFY(font.answered() && colour.answered());
        QCOMPARE(contexts, (QList<int>{2, 2}));
    }

    void colourDialogOpensOnTheWindowColour()
    {
        f.text->setBackColor(0x00FFFF);
        QColor offered;
        QString title;
        bool help = false;
        WhenModal<QColorDialog> answer([&](QColorDialog* dialog) {
            offered = dialog->currentColor();
            title = dialog->windowTitle();
            const auto* buttons = dialog->findChild<QDialogButtonBox*>();
            help = buttons && buttons->button(QDialogButtonBox::Help);
            dialog->setCurrentColor(QColor(0xE0, 0xFF, 0xFF));
            dialog->accept();
        });
        f.main->mnuColor->trigger();
        QVERIFY(answer.answered());
        QCOMPARE(offered, QApplication::palette().color(QPalette::Base));
        QCOMPARE(title, QStringLiteral("Color"));
        QVERIFY(help);
        QCOMPARE(f.text->BackColor(), qint32(0xFFFFE0));
    }
};

PAGEWELL_TEST_MAIN(TestFontDialog)
#include "tst_fontdialog.moc"
