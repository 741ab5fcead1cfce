#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace archive {

// Earlier files of an archive, in the folder "Backup" beside its real file (links followed),
// each named after the moment it was put aside: Archivio-20260105-143000.xls, then -2, -3...
// for more in the same second.
struct Backup {
    QString path;
    QDateTime putAside; // local time, from the name
    int suffix = 1;
};

QString backupFolder(const QString &archivePath);
// The archive's backups, newest first; other files in the folder are not listed.
QList<Backup> listBackups(const QString &archivePath);
// The backups the retention lets go: all but the newest 20 and the newest of each of the last
// 30 days (today included).
QList<Backup> expiredBackups(QList<Backup> backups, const QDate &today);

// The archive's current file, put aside before something replaces it: a hard link in the
// backup folder (the old file itself, with its owner and mode), or a copy with the same owner
// and mode where a link cannot be made. Removed again unless kept, so that a replacement that
// fails leaves the backups as they were.
class PendingBackup {
public:
    explicit PendingBackup(const QString &archivePath, const QDateTime &now = QDateTime::currentDateTime());
    ~PendingBackup();
    PendingBackup(const PendingBackup &) = delete;
    PendingBackup &operator=(const PendingBackup &) = delete;

    // "" when there was no file to put aside, or when it could not be put aside.
    QString path() const { return path_; }
    // Why it could not be put aside, in Italian; "" otherwise.
    QString problem() const { return problem_; }
    // The replacement went through: the backup stays, and those the retention lets go are removed.
    void keep();

private:
    int linkUnderFreeName(const QByteArray &source);
    int copyAside(const QByteArray &source);

    QString archive_, folder_, path_, problem_;
    QDateTime now_;
    bool kept_ = false;
};

// Puts the backup at `backupPath` in the archive's place, with the archive's owner, group and
// mode, after keeping the current archive as a backup; returns where that one was kept ("" when
// there was no archive). HostError, and the archive unchanged, when the backup does not open
// with the archive's password or has no registry sheet, when the current archive cannot be
// kept, or when it cannot be replaced. For the holder of the archive's lock.
QString RestoreBackup(const QString &archivePath, const QString &backupPath);

} // namespace archive
