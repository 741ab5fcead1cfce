#pragma once

#include <QLockFile>
#include <QString>

namespace app {

// One archive, one writer: an exclusive lock beside the archive for the whole run. A lock
// left by a run that crashed (its process is gone) is taken over.
class ArchiveLock {
public:
    enum class Result { Acquired, HeldByAnotherCopy, Unavailable };

    explicit ArchiveLock(const QString &archivePath);
    Result acquire();
    static QString lockPathFor(const QString &archivePath);

private:
    QLockFile lock_;
};

} // namespace app
