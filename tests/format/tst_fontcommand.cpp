// Font, Color, Color Print and the Word Wrap margin, with the common dialog
// answered by script.
#include "FormatFixture.h"
#include "app/Units.h"
#include "document/OleColor.h"

#include <QAction>
#include <QMenu>
#include <QStatusBar>

using namespace format_test;

namespace {

// What the font dialog's user chose.
struct Choice {
    QString name = QStringLiteral("Liberation Serif");
    double size = 14;
    bool bold = true;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    qint32 color = 255;

    void apply(CommonDialog& dialog) const
    {
        dialog.FontName = name;
        dialog.FontSize = size;
        dialog.FontBold = bold;
        dialog.FontItalic = italic;
        dialog.FontUnderline = underline;
        dialog.FontStrikethru = strike;
        dialog.Color = color;
    }
};

// The character format at one Text() offset, as the Sel properties show it.
struct Look {
    QString name;
    double size = 0;
    bool bold = false, italic = false, underline = false, strike = false;
    qint32 color = 0;

    bool operator==(const Look& o) const
    {
        return name == o.name && size == o.size && bold == o.bold && italic == o.italic
               && underline == o.underline && strike == o.strike && color == o.color;
    }
};

Look lookOf(const Choice& c) { return {c.name, c.size, c.bold, c.italic, c.underline, c.strike, c.color}; }

Look lookAt(RichTextBox& text, int index)
{
    const int start = text.SelStart(), length = text.SelLength();
    text.SetSel(index, index + 1);
    const Look look{text.SelFontName(), text.SelFontSize(), text.SelBold(), text.SelItalic(),
                    text.SelUnderline(), text.SelStrikeThru(), text.SelColor()};
    text.SetSel(start, start + length);
    return look;
}

QString describe(const Look& l)
{
    return QStringLiteral("%1 %2pt bold=%3 italic=%4 underline=%5 strike=%6 color=%7")
        .arg(l.name).arg(l.size).arg(l.bold).arg(l.italic).arg(l.underline).arg(l.strike).arg(l.color);
}

}  // namespace

Q_DECLARE_METATYPE(Choice)

class TestFontCommand : public QObject {
    Q_OBJECT

    Fixture f;
    std::unique_ptr<ScriptedFormatDialogs> dialogs;

    Look plainLook() const
    {
        const qint32 black = olecolor::fromQColor(f.text->palette().color(QPalette::Text));
        return {QStringLiteral("Arial"), 9.75, false, false, false, false, black};
    }

    void verifyLooks(const QList<Look>& expected)
    {
        for (int i = 0; i < expected.size(); ++i) {
            const Look actual = lookAt(*f.text, i);
            QVERIFY2(actual == expected[i], qPrintable(QStringLiteral("character %1: %2, expected %3")
                                                           .arg(i).arg(describe(actual), describe(expected[i]))));
        }
    }

    void focusElsewhere()
    {
        f.main->sbStatusBar->setFocusPolicy(Qt::StrongFocus);
        f.main->sbStatusBar->setFocus();
    }

    void verifyFocusInText()
    {
        QApplication::processEvents();
        QCOMPARE(f.main->focusWidget(), static_cast<QWidget*>(f.text));
    }

private slots:
    void initTestCase() { QCOMPARE(units::twipsToPixelsX(1440), 96); }
    void init()
    {
        dialogs.reset();
        f.start();
        dialogs = std::make_unique<ScriptedFormatDialogs>();
    }
    void cleanup() { dialogs.reset(); }
    void cleanupTestCase() { f.stop(); }

    // ---- Font: what the dialog opens with ---------------------------------

