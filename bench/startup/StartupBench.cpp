// Start-up time of the program: from starting the process to the main window shown, on a
// fresh archive and on a full one (32,767 subjects). Each run is a new process that does what
// the program does; the parent times it until the child reports the window on screen.
#include "FullRegistry.h"
#include "root/Launcher.h"
#include "root/VelmoroApplication.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSubjects = bench::kFullRegistry;
constexpr int kRuns = 7;
constexpr double kTargetMs = 300.0;

int child(int argc, char **argv)
{
    root::VelmoroApplication qapp(argc, argv);
    return root::runVelmoro(qapp, QString::fromLocal8Bit(argv[2]), [] {
        QCoreApplication::processEvents(); // the first paint
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
}

// Milliseconds from process start to "shown", one per run.
std::vector<double> time(const QString &self, const QString &archive)
{
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        QElapsedTimer clock;
        clock.start();
        process.start(self, {QStringLiteral("--child"), archive});
        while (process.state() != QProcess::NotRunning && !process.canReadLine())
            process.waitForReadyRead(10000);
        const double ms = clock.nsecsElapsed() / 1e6;
        const bool shown = process.readLine().startsWith("shown");
        process.waitForFinished(10000);
        if (!shown) {
            std::fprintf(stderr, "the program did not show its window on %s:\n%s\n", qPrintable(archive),
                         process.readAllStandardError().constData());
            return {};
        }
        runs.push_back(ms);
    }
    std::sort(runs.begin(), runs.end());
    return runs;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return child(argc, argv);

    QCoreApplication core(argc, argv);
    const QString folder = QDir::tempPath() + QStringLiteral("/velmoro-startup-bench");
    const QString fresh = folder + QStringLiteral("/fresh/Archivio.xls");
    const QString full = folder + QStringLiteral("/full/Archivio.xls");
    if (!bench::makeArchive(fresh, 0) || !bench::makeArchive(full, kSubjects))
        return 1;
    const QString self = QCoreApplication::applicationFilePath();
    const std::vector<double> freshRuns = time(self, fresh);
    const std::vector<double> fullRuns = time(self, full);
    if (freshRuns.empty() || fullRuns.empty())
        return 1;

    const double freshMedian = freshRuns[freshRuns.size() / 2];
    const double fullMedian = fullRuns[fullRuns.size() / 2];
    std::printf("start-up to main window shown (offscreen platform), median of %d runs (min..max):\n", kRuns);
    std::printf("  fresh archive:          %7.1f ms (%.1f..%.1f)\n", freshMedian, freshRuns.front(),
                freshRuns.back());
    std::printf("  %d subjects (%.1f MB): %7.1f ms (%.1f..%.1f)\n", kSubjects,
                QFileInfo(full).size() / 1e6, fullMedian, fullRuns.front(), fullRuns.back());
    std::printf("  full / fresh:           %7.2f\n", fullMedian / freshMedian);
    std::printf("  full / %.0f ms target:   %7.2f  (%s)\n", kTargetMs, fullMedian / kTargetMs,
                fullMedian < kTargetMs ? "within target" : "OVER TARGET");
    return 0;
}
