#pragma once

#include <QString>

namespace archive {

// One archive, one writer: every program that writes the archive holds this lock while it
// works on it. The lock is a file beside the archive's real file (links followed, so every
// path to one archive meets the same lock), held with the system's file lock: the system
// drops it when its holder ends, however it ends, so a lock file nobody holds is stale
// whatever it contains, and is taken over. A second name of the same file (a hard link)
// meets the lock the holder keeps on the archive itself. The file names its holder for the
// messages of the others.
class ArchiveLock {
public:
    enum class Result { Acquired, HeldByAnotherCopy, Unavailable };

    // `program` is how others name the holder ("Velmoro", "archive-tool").
    ArchiveLock(const QString &archivePath, const QString &program);
    ~ArchiveLock();
    ArchiveLock(const ArchiveLock &) = delete;
    ArchiveLock &operator=(const ArchiveLock &) = delete;

    Result acquire();
    // After HeldByAnotherCopy: "Velmoro (processo 1234 dell'utente mario sul computer pc01)",
    // or "" when the holder is not known.
    QString holder() const { return holder_; }
    // After Unavailable: what failed and the system's reason, in Italian.
    QString problem() const { return problem_; }

    static QString lockPathFor(const QString &archivePath);

private:
    Result holdLockFile();
    Result fail(const QString &what, int err);
    void release();

    QString archive_, lockPath_, program_, holder_, problem_;
    int lockFd_ = -1, archiveFd_ = -1;
};

} // namespace archive