    void fontPresets_data()
    {
        QTest::addColumn<QString>("storedColor");  // Missing: never written
        QTest::addColumn<qint32>("heldColor");      // the shared dialog's Color beforehand
        QTest::addColumn<bool>("heldEffects");      // its underline and strike-out beforehand
        QTest::addColumn<qint32>("presetColor");
        QTest::newRow("stored 255 is pure red") << "255" << qint32(0x123456) << false << qint32(255);
        QTest::newRow("stored blue") << "16711680" << qint32(0) << true << qint32(0xFF0000);
        QTest::newRow("nothing stored keeps the held colour") << Missing << qint32(0x123456) << true << qint32(0x123456);
        QTest::newRow("empty keeps the held colour") << "" << olecolor::SystemWindow << false << olecolor::SystemWindow;
    }
    void fontPresets()
    {
        QFETCH(QString, storedColor);
        QFETCH(qint32, heldColor);
        QFETCH(bool, heldEffects);
        QFETCH(qint32, presetColor);
        if (storedColor != Missing)
            store("Font", "Color", storedColor);
        QFont base(QStringLiteral("Liberation Mono"));
        base.setPointSizeF(11.5);
        base.setItalic(true);
        f.text->setFont(base);
        CommonDialog& shared = f.main->dlgCommonDialog;
        shared.Color = heldColor;
        shared.FontUnderline = heldEffects;
        shared.FontStrikethru = heldEffects;
        shared.CancelError = false;
        dialogs->cancel();
        f.main->mnuFont->trigger();
        QCOMPARE(dialogs->calls.size(), 1);
        const CommonDialog& preset = dialogs->calls[0].preset;
        QCOMPARE(dialogs->calls[0].action, int(CommonDialog::cdlFont));
        QCOMPARE(preset.FontName, QStringLiteral("Liberation Mono"));
        QCOMPARE(preset.FontSize, 11.5);
        QCOMPARE(preset.FontBold, false);
        QCOMPARE(preset.FontItalic, true);
        QCOMPARE(preset.FontUnderline, heldEffects);
        QCOMPARE(preset.FontStrikethru, heldEffects);
        QCOMPARE(preset.Color, presetColor);
        QCOMPARE(preset.Flags, 0x107);
        QVERIFY(preset.CancelError);
        QCOMPARE(preset.HelpCommand, int(CommonDialog::cdlHelpContext));
        QCOMPARE(preset.HelpContext, 2);
        QVERIFY2(preset.HelpFile.endsWith(QLatin1String("/Pagewell.hlp")), qPrintable(preset.HelpFile));
    }

    void toolbarFontButtonRunsTheCommand()
    {
        dialogs->cancel();
        f.main->tbToolBar_ButtonClick(QStringLiteral("Font"));
        QCOMPARE(dialogs->calls.size(), 1);
        QCOMPARE(dialogs->calls[0].action, int(CommonDialog::cdlFont));
    }

    // ---- Font with nothing selected: the whole text ------------------------

    void fontForTheWholeText_data()
    {
        QTest::addColumn<Choice>("choice");
        QTest::addColumn<QString>("mark");  // the changed mark beforehand
        QTest::addColumn<int>("caret");
        QTest::newRow("red bold, clean") << Choice{} << "" << 7;
        Choice all{QStringLiteral("DejaVu Sans Mono"), 20, false, true, true, true, 0x00FF00};
        QTest::newRow("every effect, changed") << all << "x" << 3;
        Choice plain{QStringLiteral("Arial"), 9.75, false, false, false, false, 0};
        QTest::newRow("back to plain, caret at the start") << plain << "x" << 0;
    }
    void fontForTheWholeText()
    {
        QFETCH(Choice, choice);
        QFETCH(QString, mark);
        QFETCH(int, caret);
        QTest::keyClicks(f.text, QStringLiteral("ab cd"));
        QTest::keyClick(f.text, Qt::Key_Return);
        QTest::keyClicks(f.text, QStringLiteral("ef"));
        // A word formatted on its own loses its own look too.
        f.text->SetSel(3, 5);
        f.text->setSelFontName(QStringLiteral("Liberation Mono"));
        f.text->setSelBold(!choice.bold);
        f.text->setSelFontSize(30);
        f.text->setSelUnderline(!choice.underline);
        f.text->setSelStart(caret);
        QVERIFY(f.text->CanUndo());
        f.document->setLabel1(mark);
        focusElsewhere();

        dialogs->choose([choice](CommonDialog& d) { choice.apply(d); });
        f.main->mnuFont->trigger();

        QCOMPARE(f.text->Text(), QStringLiteral("ab cd\r\nef"));
        verifyLooks(QList<Look>(9, lookOf(choice)));
        QCOMPARE(f.text->SelStart(), 0);
        QCOMPARE(f.text->SelLength(), 0);
        QCOMPARE(f.text->SelColor(), choice.color);  // new typing at the caret
        QVERIFY(!f.text->CanUndo());
        QCOMPARE(setting("Font", "Color"), QString::number(choice.color));
        QCOMPARE(f.document->Label1(), mark);
        const QFont base = f.text->Font();
        QCOMPARE(base.family(), choice.name);
        QCOMPARE(base.pointSizeF(), choice.size);
        QCOMPARE(base.bold(), choice.bold);
        QCOMPARE(base.italic(), choice.italic);
        QVERIFY(f.main->updatesEnabled());
        verifyFocusInText();
    }

