#pragma once
// The help's keyword index: keywords in alphabetical order, each leading to
// one or more places in the help ("page.html" or "page.html#anchor").
#include <QList>
#include <QString>
#include <QStringList>

struct HelpIndexEntry {
    QString keyword;
    QStringList targets;  // in the order the index file lists them
};

class HelpIndex {
public:
    HelpIndex() = default;

    // Reads "keyword<TAB>target" lines; blank lines and lines starting with
    // "#" are skipped, and so is a line without a tab. A keyword listed on
    // several lines gathers their targets.
    static HelpIndex parse(const QString& text);

    // Sorted by keyword, ignoring case.
    const QList<HelpIndexEntry>& entries() const { return m_entries; }
    bool isEmpty() const { return m_entries.isEmpty(); }

    // The entry of exactly this keyword, ignoring case; nullptr when none.
    const HelpIndexEntry* find(const QString& keyword) const;

    // The entries whose keyword holds every word of the query, ignoring
    // case; all of them for a query without words.
    QList<HelpIndexEntry> matching(const QString& query) const;

private:
    QList<HelpIndexEntry> m_entries;
};

// The words of a search query, split at blanks.
QStringList queryWords(const QString& query);
