#pragma once
// The measured operations. Each measures itself and its baselines in the
// same run and returns its table rows; add new ones to operations().
#include "Report.h"

#include "ChildMeasure.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace bench {

struct BenchInput {
    std::string path;  // the generated file
    int sizeMB = 0;
    int runs = 0;
};

struct Operation {
    std::string name;  // what --only selects
    std::function<std::vector<Row>(const BenchInput&)> measure;
};

const std::vector<Operation>& operations();

std::vector<Row> measureLoad(const BenchInput& input);
std::vector<Row> measureStatusQuery(const BenchInput& input);
std::vector<Row> measureSave(const BenchInput& input);
std::vector<Row> measureFind(const BenchInput& input);
std::vector<Row> measureReplaceAll(const BenchInput& input);
std::vector<Row> measureWordCount(const BenchInput& input);
std::vector<Row> measureCharacterCount(const BenchInput& input);
std::vector<Row> measureGoToLine(const BenchInput& input);
std::vector<Row> measureTimerTick(const BenchInput& input);
std::vector<Row> measureClean(const BenchInput& input);
std::vector<Row> measureSelectCopy(const BenchInput& input);
std::vector<Row> measureCutPaste(const BenchInput& input);
std::vector<Row> measurePrint(const BenchInput& input);
std::vector<Row> measureKeystroke(const BenchInput& input);
std::vector<Row> measureOpen(const BenchInput& input);
std::vector<Row> measureCaretJump(const BenchInput& input);
std::vector<Row> measureRecovery(const BenchInput& input);
std::vector<Row> measureOneLine(const BenchInput& input);
std::vector<Row> measureIdle(const BenchInput& input);

// Children shared by several operations. File > Open through the menu,
// watched ("loaded", "freeze"); wrap: the stored switch, or none for a first
// start; paragraphs expected after loading, -1: as the generated input has.
ChildBody editorOpen(const BenchInput& input, std::optional<bool> wrap, int paragraphs = -1);
// SaveFile of the opened input as `type` ("save").
ChildBody editorSave(const BenchInput& input, int type);

// Seconds a measured phase may take before its child is stopped: generous
// for a sane implementation, short enough to keep a whole run in minutes.
int phaseLimitSeconds(int sizeMB);
// Replaces the limit above for every size (0: back to the default).
void setPhaseLimitOverride(int seconds);
// Seconds for a child's set-up before its measured phase (loading included).
int setupLimitSeconds(int sizeMB);

}  // namespace bench
