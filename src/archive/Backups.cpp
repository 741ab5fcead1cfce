#include "Backups.h"

#include "Archive.h"
#include "Columns.h"
#include "spreadsheet/xls/container/ContainerTempFile.h"
#include "spreadsheet/xls/container/Error.h"
#include "spreadsheet/HostErrors.h"
#include "spreadsheet/xls/container/SystemError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace archive {

namespace {

constexpr int kKeepNewest = 20;
constexpr int kKeepDays = 30;
constexpr int kMostInOneSecond = 999;
const QString kStamp = QStringLiteral("yyyyMMdd-HHmmss");

QString reason(int err)
{
    return QString::fromStdString(xls::systemErrorText(err));
}

QString nameOf(const QString &base, const QDateTime &at, int suffix)
{
    QString name = base + QLatin1Char('-') + at.toString(kStamp);
    if (suffix > 1)
        name += QLatin1Char('-') + QString::number(suffix);
    return name + QStringLiteral(".xls");
}

bool newerFirst(const Backup &a, const Backup &b)
{
    return a.putAside != b.putAside ? a.putAside > b.putAside : a.suffix > b.suffix;
}

// The folder is made with the archive folder's owner and permissions, so that it is no more
// open than the archive's own folder and those who save there can keep backups too.
int makeFolder(const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0)
        return errno == EEXIST ? 0 : errno;
    struct stat parent {};
    if (::stat(QFile::encodeName(QFileInfo(folder).path()).constData(), &parent) != 0)
        return 0;
    if (::chown(path.constData(), parent.st_uid, parent.st_gid) != 0
        && ::chown(path.constData(), uid_t(-1), parent.st_gid) != 0) {
        // Not allowed: the folder stays this user's, still with the archive folder's permissions.
    }
    ::chmod(path.constData(), parent.st_mode & 07777);
    return 0;
}

// Copies `in` into `out` with the source's owner (as far as this user may), mode and times.
int copyContents(int in, int out, const struct stat &source)
{
    static constexpr std::size_t kChunk = 1 << 20;
    const std::unique_ptr<char[]> buffer(new char[kChunk]);
    for (;;) {
        const ssize_t got = ::read(in, buffer.get(), kChunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            break;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer.get() + done, std::size_t(got - done));
            if (put < 0 && errno != EINTR)
                return errno;
            done += put > 0 ? put : 0;
        }
    }
    if (::fchown(out, source.st_uid, source.st_gid) != 0 && ::fchown(out, uid_t(-1), source.st_gid) != 0) {
        // As a save does: the copy becomes this user's, with the archive's mode.
    }
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    if (::fchmod(out, source.st_mode & 0777) != 0 || ::futimens(out, times) != 0 || ::fsync(out) != 0)
        return errno;
    return 0;
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw host::cannotOpen(path, errno ? errno : EIO);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw host::cannotOpen(path, EIO);
    return bytes;
}

} // namespace

QString backupFolder(const QString &archivePath)
{
    return QFileInfo(realArchivePath(archivePath)).path() + QStringLiteral("/Backup");
}

QList<Backup> listBackups(const QString &archivePath)
{
    static const QRegularExpression pattern(QStringLiteral("^-(\\d{8}-\\d{6})(?:-(\\d{1,4}))?\\.xls$"));
    const QString folder = backupFolder(archivePath), base = QFileInfo(realArchivePath(archivePath)).completeBaseName();
    QList<Backup> found;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        if (!name.startsWith(base))
            continue;
        const QRegularExpressionMatch match = pattern.match(QStringView(name).mid(base.size()));
        const QDateTime at = QDateTime::fromString(match.captured(1), kStamp);
        if (match.hasMatch() && at.isValid())
            found.append({folder + QLatin1Char('/') + name, at, match.hasCaptured(2) ? match.captured(2).toInt() : 1});
    }
    std::ranges::sort(found, newerFirst);
    return found;
}

