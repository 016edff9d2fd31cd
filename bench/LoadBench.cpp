// "load": from opening a file to a painted document window whose status line
// is right, against reading the bytes and against a plain-text widget.
#include "DocumentFixture.h"
#include "Operations.h"
#include "Timing.h"

#include "document/RichTextBox.h"

#include <QFile>
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

}  // namespace

std::vector<Row> measureLoad(const BenchInput& input)
{
    const int setup = setupLimitSeconds(input.sizeMB);
    const Figure bytes = figureOf(runSeries("load baseline QFile::readAll", readBytes(input), input.runs, setup), "load", "load");
    const Figure plain = figureOf(runSeries("load reference QPlainTextEdit", plainTextLoad(input), input.runs, setup), "load", "load");
    const auto firstStartRuns = runSeries("load (first start)", editorLoad(input, std::nullopt), input.runs, setup);
    const auto noWrapRuns = runSeries("load (word wrap off)", editorLoad(input, false), input.runs, setup);
    const Figure firstStart = figureOf(firstStartRuns, "load", "load");
    const Figure noWrap = figureOf(noWrapRuns, "load", "load");
    const std::vector<std::string> phases = {"LoadFile", "openSteps", "paint", "status"};
    const std::string firstStartDetail = medianBreakdown(firstStartRuns, phases);
    const std::string noWrapDetail = medianBreakdown(noWrapRuns, phases);

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
