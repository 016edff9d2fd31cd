#pragma once
// Wall-clock timing and the median of repeated figures.
#include <chrono>
#include <functional>
#include <vector>

namespace bench {

class Stopwatch {
public:
    Stopwatch() : m_start(Clock::now()) {}
    void restart() { m_start = Clock::now(); }
    double elapsedMs() const
    {
        return std::chrono::duration<double, std::milli>(Clock::now() - m_start).count();
    }

private:
    using Clock = std::chrono::steady_clock;
    Clock::time_point m_start;
};

// The middle value (the mean of the two middle ones for an even count); 0 when empty.
double median(std::vector<double> values);

// The median time of `measured` over count rounds; each round first runs
// `before`, then lets the events it queued run, as they would between two
// timer ticks.
double medianAfterEach(int count, const std::function<void()>& before, const std::function<void()>& measured);

}  // namespace bench
