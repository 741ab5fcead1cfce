#include "ArchiveLock.h"

#include "Archive.h"
#include "spreadsheet/xls/container/SystemError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace archive {

namespace {

bool sameFile(int fd, const QByteArray &path)
{
    struct stat held {}, named {};
    return ::fstat(fd, &held) == 0 && ::lstat(path.constData(), &named) == 0 && held.st_ino == named.st_ino
           && held.st_dev == named.st_dev;
}

QString userName()
{
    if (const passwd *user = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(user->pw_name);
    return QString::number(::geteuid());
}

// "<program> (processo <pid> dell'utente <user> sul computer <host>)" from the lines
// "pid\nprogram\nhost\nuser\n"; "" when the file says less.
QString holderIn(int fd)
{
    char text[1024];
    const ssize_t size = ::pread(fd, text, sizeof text, 0);
    const QStringList lines = QString::fromUtf8(text, size > 0 ? size : 0).split(QLatin1Char('\n'));
    if (lines.size() < 4 || std::ranges::any_of(lines.first(4), &QString::isEmpty))
        return {};
    return QStringLiteral("%1 (processo %2 dell'utente %3 sul computer %4)").arg(lines[1], lines[0], lines[3], lines[2]);
}

} // namespace

ArchiveLock::ArchiveLock(const QString &archivePath, const QString &program)
    : archive_(realArchivePath(archivePath)), lockPath_(lockPathFor(archivePath)), program_(program)
{
}

ArchiveLock::~ArchiveLock() { release(); }

QString ArchiveLock::lockPathFor(const QString &archivePath)
{
    const QFileInfo archive(realArchivePath(archivePath));
    return archive.path() + QStringLiteral("/.~velmoro.%1.lock").arg(archive.fileName());
}

ArchiveLock::Result ArchiveLock::acquire()
{
    if (lockFd_ >= 0)
        return Result::Acquired;
    holder_.clear();
    problem_.clear();
    const Result held = holdLockFile();
    if (held != Result::Acquired)
        return held;

    const QByteArray entry = QByteArray::number(qint64(::getpid())) + '\n' + program_.toUtf8() + '\n'
                             + QSysInfo::machineHostName().toUtf8() + '\n' + userName().toUtf8() + '\n';
    const ssize_t written = ::ftruncate(lockFd_, 0) == 0 ? ::pwrite(lockFd_, entry.constData(), entry.size(), 0) : -1;
    if (written != entry.size())
        return fail(QStringLiteral("impossibile scrivere il file"), written < 0 ? errno : ENOSPC);

    archiveFd_ = ::open(QFile::encodeName(archive_).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (archiveFd_ >= 0 && ::flock(archiveFd_, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        release();
        return Result::HeldByAnotherCopy;
    }
    return Result::Acquired;
}

ArchiveLock::Result ArchiveLock::holdLockFile()
{
    const QByteArray path = QFile::encodeName(lockPath_);
    // A few rounds: a holder that ends removes its file, which may leave us holding a file
    // that no longer has the name.
    for (int round = 0; round < 8; ++round) {
        int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
        const bool writable = fd >= 0;
        if (fd < 0 && errno == EACCES) // another user's lock file still tells whether its holder lives
            fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return fail(QStringLiteral("impossibile creare il file"), errno);
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            if (err == EWOULDBLOCK)
                holder_ = holderIn(fd);
            ::close(fd);
            return err == EWOULDBLOCK ? Result::HeldByAnotherCopy : fail(QStringLiteral("impossibile bloccare il file"), err);
        }
        const bool named = sameFile(fd, path);
        if (named && writable) {
            lockFd_ = fd;
            return Result::Acquired;
        }
        // Stale, and not ours to write: made anew.
        const int removed = named ? ::unlink(path.constData()) : 0, err = errno;
        ::close(fd);
        if (removed != 0)
            return fail(QStringLiteral("impossibile sostituire il file"), err);
    }
    return fail(QStringLiteral("impossibile creare il file"), EBUSY);
}

ArchiveLock::Result ArchiveLock::fail(const QString &what, int err)
{
    release();
    problem_ = QStringLiteral("%1 di blocco \"%2\": %3")
                   .arg(what, QDir::toNativeSeparators(lockPath_), QString::fromStdString(xls::systemErrorText(err)));
    return Result::Unavailable;
}

void ArchiveLock::release()
{
    if (archiveFd_ >= 0)
        ::close(archiveFd_);
    archiveFd_ = -1;
    if (lockFd_ < 0)
        return;
    // Removed while still held: a copy waiting on this file sees it gone and makes its own.
    const QByteArray path = QFile::encodeName(lockPath_);
    if (sameFile(lockFd_, path))
        ::unlink(path.constData());
    ::close(lockFd_);
    lockFd_ = -1;
}

} // namespace archive