    // Text once formatted on its own follows every later whole-text choice.
    void fontForTheWholeTextTwice()
    {
        QTest::keyClicks(f.text, QStringLiteral("one two"));
        f.text->SetSel(4, 7);
        f.text->setSelFontName(QStringLiteral("Liberation Mono"));
        f.text->setSelItalic(true);
        f.text->setSelStart(0);
        const Choice first{QStringLiteral("DejaVu Serif"), 16, true, false, false, false, 0x008000};
        const Choice second{QStringLiteral("DejaVu Sans"), 11, false, false, true, false, 0x800000};
        dialogs->choose([first](CommonDialog& d) { first.apply(d); });
        dialogs->choose([second](CommonDialog& d) { second.apply(d); });
        f.main->mnuFont->trigger();
        verifyLooks(QList<Look>(7, lookOf(first)));
        f.main->mnuFont->trigger();
        verifyLooks(QList<Look>(7, lookOf(second)));
        // A selection formatted afterwards keeps its own look.
        f.text->SetSel(0, 3);
        f.text->setSelFontSize(30);
        QCOMPARE(lookAt(*f.text, 4).size, 11.0);
        QCOMPARE(lookAt(*f.text, 0).size, 30.0);
    }

    // What the whole-text command builds on: a new base font replaces the
    // faces and sizes of formatted text but not its colours and effects,
    // even while the text is selected.
    void baseFontKeepsColoursAndEffects()
    {
        QTest::keyClicks(f.text, QStringLiteral("one two"));
        f.text->SetSel(4, 7);
        f.text->setSelFontName(QStringLiteral("Liberation Mono"));
        f.text->setSelFontSize(20);
        f.text->setSelColor(255);
        f.text->setSelUnderline(true);
        f.text->SetSel(0, 7);
        QFont base(QStringLiteral("DejaVu Serif"));
        base.setPointSizeF(13);
        f.text->setFont(base);
        const Look plain = plainLook();
        const Look word{QStringLiteral("DejaVu Serif"), 13, false, false, true, false, 255};
        const Look first{QStringLiteral("DejaVu Serif"), 13, false, false, false, false, plain.color};
        verifyLooks({first, first, first, first, word, word, word});
        QCOMPARE(f.text->SelLength(), 7);
    }

    void typingFollowsTheWholeTextFont()
    {
        f.text->setSelFontName(QStringLiteral("Liberation Mono"));  // the typing format at the caret
        f.text->setSelFontSize(20);
        dialogs->choose([](CommonDialog& d) { Choice{}.apply(d); });
        f.main->mnuFont->trigger();
        QTest::keyClicks(f.text, QStringLiteral("abc"));
        verifyLooks(QList<Look>(3, lookOf(Choice{})));
    }

    void fontForAnEmptyDocument()
    {
        dialogs->choose([](CommonDialog& d) { Choice{}.apply(d); });
        f.main->mnuFont->trigger();
        QCOMPARE(setting("Font", "Color"), QStringLiteral("255"));
        QCOMPARE(f.document->Label1(), QString());
        QTest::keyClicks(f.text, QStringLiteral("typed"));
        verifyLooks(QList<Look>(5, lookOf(Choice{})));
    }

    // The stored colour is what the next document types with.
    void storedColourReachesTheNextDocument()
    {
        store("Color", "Color", QString::number(olecolor::SystemWindow));  // new documents read the font keys
        dialogs->choose([](CommonDialog& d) {
            Choice{}.apply(d);
            d.Color = 0x008000;
        });
        f.main->mnuFont->trigger();
        frmDocument* next = f.main->NewDocument();
        QCOMPARE(next->txtText->SelColor(), 0x008000);
    }

    // ---- Font with a selection ---------------------------------------------

