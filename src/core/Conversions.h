#pragma once
// Text <-> number conversions with the exact rules the settings readers and
// message texts rely on. Each reports failure instead of throwing.
#include <QString>
#include <optional>

namespace conv {

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// Whole text as a number; surrounding blanks allowed, nothing else.
std::optional<double> toSingle(const QString& text);

// Whole text as a 16-bit integer (rounded); fails outside -32768..32767.
std::optional<int> toInt16(const QString& text);

// Whole text as a 32-bit integer (rounded); fails outside the range.
std::optional<qint32> toInt32(const QString& text);

// Numeric value of the leading number of the text ("12abc" -> 12, "abc" -> 0,
// " 4" -> 4, "-2147483643" -> -2147483643). Never fails.
double leadingValue(const QString& text);

// value limited to low..high, NaN read as low: a hand-edited setting of
// hundreds of digits or "inf" must not reach arithmetic or an integer.
double bounded(double value, double low, double high);

// A stored colour: the leading number as a 32-bit value 0x00BBGGRR, which
// may also be stored as its signed reading (-2147483643).
qint32 leadingColour(const QString& text);

// "True"/"False" (any case) or a number (non-zero is true); anything else fails.
std::optional<bool> toBool(const QString& text);

// Counts in messages: one blank before a non-negative number (" 12", "-3").
QString numberWithSign(qint64 value);

// Decimal text with at most maxDecimals decimals and no trailing zeros
// (9.75, 10, 1234.5).
QString decimalText(double value, int maxDecimals = 4);

}  // namespace conv
