#pragma once
// Wall-clock timing and the median of repeated figures.
#include <chrono>
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

}  // namespace bench
