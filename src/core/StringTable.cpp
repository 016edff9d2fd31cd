#include "core/StringTable.h"

#include <QFile>
#include <QHash>

// Resources of a static library must be registered by name.
static void initResources() { Q_INIT_RESOURCE(pagewell); }

static QHash<int, QString> loadTable()
{
    initResources();
    QHash<int, QString> table;
    QFile file(QStringLiteral(":/strings.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return table;
    const QString text = QString::fromUtf8(file.readAll());
    for (const QString& line : text.split(u'\n')) {
        if (line.startsWith(u'#'))
            continue;
        const qsizetype tab = line.indexOf(u'\t');
        bool ok = false;
        const int id = line.left(tab).toInt(&ok);
        if (tab > 0 && ok)
            table.insert(id, line.mid(tab + 1));
    }
    return table;
}

std::optional<QString> LoadResString(int id)
{
    static const QHash<int, QString> table = loadTable();
    const auto it = table.constFind(id);
    if (it == table.constEnd())
        return std::nullopt;
    return *it;
}
