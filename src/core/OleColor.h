#pragma once
// Colours travel as 32-bit 0x00BBGGRR values; a value with the top bit set
// names a system colour by its index in the low bits.
#include <QColor>
#include <QtGlobal>

namespace olecolor {

constexpr qint32 SystemWindow = qint32(0x80000005);  // -2147483643

bool isSystemColor(qint32 value);
QColor toQColor(qint32 value);   // system colours from the application palette
qint32 fromQColor(const QColor& color);

}  // namespace olecolor
