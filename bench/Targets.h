#pragma once
// Figures read against the responsiveness goals, for the lines under a table.
#include "Report.h"

#include <string>
#include <vector>

namespace bench {

// "met (12.3 ms <= 16 ms)" or "MISSED by 34.0 ms (50.0 ms > 16 ms, 3.1x)".
std::string againstLimit(const Figure& figure, double limitMs);
// The median of `key` over the runs that report it, or -1.
double medianValue(const std::vector<ChildResult>& runs, const std::string& key);
// That median as text with `decimals` places, or "-".
std::string medianText(const std::vector<ChildResult>& runs, const std::string& key, int decimals = 1);

// The figure against `factor` times the baseline, the same way.
std::string againstBaseline(const Figure& figure, const Figure& baseline, double factor);

}  // namespace bench
