// "select-copy": Edit, Select All then Edit, Copy on a loaded document,
// against selectAll() and copy() of a QPlainTextEdit holding the same text;
// "cut-paste" (below) moves the whole text out and back.
#include "DocumentFixture.h"
#include "OpenCommand.h"
#include "Operations.h"
#include "Timing.h"

#include "app/frmMain.h"
#include "core/Clipboard.h"
#include "document/RichTextBox.h"
#include "editing/EditCommands.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPlainTextEdit>

namespace bench {

namespace {

// The clipboard must hold the whole file: plain ASCII with LF line ends
// reads back as many characters as the file has bytes.
bool holdsWholeFile(ChildReport& report, qint64 characters, qint64 fileSize)
{
    report.note("clipboard", std::to_string(characters) + " characters");
    if (characters == fileSize)
        return true;
    report.fail("the clipboard holds " + std::to_string(characters) + " characters, the file "
                + std::to_string(fileSize) + " bytes");
    return false;
}

ChildBody editorSelectCopy(const BenchInput& input)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [path, limit](ChildReport& report) {
        storeWordWrap(false);
        OpenedDocument document;
        if (const char* failure = document.openAndShow(path))
            return report.fail(failure);
        frmMain* main = document.main();

        report.limit(limit, "select-copy");
        Stopwatch total;
        Stopwatch phase;
        editing::mnuSelectAll_Click(*main);
        const double selectAllMs = phase.elapsedMs();
        FreezeWatch freeze;
        freeze.start();
        phase.restart();
        editing::mnuEditCopy_Click(*main);
        const double copyMs = phase.elapsedMs();
        freeze.stop();
        report.set("freeze", freeze.longestGapMs());
        phase.restart();
        QCoreApplication::processEvents();
        const double eventsMs = phase.elapsedMs();
        const double totalMs = total.elapsedMs();
        report.limit(0, "");
        if (!holdsWholeFile(report, Clipboard::GetText().size(), QFileInfo(path).size()))
            return;
        report.set("SelectAll", selectAllMs);
        report.set("Copy", copyMs);
        report.set("events", eventsMs);
        report.set("select-copy", totalMs);
    };
}

ChildBody plainSelectCopy(const BenchInput& input)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [path, limit](ChildReport& report) {
        PlainTextReference reference;
        if (!reference.load(path) || !reference.showAndPaint())
            return report.fail("set-up failed");
        QPlainTextEdit* edit = reference.edit();

        report.limit(limit, "select-copy");
        Stopwatch total;
        edit->selectAll();
        edit->copy();
        QCoreApplication::processEvents();
        const double totalMs = total.elapsedMs();
        // The widget's clipboard data makes its text only when asked.
        report.limit(limit, "clipboard read-back");
        Stopwatch readBack;
        const qint64 characters = QGuiApplication::clipboard()->text().size();
        const double readBackMs = readBack.elapsedMs();
        report.limit(0, "");
        if (!holdsWholeFile(report, characters, QFileInfo(path).size()))
            return;
        report.set("select-copy", totalMs);
        report.set("readBack", readBackMs);
    };
}


// "cut-paste": Select All, Cut, Paste and Undo of that Paste on a loaded
// document, each watched for the longest time without painting, against
// the same steps in a QPlainTextEdit.
ChildBody editorCutPaste(const BenchInput& input)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [path, limit](ChildReport& report) {
        storeWordWrap(false);
        OpenedDocument document;
        if (const char* failure = document.openAndShow(path))
            return report.fail(failure);
        frmMain* main = document.main();
        RichTextBox* text = document.text();
        const int length = text->TextLength();

        Stopwatch total;
        const auto watched = [&](const char* name, auto step) {
            report.limit(limit, name);
            FreezeWatch freeze;
            freeze.start();
            Stopwatch phase;
            step();
            QCoreApplication::processEvents();
            report.set(name, phase.elapsedMs());
            freeze.stop();
            report.set(std::string(name) + "Freeze", freeze.longestGapMs());
        };
        editing::mnuSelectAll_Click(*main);
        watched("Cut", [&] { editing::mnuEditCut_Click(*main); });
        if (text->TextLength() != 0)
            return report.fail("Cut left text behind");
        watched("Paste", [&] { editing::mnuEditPaste_Click(*main); });
        if (text->TextLength() != length)
            return report.fail("Paste did not bring the whole text back");
        watched("Undo", [&] { editing::mnuEditUndo_Click(*main); });
        if (text->TextLength() != 0)
            return report.fail("Undo of Paste left text behind");
        report.limit(0, "");
        report.set("cut-paste", total.elapsedMs());
    };
}

ChildBody plainCutPaste(const BenchInput& input)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = 2 * phaseLimitSeconds(input.sizeMB);  // Qt takes about a minute at 100 MB
    return [path, limit](ChildReport& report) {
        PlainTextReference reference;
        if (!reference.load(path) || !reference.showAndPaint())
            return report.fail("set-up failed");
        QPlainTextEdit* edit = reference.edit();
        report.limit(limit, "cut-paste");
        Stopwatch total;
        const auto timed = [&](const char* name, auto step) {
            Stopwatch phase;
            step();
            QCoreApplication::processEvents();
            report.set(name, phase.elapsedMs());
        };
        edit->selectAll();
        timed("Cut", [&] { edit->cut(); });
        timed("Paste", [&] { edit->paste(); });
        timed("Undo", [&] { edit->undo(); });
        report.limit(0, "");
        if (!edit->document()->isEmpty())
            return report.fail("Undo of Paste left text behind");
        report.set("cut-paste", total.elapsedMs());
    };
}

}  // namespace

std::vector<Row> measureSelectCopy(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    const auto plain = runSeries("select-copy baseline QPlainTextEdit", plainSelectCopy(input), input.runs, setup);
    const auto editor = runSeries("select-copy (Select All, Copy)", editorSelectCopy(input), input.runs, setup);
    std::string detail = medianBreakdown(editor, {"SelectAll", "Copy", "events", "freeze"});
    detail += " (freeze: the longest time Copy did not paint)";
    if (const std::string held = firstNote(editor, "clipboard"); !held.empty())
        detail += "; clipboard " + held;
    const std::string readBack = medianBreakdown(plain, {"readBack"});
    if (!readBack.empty())
        detail += "; baseline's clipboard text made on request (not timed): " + readBack;
    return {
        {"select-copy (mnuSelectAll_Click + mnuEditCopy_Click)", figureOf(editor, "select-copy", "select-copy"),
         "QPlainTextEdit selectAll + copy", figureOf(plain, "select-copy", "select-copy"), detail},
    };
}

std::vector<Row> measureCutPaste(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    const auto plain = runSeries("cut-paste baseline QPlainTextEdit", plainCutPaste(input), input.runs, setup);
    const auto editor = runSeries("cut-paste (Select All, Cut, Paste, Undo)", editorCutPaste(input), input.runs, setup);
    std::string detail = medianBreakdown(editor, {"Cut", "CutFreeze", "Paste", "PasteFreeze", "Undo", "UndoFreeze"});
    detail += " (freeze: the longest time the step did not paint); baseline " + medianBreakdown(plain, {"Cut", "Paste", "Undo"});
    return {
        {"cut-paste (Select All, mnuEditCut_Click, mnuEditPaste_Click, mnuEditUndo_Click)",
         figureOf(editor, "cut-paste", "cut-paste"), "QPlainTextEdit selectAll, cut, paste, undo",
         figureOf(plain, "cut-paste", "cut-paste"), detail},
    };
}

}  // namespace bench
