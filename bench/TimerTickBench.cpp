// "timer-tick": one Timer1_Timer call (status line, date panel, toolbar
// enabling) on a loaded document with the caret near its end, with word wrap
// on and off, against the same questions asked of a QPlainTextEdit.
#include "DocumentFixture.h"
#include "Operations.h"
#include "Timing.h"

#include "app/frmMain.h"
#include "document/RichTextBox.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDate>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <functional>

namespace bench {

namespace {

constexpr int SteadyTicks = 50;
constexpr int TypedCharacters = 10;
constexpr int CaretFromEnd = 100;

// Keeps the baseline's state queries from being optimised away.
volatile int stateSink = 0;

// What the timing needs from either widget.
struct TickSubject {
    std::function<void()> change;  // switches word wrap
    std::function<void()> tick;    // one timer tick's work
    std::function<void()> type;    // types one character at the caret
};

// The wrap change and the first tick after it (which may lay the whole text
// out), then the steady state, then the tick after each typed character.
void timeTicks(ChildReport& report, int limit, const TickSubject& subject)
{
    report.limit(limit, "first tick");
    Stopwatch watch;
    subject.change();
    report.set("change", watch.elapsedMs());
    watch.restart();
    subject.tick();
    report.set("first", watch.elapsedMs());

    report.limit(limit, "steady ticks");
    report.set("steady", medianAfterEach(SteadyTicks, [] {}, subject.tick));

    report.limit(limit, "typing");
    report.set("typed", medianAfterEach(TypedCharacters, subject.type, subject.tick));
    report.limit(0, "");
}

ChildBody editorTicks(const BenchInput& input, bool wrap)
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
        frmMain* main = document.main();

        TickSubject subject;
        subject.change = [box, wrap] {
            box->setRightMargin(wrap ? box->Width() - 300 : RichTextBox::NoWrapMargin);
        };
        subject.tick = [main] { main->Timer1_Timer(); };
        subject.type = [box] { box->setSelText(QStringLiteral("x")); };
        timeTicks(report, limit, subject);
        const QString status = main->panelText(2);
        if (!status.startsWith(QLatin1String("Line=")) || status.contains(QLatin1String(" of  ")))
            return report.fail("panel 2 shows \"" + status.toStdString() + "\"");
        report.note("panels", status.toStdString() + " | " + main->panelText(3).toStdString());
    };
}

ChildBody plainTicks(const BenchInput& input, bool wrap)
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
        auto* position = new QLabel(edit);
        auto* date = new QLabel(edit);

        TickSubject subject;
        subject.change = [edit, wrap] {
            edit->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        };
        // The status line's three numbers, the date text, then the four
        // states the toolbar follows.
        subject.tick = [edit, doc, position, date] {
            const QTextCursor cursor = edit->textCursor();
            const QTextBlock block = doc->findBlock(cursor.selectionStart());
            const int column = cursor.selectionStart() - doc->findBlock(cursor.position()).position() + 1;
            position->setText(QLatin1String("Line=") + QString::number(block.blockNumber() + 1)
                              + QLatin1String(" of ") + QString::number(doc->blockCount())
                              + QLatin1String(" Column=") + QString::number(column));
            date->setText(QLocale().toString(QDate::currentDate(), QStringLiteral("MMMM dd, yyyy")));
            const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
            stateSink = int(!doc->isEmpty()) + int(cursor.hasSelection()) + int(doc->isUndoAvailable())
                        + int(clipboard && clipboard->hasText());
        };
        subject.type = [edit] { edit->insertPlainText(QStringLiteral("x")); };
        timeTicks(report, limit, subject);
        report.note("panels", position->text().toStdString());
    };
}

}  // namespace

std::vector<Row> measureTimerTick(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    std::vector<Row> rows;
    for (const bool wrap : {false, true}) {
        const std::string mode = wrap ? "wrap on" : "wrap off";
        const auto editor = runSeries("timer-tick " + mode, editorTicks(input, wrap), input.runs, setup);
        const auto plain = runSeries("timer-tick baseline QPlainTextEdit " + mode, plainTicks(input, wrap),
                                     input.runs, setup);
        const std::string baseline = "QPlainTextEdit same queries + labels, " + mode;
        std::string detail = medianBreakdown(editor, {"change"});
        if (const std::string panels = firstNote(editor, "panels"); !panels.empty())
            detail += (detail.empty() ? "" : "; ") + std::string("panels after typing: ") + panels;

        const std::string steady = "steady (median of " + std::to_string(SteadyTicks) + ")";
        const std::string typed = "after typing a character (median of " + std::to_string(TypedCharacters) + ")";
        rows.push_back({"timer-tick " + mode + ", first tick after the change", figureOf(editor, "first", "first tick"),
                        baseline + ", first", figureOf(plain, "first", "first tick"), detail});
        rows.push_back({"timer-tick " + mode + ", " + steady, figureOf(editor, "steady", "steady ticks"),
                        baseline + ", steady", figureOf(plain, "steady", "steady ticks"), {}});
        rows.push_back({"timer-tick " + mode + ", " + typed, figureOf(editor, "typed", "typing"),
                        baseline + ", after typing", figureOf(plain, "typed", "typing"), {}});
    }
    return rows;
}

}  // namespace bench
