#pragma once
// The recovery folder: one session folder per running copy of the program,
// locked while it runs, holding one entry file per document. A session
// folder whose lock is stale belongs to a run that ended without cleaning
// up; its entries are the ones to offer at the next start. Entries of a
// copy that still runs are never listed, moved or deleted.
#include "files/RecoveryEntry.h"

#include <QLockFile>
#include <QString>
#include <memory>
#include <vector>

class RecoveryStore {
public:
    // $XDG_STATE_HOME/Pagewell/recovery; an unset, empty or relative
    // XDG_STATE_HOME means ~/.local/state.
    static QString defaultRoot();

    explicit RecoveryStore(const QString& root);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // Creates and locks this run's session folder.
    bool open();
    QString sessionPath() const { return m_session; }
    QString entryPath(const QString& id) const;

    // Safe from any thread once open. write replaces the entry whole or not at all.
    bool write(const QString& id, const RecoveryEntry& entry, QString* error = nullptr) const;
    void remove(const QString& id) const;
    bool holdsEntries() const;

    // Entries of ended runs, oldest change first; their sessions stay locked
    // by this run until releaseOrphans().
    struct Orphan {
        QString path;
        RecoveryHeader header;
    };
    std::vector<Orphan> claimOrphans();
    // Moves an orphan into this session under id; false leaves it where it was.
    bool adopt(const QString& orphanPath, const QString& id) const;
    // Unlocks the claimed sessions; those left without entries are deleted,
    // the others are offered again at the next start.
    void releaseOrphans();

    // Unlocks this session; the folder goes unless it keeps entries.
    void close();

private:
    QString m_root;
    QString m_session;
    std::unique_ptr<QLockFile> m_lock;
    std::vector<std::pair<QString, std::unique_ptr<QLockFile>>> m_claimed;
};
