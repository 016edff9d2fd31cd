#include "help/HelpIndex.h"

#include <QHash>
#include <algorithm>

QStringList queryWords(const QString& query)
{
    return query.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

static bool holdsAll(const QString& text, const QStringList& words)
{
    return std::all_of(words.begin(), words.end(),
                       [&text](const QString& word) { return text.contains(word, Qt::CaseInsensitive); });
}

HelpIndex HelpIndex::parse(const QString& text)
{
    HelpIndex index;
    QHash<QString, qsizetype> rowOf;  // by lower-cased keyword
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || tab <= 0)
            continue;
        const QString keyword = line.left(tab).trimmed();
        const QString target = line.mid(tab + 1).trimmed();
        if (keyword.isEmpty() || target.isEmpty())
            continue;
        const QString key = keyword.toLower();
        if (!rowOf.contains(key)) {
            rowOf.insert(key, index.m_entries.size());
            index.m_entries.append({keyword, {}});
        }
        QStringList& targets = index.m_entries[rowOf.value(key)].targets;
        if (!targets.contains(target))
            targets << target;
    }
    std::stable_sort(index.m_entries.begin(), index.m_entries.end(),
                     [](const HelpIndexEntry& a, const HelpIndexEntry& b) {
                         return QString::compare(a.keyword, b.keyword, Qt::CaseInsensitive) < 0;
                     });
    return index;
}

const HelpIndexEntry* HelpIndex::find(const QString& keyword) const
{
    for (const HelpIndexEntry& entry : m_entries) {
        if (QString::compare(entry.keyword, keyword.trimmed(), Qt::CaseInsensitive) == 0)
            return &entry;
    }
    return nullptr;
}

QList<HelpIndexEntry> HelpIndex::matching(const QString& query) const
{
    const QStringList words = queryWords(query);
    QList<HelpIndexEntry> found;
    for (const HelpIndexEntry& entry : m_entries) {
        if (holdsAll(entry.keyword, words))
            found << entry;
    }
    return found;
}
