// "status-query": the three queries of one status-line update on a loaded
// document with the caret near its end, with word wrap on and off, against
// the same questions asked of a QPlainTextEdit.
#include "DocumentFixture.h"
#include "Operations.h"
#include "Timing.h"

#include "document/RichTextBox.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <functional>

namespace bench {

namespace {

constexpr int SteadyCalls = 50;
constexpr int TypedCharacters = 10;
constexpr int CaretFromEnd = 100;

// What the timing needs from either widget.
struct QuerySubject {
    std::function<void()> change;                // switches word wrap
    std::function<void(ChildReport&, bool)> ask; // the three queries; true: report the parts
    std::function<void()> type;                  // types one character at the caret
};

// The first queries right after the wrap change (which may lay the whole
// text out), then the steady state between timer ticks, then the queries of
// the tick after each typed character.
void timeQueries(ChildReport& report, int limit, const QuerySubject& subject)
{
    report.limit(limit, "first query");
    Stopwatch watch;
    subject.change();
    report.set("change", watch.elapsedMs());
    watch.restart();
    subject.ask(report, true);
    report.set("first", watch.elapsedMs());

    report.limit(limit, "steady queries");
    const auto ask = [&] { subject.ask(report, false); };
    report.set("steady", medianAfterEach(SteadyCalls, [] {}, ask));

    report.limit(limit, "typing");
    report.set("typed", medianAfterEach(TypedCharacters, subject.type, ask));
}

ChildBody editorQueries(const BenchInput& input, bool wrap)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [path, limit, wrap](ChildReport& report) {
        // Loaded unwrapped, so that turning wrap on below is the first wrapped layout.
        storeWordWrap(false);
        OpenedDocument document;
        std::string failure;
        if (!document.openWithCaretNearEnd(path, CaretFromEnd, &failure))
            return report.fail(failure);
        RichTextBox* box = document.text();
        QuerySubject subject;
        subject.change = [box, wrap] {
            box->setRightMargin(wrap ? box->Width() - 300 : RichTextBox::NoWrapMargin);
        };
        subject.ask = [box](ChildReport& out, bool parts) {
            Stopwatch part;
            const int line = box->LineFromChar(-1);
            const double lineMs = part.elapsedMs();
            part.restart();
            const int start = box->LineIndex(-1);
            const double startMs = part.elapsedMs();
            part.restart();
            const int count = box->LineCount();
            const double countMs = part.elapsedMs();
            if (parts) {
                out.set("first.LineFromChar", lineMs);
                out.set("first.LineIndex", startMs);
                out.set("first.LineCount", countMs);
                out.note("answers", "line " + std::to_string(line) + ", line start " + std::to_string(start)
                                        + ", lines " + std::to_string(count));
            }
        };
        subject.type = [box] { box->setSelText(QStringLiteral("x")); };
        timeQueries(report, limit, subject);
    };
}

ChildBody plainQueries(const BenchInput& input, bool wrap)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [path, limit, wrap](ChildReport& report) {
        PlainTextReference reference;
        if (!reference.load(path) || !reference.showAndPaint())
            return report.fail("set-up failed");
        QPlainTextEdit* edit = reference.edit();
        QTextDocument* doc = edit->document();
        QTextCursor caret = edit->textCursor();
        caret.setPosition(std::max(0, doc->characterCount() - 1 - CaretFromEnd));
        edit->setTextCursor(caret);
        QCoreApplication::processEvents();

        QuerySubject subject;
        subject.change = [edit, wrap] {
            edit->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        };
        subject.ask = [edit, doc](ChildReport& out, bool parts) {
            const int line = doc->findBlock(edit->textCursor().selectionStart()).blockNumber();
            const int start = doc->findBlock(edit->textCursor().position()).position();
            const int count = doc->blockCount();
            if (parts)
                out.note("answers", "block " + std::to_string(line) + ", block start " + std::to_string(start)
                                        + ", blocks " + std::to_string(count));
        };
        subject.type = [edit] { edit->insertPlainText(QStringLiteral("x")); };
        timeQueries(report, limit, subject);
    };
}

}  // namespace

std::vector<Row> measureStatusQuery(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    std::vector<Row> rows;
    for (const bool wrap : {false, true}) {
        const std::string mode = wrap ? "wrap on" : "wrap off";
        const auto editor = runSeries("status-query " + mode, editorQueries(input, wrap), input.runs, setup);
        const auto plain = runSeries("status-query baseline QPlainTextEdit " + mode, plainQueries(input, wrap),
                                     input.runs, setup);
        const std::string baseline = "QPlainTextEdit findBlock/blockNumber/blockCount, " + mode;
        std::string detail =
            medianBreakdown(editor, {"change", "first.LineFromChar", "first.LineIndex", "first.LineCount"});
        if (const std::string answers = firstNote(editor, "answers"); !answers.empty())
            detail += "; answers: " + answers;

        const std::string steady = "steady (median of " + std::to_string(SteadyCalls) + ")";
        const std::string typed = "after typing a character (median of " + std::to_string(TypedCharacters) + ")";
        rows.push_back({"status-query " + mode + ", first call after the change",
                        figureOf(editor, "first", "first query"), baseline + ", first call",
                        figureOf(plain, "first", "first query"), detail});
        rows.push_back({"status-query " + mode + ", " + steady, figureOf(editor, "steady", "steady queries"),
                        baseline + ", steady", figureOf(plain, "steady", "steady queries"), {}});
        rows.push_back({"status-query " + mode + ", " + typed, figureOf(editor, "typed", "typing"),
                        baseline + ", after typing", figureOf(plain, "typed", "typing"), {}});
    }
    return rows;
}

}  // namespace bench
