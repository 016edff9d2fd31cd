#pragma once
// Only regular files are read as documents: a named pipe would block the
// program until something writes to it, and a device such as /dev/zero never
// ends.
#include <QString>

// Empty when path may be read as a document: a regular file, a symbolic link
// to one, or nothing at all (reading it then reports the error). Otherwise
// the message saying why not, naming the path. The path is never opened.
QString notRegularFileMessage(const QString& path);