QList<Backup> expiredBackups(QList<Backup> backups, const QDate &today)
{
    std::ranges::sort(backups, newerFirst);
    QList<Backup> expired;
    QSet<QDate> days;
    for (qsizetype i = 0; i < backups.size(); ++i) {
        const QDate day = backups[i].putAside.date();
        const bool newestOfDay = !days.contains(day);
        days.insert(day);
        if (i < kKeepNewest || (newestOfDay && day.daysTo(today) < kKeepDays))
            continue;
        expired.append(backups[i]);
    }
    return expired;
}

PendingBackup::PendingBackup(const QString &archivePath, const QDateTime &now)
    : archive_(archivePath), folder_(backupFolder(archivePath)), now_(now)
{
    const QByteArray real = QFile::encodeName(realArchivePath(archivePath));
    struct stat file {};
    if (::stat(real.constData(), &file) != 0 || !S_ISREG(file.st_mode))
        return; // nothing to keep: a fresh archive, or a save that will fail and say why
    if (const int err = makeFolder(folder_); err != 0) {
        problem_ = QStringLiteral("Copia di sicurezza non riuscita: impossibile creare la cartella \"%1\": %2")
                       .arg(QDir::toNativeSeparators(folder_), reason(err));
        return;
    }
    if (linkUnderFreeName(real) == 0)
        return;
    if (const int err = copyAside(real); err != 0)
        problem_ = QStringLiteral("Copia di sicurezza non riuscita: impossibile scrivere nella cartella \"%1\": %2")
                       .arg(QDir::toNativeSeparators(folder_), reason(err));
}

PendingBackup::~PendingBackup()
{
    if (!kept_ && !path_.isEmpty())
        ::unlink(QFile::encodeName(path_).constData());
}

int PendingBackup::linkUnderFreeName(const QByteArray &source)
{
    const QString base = QFileInfo(realArchivePath(archive_)).completeBaseName();
    for (int suffix = 1; suffix <= kMostInOneSecond; ++suffix) {
        const QString target = folder_ + QLatin1Char('/') + nameOf(base, now_, suffix);
        if (::link(source.constData(), QFile::encodeName(target).constData()) == 0) {
            path_ = target;
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}

// Where the folder cannot hold a link (another disk, a file system without links), a copy,
// written under a temporary name first so that no half-written file bears a backup's name.
int PendingBackup::copyAside(const QByteArray &source)
{
    const int in = ::open(source.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return errno;
    struct stat file {};
    QByteArray temp = QFile::encodeName(folder_) + "/.~copia-XXXXXX";
    const int out = ::fstat(in, &file) == 0 ? ::mkostemp(temp.data(), O_CLOEXEC) : -1;
    int err = out < 0 ? errno : copyContents(in, out, file);
    ::close(in);
    if (out >= 0) {
        if (::close(out) != 0 && err == 0)
            err = errno;
        if (err == 0)
            err = linkUnderFreeName(temp);
        ::unlink(temp.constData());
    }
    return err;
}

void PendingBackup::keep()
{
    kept_ = true;
    for (const Backup &old : expiredBackups(listBackups(archive_), now_.date()))
        QFile::remove(old.path);
}

QString RestoreBackup(const QString &archivePath, const QString &backupPath)
{
    {
        host::Application check(Regional::italian());
        check.open(backupPath, kPassword).sheets(kSheetName);
    }
    const QByteArray contents = contentsOf(backupPath);
    PendingBackup current(archivePath);
    if (!current.problem().isEmpty())
        throw host::HostError(host::ErrorKind::SaveFailed, host::kApplicationDefined,
                              current.problem()
                                  + QStringLiteral(". Il ripristino non è stato eseguito e l'archivio non è stato modificato."));
    try {
        xls::ContainerTempFile temp(QFile::encodeName(archivePath).toStdString());
        std::fwrite(contents.constData(), 1, std::size_t(contents.size()), temp.file());
        temp.commit();
    } catch (const xls::Error &error) {
        throw host::saveFailed(archivePath, QString::fromUtf8(error.what()));
    }
    current.keep();
    return current.path();
}

} // namespace archive
