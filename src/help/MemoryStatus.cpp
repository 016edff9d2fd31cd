#include "help/MemoryStatus.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <sys/sysinfo.h>

namespace {

std::optional<quint64> meminfoKilobytes(const QString& meminfo, const char* key)
{
    const QRegularExpression line(QStringLiteral("^%1:\\s*(\\d+)\\s*kB").arg(QLatin1String(key)),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(meminfo);
    bool ok = false;
    const quint64 value = match.hasMatch() ? match.captured(1).toULongLong(&ok) : 0;
    return ok ? std::optional<quint64>(value) : std::nullopt;
}

int loadPercent(quint64 total, quint64 available)
{
    if (total == 0)
        return 0;
    available = std::min(available, total);
    return int(std::lround(double(total - available) * 100.0 / double(total)));
}

}  // namespace

std::optional<MemoryStatus> memoryStatusFromMeminfo(const QString& meminfo)
{
    const std::optional<quint64> total = meminfoKilobytes(meminfo, "MemTotal");
    if (!total)
        return std::nullopt;
    std::optional<quint64> available = meminfoKilobytes(meminfo, "MemAvailable");
    if (!available)
        available = meminfoKilobytes(meminfo, "MemFree");
    return MemoryStatus{*total * 1024, loadPercent(*total, available.value_or(*total))};
}

MemoryStatus GlobalMemoryStatus()
{
    QFile file(QStringLiteral("/proc/meminfo"));
    if (file.open(QIODevice::ReadOnly)) {
        if (const auto status = memoryStatusFromMeminfo(QString::fromLatin1(file.readAll())))
            return *status;
    }
    struct sysinfo info {};
    if (sysinfo(&info) != 0)
        return {};
    const quint64 unit = info.mem_unit ? info.mem_unit : 1;
    return {quint64(info.totalram) * unit, loadPercent(info.totalram, info.freeram)};
}

QString formatZeroPadded5Grouped(double value, const QString& groupSeparator)
{
    const double whole = std::round(std::fabs(value));
    QString digits = QString::number(whole, 'f', 0).rightJustified(5, QLatin1Char('0'));
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, groupSeparator);
    return value < 0 && whole > 0 ? QLatin1Char('-') + digits : digits;
}

QString memoryAvailableLine(quint64 totalPhysicalBytes, const QString& groupSeparator)
{
    return QStringLiteral("Physical Memory Available to Windows:  ")
           + formatZeroPadded5Grouped(double(totalPhysicalBytes) / 1024.0, groupSeparator) + QStringLiteral(" KB");
}

QString memoryInUseLine(int memoryLoad)
{
    return QStringLiteral("Physical Memory Currently In Use:  ") + QString::number(memoryLoad) + QLatin1Char('%');
}
