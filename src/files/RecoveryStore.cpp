#include "files/RecoveryStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <limits>

namespace {

const QString LockName = QStringLiteral("lock");
const QString Suffix = QStringLiteral(".pwr");

std::unique_ptr<QLockFile> lockIn(const QString& folder)
{
    auto lock = std::make_unique<QLockFile>(folder + u'/' + LockName);
    // A lock is stale once its process is gone; by age only after weeks
    // (0 would turn the process check off as well).
    lock->setStaleLockTime(std::numeric_limits<int>::max());
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

QStringList entriesIn(const QString& folder)
{
    QStringList paths;
    for (const QString& name : QDir(folder).entryList({QLatin1Char('*') + Suffix}, QDir::Files, QDir::Name))
        paths << folder + u'/' + name;
    return paths;
}

}  // namespace

QString RecoveryStore::defaultRoot()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QLatin1String("/.local/state");
    return state + QLatin1String("/Pagewell/recovery");
}

RecoveryStore::RecoveryStore(const QString& root) : m_root(root) {}

RecoveryStore::~RecoveryStore()
{
    releaseOrphans();
    close();
}

bool RecoveryStore::open()
{
    if (m_lock)
        return true;
    // Private to the user: entries hold the text of unsaved documents.
    if (!QDir().mkpath(m_root))
        return false;
    QFile::setPermissions(m_root, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString stem = QStringLiteral("%1/session-%2-%3")
                             .arg(m_root)
                             .arg(QCoreApplication::applicationPid())
                             .arg(QDateTime::currentMSecsSinceEpoch());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString folder = attempt == 0 ? stem : stem + u'-' + QString::number(attempt);
        if (QDir(folder).exists() || !QDir().mkpath(folder))
            continue;
        if ((m_lock = lockIn(folder))) {
            m_session = folder;
            return true;
        }
    }
    return false;
}

QString RecoveryStore::entryPath(const QString& id) const { return m_session + u'/' + id + Suffix; }

bool RecoveryStore::write(const QString& id, const RecoveryEntry& entry, QString* error) const
{
    QSaveFile file(entryPath(id));
    const bool written = file.open(QIODevice::WriteOnly) && writeRecoveryEntry(file, entry) && file.commit();
    if (!written && error)
        *error = file.errorString();
    return written;
}

void RecoveryStore::remove(const QString& id) const { QFile::remove(entryPath(id)); }

bool RecoveryStore::holdsEntries() const { return !m_session.isEmpty() && !entriesIn(m_session).isEmpty(); }

std::vector<RecoveryStore::Orphan> RecoveryStore::claimOrphans()
{
    std::vector<Orphan> orphans;
    const QStringList sessions = QDir(m_root).entryList({QStringLiteral("session-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : sessions) {
        const QString folder = m_root + u'/' + name;
        if (folder == m_session || std::any_of(m_claimed.begin(), m_claimed.end(),
                                               [&](const auto& claimed) { return claimed.first == folder; }))
            continue;
        std::unique_ptr<QLockFile> lock = lockIn(folder);
        if (!lock)
            continue;  // another copy is running with it
        for (const QString& path : entriesIn(folder)) {
            QFile file(path);
            Orphan orphan{path, {}};
            if (file.open(QIODevice::ReadOnly) && readRecoveryHeader(file, &orphan.header))
                orphans.push_back(std::move(orphan));
        }
        m_claimed.emplace_back(folder, std::move(lock));
    }
    std::stable_sort(orphans.begin(), orphans.end(), [](const Orphan& a, const Orphan& b) {
        return a.header.lastChange < b.header.lastChange;
    });
    return orphans;
}

bool RecoveryStore::adopt(const QString& orphanPath, const QString& id) const
{
    const QString target = entryPath(id);
    QFile::remove(target);
    return QFile::rename(orphanPath, target);
}

void RecoveryStore::releaseOrphans()
{
    for (auto& [folder, lock] : m_claimed) {
        const bool empty = entriesIn(folder).isEmpty();
        lock->unlock();
        if (empty)
            QDir(folder).removeRecursively();
    }
    m_claimed.clear();
}

void RecoveryStore::close()
{
    if (!m_lock)
        return;
    const bool keep = holdsEntries();
    m_lock->unlock();
    m_lock.reset();
    if (!keep)
        QDir(m_session).removeRecursively();
}
