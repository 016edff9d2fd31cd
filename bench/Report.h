#pragma once
// Figures summarised from child runs, and the printed tables.
#include "ChildMeasure.h"

#include <ostream>
#include <string>
#include <vector>

namespace bench {

// One timed figure over several runs.
struct Figure {
    std::vector<double> ms;  // one per run that finished
    double peakMB = 0;       // the highest peak over the runs
    std::string failure;     // e.g. "timeout > 60 s"; empty when every run finished
    bool ok() const { return failure.empty() && !ms.empty(); }
    double medianMs() const;
};

// The figure `key` from a series of runs of one body; `phase` is the limit()
// phase that produces it, so that a run stopped in another phase reads as
// "not reached" rather than as this figure's timeout.
Figure figureOf(const std::vector<ChildResult>& runs, const std::string& key, const std::string& phase);

struct Row {
    std::string operation;
    Figure figure;
    std::string baseline;
    Figure baselineFigure;
    std::string detail;  // printed under the table, e.g. where the time went
};

// "open 12.3 ms, paint 4.5 ms": the medians of the keys that the runs report.
std::string medianBreakdown(const std::vector<ChildResult>& runs, const std::vector<std::string>& keys);
// "peak 512 MB, 5.1x the file": a figure's peak against a file of sizeMB.
std::string peakRatio(const Figure& figure, int sizeMB);
// A note of the first run, or "".
std::string firstNote(const std::vector<ChildResult>& runs, const std::string& name);

void printMachine(std::ostream& out);
// The machine's load averages: other work on a shared machine skews times.
std::string loadAverage();
void printTable(std::ostream& out, const std::string& title, const std::vector<Row>& rows);

}  // namespace bench
