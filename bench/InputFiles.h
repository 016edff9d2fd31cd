#pragma once
// Generated input files: plain ASCII text of 80-character lines of varied
// words with LF line ends. The content depends only on the size, so every
// run of the benchmark measures the same bytes.
#include <cstdint>
#include <string>

namespace bench {

constexpr int InputLineLength = 80;  // characters before the LF
constexpr std::uint64_t BytesPerMB = 1000 * 1000;

// Writes a file of whole lines, as close to sizeMB * BytesPerMB bytes as
// whole lines allow, into `folder` and returns its path. Streams the text, so
// this process's own memory stays small (children inherit it).
std::string generateTextFile(const std::string& folder, int sizeMB);
// The same text as one line: blanks where the LFs were, no break at all.
std::string generateOneLineFile(const std::string& folder, int sizeMB);

// One line's text, without the LF; the generator state advances.
std::string nextInputLine(std::uint64_t& state);

}  // namespace bench
