// "caret-jump": right after File > Open has finished (no waiting for
// anything), Go To Line to the last line until painted; then mouse clicks
// in the viewport, each until painted, near the end and, after going back,
// near the top. Baseline: a QPlainTextEdit of the same size with the same
// text moving its cursor to the end, and the same clicks.
#include "DocumentFixture.h"
#include "Interaction.h"
#include "OpenCommand.h"
#include "Operations.h"
#include "Targets.h"
#include "Timing.h"

#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "document/frmDocument.h"
#include "search/frmGotoLine.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace bench {

namespace {

constexpr int Clicks = 30;
constexpr double JumpLimitMs = 50;
constexpr double ClickLimitMs = 16;

// Points spread over the viewport, away from its edges.
QPoint clickPoint(QSize viewport, int i)
{
    const int x = 20 + (i * 53) % std::max(1, viewport.width() - 40);
    const int y = 8 + (i * 23) % std::max(1, viewport.height() - 16);
    return QPoint(x, y);
}

// Clicks Clicks times, each until painted; fails unless the caret followed
// the last click.
template <class Edit>
bool clickAround(ChildReport& report, Edit* edit, const std::string& key, bool nearEnd)
{
    std::vector<double> times;
    int forced = 0;
    for (int i = 0; i < Clicks; ++i)
        times.push_back(timedClick(edit, clickPoint(edit->viewport()->size(), i), &forced));
    report.set(key, median(times));
    report.set(key + ".first", times.front());
    report.set(key + ".max", *std::max_element(times.begin(), times.end()));
    if (forced > 0)
        report.note(key + ".forced", std::to_string(forced) + " paints forced");
    // The caret must be on the clicked line (or the next, at the end of a
    // wrapped one), in the half of the document that was shown.
    const int block = edit->textCursor().block().blockNumber();
    const bool rightHalf = (block >= edit->document()->blockCount() / 2) == nearEnd;
    const int caretY = edit->cursorRect().center().y();
    const int clickedY = clickPoint(edit->viewport()->size(), Clicks - 1).y();
    if (!rightHalf || std::abs(caretY - clickedY) > 2 * edit->fontMetrics().height()) {
        report.fail(key + ": caret in paragraph " + std::to_string(block) + " at y " + std::to_string(caretY)
                    + ", clicked at y " + std::to_string(clickedY));
        return false;
    }
    return true;
}

template <class Edit>
void clickBothEnds(ChildReport& report, Edit* edit, int limit)
{
    report.limit(limit, "click");
    if (!clickAround(report, edit, "clickEnd", true))
        return;
    edit->moveCursor(QTextCursor::Start);
    paintPending(edit->viewport());
    clickAround(report, edit, "clickTop", false);
}

ChildBody editorJump(const BenchInput& input, std::optional<bool> wrap)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [path, limit, wrap](ChildReport& report) {
        if (wrap)
            storeWordWrap(*wrap);
        OpenedDocument window;
        if (!window.showAndPaint())
            return report.fail("set-up: the empty document never painted");
        ScriptedOpen script(path);
        runFileOpen(*window.main());
        frmDocument* document = window.main()->ActiveDocument();
        if (!script.message.isEmpty() || !document)
            return report.fail("Open showed \"" + script.message.toStdString() + "\"");
        RichTextBox* text = document->txtText;
        report.note("size", sizeText(text->size()));

        // The user has typed the number into the dialog; OK goes there.
        const int lastLine = text->LineCount();
        frmGotoLine dialog(window.main());
        dialog.Text1->setText(QString::number(lastLine));
        report.limit(limit, "jump");
        Stopwatch watch;
        dialog.cmdOK_Click();
        text->viewport()->repaint();
        report.set("jump", watch.elapsedMs());
        report.note("status", std::to_string(lastLine) + " typed (the status line's count); after it: "
                                  + window.main()->panelText(2).toStdString());
        // With wrapping the count of lines is partly estimated, so the check
        // is that the caret went to the last line of the last paragraph.
        const QTextCursor caret = text->textCursor();
        if (caret.block() != text->document()->lastBlock()
            || text->LineFromChar(-1) != text->LineFromChar(text->TextLength()))
            return report.fail("caret at " + std::to_string(text->SelStart()) + " of "
                               + std::to_string(text->TextLength()));
        clickBothEnds(report, text, limit);
    };
}

ChildBody plainJump(const BenchInput& input, bool wrap, QSize size)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [path, limit, wrap, size](ChildReport& report) {
        PlainTextReference reference;
        QPlainTextEdit* edit = reference.edit();
        if (!reference.prepare(path, wrap, size))
            return report.fail("set-up failed");
        report.limit(limit, "jump");
        Stopwatch watch;
        edit->moveCursor(QTextCursor::End);
        edit->viewport()->repaint();
        report.set("jump", watch.elapsedMs());
        clickBothEnds(report, edit, limit);
    };
}

std::string spreadOf(const std::vector<ChildResult>& runs, const std::string& key)
{
    return "first " + medianText(runs, key + ".first", 2) + " ms, slowest " + medianText(runs, key + ".max", 2)
           + " ms";
}

std::string forcedText(const std::vector<ChildResult>& editor, const std::vector<ChildResult>& plain,
                       const std::string& key)
{
    const std::string ours = firstNote(editor, key + ".forced");
    const std::string theirs = firstNote(plain, key + ".forced");
    return (ours.empty() ? "" : "; editor: " + ours) + (theirs.empty() ? "" : "; baseline: " + theirs);
}

}  // namespace

std::vector<Row> measureCaretJump(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    std::vector<Row> rows;
    for (const std::optional<bool> wrap : {std::optional<bool>(), std::optional<bool>(false)}) {
        const bool wraps = !wrap || *wrap;
        const std::string mode = wrap ? "stored wrap off" : "first start (wrap on)";
        const auto editor = runSeries("caret-jump " + mode, editorJump(input, wrap), input.runs, setup);
        const QSize size = sizeFromText(firstNote(editor, "size"));
        const auto plain = runSeries("caret-jump baseline QPlainTextEdit " + mode, plainJump(input, wraps, size),
                                     input.runs, setup);
        const std::string plainMode = wraps ? ", wrap at widget width" : ", no wrap";
        const Figure jump = figureOf(editor, "jump", "jump");
        rows.push_back({"Go To Line, last line, right after File > Open, " + mode, jump,
                        "QPlainTextEdit cursor to the end + repaint" + plainMode, figureOf(plain, "jump", "jump"),
                        "<= 50 ms: " + againstLimit(jump, JumpLimitMs) + "; Go To Line: "
                            + firstNote(editor, "status")});
        for (const auto& [key, where] : {std::pair<std::string, std::string>{"clickEnd", "near the end"},
                                         {"clickTop", "near the top"}}) {
            const Figure ours = figureOf(editor, key, "click");
            const Figure theirs = figureOf(plain, key, "click");
            rows.push_back({"click in the viewport, " + where + ", " + mode, ours,
                            "QPlainTextEdit, same clicks" + plainMode, theirs,
                            "median of " + std::to_string(Clicks) + " clicks per run; <= 16 ms: "
                                + againstLimit(ours, ClickLimitMs) + "; editor " + spreadOf(editor, key)
                                + "; baseline " + spreadOf(plain, key) + forcedText(editor, plain, key)});
        }
    }
    return rows;
}

}  // namespace bench
