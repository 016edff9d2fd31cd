// The File Types dialog (Options, File Extensions): what it shows, what OK,
// Cancel and Default do, its key rules, and the filter the file dialogs
// get afterwards.
#include "FileCommandsFixture.h"
#include "files/Form1.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <utility>

using namespace files;

namespace {

const QString Section = QStringLiteral("Extension");
const char* const Keys[6] = {"One", "Two", "Three", "Four", "Five", "Six"};

// Extension and name per row, 12 values.
using Rows = QStringList;

Rows initialRows()
{
    return {"*", "All Files", "txt", "Text Files", "ini", "INI Files", "", "", "", "", "", ""};
}

void storeRows(const Rows& rows)
{
    for (int i = 0; i < 6; ++i) {
        SaveSetting(AppTitle, Section, QString::fromLatin1(Keys[i]), rows[2 * i]);
        SaveSetting(AppTitle, Section, QString::fromLatin1(Keys[i]) + QStringLiteral("Name"), rows[2 * i + 1]);
    }
}

// The twelve keys, "(none)" for a key never written.
Rows storedRows()
{
    Rows rows;
    for (int i = 0; i < 6; ++i) {
        rows << GetSetting(AppTitle, Section, QString::fromLatin1(Keys[i]), QStringLiteral("(none)"));
        rows << GetSetting(AppTitle, Section, QString::fromLatin1(Keys[i]) + QStringLiteral("Name"),
                           QStringLiteral("(none)"));
    }
    return rows;
}

Rows shownRows(const Form1* dialog)
{
    Rows rows;
    for (size_t i = 0; i < 6; ++i)
        rows << dialog->Text1[i]->text() << dialog->Text2[i]->text();
    return rows;
}

}  // namespace

class TestFileTypesDialog : public QObject {
    Q_OBJECT

    Fixture f;
    int m_missed = 0;  // dialogs that did not show in this case

    // Opens the dialog from the Options menu and runs act while it shows.
    Rows runDialog(const std::function<void(Form1*)>& act)
    {
        Rows shown;
        bool seen = false;
        QPointer<QTimer> watch = whenModal<Form1>([&](Form1* dialog) {
            seen = true;
            shown = shownRows(dialog);
            act(dialog);
            if (dialog->isVisible())
                dialog->reject();  // a case that forgot to close it
        });
        f.main->mnuExtensions[1]->trigger();
        QApplication::processEvents();
        if (!seen) {
            delete watch;
            ++m_missed;
        }
        return shown;
    }

    QString openDialogFilter()
    {
        f.dialogs->cancel();
        f.command(Open);
        return f.dialogs->calls.last().Filter;
    }

private slots:
    void init() { f.start(); }
    void cleanup()
    {
        f.stop();
        QVERIFY2(std::exchange(m_missed, 0) == 0, "the File Types dialog did not show");
    }

    void showsTheStoredTypesOrTheInitialOnes_data()
    {
        QTest::addColumn<Rows>("stored");  // empty: nothing stored
        QTest::addColumn<Rows>("shown");
        QTest::newRow("nothing stored") << Rows() << initialRows();
        const Rows custom{"log", "Logs", "", "", "md", "", "", "", "c", "C Sources", "h", "Headers"};
        QTest::newRow("stored types, empty values too") << custom << custom;
        const Rows rowOneEmpty{"", "Nothing", "txt", "Text", "", "", "", "", "", "", "", ""};
        QTest::newRow("row 1 without extension") << rowOneEmpty << initialRows();
    }
    void showsTheStoredTypesOrTheInitialOnes()
    {
        QFETCH(Rows, stored);
        QFETCH(Rows, shown);
        if (!stored.isEmpty())
            storeRows(stored);
        QString caption;
        QString heading;
        qint64 icon = 0;
        const Rows seen = runDialog([&](Form1* dialog) {
            caption = dialog->windowTitle();
            icon = dialog->windowIcon().cacheKey();
            heading = dialog->findChild<QLabel*>(QStringLiteral("Label2"))->text();
            dialog->Command2->click();
        });
        QCOMPARE(seen, shown);
        QCOMPARE(caption, QStringLiteral("Pagewell"));
        QCOMPARE(heading, QStringLiteral("File Types"));
        QCOMPARE(icon, f.main->windowIcon().cacheKey());
    }

