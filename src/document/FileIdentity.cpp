#include "document/FileIdentity.h"

#include <QFile>

#include <sys/stat.h>

FileIdentity FileIdentity::of(const QString& path)
{
    FileIdentity identity;
    struct stat status;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return identity;
    identity.m_exists = true;
    identity.m_device = quint64(status.st_dev);
    identity.m_inode = quint64(status.st_ino);
    identity.m_size = qint64(status.st_size);
    identity.m_modifiedSeconds = qint64(status.st_mtim.tv_sec);
    identity.m_modifiedNanoseconds = qint64(status.st_mtim.tv_nsec);
    return identity;
}

FileIdentity::Change FileIdentity::changeTo(const FileIdentity& now) const
{
    if (m_exists && !now.m_exists)
        return Deleted;
    return *this == now ? Same : Changed;
}

bool FileIdentity::operator==(const FileIdentity& other) const
{
    if (m_exists != other.m_exists)
        return false;
    return !m_exists
           || (m_device == other.m_device && m_inode == other.m_inode && m_size == other.m_size
               && m_modifiedSeconds == other.m_modifiedSeconds
               && m_modifiedNanoseconds == other.m_modifiedNanoseconds);
}

DiskNotice diskNotice(const FileIdentity& remembered, const std::optional<FileIdentity>& reported,
                      const FileIdentity& now, bool unsaved)
{
    const FileIdentity::Change change = remembered.changeTo(now);
    if (change == FileIdentity::Same || now == reported)
        return DiskNotice::None;
    if (change == FileIdentity::Deleted)
        return DiskNotice::Deleted;
    return unsaved ? DiskNotice::ChangedUnder : DiskNotice::OfferReload;
}
