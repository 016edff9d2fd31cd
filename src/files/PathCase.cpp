#include "files/PathCase.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace {

// Upper case grows "ß" into "SS", so both sides are compared in upper case.
QString matchKey(const QString& name)
{
    return name.normalized(QString::NormalizationForm_C).toUpper();
}

// lstat rather than stat: a dangling symbolic link is still a name here.
bool entryExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString joined(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

class CaseResolver {
public:
    explicit CaseResolver(const QStringList& components) : m_components(components) {}

    // The first real path for the components from index on, below folder.
    QString resolve(const QString& folder, qsizetype index) const
    {
        if (index == m_components.size())
            return folder.isEmpty() ? QStringLiteral(".") : folder;
        const QString& wanted = m_components[index];
        QString found = tryName(folder, wanted, index);
        if (!found.isEmpty() || wanted == QLatin1String(".") || wanted == QLatin1String(".."))
            return found;
        // Only now list the folder: most components match exactly.
        const QString key = matchKey(wanted);
        const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
        QStringList matches;
        const QStringList entries = dir.entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& entry : entries) {
            if (entry != wanted && matchKey(entry) == key)
                matches << entry;
        }
        // The path is meant to name a file: at the end, files before folders.
        if (index + 1 == m_components.size()) {
            std::stable_partition(matches.begin(), matches.end(), [&](const QString& name) {
                return !QFileInfo(joined(folder, name)).isDir();
            });
        }
        for (const QString& name : std::as_const(matches)) {
            found = tryName(folder, name, index);
            if (!found.isEmpty())
                return found;
        }
        return QString();
    }

private:
    // Follows one existing name; a name before the last must be a folder.
    QString tryName(const QString& folder, const QString& name, qsizetype index) const
    {
        const QString path = joined(folder, name);
        const bool last = index + 1 == m_components.size();
        if (!entryExists(path) || (!last && !QFileInfo(path).isDir()))
            return QString();
        return resolve(path, index + 1);
    }

    QStringList m_components;
};

}  // namespace

QString resolvePathCaseInsensitive(const QString& upperPath)
{
    if (upperPath.isEmpty())
        return QString();
    if (entryExists(upperPath))
        return upperPath;
    const bool absolute = upperPath.startsWith(u'/');
    const QStringList components = upperPath.split(u'/', Qt::SkipEmptyParts);
    return CaseResolver(components).resolve(absolute ? QStringLiteral("/") : QString(), 0);
}
