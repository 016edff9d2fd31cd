#include "Targets.h"

#include "Timing.h"

#include <cstdio>

namespace bench {

namespace {

std::string number(double value, int decimals = 1)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Small times keep two decimals, so that a ratio of them can be checked.
std::string msText(double ms) { return number(ms, ms < 10 ? 2 : 1) + " ms"; }

std::string verdict(double ms, double limitMs, const std::string& limitText)
{
    if (ms <= limitMs)
        return "met (" + msText(ms) + " <= " + limitText + ")";
    return "MISSED by " + msText(ms - limitMs) + " (" + msText(ms) + " > " + limitText + ", "
           + number(ms / limitMs, 1) + "x the target)";
}

}  // namespace

double medianValue(const std::vector<ChildResult>& runs, const std::string& key)
{
    std::vector<double> values;
    for (const ChildResult& run : runs) {
        const auto value = run.values.find(key);
        if (value != run.values.end())
            values.push_back(value->second);
    }
    return values.empty() ? -1 : median(values);
}

std::string medianText(const std::vector<ChildResult>& runs, const std::string& key, int decimals)
{
    const double value = medianValue(runs, key);
    return value < 0 ? "-" : number(value, decimals);
}

std::string againstLimit(const Figure& figure, double limitMs)
{
    if (!figure.ok())
        return "not measured (" + figure.failure + ")";
    return verdict(figure.medianMs(), limitMs, msText(limitMs));
}

std::string againstBaseline(const Figure& figure, const Figure& baseline, double factor)
{
    if (!figure.ok() || !baseline.ok())
        return "not measured";
    const double limit = baseline.medianMs() * factor;
    const std::string limitText =
        (factor == 1.0 ? std::string() : number(factor, 0) + "x ") + "baseline " + msText(baseline.medianMs());
    return verdict(figure.medianMs(), limit, limitText);
}

}  // namespace bench
