#include "format/FontFamilies.h"

namespace fontfamilies {

QString plain(const QString& family)
{
    if (!family.endsWith(u']'))
        return family;
    const qsizetype open = family.lastIndexOf(QStringLiteral(" ["));
    return open > 0 ? family.left(open) : family;
}

QStringList plain(const QStringList& families)
{
    QStringList names;
    for (const QString& family : families) {
        const QString name = plain(family);
        if (!names.contains(name))
            names << name;
    }
    return names;
}

}  // namespace fontfamilies
