#pragma once
// The system's memory status and the About box's two memory lines.
#include <QString>
#include <optional>

struct MemoryStatus {
    quint64 totalPhysicalBytes = 0;
    int memoryLoad = 0;  // percent of physical memory in use, 0 to 100
};

// From the text of /proc/meminfo: MemTotal and MemAvailable (MemFree when
// the kernel does not report it), both in kB. None without MemTotal.
std::optional<MemoryStatus> memoryStatusFromMeminfo(const QString& meminfo);

// The status of this machine now; zeros when it cannot be read.
MemoryStatus GlobalMemoryStatus();

// A number in the pattern "00,000": rounded to a whole number, at least
// five digits with leading zeros, and the digits grouped by thousands.
QString formatZeroPadded5Grouped(double value, const QString& groupSeparator = QStringLiteral(","));

// "Physical Memory Available to Windows:  " + total / 1024 in "00,000" + " KB"
QString memoryAvailableLine(quint64 totalPhysicalBytes, const QString& groupSeparator = QStringLiteral(","));
// "Physical Memory Currently In Use:  " + load + "%"
QString memoryInUseLine(int memoryLoad);
