#pragma once
// What the fuzz targets share: a check that stops the run (libFuzzer then
// keeps the input), and text of any UTF-16 units, lone surrogates included.
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

#define FUZZ_CHECK(condition) \
    ((condition) ? void() : (std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition), std::abort()))

namespace fuzz {

inline QString utf16(const std::string& bytes)  // two bytes a unit, low byte first
{
    QString text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(char16_t(uchar(bytes[i]) | uchar(bytes[i + 1]) << 8));
    return text;
}

inline QString takeText(FuzzedDataProvider& input, size_t maxUnits)
{
    return utf16(input.ConsumeRandomLengthString(2 * maxUnits));
}

}  // namespace fuzz
