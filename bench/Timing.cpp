#include "Timing.h"

#include <QCoreApplication>

#include <algorithm>

namespace bench {

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    const size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + middle, values.end());
    const double upper = values[middle];
    if (values.size() % 2 == 1)
        return upper;
    const double lower = *std::max_element(values.begin(), values.begin() + middle);
    return (lower + upper) / 2.0;
}

double medianAfterEach(int count, const std::function<void()>& before, const std::function<void()>& measured)
{
    std::vector<double> times;
    for (int round = 0; round < count; ++round) {
        before();
        QCoreApplication::processEvents();
        Stopwatch watch;
        measured();
        times.push_back(watch.elapsedMs());
    }
    return median(times);
}

}  // namespace bench
