// "recovery": typing for a few seconds into a loaded document at a quick
// typist's pace, so that recovery copies and writes happen meanwhile; the
// median keystroke (until painted) and the longest freeze of the event loop,
// with crash recovery on and off in the same run.
#include "DocumentFixture.h"
#include "Interaction.h"
#include "Operations.h"
#include "Timing.h"

#include "document/RichTextBox.h"
#include "files/DocumentRecovery.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>

#include <algorithm>

namespace bench {

namespace {

// Long enough at 100 MB for the first copy (seconds) and then several
// writes to happen while typing goes on.
constexpr int TypingMs = 10000;
constexpr int KeyGapMs = 100;

ChildBody typing(const BenchInput& input, bool recovery)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB) + TypingMs / 1000;
    return [path, limit, recovery](ChildReport& report) {
        QTemporaryDir state;
        OpenedDocument document;
        if (const char* failure = document.openAndShow(path))
            return report.fail(failure);
        DocumentRecovery* running = recovery ? DocumentRecovery::start(state.path()) : nullptr;
        if (recovery && !running)
            return report.fail("set-up: no recovery folder");
        if (running)
            running->attach(document.document());
        RichTextBox* text = document.text();
        focusEditor(text);
        QTextCursor caret(text->document()->findBlockByNumber(text->document()->blockCount() / 2));
        text->setTextCursor(caret);
        report.limit(limit, "recovery typing");

        // The longest gap between ticks of a 1 ms timer is the longest freeze.
        QElapsedTimer clock;
        double last = 0, longest = 0;
        QTimer probe;
        probe.setInterval(1);
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const double now = clock.nsecsElapsed() / 1e6;
            longest = std::max(longest, now - last);
            last = now;
        });
        clock.start();
        probe.start();
        std::vector<double> keys;
        while (clock.elapsed() < TypingMs) {
            keys.push_back(timedKey(text, Qt::Key_X));
            runEventsFor(KeyGapMs);
        }
        runEventsFor(2 * DocumentRecorder::WriteDelayMs);
        probe.stop();
        report.set("key", median(keys));
        report.set("freeze", longest);
        if (running) {
            // finish() waits for a write still under way (one takes seconds
            // at 100 MB); the folder stays as long as it holds an entry.
            const QDir session(running->store().sessionPath());
            DocumentRecovery::finish();
            if (session.entryList({QStringLiteral("*.pwr")}, QDir::Files).isEmpty())
                return report.fail("recovery wrote no entry");
        }
    };
}

}  // namespace

std::vector<Row> measureRecovery(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    const auto on = runSeries("recovery on", typing(input, true), input.runs, setup);
    const auto off = runSeries("recovery off", typing(input, false), input.runs, setup);
    std::vector<Row> rows;
    for (const std::string key : {"key", "freeze"}) {
        const Figure with = figureOf(on, key, "recovery typing");
        const Figure without = figureOf(off, key, "recovery typing");
        const std::string what = key == "key" ? "median keystroke" : "longest freeze";
        rows.push_back({"typing " + std::to_string(TypingMs / 1000) + " s, " + what + ", recovery on", with, "the same with recovery off", without,
                        "a key every " + std::to_string(KeyGapMs) + " ms in the middle of the text; medians over runs"});
    }
    return rows;
}

}  // namespace bench
