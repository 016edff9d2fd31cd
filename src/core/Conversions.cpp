#include "core/Conversions.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace conv {

double roundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction < 0.5)
        return lower;
    if (fraction > 0.5)
        return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::optional<double> toSingle(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

static std::optional<qint64> toWhole(const QString& text, qint64 low, qint64 high)
{
    const std::optional<double> value = toSingle(text);
    if (!value)
        return std::nullopt;
    const double rounded = roundHalfEven(*value);
    if (rounded < double(low) || rounded > double(high))
        return std::nullopt;
    return qint64(rounded);
}

std::optional<int> toInt16(const QString& text)
{
    const auto value = toWhole(text, -32768, 32767);
    return value ? std::optional<int>(int(*value)) : std::nullopt;
}

std::optional<qint32> toInt32(const QString& text)
{
    const auto value = toWhole(text, std::numeric_limits<qint32>::min(),
                               std::numeric_limits<qint32>::max());
    return value ? std::optional<qint32>(qint32(*value)) : std::nullopt;
}

double leadingValue(const QString& text)
{
    int i = 0;
    const int n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const int start = i;
    if (i < n && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    bool digits = false;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        ++i;
        digits = true;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    return text.mid(start, i - start).toDouble();
}

double bounded(double value, double low, double high)
{
    if (std::isnan(value))
        return low;
    return std::clamp(value, low, high);
}

qint32 leadingColour(const QString& text)
{
    const double value = bounded(leadingValue(text), std::numeric_limits<qint32>::min(),
                                 std::numeric_limits<quint32>::max());
    return qint32(quint32(qint64(value)));
}

std::optional<bool> toBool(const QString& text)
{
    const QString word = text.trimmed();
    if (word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const std::optional<double> number = toSingle(word);
    if (!number)
        return std::nullopt;
    return *number != 0.0;
}

QString numberWithSign(qint64 value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

QString decimalText(double value, int maxDecimals)
{
    QString text = QString::number(value, 'f', maxDecimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

}  // namespace conv
