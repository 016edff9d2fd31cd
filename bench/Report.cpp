#include "Report.h"

#include "InputFiles.h"
#include "Timing.h"

#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace bench {

namespace {

std::string fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Three significant digits, enough for a median, but never "0.000".
std::string milliseconds(double ms)
{
    if (ms >= 100)
        return fixed(ms, 0);
    if (ms >= 1)
        return fixed(ms, 2);
    if (ms >= 0.01)
        return fixed(ms, 4);
    return fixed(ms, 6);
}

std::string timeText(const Figure& figure)
{
    return figure.ok() ? milliseconds(figure.medianMs()) : figure.failure;
}

// A run that was stopped had not reached its peak yet.
std::string peakText(const Figure& figure)
{
    if (figure.peakMB <= 0)
        return "-";
    const bool stopped = figure.failure.find("timeout") != std::string::npos;
    return (stopped ? ">= " : "") + fixed(figure.peakMB, 0);
}

std::string ratioText(const Figure& operation, const Figure& baseline)
{
    if (!baseline.ok() || baseline.medianMs() <= 0)
        return "-";
    if (operation.ok())
        return fixed(operation.medianMs() / baseline.medianMs(), 1);
    if (operation.failure.rfind("timeout > ", 0) == 0) {
        const double limitMs = std::atof(operation.failure.c_str() + 10) * 1000.0;
        return "> " + fixed(limitMs / baseline.medianMs(), 0);
    }
    return "-";
}

std::string cpuModel()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuinfo, line);) {
        if (line.rfind("model name", 0) == 0) {
            const size_t colon = line.find(':');
            return colon == std::string::npos ? line : line.substr(line.find_first_not_of(" \t", colon + 1));
        }
    }
    return "unknown";
}

}  // namespace

double Figure::medianMs() const { return median(ms); }

Figure figureOf(const std::vector<ChildResult>& runs, const std::string& key, const std::string& phase)
{
    Figure figure;
    for (const ChildResult& run : runs) {
        figure.peakMB = std::max(figure.peakMB, run.peakMB);
        const auto value = run.values.find(key);
        if (value != run.values.end()) {
            figure.ms.push_back(value->second);
            continue;
        }
        if (!figure.failure.empty())
            continue;
        if (run.status == ChildResult::TimedOut && run.phase == phase)
            figure.failure = "timeout > " + std::to_string(run.limitSeconds) + " s";
        else if (run.status == ChildResult::TimedOut)
            figure.failure = "not reached (" + run.phase + " timeout > " + std::to_string(run.limitSeconds) + " s)";
        else if (!run.error.empty())
            figure.failure = "failed (" + run.error + ")";
        else
            figure.failure = "no figure";
    }
    if (runs.empty())
        figure.failure = "not run";
    return figure;
}

std::string peakRatio(const Figure& figure, int sizeMB)
{
    const double fileMiB = double(sizeMB) * BytesPerMB / (1024.0 * 1024.0);
    if (figure.peakMB <= 0 || fileMiB <= 0)
        return "peak: -";
    return "peak " + fixed(figure.peakMB, 0) + " MB, " + fixed(figure.peakMB / fileMiB, 1) + "x the file";
}

std::string medianBreakdown(const std::vector<ChildResult>& runs, const std::vector<std::string>& keys)
{
    std::string text;
    for (const std::string& key : keys) {
        std::vector<double> values;
        for (const ChildResult& run : runs) {
            const auto value = run.values.find(key);
            if (value != run.values.end())
                values.push_back(value->second);
        }
        if (values.empty())
            continue;
        text += (text.empty() ? "" : ", ") + key + " " + milliseconds(median(values)) + " ms";
    }
    return text;
}

std::string firstNote(const std::vector<ChildResult>& runs, const std::string& name)
{
    if (runs.empty())
        return {};
    const auto note = runs.front().notes.find(name);
    return note == runs.front().notes.end() ? std::string() : note->second;
}

std::string loadAverage()
{
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

void printMachine(std::ostream& out)
{
    out << "Machine: " << sysconf(_SC_NPROCESSORS_ONLN) << " cores (nproc), CPU " << cpuModel()
        << ", Qt " << qVersion() << " (built with " << QT_VERSION_STR << ")\n";
}

void printTable(std::ostream& out, const std::string& title, const std::vector<Row>& rows)
{
    out << "\n### " << title << "\n\n";
    out << "| operation | median ms | peak MB | baseline | baseline median ms | baseline peak MB | ratio (time) |\n";
    out << "|---|---:|---:|---|---:|---:|---:|\n";
    for (const Row& row : rows) {
        out << "| " << row.operation << " | " << timeText(row.figure) << " | " << peakText(row.figure)
            << " | " << row.baseline << " | " << timeText(row.baselineFigure) << " | "
            << peakText(row.baselineFigure) << " | " << ratioText(row.figure, row.baselineFigure)
            << " |\n";
    }
    std::string lastDetail;
    for (const Row& row : rows) {
        if (row.detail.empty() || row.detail == lastDetail)
            continue;
        if (lastDetail.empty())
            out << "\n";
        out << "- " << row.operation << ": " << row.detail << "\n";
        lastDetail = row.detail;
    }
    out.flush();
}

}  // namespace bench