    void fontForTheSelection_data()
    {
        QTest::addColumn<Choice>("choice");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::newRow("middle word, clean") << Choice{} << "" << 6 << 3;
        Choice all{QStringLiteral("DejaVu Serif"), 8, true, true, true, true, 0x808000};
        QTest::newRow("first letter, changed") << all << "x" << 0 << 1;
        QTest::newRow("across the paragraph break") << all << "" << 9 << 4;
    }
    void fontForTheSelection()
    {
        QFETCH(Choice, choice);
        QFETCH(QString, mark);
        QFETCH(int, start);
        QFETCH(int, length);
        QTest::keyClicks(f.text, QStringLiteral("plain red plain"));
        QTest::keyClick(f.text, Qt::Key_Return);
        QTest::keyClicks(f.text, QStringLiteral("next"));  // "plain red plain\r\nnext": 21 offsets
        QVERIFY(f.text->CanUndo());
        f.text->SetSel(start, start + length);
        f.document->setLabel1(mark);
        focusElsewhere();
        const Look plain = plainLook();

        dialogs->choose([choice](CommonDialog& d) { choice.apply(d); });
        f.main->mnuFont->trigger();

        QList<Look> expected(21, plain);
        for (int i = start; i < start + length; ++i)
            expected[i] = lookOf(choice);
        verifyLooks(expected);
        QCOMPARE(f.text->Font().family(), QStringLiteral("Arial"));
        QCOMPARE(f.text->Font().pointSizeF(), 9.75);
        QVERIFY(f.text->CanUndo());
        QCOMPARE(setting("Font", "Color"), Missing);
        QCOMPARE(f.document->Label1(), mark);
        verifyFocusInText();
    }

    // ---- Font cancelled ------------------------------------------------------

    void fontCancelled_data()
    {
        QTest::addColumn<bool>("selection");
        QTest::newRow("nothing selected") << false;
        QTest::newRow("with a selection") << true;
    }
    void fontCancelled()
    {
        QFETCH(bool, selection);
        QTest::keyClicks(f.text, QStringLiteral("some text"));
        if (selection)
            f.text->SetSel(2, 6);
        else
            f.text->setSelStart(4);
        const QString before = f.text->document()->toHtml();
        const QFont base = f.text->Font();
        focusElsewhere();
        // What the shared dialog holds must not reach the text on a cancel.
        f.main->dlgCommonDialog.Color = 255;
        f.main->dlgCommonDialog.FontUnderline = true;
        dialogs->cancel();
        f.main->mnuFont->trigger();
        QCOMPARE(dialogs->calls.size(), 1);
        QCOMPARE(f.text->document()->toHtml(), before);
        QCOMPARE(f.text->Font(), base);
        QCOMPARE(f.text->SelStart(), selection ? 2 : 4);
        QCOMPARE(f.text->SelLength(), selection ? 4 : 0);
        QVERIFY(f.text->CanUndo());
        QCOMPARE(f.document->Label1(), QStringLiteral("x"));
        QCOMPARE(setting("Font", "Color"), Missing);
        verifyFocusInText();
    }

    // ---- Color ---------------------------------------------------------------

    void colourOpensOnTheSystemWindowColour_data()
    {
        QTest::addColumn<qint32>("background");
        QTest::addColumn<qint32>("held");
        QTest::newRow("first use") << olecolor::SystemWindow << qint32(0);
        QTest::newRow("after a change") << qint32(0x00E0FFFF) << qint32(0x00E0FFFF);
        QTest::newRow("after a font colour") << qint32(0x123456) << qint32(255);
    }
    void colourOpensOnTheSystemWindowColour()
    {
        QFETCH(qint32, background);
        QFETCH(qint32, held);
        f.text->setBackColor(background);
        f.main->dlgCommonDialog.Color = held;
        f.main->dlgCommonDialog.CancelError = false;
        f.main->dlgCommonDialog.Flags = 0x1016;
        dialogs->cancel();
        f.main->mnuColor->trigger();
        QCOMPARE(dialogs->calls.size(), 1);
        const CommonDialog& preset = dialogs->calls[0].preset;
        QCOMPARE(dialogs->calls[0].action, int(CommonDialog::cdlColor));
        QCOMPARE(preset.Color, olecolor::SystemWindow);
        QCOMPARE(olecolor::toQColor(preset.Color), QApplication::palette().color(QPalette::Base));
        QCOMPARE(preset.Flags, 9);
        QVERIFY(preset.CancelError);
        QCOMPARE(preset.HelpContext, 2);
        QCOMPARE(f.text->BackColor(), background);  // cancelled
    }

