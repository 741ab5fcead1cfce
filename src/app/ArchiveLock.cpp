#include "ArchiveLock.h"

#include <QDir>
#include <QFileInfo>

namespace app {

ArchiveLock::ArchiveLock(const QString &archivePath) : lock_(lockPathFor(archivePath))
{
    // Age alone must never make a running copy's lock look stale: only a dead holder does.
    lock_.setStaleLockTime(0);
}

QString ArchiveLock::lockPathFor(const QString &archivePath)
{
    const QFileInfo archive(archivePath);
    return archive.dir().filePath(QStringLiteral(".~velmoro.%1.lock").arg(archive.fileName()));
}

ArchiveLock::Result ArchiveLock::acquire()
{
    if (lock_.tryLock(0))
        return Result::Acquired;
    return lock_.error() == QLockFile::LockFailedError ? Result::HeldByAnotherCopy
                                                        : Result::Unavailable;
}

} // namespace app