    void okWithoutChangesStoresTheBuiltList()
    {
        QCOMPARE(openDialogFilter(),
                 QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|INI Files (*.ini)|*.ini"));
        runDialog([](Form1* dialog) { dialog->Command1->click(); });
        QCOMPARE(storedRows(), initialRows());  // all twelve, empty ones too
        QCOMPARE(openDialogFilter(),
                 QStringLiteral("All Files (*.*) |*.*|Text Files (*.txt) |*.txt|INI Files (*.ini) |*.ini"));
    }

    void emptyingRowOneBringsBackTheFixedList()
    {
        storeRows({"log", "Logs", "txt", "Text", "", "", "", "", "", "", "", ""});
        QCOMPARE(openDialogFilter(), QStringLiteral("Logs (*.log) |*.log|Text (*.txt) |*.txt"));
        runDialog([](Form1* dialog) {
            dialog->Text1[0]->clear();
            dialog->Command1->click();
        });
        QCOMPARE(storedRows(), (Rows{"", "Logs", "txt", "Text", "", "", "", "", "", "", "", ""}));
        QCOMPARE(openDialogFilter(),
                 QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt|INI Files (*.ini)|*.ini"));
        // And the next time the dialog shows the initial contents.
        QCOMPARE(runDialog([](Form1* dialog) { dialog->Command2->click(); }), initialRows());
    }

    void aRowWithoutANameGivesAnEntryStartingWithABlank()
    {
        runDialog([](Form1* dialog) {
            dialog->Text1[3]->setText(QStringLiteral("md"));
            dialog->Command1->click();
        });
        QCOMPARE(openDialogFilter(), QStringLiteral("All Files (*.*) |*.*|Text Files (*.txt) |*.txt|"
                                                    "INI Files (*.ini) |*.ini| (*.md) |*.md"));
    }

    void defaultButtonRefillsUntilOk_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("then Cancel") << false;
        QTest::newRow("then OK") << true;
    }
    void defaultButtonRefillsUntilOk()
    {
        QFETCH(bool, ok);
        const Rows custom{"log", "Logs", "", "", "", "", "x", "Ex", "", "", "h", "Headers"};
        storeRows(custom);
        Rows afterDefault;
        runDialog([&](Form1* dialog) {
            dialog->Command3->click();
            afterDefault = shownRows(dialog);
            QCOMPARE(storedRows(), custom);  // nothing written yet
            (ok ? dialog->Command1 : dialog->Command2)->click();
        });
        QCOMPARE(afterDefault, initialRows());
        QCOMPARE(storedRows(), ok ? initialRows() : custom);
    }

    void cancelWritesNothing_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Esc key") << true;
    }
    void cancelWritesNothing()
    {
        QFETCH(bool, escape);
        runDialog([&](Form1* dialog) {
            dialog->Text1[0]->setText(QStringLiteral("log"));
            dialog->Text2[5]->setText(QStringLiteral("changed"));
            if (escape)
                QTest::keyClick(dialog->Text1[0], Qt::Key_Escape);
            else
                dialog->Command2->click();
        });
        QCOMPARE(storedRows(), Rows(12, QStringLiteral("(none)")));
    }

    void keyRules_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("nameBox");
        QTest::addColumn<QString>("before");     // the box's text first
        QTest::addColumn<QString>("extension");  // the row's extension (for name boxes)
        QTest::addColumn<QString>("keys");       // "<" is Backspace
        QTest::addColumn<QString>("after");
        QTest::newRow("dot refused in an extension") << 3 << false << "" << "" << "txt.bak" << "txtbak";
        QTest::newRow("leading dot refused") << 0 << false << "" << "" << ".log" << "log";
        QTest::newRow("backspace in an extension") << 1 << false << "txt" << "" << "<<" << "t";
        QTest::newRow("name refused while the extension is empty") << 4 << true << "" << "" << "Logs" << "";
        QTest::newRow("backspace refused too") << 4 << true << "Old" << "" << "<" << "Old";
        QTest::newRow("name taken with an extension") << 4 << true << "" << "log" << "Log files" << "Log files";
        QTest::newRow("dot allowed in a name") << 2 << true << "" << "ini" << "v.2" << "v.2";
    }
    void keyRules()
    {
        QFETCH(int, row);
        QFETCH(bool, nameBox);
        QFETCH(QString, before);
        QFETCH(QString, extension);
        QFETCH(QString, keys);
        QFETCH(QString, after);
        QString result;
        runDialog([&](Form1* dialog) {
            QLineEdit* box = nameBox ? dialog->Text2[size_t(row)] : dialog->Text1[size_t(row)];
            if (nameBox)
                dialog->Text1[size_t(row)]->setText(extension);
            box->setText(before);
            box->setFocus();
            box->deselect();
            box->end(false);
            for (QChar key : keys) {
                if (key == u'<')
                    QTest::keyClick(box, Qt::Key_Backspace);
                else
                    QTest::keyClicks(box, QString(key));
            }
            result = box->text();
            dialog->Command2->click();
        });
        QCOMPARE(result, after);
    }

    void enteringABoxSelectsItsText()
    {
        QString selected;
        runDialog([&](Form1* dialog) {
            dialog->activateWindow();
            QApplication::setActiveWindow(dialog);
            dialog->Text2[1]->setFocus(Qt::TabFocusReason);
            QTest::qWait(50);
            selected = dialog->Text2[1]->selectedText();
            dialog->Command2->click();
        });
        QCOMPARE(selected, QStringLiteral("Text Files"));
    }

    void focusGoesBackToTheDocument()
    {
        f.main->sbStatusBar->setFocusPolicy(Qt::StrongFocus);
        f.main->sbStatusBar->setFocus();
        QCOMPARE(f.main->focusWidget(), static_cast<QWidget*>(f.main->sbStatusBar));
        runDialog([](Form1* dialog) { dialog->Command2->click(); });
        QApplication::processEvents();
        QCOMPARE(f.main->focusWidget(), static_cast<QWidget*>(f.text()));
    }
};

PAGEWELL_TEST_MAIN(TestFileTypesDialog)
#include "tst_filetypesdialog.moc"
