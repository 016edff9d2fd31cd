#include "InputFiles.h"

#include <iterator>
#include <cstdio>
#include <stdexcept>

namespace bench {

namespace {

constexpr std::uint64_t Seed = 0x5eed2024u;

// splitmix64: small, fast and the same everywhere.
std::uint64_t nextRandom(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

const char* const Words[] = {
    "the", "of", "and", "to", "in", "a", "is", "that", "for", "it", "as", "was", "with", "be",
    "by", "on", "not", "he", "this", "are", "or", "his", "from", "at", "which", "but", "have",
    "an", "had", "they", "you", "were", "their", "one", "all", "we", "can", "her", "has",
    "there", "been", "if", "more", "when", "will", "would", "who", "so", "no", "window",
    "document", "paragraph", "editor", "margin", "printer", "keyboard", "selection",
    "clipboard", "Monday", "London", "September", "river", "mountain", "quickly", "silent",
    "yellow", "measure", "between", "through", "question", "answer", "number", "1984", "42",
    "3.14159", "2024-05-17", "e-mail", "don't", "(see", "below)", "item:", "end.", "Hello,",
    "world!", "x", "zebra", "quartz", "jumps", "over", "lazy", "dog;", "\"quoted\"",
    "naive", "encyclopaedia", "internationalisation", "OK",
};

void appendFiller(std::string& line, size_t length, std::uint64_t& state)
{
    for (size_t i = 0; i < length; ++i)
        line += char('a' + nextRandom(state) % 26);
}

}  // namespace

std::string nextInputLine(std::uint64_t& state)
{
    const size_t length = InputLineLength;
    std::string line;
    line.reserve(length);
    for (;;) {
        const std::string word = Words[nextRandom(state) % std::size(Words)];
        const size_t needed = line.empty() ? word.size() : word.size() + 1;
        if (line.size() + needed > length)
            break;
        if (!line.empty())
            line += ' ';
        line += word;
    }
    // Fill to the exact length with one made-up word, or a full stop.
    const size_t left = length - line.size();
    if (left == 1) {
        line += '.';
    } else if (left > 1) {
        line += ' ';
        appendFiller(line, left - 1, state);
    }
    return line;
}

namespace {

std::string writeLines(const std::string& path, int sizeMB, char lineEnd)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot create " + path);
    const std::uint64_t lines = std::uint64_t(sizeMB) * BytesPerMB / (InputLineLength + 1);
    std::uint64_t state = Seed;
    std::string chunk;
    for (std::uint64_t i = 0; i < lines; ++i) {
        chunk += nextInputLine(state);
        chunk += lineEnd;
        if (chunk.size() >= (1u << 20)) {
            std::fwrite(chunk.data(), 1, chunk.size(), file);
            chunk.clear();
        }
    }
    std::fwrite(chunk.data(), 1, chunk.size(), file);
    if (std::fclose(file) != 0)
        throw std::runtime_error("cannot write " + path);
    return path;
}

}  // namespace

std::string generateTextFile(const std::string& folder, int sizeMB)
{
    return writeLines(folder + "/input-" + std::to_string(sizeMB) + "MB.txt", sizeMB, '\n');
}

std::string generateOneLineFile(const std::string& folder, int sizeMB)
{
    return writeLines(folder + "/one-line-" + std::to_string(sizeMB) + "MB.txt", sizeMB, ' ');
}

}  // namespace bench
