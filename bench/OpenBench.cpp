// "open": File > Open of the generated file in the shown main window, as the
// user runs it, while a 5 ms timer of the same thread notes the longest
// time between its ticks (the longest freeze); with the time until the
// first screen of text has painted and until the command has finished.
// Baseline: QPlainTextEdit::setPlainText of the same decoded text, which
// freezes for its whole duration.
#include "DocumentFixture.h"
#include "InputFiles.h"
#include "Interaction.h"
#include "OpenCommand.h"
#include "Operations.h"
#include "Targets.h"
#include "Timing.h"

#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/TextFileCodec.h"
#include "document/frmDocument.h"

#include <QFile>
#include <QPlainTextEdit>

#include <filesystem>
#include <optional>

namespace bench {

namespace {

constexpr double FreezeLimitMs = 100;
constexpr double FirstScreenLimitMs = 1000;
// How long the event loop runs on after the command, for the last ticks and paints.
constexpr double AfterMs = 300;

int expectedParagraphs(const std::string& path)
{
    return int(std::filesystem::file_size(path) / (InputLineLength + 1)) + 1;
}

// The watches' figures once the event loop has run on after the load.
void finishWatching(ChildReport& report, FreezeWatch& freeze, const LoadObserver& observer)
{
    runEventsFor(AfterMs);
    freeze.stop();
    report.set("freeze", freeze.longestGapMs());
    report.set("freezeEnd", freeze.longestGapEndMs());
    report.set("gapsOver100", freeze.gapsOver(FreezeLimitMs));
    if (observer.painted())
        report.set("firstScreen", observer.firstPaintMs());
    if (observer.progressShown())
        report.set("progressShown", observer.progressShownMs());
}


ChildBody plainOpen(const BenchInput& input)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    const int paragraphs = expectedParagraphs(input.path);
    return [path, limit, paragraphs](ChildReport& report) {
        PlainTextReference reference;
        QPlainTextEdit* edit = reference.edit();
        if (!reference.showAndPaint())
            return report.fail("set-up: the empty control never painted");
        FreezeWatch freeze;
        LoadObserver observer;
        report.limit(limit, "open");
        Stopwatch watch;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return report.fail(file.errorString().toStdString());
        const QString text = decodeTextFile(file.readAll()).text;
        report.set("readDecode", watch.elapsedMs());
        freeze.start();
        observer.start();
        edit->setPlainText(text);
        report.set("loaded", observer.elapsedMs());
        finishWatching(report, freeze, observer);
        if (edit->document()->blockCount() != paragraphs)
            return report.fail(std::to_string(edit->document()->blockCount()) + " blocks of "
                               + std::to_string(paragraphs));
        if (!observer.painted())
            return report.fail("no screen of text was painted");
    };
}

// The baseline's first screen counts reading and decoding too, as the editor's does.
Figure plainFirstScreen(const std::vector<ChildResult>& runs)
{
    std::vector<ChildResult> summed = runs;
    for (ChildResult& run : summed) {
        const auto decode = run.values.find("readDecode");
        const auto screen = run.values.find("firstScreen");
        if (decode != run.values.end() && screen != run.values.end())
            screen->second += decode->second;
    }
    return figureOf(summed, "firstScreen", "open");
}

std::vector<Row> openRows(const std::string& mode, const std::vector<ChildResult>& editor,
                          const std::vector<ChildResult>& plain)
{
    const Figure freeze = figureOf(editor, "freeze", "open");
    const Figure screen = figureOf(editor, "firstScreen", "open");
    const Figure loaded = figureOf(editor, "loaded", "open");
    const Figure plainFreeze = figureOf(plain, "freeze", "open");
    const Figure plainScreen = plainFirstScreen(plain);
    const Figure plainLoaded = figureOf(plain, "loaded", "open");
    const std::string where = "the longest freeze ended at " + medianText(editor, "freezeEnd", 0)
                              + " ms, the progress window appeared at " + medianText(editor, "progressShown", 0)
                              + " ms (from the command's start); gaps over 100 ms per run: "
                              + medianText(editor, "gapsOver100", 0) + "; after: " + firstNote(editor, "windows");
    const std::string name = "open, " + mode;
    return {
        {name + ": longest freeze", freeze, "QPlainTextEdit::setPlainText, its longest freeze", plainFreeze,
         "<= 100 ms: " + againstLimit(freeze, FreezeLimitMs) + "; " + where},
        {name + ": first screen painted", screen, "QPlainTextEdit read+decode+setPlainText+first paint",
         plainScreen, "<= 1 s: " + againstLimit(screen, FirstScreenLimitMs)},
        {name + ": fully loaded", loaded, "QPlainTextEdit::setPlainText", plainLoaded,
         "<= setPlainText: " + againstBaseline(loaded, plainLoaded, 1.0) + "; baseline read+decode "
             + medianText(plain, "readDecode") + " ms (not in its setPlainText figure)"},
    };
}

}  // namespace

ChildBody editorOpen(const BenchInput& input, std::optional<bool> wrap, int paragraphs)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    if (paragraphs < 0)
        paragraphs = expectedParagraphs(input.path);
    return [path, limit, wrap, paragraphs](ChildReport& report) {
        if (wrap)
            storeWordWrap(*wrap);
        OpenedDocument window;  // the main window with its empty first document
        if (!window.showAndPaint())
            return report.fail("set-up: the empty document never painted");
        ScriptedOpen script(path);
        FreezeWatch freeze;
        LoadObserver observer;
        report.limit(limit, "open");
        freeze.start();
        observer.start();
        runFileOpen(*window.main());
        report.set("loaded", observer.elapsedMs());
        finishWatching(report, freeze, observer);
        const frmDocument* document = window.main()->ActiveDocument();
        if (!script.message.isEmpty() || script.dialogs != 1 || !document)
            return report.fail("Open showed \"" + script.message.toStdString() + "\"");
        const int blocks = document->txtText->document()->blockCount();
        if (blocks != paragraphs)
            return report.fail(std::to_string(blocks) + " paragraphs of " + std::to_string(paragraphs));
        if (!observer.painted())
            return report.fail("no screen of text was painted");
        report.note("windows", std::to_string(window.main()->Documents().size()) + " document window(s), "
                                   + window.main()->panelText(2).toStdString());
    };
}

std::vector<Row> measureOpen(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    const auto plain = runSeries("open baseline QPlainTextEdit::setPlainText", plainOpen(input), input.runs, setup);
    std::vector<Row> rows;
    for (const std::optional<bool> wrap : {std::optional<bool>(), std::optional<bool>(false)}) {
        const std::string mode = wrap ? "stored wrap off" : "first start (wrap on)";
        const auto editor = runSeries("open " + mode, editorOpen(input, wrap), input.runs, setup);
        for (Row& row : openRows(mode, editor, plain))
            rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace bench
