// Document windows: what they apply from the store, their changed mark,
// typing mode, layout on resize, context menu and what they write on close.
#include "ScriptedMessageBoxes.h"
#include "TestEnvironment.h"
#include "app/Settings.h"
#include "app/frmMain.h"
#include "document/OleColor.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>
#include <memory>

namespace {

QString setting(const char* section, const char* key)
{
    return GetSetting(AppTitle, QString::fromLatin1(section), QString::fromLatin1(key));
}

void store(const char* section, const char* key, const QString& value)
{
    SaveSetting(AppTitle, QString::fromLatin1(section), QString::fromLatin1(key), value);
}

}  // namespace

class TestDocumentWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedMessageBoxes> boxes;

    std::unique_ptr<frmMain> main;
    frmDocument* document = nullptr;
    RichTextBox* text = nullptr;

    void start()
    {
        main = std::make_unique<frmMain>();
        main->MDIForm_Load(QString());
        main->show();
        QApplication::processEvents();
        document = main->ActiveDocument();
        text = document->txtText;
    }

private slots:
    void init()
    {
        testenv::clearSettings();
        boxes.reset();  // before the next one installs itself
        boxes = std::make_unique<ScriptedMessageBoxes>();
        boxes->defaultAnswer = vb::vbNo;  // changed documents close unsaved
    }
    void cleanup()
    {
        main.reset();
        document = nullptr;
        text = nullptr;
    }

    void typingMarksChangedAndResizeKeepsTheMark()
    {
        start();
        QCOMPARE(document->Label1(), QString());
        QTest::keyClicks(text, QStringLiteral("hi"));
        QCOMPARE(document->Label1(), QStringLiteral("x"));
        document->parentWidget()->resize(document->parentWidget()->size() + QSize(40, 30));
        QApplication::processEvents();
        QCOMPARE(document->Label1(), QStringLiteral("x"));

        document->setLabel1(QString());
        document->parentWidget()->resize(document->parentWidget()->size() - QSize(20, 20));
        QApplication::processEvents();
        QCOMPARE(document->Label1(), QString());  // layout never marks a change
    }

    void controlFillsTheWindow()
    {
        start();
        document->parentWidget()->resize(420, 310);
        QApplication::processEvents();
        QCOMPARE(text->geometry(), document->rect());
    }

    void insertKeyTogglesTypingMode()
    {
        start();
        QCOMPARE(main->panelText(1), QStringLiteral("Insert"));
        QTest::keyClick(text, Qt::Key_Insert);
        QCOMPARE(main->panelText(1), QStringLiteral("Overtype"));
        QTest::keyClick(text, Qt::Key_Insert, Qt::ShiftModifier);  // not a plain Insert
        QCOMPARE(main->panelText(1), QStringLiteral("Overtype"));
        QTest::keyClick(text, Qt::Key_Insert);
        QCOMPARE(main->panelText(1), QStringLiteral("Insert"));
        QTest::keyClick(text, Qt::Key_Insert);
        main->NewDocument();  // a new document starts in insert mode
        QCOMPARE(main->panelText(1), QStringLiteral("Insert"));
    }

    void overtypeReplacesCharacters_data()
    {
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("keys");  // letters typed; "<" Backspace, "|" Enter
        QTest::addColumn<QString>("expected");
        QTest::newRow("first letter") << 0 << "X" << "Xat\r\ndog";
        QTest::newRow("whole word") << 0 << "pig" << "pig\r\ndog";
        QTest::newRow("backspace as in insert mode") << 2 << "<" << "ct\r\ndog";
        QTest::newRow("enter as in insert mode") << 1 << "|" << "c\r\nat\r\ndog";
        QTest::newRow("paragraph end is kept") << 3 << "s" << "cats\r\ndog";
        QTest::newRow("text end appends") << 8 << "s" << "cat\r\ndogs";
    }
    void overtypeReplacesCharacters()
    {
        QFETCH(int, caret);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        start();
        text->setText(QStringLiteral("cat\ndog"));
        QTest::keyClick(text, Qt::Key_Insert);
        text->setSelStart(caret);
        for (QChar key : keys) {
            if (key == u'<')
                QTest::keyClick(text, Qt::Key_Backspace);
            else if (key == u'|')
                QTest::keyClick(text, Qt::Key_Return);
            else
                QTest::keyClicks(text, QString(key));
        }
        QCOMPARE(text->Text(), expected);
    }

    void overtypeLeavesNavigationAlone()
    {
        start();
        text->setText(QStringLiteral("abc"));
        QTest::keyClick(text, Qt::Key_Insert);
        text->setSelStart(2);
        QTest::keyClick(text, Qt::Key_Left);
        QCOMPARE(text->SelStart(), 1);
        QCOMPARE(text->SelLength(), 0);
    }

    void storedFontAndColoursApplyToNewDocuments()
    {
        store("Color", "Color", QString::number(0x00E0FFFF));
        store("Font", "Name", QStringLiteral("Liberation Serif"));
        store("Font", "Size", QStringLiteral("14.25"));
        store("Font", "Color", QStringLiteral("255"));
        store("Font", "Bold", QStringLiteral("True"));
        start();
        QCOMPARE(text->BackColor(), qint32(0x00E0FFFF));
        QCOMPARE(text->Font().family(), QStringLiteral("Liberation Serif"));
        QCOMPARE(text->Font().pointSizeF(), 14.25);
        QVERIFY(text->Font().bold());
        QTest::keyClicks(text, QStringLiteral("red"));
        text->SetSel(0, 3);
        QCOMPARE(text->SelColor(), 255);
    }

    void fontKeysNeedAStoredBackground()
    {
        store("Font", "Name", QStringLiteral("Liberation Serif"));
        store("Font", "Bold", QStringLiteral("True"));
        start();
        QCOMPARE(text->Font().family(), QStringLiteral("Arial"));
        QVERIFY(!text->Font().bold());
        QCOMPARE(text->BackColor(), olecolor::SystemWindow);
    }

    void boldOnlyForTheExactWordTrue()
    {
        store("Color", "Color", QStringLiteral("-2147483643"));
        store("Font", "Bold", QStringLiteral("true"));
        start();
        QVERIFY(!text->Font().bold());
    }

    void closingWritesFontAndColours()
    {
        start();
        text->setText(QStringLiteral("plain red"));
        text->SetSel(6, 9);
        text->setSelColor(255);
        text->setSelStart(8);  // caret inside the red word
        text->SetSel(8, 9);    // a selection is dropped before the colour is read
        main->mnuFileItem[3]->trigger();
        QApplication::processEvents();
        QCOMPARE(setting("Font", "Color"), QStringLiteral("255"));
        QCOMPARE(setting("Color", "Color"), QStringLiteral("-2147483643"));
        QCOMPARE(setting("Font", "Name"), QStringLiteral("Arial"));
        QCOMPARE(setting("Font", "Size"), QStringLiteral("9.75"));
        QCOMPARE(setting("Font", "Bold"), QStringLiteral("False"));

        // The system colour comes back as the system colour.
        main->NewDocument();
        QCOMPARE(main->ActiveDocument()->txtText->BackColor(), olecolor::SystemWindow);
    }

    void lastWindowToCloseWins()
    {
        start();
        frmDocument* second = main->NewDocument();
        second->txtText->setBackColor(0x0000FF);
        main->activateDocument(document);
        main->mnuFileItem[3]->trigger();  // closes the first: system colour
        QCOMPARE(setting("Color", "Color"), QStringLiteral("-2147483643"));
        main->mnuFileItem[3]->trigger();  // then the second
        QCOMPARE(setting("Color", "Color"), QStringLiteral("255"));
    }

    void storedTabCountSetsEvenStops()
    {
        store("Tab Set", "Tab", QStringLiteral(" 4"));
        start();
        const int width = text->Width();
        QCOMPARE(text->SelTabCount(), 4);
        const int step = qRound(width / 5.0);
        QVERIFY(qAbs(text->SelTabs(0) - step) <= 1);
        QVERIFY(qAbs(text->SelTabs(3) - 4 * step) <= 4);
        document->parentWidget()->resize(document->parentWidget()->width() + 90, document->parentWidget()->height());
        QApplication::processEvents();
        QVERIFY(text->Width() > width);
        QVERIFY2(text->SelTabs(0) > step, "a resize spreads the stops again");
    }

    void wrapFollowsTheStoredValueOnResize_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("wraps");
        QTest::newRow("missing") << "" << true;
        QTest::newRow("True") << "True" << true;
        QTest::newRow("False") << "False" << false;
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("number") << "1" << true;
        QTest::newRow("other text") << "maybe" << true;
    }
    void wrapFollowsTheStoredValueOnResize()
    {
        QFETCH(QString, stored);
        QFETCH(bool, wraps);
        if (!stored.isEmpty())
            store("WordWrap", "Wrap", stored);
        start();
        QCOMPARE(main->mnuWrap->isChecked(), wraps);
        QCOMPARE(text->RightMargin(), wraps ? text->Width() - 300 : RichTextBox::NoWrapMargin);
        // Word Wrap from the menu holds only until the next resize.
        main->mnuWrap->trigger();
        QCOMPARE(text->RightMargin(), wraps ? RichTextBox::NoWrapMargin : qRound(0.95 * text->Width()));
        document->parentWidget()->resize(document->parentWidget()->size() + QSize(15, 15));
        QApplication::processEvents();
        QCOMPARE(main->mnuWrap->isChecked(), wraps);
    }

    void wordWrapTwiceReturnsToOn()
    {
        start();
        QVERIFY(main->mnuWrap->isChecked());
        main->mnuWrap->trigger();
        QVERIFY(!main->mnuWrap->isChecked());
        QCOMPARE(text->RightMargin(), RichTextBox::NoWrapMargin);
        main->mnuWrap->trigger();
        QVERIFY(main->mnuWrap->isChecked());
        QCOMPARE(text->RightMargin(), int(qRound(0.95 * text->Width())));
    }

    void rightClickPopsUpTheContextMenu()
    {
        start();
        bool shown = false;
        QAction* defaultItem = nullptr;
        QTimer::singleShot(0, this, [&] {
            shown = main->mnuCEdit->isVisible();
            defaultItem = main->mnuCEdit->defaultAction();
            main->mnuCEdit->close();
        });
        QTest::mouseClick(text->viewport(), Qt::RightButton, {}, QPoint(30, 20));
        QTRY_VERIFY(shown);
        QCOMPARE(defaultItem, main->mnuCEditItem[8]);
        QCOMPARE(defaultItem->text(), QStringLiteral("Se&lect All"));
        QCOMPARE(main->mnuCEdit->actions().size(), 12);
        QVERIFY(main->mnuCEditItem[2]->isSeparator() && main->mnuCEditItem[10]->isSeparator());
    }
};

PAGEWELL_TEST_MAIN(TestDocumentWindow)
#include "tst_documentwindow.moc"
