#pragma once
// A per-user store of text values addressed by section and key, kept in one
// INI-style file. Section and key names are stored verbatim (spaces and "/"
// included); values round-trip exactly. A damaged or unreadable file reads as
// empty; every write re-reads the file first, so two running copies only
// overwrite each other's keys, never each other's whole file.
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

class SettingsStore {
public:
    explicit SettingsStore(QString filePath);

    QString filePath() const { return m_path; }

    // The stored value, or nullopt-like: found is false for a missing key.
    QString value(const QString& section, const QString& key, bool* found = nullptr);
    // Returns false when the file could not be written; the value is still
    // kept for this run.
    bool setValue(const QString& section, const QString& key, const QString& value);

    // Values read and written inside update().
    class Transaction {
    public:
        QString value(const QString& section, const QString& key) const;
        void setValue(const QString& section, const QString& key, const QString& value);

    private:
        friend class SettingsStore;
        explicit Transaction(SettingsStore& store) : m_store(store) {}
        SettingsStore& m_store;
        bool m_changed = false;
    };
    // Runs change on the values as the file holds them now, with the lock
    // held until what it set is written back in one go: another copy cannot
    // write in between, so a read-change-write of several keys loses none of
    // its keys' updates. False when the file could not be written.
    bool update(const std::function<void(Transaction&)>& change);

    // The file's text for a set of sections (for tests and diagnostics).
    static QString serialize(const QHash<QString, QHash<QString, QString>>& data,
                             const QStringList& sectionOrder);
    static void parse(const QByteArray& bytes, QHash<QString, QHash<QString, QString>>* data,
                      QStringList* sectionOrder);

private:
    void reloadIfChanged();

    QString m_path;
    QHash<QString, QHash<QString, QString>> m_data;
    QStringList m_sectionOrder;
    // Identity of the file last read. Every write renames a new file into
    // place, so another copy's write always shows as a new inode.
    struct FileStamp {
        bool exists = false;
        quint64 inode = 0;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        bool operator==(const FileStamp& o) const
        {
            return exists == o.exists && inode == o.inode && size == o.size && modifiedNs == o.modifiedNs;
        }
    };
    static FileStamp stampOf(const QString& path);
    FileStamp m_loaded;
    bool m_forceReload = true;
};
