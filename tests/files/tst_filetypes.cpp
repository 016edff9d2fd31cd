// The file types the user keeps: the filter every file dialog gets from
// them, and the File Types dialog (Options, File Extensions) that edits them.
#include "FileMenu.h"
#include "core/CommonDialog.h"
#include "core/Settings.h"
#include "files/FileFilter.h"
#include "files/Form1.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

namespace {

const QString Section = QStringLiteral("Extension");
const char* const Keys[6] = {"One", "Two", "Three", "Four", "Five", "Six"};
const QStringList Initial{"*", "All Files", "txt", "Text Files", "ini", "INI Files", "", "", "", "", "", ""};
const QString None = QStringLiteral("(none)");

// Extension and name of rows 1..6, twelve values; missing ones are "".
void storeRows(const QStringList& rows)
{
    for (int i = 0; i < rows.size(); ++i)
        putSetting(Section, QString::fromLatin1(Keys[i / 2]) + (i % 2 ? "Name" : ""), rows[i]);
}

QStringList storedRows()
{
    QStringList rows;
    for (int i = 0; i < 12; ++i)
        rows << GetSetting(AppTitle, Section, QString::fromLatin1(Keys[i / 2]) + (i % 2 ? "Name" : ""), None);
    return rows;
}

FileTypeRows typeRows(const QStringList& rows)
{
    FileTypeRows types;
    for (int i = 0; i < 6; ++i)
        types[i] = {rows.value(2 * i) == None ? "" : rows.value(2 * i), rows.value(2 * i + 1) == None ? "" : rows.value(2 * i + 1)};
    return types;
}

QStringList shownRows(const Form1* dialog)
{
    QStringList rows;
    for (size_t i = 0; i < 6; ++i)
        rows << dialog->Text1[i]->text() << dialog->Text2[i]->text();
    return rows;
}

// Keys typed into one box of a row; for a name box the row's extension is set first.
struct Keyed { int row; bool nameBox; QString before, extension, keys, after; };  // "<" Backspace, "^" Home; after: "|" the caret
struct Edited { QStringList stored; QString steps; QStringList shown, after; };

}  // namespace

Q_DECLARE_METATYPE(Keyed)
Q_DECLARE_METATYPE(Edited)

class TestFileTypes : public QObject {
    Q_OBJECT

    FileMenu f;

