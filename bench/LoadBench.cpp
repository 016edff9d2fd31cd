// "load": from opening a file to a painted document window whose status line
// is right, against reading the bytes and against a plain-text widget.
#include "DocumentFixture.h"
#include "Operations.h"
#include "Timing.h"

#include "document/RichTextBox.h"

#include <QFile>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace bench {

namespace {

// wrap: the stored word-wrap switch, or none for a first start.
ChildBody editorLoad(const BenchInput& input, std::optional<bool> wrap)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [path, limit, wrap](ChildReport& report) {
        if (wrap)
            storeWordWrap(*wrap);
        OpenedDocument document;
        report.limit(limit, "load");
        Stopwatch total;
        Stopwatch phase;
        if (!document.load(path))
            return report.fail("LoadFile: " + document.text()->errorString().toStdString());
        report.set("LoadFile", phase.elapsedMs());
        phase.restart();
        document.finishOpen(path);
        report.set("openSteps", phase.elapsedMs());
        phase.restart();
        if (!document.showAndPaint())
            return report.fail("the text never painted");
        report.set("paint", phase.elapsedMs());
        phase.restart();
        const bool statusRight = document.updateStatusLine();
        report.set("status", phase.elapsedMs());
        if (!statusRight)
            return report.fail("status line shows \"" + document.statusText().toStdString() + "\"");
        report.set("load", total.elapsedMs());
        report.note("statusLine", document.statusText().toStdString());
    };
}

ChildBody readBytes(const BenchInput& input)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [path, limit](ChildReport& report) {
        report.limit(limit, "load");
        Stopwatch watch;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return report.fail(file.errorString().toStdString());
        const QByteArray bytes = file.readAll();
        report.set("load", watch.elapsedMs());
        report.note("bytes", std::to_string(bytes.size()));
    };
}

ChildBody plainTextLoad(const BenchInput& input)
{
    const QString path = QString::fromStdString(input.path);
    const int limit = phaseLimitSeconds(input.sizeMB);
    return [path, limit](ChildReport& report) {
        PlainTextReference reference;
        report.limit(limit, "load");
        Stopwatch watch;
        if (!reference.load(path))
            return report.fail("cannot read the file");
        if (!reference.showAndPaint())
            return report.fail("the text never painted");
        report.set("load", watch.elapsedMs());
    };
}

// The main window with its empty document, painted: what a load adds to.
ChildBody emptyWindow()
{
    return [](ChildReport& report) {
        OpenedDocument document;
        if (!document.showAndPaint())
            return report.fail("the empty document never painted");
    };
}

// Peak resident size over the file's size, against at most five times; the
// second ratio counts only what the load adds to the empty main window.
std::string memoryRatio(const Figure& load, double emptyPeakMB, double fileBytes)
{
    constexpr double Mi = 1024.0 * 1024.0;
    constexpr double MaxRatio = 5.0;
    if (load.peakMB <= 0 || fileBytes <= 0)
        return "peak RSS / file size: -";
    const double ratio = load.peakMB * Mi / fileBytes;
    char text[256];
    std::snprintf(text, sizeof text, "peak RSS / file size %.2fx (%.0f MB / %.1f MB; <= %.0fx: %s)", ratio,
                  load.peakMB, fileBytes / Mi, MaxRatio, ratio <= MaxRatio ? "met" : "MISSED");
    std::string result = text;
    if (emptyPeakMB > 0) {
        std::snprintf(text, sizeof text, ", above the empty window's %.0f MB %.2fx", emptyPeakMB,
                      std::max(0.0, load.peakMB - emptyPeakMB) * Mi / fileBytes);
        result += text;
    }
    return result;
}

}  // namespace

std::vector<Row> measureLoad(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    const Figure bytes = figureOf(runSeries("load baseline QFile::readAll", readBytes(input), input.runs, setup), "load", "load");
    const Figure plain = figureOf(runSeries("load reference QPlainTextEdit", plainTextLoad(input), input.runs, setup), "load", "load");
    double emptyPeakMB = 0;
    for (const ChildResult& run : runSeries("load memory reference: empty main window", emptyWindow(), 1, setup))
        emptyPeakMB = run.status == ChildResult::Ok ? run.peakMB : 0;
    const auto firstStartRuns = runSeries("load (first start)", editorLoad(input, std::nullopt), input.runs, setup);
    const auto noWrapRuns = runSeries("load (word wrap off)", editorLoad(input, false), input.runs, setup);
    const Figure firstStart = figureOf(firstStartRuns, "load", "load");
    const Figure noWrap = figureOf(noWrapRuns, "load", "load");
    const std::vector<std::string> phases = {"LoadFile", "openSteps", "paint", "status"};
    const double fileBytes = double(std::filesystem::file_size(input.path));
    const std::string firstStartDetail =
        medianBreakdown(firstStartRuns, phases) + "; " + memoryRatio(firstStart, emptyPeakMB, fileBytes);
    const std::string noWrapDetail = medianBreakdown(noWrapRuns, phases) + "; " + memoryRatio(noWrap, emptyPeakMB, fileBytes);

    const std::string readAll = "QFile::readAll";
    const std::string setPlainText = "QPlainTextEdit read+decode+setPlainText+paint";
    return {
        {"load, first start (wrap on)", firstStart, readAll, bytes, firstStartDetail},
        {"load, first start (wrap on)", firstStart, setPlainText, plain, firstStartDetail},
        {"load, stored wrap off", noWrap, readAll, bytes, noWrapDetail},
        {"load, stored wrap off", noWrap, setPlainText, plain, noWrapDetail},
    };
}

}  // namespace bench
