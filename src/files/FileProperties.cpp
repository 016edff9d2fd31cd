#include "files/FileProperties.h"

#include "core/Conversions.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

int fileAttributes(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return 0;
    int attributes = 0;
    if (!(info.permissions() & QFileDevice::WriteOwner))
        attributes |= faReadOnly;
    if (fileNameFromPath(path).startsWith(u'.'))
        attributes |= faHidden;
    if (info.isDir())
        attributes |= faDirectory;
    else if (info.isFile())
        attributes |= faArchive;
    return attributes;
}

bool isRefusedAsReadOnly(int attributes)
{
    return attributes == faReadOnly || attributes == (faReadOnly | faArchive);
}

QString attributeText(int attributes)
{
    static const char* const texts[8] = {"Normal",
                                         "Read-Only",
                                         "Hidden",
                                         "Hidden and Read-Only",
                                         "System",
                                         "Read-Only and System",
                                         "Hidden and System",
                                         "Read-Only, Hidden, and System"};
    if (attributes > 7)
        attributes ^= faArchive;
    return QString::fromLatin1(texts[attributes & 7]);
}

std::optional<FileFacts> readFileFacts(const QString& path, QString* error)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return std::nullopt;
    }
    const QFileInfo info(path);
    FileFacts facts;
    facts.size = info.size();
    facts.modified = info.lastModified();
    facts.attributes = fileAttributes(path);
    return facts;
}

QString fileNameFromPath(const QString& path) { return path.mid(path.lastIndexOf(u'/') + 1); }

QString filePropertiesMessage(const QString& title, const FileFacts& facts, qint64 lineCount)
{
    const QLocale english = QLocale::c();
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("File name: ") + fileNameFromPath(title) + crlf
           + QStringLiteral("File size: ") + QString::number(facts.size) + QStringLiteral(" bytes (")
           + QString::number(facts.size / 1024) + QStringLiteral("K)") + crlf
           + QStringLiteral("Last modified: ") + english.toString(facts.modified, QStringLiteral("MMM dd, yyyy"))
           + QStringLiteral(" at ") + english.toString(facts.modified, QStringLiteral("h:mm AP")) + crlf
           + QStringLiteral("Attributes: ") + attributeText(facts.attributes) + crlf
           + QStringLiteral("Line count: ") + conv::numberWithSign(lineCount);
}
