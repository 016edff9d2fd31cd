#include "ChildMeasure.h"

#include "Timing.h"

#include <QApplication>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace bench {

namespace {

constexpr int TimeoutExitCode = 124;

std::string scratchFolder = "/tmp";

// Written by the alarm handler, so prepared beforehand.
int alarmFd = -1;
char alarmLine[256] = "timeout 0 setup\n";

void onAlarm(int)
{
    const ssize_t written = write(alarmFd, alarmLine, strlen(alarmLine));
    (void)written;
    _exit(TimeoutExitCode);
}

std::string oneLine(std::string text)
{
    for (char& c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

// Every child gets empty config, data and home folders: the windows read
// settings on start-up, and nothing may touch the user's own.
void isolateSettings()
{
    const std::string root = scratchFolder + "/child-" + std::to_string(getpid());
    for (const char* sub : {"", "/config", "/data", "/home", "/runtime"})
        mkdir((root + sub).c_str(), 0700);
    setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    setenv("HOME", (root + "/home").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (root + "/runtime").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

// The offscreen platform warns about what it cannot do with window sizes;
// that says nothing about the measurement.
void filterMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (message.contains(QLatin1String("does not support propagateSizeHints")))
        return;
    std::fprintf(stderr, "[child %d] %s%s\n", int(getpid()), type == QtDebugMsg ? "" : "warning: ",
                 qPrintable(message));
}

[[noreturn]] void runChild(const ChildBody& body, int fd, int setupSeconds)
{
    alarmFd = fd;
    std::signal(SIGALRM, onAlarm);
    ChildReport report(fd);
    report.limit(setupSeconds, "setup");
    isolateSettings();
    qInstallMessageHandler(filterMessages);
    int argc = 1;
    char name[] = "pagewell_bench";
    char* argv[] = {name, nullptr};
    {
        QApplication app(argc, argv);
        try {
            body(report);
        } catch (const std::exception& e) {
            report.fail(std::string("exception: ") + e.what());
        } catch (...) {
            report.fail("unknown exception");
        }
        alarm(0);
        // Tearing down a large document would only cost time.
        _exit(0);
    }
}

void parseLine(const std::string& line, ChildResult& result)
{
    std::istringstream in(line);
    std::string kind, name;
    in >> kind;
    if (kind == "value") {
        double value = 0;
        in >> name >> value;
        result.values[name] = value;
    } else if (kind == "note") {
        in >> name;
        std::string text;
        std::getline(in >> std::ws, text);
        result.notes[name] = text;
    } else if (kind == "error") {
        std::getline(in >> std::ws, result.error);
    } else if (kind == "timeout") {
        in >> result.limitSeconds;
        std::getline(in >> std::ws, result.phase);
    }
}

std::string readAll(int fd)
{
    std::string data;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0)
            data.append(buffer, size_t(n));
        else if (n == 0 || errno != EINTR)
            break;
    }
    return data;
}

std::string describe(const ChildResult& result)
{
    std::ostringstream out;
    if (result.status == ChildResult::TimedOut)
        out << "timeout > " << result.limitSeconds << " s in " << result.phase;
    else if (result.status == ChildResult::Failed)
        out << "failed: " << result.error;
    else
        out << "ok";
    for (const auto& [name, value] : result.values)
        out << ", " << name << " " << value << " ms";
    out << ", peak " << result.peakMB << " MB, child " << result.wallMs / 1000.0 << " s";
    return out.str();
}

}  // namespace

void ChildReport::writeLine(const std::string& line)
{
    const std::string text = line + "\n";
    const ssize_t written = write(m_fd, text.data(), text.size());
    (void)written;
}

void ChildReport::set(const std::string& name, double value)
{
    char number[64];
    std::snprintf(number, sizeof number, "%.6f", value);
    writeLine("value " + name + " " + number);
}

void ChildReport::note(const std::string& name, const std::string& text)
{
    writeLine("note " + name + " " + oneLine(text));
}

void ChildReport::fail(const std::string& message) { writeLine("error " + oneLine(message)); }

void ChildReport::limit(int seconds, const std::string& phase)
{
    alarm(0);
    std::snprintf(alarmLine, sizeof alarmLine, "timeout %d %s\n", seconds, oneLine(phase).c_str());
    if (seconds > 0)
        alarm(unsigned(seconds));
}

void setChildScratchFolder(const std::string& path) { scratchFolder = path; }

ChildResult runInChild(const ChildBody& body, int setupSeconds)
{
    ChildResult result;
    int fds[2];
    if (pipe(fds) != 0) {
        result.error = std::string("pipe: ") + strerror(errno);
        return result;
    }
    std::cout.flush();
    std::cerr.flush();
    Stopwatch life;
    const pid_t pid = fork();
    if (pid < 0) {
        result.error = std::string("fork: ") + strerror(errno);
        close(fds[0]);
        close(fds[1]);
        return result;
    }
    if (pid == 0) {
        close(fds[0]);
        runChild(body, fds[1], setupSeconds);
    }
    close(fds[1]);
    const std::string output = readAll(fds[0]);
    close(fds[0]);

    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    result.wallMs = life.elapsedMs();
    result.peakMB = double(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB on Linux

    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);)
        parseLine(line, result);

    if (WIFEXITED(status) && WEXITSTATUS(status) == TimeoutExitCode)
        result.status = ChildResult::TimedOut;
    else if (WIFSIGNALED(status))
        result.error = "killed by signal " + std::to_string(WTERMSIG(status));
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        result.error = "exit status " + std::to_string(WEXITSTATUS(status));
    else if (result.error.empty())
        result.status = ChildResult::Ok;
    return result;
}

std::vector<ChildResult> runSeries(const std::string& label, const ChildBody& body, int runs,
                                   int setupSeconds)
{
    std::vector<ChildResult> results;
    for (int run = 1; run <= runs; ++run) {
        std::cerr << "  " << label << " " << run << "/" << runs << " ... " << std::flush;
        results.push_back(runInChild(body, setupSeconds));
        std::cerr << describe(results.back()) << std::endl;
        if (results.back().status != ChildResult::Ok)
            break;
    }
    return results;
}

}  // namespace bench
