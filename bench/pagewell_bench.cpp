// Pagewell's benchmark: generates its own inputs, measures each operation
// and its baselines in forked children and prints markdown tables.
//
//   pagewell_bench [--sizes 10,100] [--runs N] [--only NAME] [--limit SECONDS]
//
// Progress goes to stderr, the tables to stdout. No QApplication may exist
// in this process: every measurement forks first.
#include "ChildMeasure.h"
#include "InputFiles.h"
#include "Operations.h"
#include "Report.h"
#include "Timing.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Options {
    std::vector<int> sizesMB = {10, 100};
    int runs = 0;  // 0: by size
    std::string only;
};

int defaultRuns(int sizeMB) { return sizeMB >= 100 ? 3 : 5; }

[[noreturn]] void usage(const std::string& problem, int exitCode = 2)
{
    if (!problem.empty())
        std::cerr << "pagewell_bench: " << problem << "\n";
    std::cerr << "usage: pagewell_bench [--sizes 10,100] [--runs N] [--only NAME] [--limit SECONDS]\n"
              << "operations:";
    for (const bench::Operation& operation : bench::operations())
        std::cerr << " " << operation.name;
    std::cerr << "\n";
    std::exit(exitCode);
}

int positiveNumber(const std::string& text, const std::string& what)
{
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value <= 0 || value > 100000)
        usage("bad " + what + " \"" + text + "\"");
    return int(value);
}

Options parseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h")
            usage({}, 0);
        if (i + 1 >= argc)
            usage("missing value after " + arg);
        const std::string value = argv[++i];
        if (arg == "--sizes") {
            options.sizesMB.clear();
            std::istringstream list(value);
            for (std::string size; std::getline(list, size, ',');)
                options.sizesMB.push_back(positiveNumber(size, "size"));
        } else if (arg == "--runs") {
            options.runs = positiveNumber(value, "run count");
        } else if (arg == "--limit") {
            bench::setPhaseLimitOverride(positiveNumber(value, "limit"));
        } else if (arg == "--only") {
            options.only = value;
        } else {
            usage("unknown option " + arg);
        }
    }
    if (!options.only.empty()) {
        bool known = false;
        for (const bench::Operation& operation : bench::operations())
            known = known || operation.name == options.only;
        if (!known)
            usage("unknown operation \"" + options.only + "\"");
    }
    return options;
}

std::string makeScratchFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/pagewell-bench-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("pagewell_bench: mkdtemp");
        std::exit(1);
    }
    return pattern;
}

void measureSize(const Options& options, const std::string& folder, int sizeMB)
{
    bench::BenchInput input;
    input.sizeMB = sizeMB;
    input.runs = options.runs > 0 ? options.runs : defaultRuns(sizeMB);
    std::cerr << "[" << sizeMB << " MB] generating input ..." << std::flush;
    input.path = bench::generateTextFile(folder, sizeMB);
    const auto bytes = std::filesystem::file_size(input.path);
    std::cerr << " " << bytes << " bytes\n";

    std::vector<bench::Row> rows;
    for (const bench::Operation& operation : bench::operations()) {
        if (!options.only.empty() && operation.name != options.only)
            continue;
        std::cerr << "[" << sizeMB << " MB] " << operation.name << ", " << input.runs << " runs\n";
        for (bench::Row& row : operation.measure(input))
            rows.push_back(std::move(row));
    }
    std::filesystem::remove(input.path);
    bench::printTable(std::cout,
                      std::to_string(sizeMB) + " MB (" + std::to_string(bytes) + " bytes, "
                          + std::to_string(bytes / (bench::InputLineLength + 1)) + " lines), "
                          + std::to_string(input.runs) + " runs",
                      rows);
}

}  // namespace

int main(int argc, char** argv)
{
    const Options options = parseOptions(argc, argv);
    const std::string folder = makeScratchFolder();
    bench::setChildScratchFolder(folder);

    bench::printMachine(std::cout);
    std::cout << "Load average at start: " << bench::loadAverage() << "\n";
    std::cout << "Times are medians over runs, each run in a fresh child process; peak MB is the highest\n"
                 "peak resident set of those children (the whole child, Qt start-up included).\n";
    bench::Stopwatch whole;
    for (const int size : options.sizesMB)
        measureSize(options, folder, size);

    std::cout << "\nLoad average at end: " << bench::loadAverage() << "; whole run "
              << int(whole.elapsedMs() / 1000.0 + 0.5) << " s\n";
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::cerr << "done in " << whole.elapsedMs() / 1000.0 << " s\n";
    return 0;
}
