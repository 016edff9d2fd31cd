#pragma once
// Runs one measurement in a forked child process, so that its peak memory is
// its own. The child makes its QApplication (offscreen platform, fresh empty
// settings folders), runs the body and reports named figures through a pipe;
// the parent takes the child's peak resident size from wait4(). Call only
// while no QApplication exists in this process.
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace bench {

// The body's side of the pipe, used inside the child. Names are single words.
class ChildReport {
public:
    explicit ChildReport(int fd) : m_fd(fd) {}
    void set(const std::string& name, double value);
    void note(const std::string& name, const std::string& text);
    // Records an error; the body should return afterwards.
    void fail(const std::string& message);
    // Ends the child with a timeout report if the phase has not finished
    // after `seconds` (replaces the previous limit; 0 clears it).
    void limit(int seconds, const std::string& phase);

private:
    void writeLine(const std::string& line);
    int m_fd;
};

struct ChildResult {
    enum Status { Ok, TimedOut, Failed };
    Status status = Failed;
    std::map<std::string, double> values;
    std::map<std::string, std::string> notes;
    std::string phase;     // the phase that ran out of time
    int limitSeconds = 0;  // its limit
    std::string error;
    double peakMB = 0;     // the child's peak resident set
    double wallMs = 0;     // the child's whole life, set-up included
};

using ChildBody = std::function<void(ChildReport&)>;

// Forks, runs the body in the child with `setupSeconds` for everything the
// body does before its first limit(), and waits for it.
ChildResult runInChild(const ChildBody& body, int setupSeconds);

// Runs the body `runs` times, each in a child of its own, printing progress
// to stderr under `label`; stops after the first run that did not finish.
std::vector<ChildResult> runSeries(const std::string& label, const ChildBody& body, int runs,
                                   int setupSeconds);

// The folder under which each child makes its own settings folders.
void setChildScratchFolder(const std::string& path);

}  // namespace bench
