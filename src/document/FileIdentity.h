#pragma once
// Which file a path names and in which state: enough to tell whether
// another program has written, replaced or deleted it since we last read
// or wrote it.
#include <QString>
#include <QtGlobal>
#include <optional>

class FileIdentity {
public:
    enum Change { Same, Changed, Deleted };

    FileIdentity() = default;  // no file
    // The file the path leads to now (links followed); no file when there is none.
    static FileIdentity of(const QString& path);

    bool exists() const { return m_exists; }
    // How now differs from this: a file that appears where there was none
    // counts as changed.
    Change changeTo(const FileIdentity& now) const;

    bool operator==(const FileIdentity& other) const;
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }

private:
    bool m_exists = false;
    quint64 m_device = 0;
    quint64 m_inode = 0;
    qint64 m_size = 0;
    qint64 m_modifiedSeconds = 0;
    qint64 m_modifiedNanoseconds = 0;
};

// What to tell the user when a document's window becomes active again.
enum class DiskNotice {
    None,          // nothing new happened to the file
    OfferReload,   // changed, and the document has nothing unsaved to lose
    ChangedUnder,  // changed while the document has unsaved changes
    Deleted,
};

// remembered: the file as we last loaded or saved it; reported: the state
// last told to the user, if any, so that one outside change is told once.
DiskNotice diskNotice(const FileIdentity& remembered, const std::optional<FileIdentity>& reported,
                      const FileIdentity& now, bool unsaved);
