// What keeping a backup adds to each save of an archive of 32,767 subjects: the save alone, the
// save with its backup (a link, and the retention removing the backup it no longer keeps), the
// backup's own steps timed inside those saves, and the copy made where the backup folder is on
// another file system. Usage: backup_bench [WORKDIR]
#include "archive/Archive.h"
#include "archive/Backups.h"
#include "FullRegistry.h"
#include "Timing.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int kRuns = 21;
constexpr double kTargetMs = 20;

double median(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

struct Timed {
    double save, aside, retention, backup;
};

// `runs` saves through the backup's steps, each part timed on its own.
Timed savesWithBackups(host::Workbook &book, int runs)
{
    std::vector<double> saves, asides, retentions, backups;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        archive::PendingBackup backup(book.fullName());
        const double made = clock.nsecsElapsed() / 1e6;
        clock.restart();
        book.save();
        saves.push_back(clock.nsecsElapsed() / 1e6);
        clock.restart();
        backup.keep();
        const double kept = clock.nsecsElapsed() / 1e6;
        asides.push_back(made);
        retentions.push_back(kept);
        backups.push_back(made + kept);
        if (!backup.problem().isEmpty())
            std::fprintf(stderr, "%s\n", qPrintable(backup.problem()));
    }
    return {median(saves), median(asides), median(retentions), median(backups)};
}

dev_t deviceOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_dev : dev_t(-1);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication qapp(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath() + QStringLiteral("/velmoro-bench");
    const QString source = dir + QStringLiteral("/backup-source.xls"), work = dir + QStringLiteral("/backup");
    if (!bench::makeArchive(source, bench::kFullRegistry))
        return 1;
    QDir(work).removeRecursively();
    QDir().mkpath(work);
    const QString path = work + QStringLiteral("/Archivio.xls");
    QFile::copy(source, path);

    host::Application app(Regional::italian());
    host::Workbook &book = archive::OpenArchive(app, path);
    std::printf("archive: %d subjects, %lld bytes; medians of %d saves\n", bench::kFullRegistry,
                static_cast<long long>(QFileInfo(path).size()), kRuns);

    const double alone = bench::medianMs(kRuns, [&] { book.save(); });
    // The folder holding what the retention keeps, each save also removes the oldest backup.
    for (int i = 0; i < 21; ++i)
        archive::SaveArchive(app);
    const Timed linked = savesWithBackups(book, kRuns);
    std::printf("  save without backup:                       %8.1f ms\n", alone);
    std::printf("  save with its backup:                      %8.1f ms (the save itself %.1f ms)\n",
                linked.save + linked.backup, linked.save);
    bench::report("backup per save (link + retention)", linked.backup, kTargetMs);
    std::printf("    of which the link %.3f ms, the retention (the oldest backup removed) %.3f ms\n", linked.aside,
                linked.retention);

    const QString elsewhere = QStringLiteral("/dev/shm/velmoro-bench-backup");
    QDir(elsewhere).removeRecursively();
    if (QDir().mkpath(elsewhere) && deviceOf(elsewhere) != deviceOf(work)) {
        QDir(work + QStringLiteral("/Backup")).removeRecursively();
        QFile::link(elsewhere, work + QStringLiteral("/Backup"));
        const Timed copied = savesWithBackups(book, 5);
        bench::report("backup per save, folder on another disk (copy)", copied.backup, kTargetMs);
    }
    QDir(elsewhere).removeRecursively();
    return 0;
}