    // Opens the dialog from the Options menu and runs act while it shows.
    QStringList runDialog(const std::function<void(Form1*)>& act)
    {
        QStringList shown;
        WhenModal<Form1> watch([&](Form1* dialog) {
            shown = shownRows(dialog);
            act(dialog);
            if (dialog->isVisible()) {  // the keys did not close it
                dialog->reject();
                QFAIL("the File Types dialog stayed open");
            }
        });
        f.main->item("mnuExtensions", 1)->trigger();
        QApplication::processEvents();
        [&] { QVERIFY2(watch.answered(), "the File Types dialog did not show"); }();
        return shown;
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    // Every file dialog gets the filter built from the stored rows.
    void filter_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("nameFilters");  // as Qt's dialog lists them
        QTest::newRow("nothing stored") << QStringList() << DefaultFileFilter << "All Files (*)|Text Files (*.txt)|INI Files (*.ini)";
        QTest::newRow("row 1 empty: the fixed list, others ignored") << QStringList{"", "Name", "txt", "Text"} << DefaultFileFilter << "";
        QTest::newRow("the description's example") << QStringList{"txt", "Text Files", "*", "All Files"}
                                                   << "Text Files (*.txt) |*.txt|All Files (*.*) |*.*" << "Text Files (*.txt)|All Files (*)";
        QTest::newRow("initial types, built") << Initial << "All Files (*.*) |*.*|Text Files (*.txt) |*.txt|INI Files (*.ini) |*.ini" << "";
        QTest::newRow("no name gives a leading blank") << QStringList{"txt", "Text", "log", ""} << "Text (*.txt) |*.txt| (*.log) |*.log" << "Text (*.txt)|(*.log)";
        QTest::newRow("row 1 without name") << QStringList{"c", ""} << " (*.c) |*.c" << "";
        QTest::newRow("rows without extension are skipped")
            << QStringList{"a", "A", "", "Skipped", "c", "C", "", "", "", "Also skipped", "f", "F"} << "A (*.a) |*.a|C (*.c) |*.c|F (*.f) |*.f" << "";
        QTest::newRow("all six rows") << QStringList{"1", "N1", "2", "N2", "3", "N3", "4", "N4", "5", "N5", "6", "N6"}
                                      << "N1 (*.1) |*.1|N2 (*.2) |*.2|N3 (*.3) |*.3|N4 (*.4) |*.4|N5 (*.5) |*.5|N6 (*.6) |*.6" << "";
        QTest::newRow("non-ASCII names") << QStringList{"txt", "Textdateien \u00E4\u00F6\u00FC"} << "Textdateien \u00E4\u00F6\u00FC (*.txt) |*.txt" << "";
    }
    void filter()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, filter);
        QFETCH(QString, nameFilters);
        QCOMPARE(buildFileFilterText(typeRows(rows)), filter);
        if (!nameFilters.isEmpty())
            QCOMPARE(nameFiltersFromFilter(filter).join(u'|'), nameFilters);
        storeRows(rows);
        f.type(QStringLiteral("text"));
        f.boxes->answers = {vb::vbYes};
        for (int command : {Open, Insert, Save, SaveAs, Close}) {
            f.dialogs->cancel();
            f.command(command);
        }
        QCOMPARE(f.dialogs->calls.size(), 5);
        for (const CommonDialogCall& call : std::as_const(f.dialogs->calls))
            QCOMPARE(call.Filter, filter);
    }

    // The dialog shows the stored rows; OK writes all twelve values, Esc,
    // Cancel and Default write nothing; the dialogs then get the new filter.
    void dialog_data()
    {
        QTest::addColumn<Edited>("row");  // steps: e<row>=text, n<row>=text, D (Default), then OK, Cancel or Esc
        const QStringList none(12, None), custom{"log", "Logs", "", "", "md", "", "", "", "c", "C Sources", "h", "Headers"};
        const QStringList rowOneEmpty{"", "Nothing", "txt", "Text", "", "", "", "", "", "", "", ""};
        QStringList withMd = Initial;
        withMd[6] = QStringLiteral("md");
        QTest::newRow("nothing stored, Cancel") << Edited{QStringList(), "Cancel", Initial, none};
        QTest::newRow("OK without changes stores all twelve") << Edited{QStringList(), "OK", Initial, Initial};
        QTest::newRow("stored rows, empty values too") << Edited{custom, "Cancel", custom, custom};
        QTest::newRow("row 1 without extension shows the initial rows") << Edited{rowOneEmpty, "Cancel", Initial, rowOneEmpty};
        QTest::newRow("emptying row 1") << Edited{custom, "e0= OK", custom, (QStringList{""} + custom.mid(1))};
        QTest::newRow("a row without a name") << Edited{QStringList(), "e3=md OK", Initial, withMd};
        QTest::newRow("Default, then Cancel") << Edited{custom, "D Cancel", custom, custom};
        QTest::newRow("Default, then OK") << Edited{custom, "D OK", custom, Initial};
        QTest::newRow("edits, then Cancel") << Edited{QStringList(), "e0=log n5=changed Cancel", Initial, none};
        QTest::newRow("edits, then Esc") << Edited{QStringList(), "e0=log n5=changed Esc", Initial, none};
        QTest::newRow("Enter is OK") << Edited{QStringList(), "e3=md Enter", Initial, withMd};
    }
    void dialog()
    {
        QFETCH(Edited, row);
        const auto& [stored, steps, shown, after] = row;
        storeRows(stored);
        f.main->sbStatusBar->setFocusPolicy(Qt::StrongFocus);
        f.main->sbStatusBar->setFocus();
        QStringList seen;
        const QStringList opened = runDialog([&](Form1* dialog) {
            seen << dialog->windowTitle() << dialog->findChild<QLabel*>(QStringLiteral("Label2"))->text();
            seen << QString::number(dialog->windowIcon().cacheKey() == f.main->windowIcon().cacheKey());
            for (const QString& step : row.steps.split(u' ')) {
                const int row = step.mid(1, 1).toInt();
                if (step.startsWith(u'e'))
                    dialog->Text1[size_t(row)]->setText(step.mid(3));
                else if (step.startsWith(u'n'))
                    dialog->Text2[size_t(row)]->setText(step.mid(3));
                else if (step == QLatin1String("D"))
                    dialog->Command3->click(), seen << shownRows(dialog) << storedRows();  // nothing written yet
                else if (step == QLatin1String("Esc") || step == QLatin1String("Enter"))
                    QTest::keyClick(dialog->Text2[5], step == QLatin1String("Esc") ? Qt::Key_Escape : Qt::Key_Return);  // no extension there
                else
                    (step == QLatin1String("OK") ? dialog->Command1 : dialog->Command2)->click();
            }
        });
        QCOMPARE(opened, shown);
        QCOMPARE(seen.mid(0, 3), (QStringList{"Pagewell", "File Types", "1"}));
        if (steps.startsWith(u'D'))
            QCOMPARE(seen.mid(3), Initial + stored);
        QCOMPARE(storedRows(), after);
        QCOMPARE(f.main->focusWidget(), static_cast<QWidget*>(f.text()));  // back to the document
        f.dialogs->cancel();
        f.command(Open);
        QCOMPARE(f.dialogs->calls.last().Filter, buildFileFilterText(typeRows(after)));
        QCOMPARE(runDialog([](Form1* dialog) { dialog->Command2->click(); }), after[0].isEmpty() || after[0] == None ? Initial : after);
    }

    // An extension box refuses ".", a name box every key while its row has
    // no extension.
    void keys_data()
    {
        QTest::addColumn<Keyed>("k");
        QTest::newRow("dot refused in an extension") << Keyed{3, false, "", "", "txt.bak", "txtbak|"};
        QTest::newRow("only dots") << Keyed{0, false, "", "", "...", "|"};
        QTest::newRow("others and non-ASCII taken") << Keyed{5, false, "", "", "*?,-_ 1\u00E9\u3002", "*?,-_ 1\u00E9\u3002|"};
        QTest::newRow("backspace in an extension") << Keyed{1, false, "txt", "", "<<", "t|"};
        QTest::newRow("name refused while the extension is empty") << Keyed{4, true, "", "", "Logs", "|"};
        QTest::newRow("backspace refused too") << Keyed{4, true, "Old", "", "<", "Old|"};
        QTest::newRow("name taken with an extension") << Keyed{4, true, "", "log", "Log files", "Log files|"};
        QTest::newRow("moving the caret is no typing") << Keyed{4, true, "Old", "", "^", "|Old"};
        QTest::newRow("a blank is an extension") << Keyed{1, true, "", " ", "v.2", "v.2|"};
    }
    void keys()
    {
        QFETCH(Keyed, k);
        QString result;
        runDialog([&](Form1* dialog) {
            QLineEdit* box = k.nameBox ? dialog->Text2[size_t(k.row)] : dialog->Text1[size_t(k.row)];
            if (k.nameBox)
                dialog->Text1[size_t(k.row)]->setText(k.extension);
            box->setText(k.before);
            box->setFocus();
            box->end(false);
            for (QChar key : k.keys) {
                if (key == u'<' || key == u'^')
                    QTest::keyClick(box, key == u'<' ? Qt::Key_Backspace : Qt::Key_Home);
                else if (key.unicode() < 128)
                    QTest::keyClicks(box, QString(key));
                else
                    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(key), Qt::NoModifier);
            }
            result = box->text().insert(box->cursorPosition(), u'|');
            dialog->Command2->click();
        });
        QCOMPARE(result, k.after);
    }

    void enteringABoxSelectsItsText()
    {
        QString selected;
        runDialog([&](Form1* dialog) {
            QApplication::setActiveWindow(dialog);
            dialog->Text2[1]->setFocus(Qt::TabFocusReason);
            QTest::qWait(50);
            selected = dialog->Text2[1]->selectedText();
            dialog->Command2->click();
        });
        QCOMPARE(selected, QStringLiteral("Text Files"));
    }
};

PAGEWELL_TEST_MAIN(TestFileTypes)
#include "tst_filetypes.moc"
