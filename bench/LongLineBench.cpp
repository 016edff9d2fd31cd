// "one-line": the generated text as one line without any break, against the
// same text in 80-character lines, in the same run: File > Open (fully
// loaded, longest freeze), a letter typed near the start and in the middle
// of the text (wrap on, as at a first start, and off), and Save as plain
// text.
#include "DocumentFixture.h"
#include "InputFiles.h"
#include "Interaction.h"
#include "OpenCommand.h"
#include "Operations.h"
#include "Timing.h"

#include "app/frmMain.h"
#include "document/RichTextBox.h"

#include <QTemporaryDir>
#include <QTextDocument>

#include <filesystem>

namespace bench {

namespace {

constexpr int Keystrokes = 30;
constexpr int StartColumn = 40;

// A letter typed Keystrokes times at `position`, each until painted.
void typeAt(ChildReport& report, RichTextBox* text, int position, const std::string& key)
{
    QTextCursor caret(text->document());
    caret.setPosition(position);
    text->setTextCursor(caret);
    paintPending(text->viewport());
    runEventsFor(50);
    std::vector<double> times;
    for (int i = 0; i < Keystrokes; ++i)
        times.push_back(timedKey(text, Qt::Key_X));
    report.set(key, median(times));
}

ChildBody keysBody(const QString& path, int limit, bool wrap)
{
    return [path, limit, wrap](ChildReport& report) {
        if (!wrap)
            storeWordWrap(false);
        OpenedDocument document;
        if (const char* failure = document.openAndShow(path))
            return report.fail(failure);
        RichTextBox* text = document.text();
        focusEditor(text);
        report.limit(limit, "keystroke");
        const int before = text->document()->characterCount();
        typeAt(report, text, StartColumn, "start");
        typeAt(report, text, before / 2, "middle");
        if (text->document()->characterCount() != before + 2 * Keystrokes)
            report.fail("not every key reached the text");
    };
}

struct Series {
    std::vector<ChildResult> open, keysWrapped, keysUnwrapped, save;
};

// paragraphs: what the file holds, -1 for the generated input's lines.
Series measureFile(const std::string& label, const BenchInput& input, int paragraphs)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    const int setup = setupLimitSeconds(input.sizeMB);
    return {runSeries(label + " open", editorOpen(input, std::nullopt, paragraphs), input.runs, setup),
            runSeries(label + " keystroke, wrap on", keysBody(path, limit, true), input.runs, setup),
            runSeries(label + " keystroke, wrap off", keysBody(path, limit, false), input.runs, setup),
            runSeries(label + " save", editorSave(input, RichTextBox::rtfText), input.runs, setup)};
}

}  // namespace

std::vector<Row> measureOneLine(const BenchInput& input)
{
    const std::string folder = std::filesystem::path(input.path).parent_path().string();
    const std::string oneLineFile = generateOneLineFile(folder, input.sizeMB);
    const Series one = measureFile("one line", {oneLineFile, input.sizeMB, input.runs}, 1);
    std::filesystem::remove(oneLineFile);
    const Series lines = measureFile("80-character lines", input, -1);

    const std::string name = "one " + std::to_string(input.sizeMB) + " MB line: ";
    const std::string baseline = "the same text in 80-character lines";
    std::vector<Row> rows = {
        {name + "open, fully loaded", figureOf(one.open, "loaded", "open"), baseline,
         figureOf(lines.open, "loaded", "open"), ""},
        {name + "open, longest freeze", figureOf(one.open, "freeze", "open"), baseline,
         figureOf(lines.open, "freeze", "open"), ""},
    };
    for (const auto& [mode, oneKeys, lineKeys] :
         {std::tuple{"wrap on", &one.keysWrapped, &lines.keysWrapped},
          std::tuple{"wrap off", &one.keysUnwrapped, &lines.keysUnwrapped}}) {
        rows.push_back({name + "a letter near the start, " + mode, figureOf(*oneKeys, "start", "keystroke"),
                        baseline, figureOf(*lineKeys, "start", "keystroke"),
                        "median of " + std::to_string(Keystrokes) + " keys per run"});
        rows.push_back({name + "a letter in the middle, " + mode, figureOf(*oneKeys, "middle", "keystroke"),
                        baseline, figureOf(*lineKeys, "middle", "keystroke"), ""});
    }
    rows.push_back({name + "save as plain text", figureOf(one.save, "save", "save"), baseline,
                    figureOf(lines.save, "save", "save"), ""});
    return rows;
}

}  // namespace bench
