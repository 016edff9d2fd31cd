#include "document/SafeWrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <future>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString failure(const QString& path, const QString& reason)
{
    return QCoreApplication::translate("SafeWrite", "%1 could not be saved: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// The file a chain of symbolic links ends in; empty with a reason when the
// chain loops.
QString finalTarget(const QString& path, QString* reason)
{
    QString target = path;
    for (int hop = 0; hop < 40; ++hop) {
        const QFileInfo info(target);
        if (!info.isSymLink())
            return target;
        target = info.symLinkTarget();
    }
    *reason = systemReason(ELOOP);
    return QString();
}

using Producer = std::function<bool(const ByteSink&)>;

// Counts the bytes a sink takes and asks the caller after each slice
// whether to go on.
class Reporter {
public:
    explicit Reporter(const WriteProgress& progress) : m_progress(progress) {}

    ByteSink around(ByteSink sink)
    {
        if (!m_progress)
            return sink;
        return [this, sink = std::move(sink)](QByteArrayView bytes) {
            if (!sink(bytes))
                return false;
            m_written += bytes.size();
            return goOn();
        };
    }
    bool goOn()
    {
        m_cancelled = m_cancelled || (m_progress && !m_progress(m_written));
        return !m_cancelled;
    }
    bool asking() const { return bool(m_progress); }
    bool cancelled() const { return m_cancelled; }

private:
    const WriteProgress& m_progress;
    qint64 m_written = 0;
    bool m_cancelled = false;
};

// errno of a failed fsync, or 0. A big file can take the disk a while:
// meanwhile the caller is asked every few milliseconds, so it can paint.
int syncToDisk(int handle, Reporter& reporter)
{
    const auto sync = [handle] { return ::fsync(handle) == 0 ? 0 : errno; };
    if (!reporter.asking())
        return sync();
    std::future<int> done = std::async(std::launch::async, sync);
    while (done.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
        reporter.goOn();
    return done.get();
}

bool writeDirectly(const QString& target, const Producer& produce, Reporter& reporter, QString* reason)
{
    if (!produce([](QByteArrayView) { return true; }))
        return false;
    QFile file(target);
    bool failed = !file.open(QIODevice::WriteOnly);
    if (!failed) {
        produce(reporter.around([&file, &failed](QByteArrayView bytes) {
            failed = failed || file.write(bytes.data(), bytes.size()) != bytes.size();
            return !failed;
        }));
        if (reporter.cancelled())
            return false;
        failed = failed || !file.flush();
    }
    if (failed) {
        *reason = file.errorString();
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        *reason = file.errorString();
        return false;
    }
    return true;
}

// The temporary file takes over the target's owner, group and mode before
// it replaces the target. Owner and group need privileges, so a failure
// there is no reason not to save.
void keepOwnerAndMode(int handle, const struct stat& original)
{
    if (fchown(handle, original.st_uid, original.st_gid) != 0
        && fchown(handle, uid_t(-1), original.st_gid) != 0) {
        // Only a privileged user may give a file away; it stays ours.
    }
    // chown clears set-id bits, so the mode comes last.
    if (fchmod(handle, original.st_mode & 07777) != 0) {
        // QSaveFile has already copied the permission bits Qt knows.
    }
}

// Writes all bytes to the descriptor; false with errno set on failure.
bool writeAll(int handle, QByteArrayView bytes)
{
    const char* next = bytes.data();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(handle, next, size_t(std::min<qint64>(left, 1 << 30)));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        next += written;
        left -= written;
    }
    return true;
}

// QSaveFile makes the temporary file and renames it into place. The bytes
// go through its descriptor directly, so a failure keeps the system's
// reason (QSaveFile reports a full disk as "Unknown error").
bool writeThroughTemporary(const QString& target, const Producer& produce, const struct stat* original,
                           Reporter& reporter, QString* reason)
{
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        // For a file it may not replace, QSaveFile says only "not writable".
        const bool refused = original && ::access(QFile::encodeName(target).constData(), W_OK) != 0;
        *reason = refused ? systemReason(errno) : file.errorString();
        return false;
    }
    if (original)
        keepOwnerAndMode(file.handle(), *original);
    int failure = 0;  // errno of the first failed write, kept from later calls
    const bool complete = produce(reporter.around([&file, &failure](QByteArrayView bytes) {
        if (failure == 0 && !writeAll(file.handle(), bytes))
            failure = errno;
        return failure == 0;
    }));
    if ((!complete || reporter.cancelled()) && failure == 0) {
        file.cancelWriting();
        return false;
    }
    if (failure == 0)
        failure = syncToDisk(file.handle(), reporter);
    if (reporter.cancelled() && failure == 0) {
        file.cancelWriting();  // the old file is still there as it was
        return false;
    }
    if (failure != 0) {
        *reason = systemReason(failure);
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *reason = file.errorString();
        return false;
    }
    return true;
}

bool writeTo(const QString& path, const Producer& produce, Reporter& reporter, QString* reason)
{
    if (path.isEmpty()) {
        *reason = systemReason(ENOENT);
        return false;
    }
    const QString target = finalTarget(path, reason);
    if (target.isEmpty())
        return false;
    struct stat original;
    const bool exists = ::stat(QFile::encodeName(target).constData(), &original) == 0;
    if (exists && S_ISDIR(original.st_mode)) {
        *reason = systemReason(EISDIR);
        return false;
    }
    if (exists && !S_ISREG(original.st_mode))
        return writeDirectly(target, produce, reporter, reason);
    return writeThroughTemporary(target, produce, exists ? &original : nullptr, reporter, reason);
}

}  // namespace

bool writeFileSafely(const QString& path, const QByteArray& bytes, QString* error)
{
    return writeFileSafely(path, [&bytes](const ByteSink& sink) { return sink(bytes); }, error);
}

bool writeFileSafely(const QString& path, const std::function<bool(const ByteSink&)>& produce, QString* error,
                     const WriteProgress& progress)
{
    QString reason;
    Reporter reporter(progress);
    const bool written = writeTo(path, produce, reporter, &reason);
    if (!written && error && !reason.isEmpty())
        *error = failure(path, reason);
    return written;
}
