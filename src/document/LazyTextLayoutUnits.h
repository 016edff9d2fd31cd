#pragma once
// LazyTextLayout keeps heights in whole 1/64 px, so that summing a long
// document's paragraphs stays exact.
#include <QtGlobal>
#include <cmath>
#include <cstdint>

namespace lazylayout {

constexpr qreal Unit = 64.0;
constexpr qreal Far = 1 << 24;  // beyond any document

inline std::int64_t toUnits(qreal pixels) { return std::llround(pixels * Unit); }
inline qreal toPixels(std::int64_t units) { return qreal(units) / Unit; }

}  // namespace lazylayout
