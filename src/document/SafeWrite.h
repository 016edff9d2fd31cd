#pragma once
// Saving without risk to the old file: the bytes go to a temporary file
// beside the target, which replaces the target only once every byte is
// written (QSaveFile). A symbolic link stays a link and its final target is
// written; the target keeps its permission bits, and its owner and group
// where the system allows. Devices and pipes (e.g. /dev/null) are written
// directly, since they cannot be replaced by a rename.
#include "document/ByteSink.h"

#include <QByteArray>
#include <QString>

// On failure the old file is untouched, no temporary file is left, and
// *error (if given) holds a message naming the path with the system's
// reason.
bool writeFileSafely(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// The same, with the bytes as produce hands them to the sink, a slice at a
// time; produce may stop once the sink returns false. When produce returns
// false, or progress (if given) does, the write is abandoned: nothing is
// written, and *error stays as it was. A device cannot take bytes back, so
// it gets a dry run first.
bool writeFileSafely(const QString& path, const std::function<bool(const ByteSink&)>& produce,
                     QString* error = nullptr, const WriteProgress& progress = {});