    void colourSetsTheBackground_data()
    {
        QTest::addColumn<QString>("mark");
        QTest::newRow("clean") << "";
        QTest::newRow("changed") << "x";
    }
    void colourSetsTheBackground()
    {
        QFETCH(QString, mark);
        QTest::keyClicks(f.text, QStringLiteral("abc"));
        f.document->setLabel1(mark);
        focusElsewhere();
        dialogs->choose([](CommonDialog& d) { d.Color = 0x00E0FFFF; });
        f.main->mnuColor->trigger();
        QCOMPARE(f.text->BackColor(), qint32(0x00E0FFFF));
        QCOMPARE(f.text->viewport()->palette().color(f.text->viewport()->backgroundRole()), QColor(0xFF, 0xFF, 0xE0));
        QCOMPARE(f.document->Label1(), mark);
        QCOMPARE(setting("Color", "Color"), Missing);
        QVERIFY(f.text->CanUndo());
        verifyFocusInText();
    }

    void colourCancelledKeepsTheBackground()
    {
        f.text->setBackColor(0x00C0C0C0);
        focusElsewhere();
        dialogs->cancel();
        f.main->mnuColor->trigger();
        QCOMPARE(f.text->BackColor(), qint32(0x00C0C0C0));
        QCOMPARE(setting("Color", "Color"), Missing);
        verifyFocusInText();
    }

    // ---- Color Print ---------------------------------------------------------

    void colorPrintTogglesOnlyItsMark()
    {
        QAction* item = f.main->mnuColorPrint[0];
        QVERIFY(!item->isChecked());
        QVERIFY(item->isCheckable());
        QTest::keyClicks(f.text, QStringLiteral("abc"));
        const QString before = f.text->document()->toHtml();
        const bool wrap = f.main->mnuWrap->isChecked();
        item->trigger();
        QVERIFY(item->isChecked());
        item->trigger();
        QVERIFY(!item->isChecked());
        // Any index inverts item 0, once.
        f.main->mnuColorPrint_Click(1);
        QVERIFY(item->isChecked());
        f.main->mnuColorPrint_Click(0);
        QVERIFY(!item->isChecked());
        QCOMPARE(f.text->document()->toHtml(), before);
        QCOMPARE(f.main->mnuWrap->isChecked(), wrap);
        QVERIFY(dialogs->calls.isEmpty());
        QVERIFY(!QFile::exists(settingsFilePath(AppTitle)));
    }

    void colorPrintFromTheMenuByKeyboard()
    {
        QAction* item = f.main->mnuColorPrint[0];
        f.main->mnuOption->popup(QPoint(10, 10));
        QTRY_VERIFY(f.main->mnuOption->isVisible());
        QTest::keyClick(f.main->mnuOption, Qt::Key_P);  // Color &Print
        QTRY_VERIFY(!f.main->mnuOption->isVisible());
        QVERIFY(item->isChecked());
    }

    void aNewRunStartsWithoutColorPrint()
    {
        f.main->mnuColorPrint[0]->trigger();
        QVERIFY(f.main->mnuColorPrint[0]->isChecked());
        f.main->close();
        f.main.reset();
        f.main = std::make_unique<frmMain>();
        f.main->MDIForm_Load(QString());
        QVERIFY(!f.main->mnuColorPrint[0]->isChecked());
        f.document = f.main->ActiveDocument();
        f.text = f.document ? f.document->txtText : nullptr;
    }

    // ---- Word Wrap -----------------------------------------------------------

    void wordWrapMarginIsNinetyFivePercent_data()
    {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("margin");
        QTest::newRow("9000 twips") << 600 << 8550;
        QTest::newRow("9990 twips: 9490.5 to even") << 666 << 9490;
        QTest::newRow("10005 twips") << 667 << 9505;
    }
    void wordWrapMarginIsNinetyFivePercent()
    {
        QFETCH(int, pixels);
        QFETCH(int, margin);
        f.setControlWidth(pixels);
        QCOMPARE(f.text->Width(), pixels * 15);
        QVERIFY(f.main->mnuWrap->isChecked());
        f.main->mnuWrap->trigger();
        QCOMPARE(f.text->RightMargin(), RichTextBox::NoWrapMargin);
        f.main->mnuWrap->trigger();
        QVERIFY(f.main->mnuWrap->isChecked());
        QCOMPARE(f.text->RightMargin(), margin);
    }
};

PAGEWELL_TEST_MAIN(TestFontCommand)
#include "tst_fontcommand.moc"
