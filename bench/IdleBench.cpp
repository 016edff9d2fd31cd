// "idle": the CPU time the program spends after File > Open has loaded the
// file, until it is idle: the event loop sleeps between events and the
// process's CPU time (all threads) is sampled until a whole second has used
// under 5% of a core, or for 30 s at most. Baseline: QPlainTextEdit after
// setPlainText, measured the same way.
#include "DocumentFixture.h"
#include "OpenCommand.h"
#include "Operations.h"
#include "Targets.h"
#include "Timing.h"

#include "app/frmMain.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <ctime>

namespace bench {

namespace {

constexpr double SampleMs = 100;
constexpr double QuietMs = 1000;
constexpr double QuietShare = 0.05;  // of one core
constexpr double CapMs = 30000;
constexpr double IdleTargetMs = 1000;

double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Reports "cpu", the CPU time until the end of the first quiet second, and
// "idleAt", when that second began (both from now on); at the cap, the CPU
// time so far and the cap.
void reportIdle(ChildReport& report)
{
    struct Sample {
        double wall, cpu;
    };
    const double start = processCpuMs();
    Stopwatch wall;
    std::vector<Sample> samples{{0, 0}};
    while (true) {
        QEventLoop loop;
        QTimer::singleShot(int(SampleMs), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
        const Sample now{wall.elapsedMs(), processCpuMs() - start};
        samples.push_back(now);
        // The latest sample at least QuietMs ago.
        const auto from = std::find_if(samples.rbegin(), samples.rend(),
                                       [&](const Sample& s) { return now.wall - s.wall >= QuietMs; });
        if (from != samples.rend() && now.cpu - from->cpu < QuietShare * (now.wall - from->wall)) {
            report.set("cpu", now.cpu);
            report.set("idleAt", from->wall);
            return;
        }
        if (now.wall >= CapMs) {
            report.set("cpu", now.cpu);
            report.set("idleAt", now.wall);
            return report.note("busy", "still busy after " + std::to_string(int(CapMs / 1000)) + " s");
        }
    }
}

int idleLimitSeconds(int sizeMB) { return phaseLimitSeconds(sizeMB) + int(CapMs / 1000) + 10; }

ChildBody editorIdle(const BenchInput& input, bool wrap)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB), idleLimit = idleLimitSeconds(input.sizeMB);
    return [path, limit, idleLimit, wrap](ChildReport& report) {
        storeWordWrap(wrap);
        OpenedDocument window;
        if (!window.showAndPaint())
            return report.fail("set-up: the empty document never painted");
        ScriptedOpen script(path);
        report.limit(limit, "open");
        runFileOpen(*window.main());
        if (!script.message.isEmpty() || !window.main()->ActiveDocument())
            return report.fail("Open showed \"" + script.message.toStdString() + "\"");
        report.limit(idleLimit, "idle");
        reportIdle(report);
        report.note("status", window.main()->panelText(2).toStdString());
    };
}

ChildBody plainIdle(const BenchInput& input, bool wrap)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB), idleLimit = idleLimitSeconds(input.sizeMB);
    return [path, limit, idleLimit, wrap](ChildReport& report) {
        PlainTextReference reference;
        report.limit(limit, "open");
        if (!reference.prepare(path, wrap, QSize()))
            return report.fail("set-up: QPlainTextEdit did not load and paint");
        report.limit(idleLimit, "idle");
        reportIdle(report);
    };
}

}  // namespace

std::vector<Row> measureIdle(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    std::vector<Row> rows;
    for (const bool wrap : {true, false}) {
        const std::string mode = wrap ? "wrap on" : "wrap off";
        const auto plain = runSeries("idle baseline QPlainTextEdit, " + mode, plainIdle(input, wrap), input.runs, setup);
        const auto editor = runSeries("idle " + mode, editorIdle(input, wrap), input.runs, setup);
        const Figure cpu = figureOf(editor, "cpu", "idle");
        Figure idleAt = figureOf(editor, "idleAt", "idle");
        rows.push_back({"CPU time after the load until idle, " + mode, cpu,
                        "QPlainTextEdit after setPlainText, the same way", figureOf(plain, "cpu", "idle"),
                        "idle " + medianText(editor, "idleAt", 0) + " ms after the load (baseline "
                            + medianText(plain, "idleAt", 0) + " ms), within 1 s: " + againstLimit(idleAt, IdleTargetMs)
                            + (firstNote(editor, "busy").empty() ? "" : "; " + firstNote(editor, "busy"))
                            + "; status line then: " + firstNote(editor, "status")});
    }
    return rows;
}

}  // namespace bench
