#include "document/RegularFile.h"

#include <QCoreApplication>
#include <QFile>

#include <sys/stat.h>

namespace {

QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QCoreApplication::translate("RegularFile", "a folder");
    if (S_ISFIFO(mode))
        return QCoreApplication::translate("RegularFile", "a named pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QCoreApplication::translate("RegularFile", "a device");
    if (S_ISSOCK(mode))
        return QCoreApplication::translate("RegularFile", "a socket");
    return QString();
}

}  // namespace

QString notRegularFileMessage(const QString& path)
{
    struct stat status {};
    // stat, not lstat: a link is judged by what it points to.
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0 || S_ISREG(status.st_mode))
        return QString();
    const QString kind = kindOf(status.st_mode);
    const QString what = kind.isEmpty() ? QString() : QStringLiteral(" ") + kind + QStringLiteral(",");
    return QCoreApplication::translate("RegularFile", "%1 is%2 not a regular file: it cannot be read as a document.")
        .arg(path, what);
}
