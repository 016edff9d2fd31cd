#pragma once
// Where Go To Line puts the caret for the number typed into its box.
#include <QString>
#include <functional>
#include <optional>

namespace search {

// Beyond any text's length: the control puts the caret at the end.
constexpr int PastTheEnd = 1000000000;

// The 0-based line the box's number asks the control for: "0" means line 1,
// while other zeros ("00") give -1, which the control reads as the caret's
// line. None when the number is beyond what a line index can hold.
std::optional<int> requestedLineIndex(const QString& lineNumber);

struct LineJump {
    int position;  // where the caret goes
    bool far;      // reached by the far move, with its lasting effects
};

// The caret's target for `lineNumber`, given the control's start of a line
// (negative when there is no such line). A line that does not exist sends
// the caret to the end, since the control refuses its position.
LineJump lineJump(const QString& lineNumber, const std::function<int(int)>& lineStart);

}  // namespace search
