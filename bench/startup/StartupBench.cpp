// Start-up time of the program: from starting the process to the main window shown, on a
// fresh archive and on a full one (32,767 subjects). Each run is a new process that does what
// the program does; the parent times it until the child reports the window on screen. Then
// the steps of the start-up on the full archive, each run in a new process the same way.
#include "archive/Archive.h"
#include "archive/ArchiveLock.h"
#include "app/Form1.h"
#include "FullRegistry.h"
#include "root/Launcher.h"
#include "platform/QtDialogs.h"
#include "StartedProgram.h"
#include "Timing.h"
#include "root/VelmoroApplication.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <vector>

namespace {

constexpr int kSubjects = bench::kFullRegistry;
constexpr int kRuns = 7;
constexpr double kTargetMs = 100.0;

// The steps, in the order the start-up takes them, as the child names them.
const char *const kSteps[] = {"main", "qt", "lock", "open", "prepare", "shown"};
const char *const kStepNames[] = {"process start to main()", "Qt and its fonts (QApplication)", "archive lock",
                                  "open (read, decrypt, parse)", "prepare the registry sheet",
                                  "main window built and painted"};

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

// The monotonic clock, which the parent and its children share.
long long nowNs() { return std::chrono::steady_clock::now().time_since_epoch().count(); }

void mark(const char *step)
{
    std::printf("%s %lld\n", step, nowNs());
    std::fflush(stdout);
}

// What the main window's load does, one step after the other, each marked as it ends; the
// window is then built and painted without the archive it has already been shown.
int stepsChild(int argc, char **argv)
{
    mark("main");
    root::VelmoroApplication qapp(argc, argv);
    mark("qt");
    const QString path = QString::fromLocal8Bit(argv[2]);
    archive::ArchiveLock lock(path, QStringLiteral("Velmoro"));
    if (lock.acquire() != archive::ArchiveLock::Result::Acquired)
        return 1;
    archive::RemoveLeftovers(path);
    mark("lock");
    host::Application host(Regional::system());
    archive::OpenArchive(host, path);
    host.setVisible(false);
    mark("open");
    archive::PrepareArchiveSheet(host);
    mark("prepare");
    platform::QtDialogs dialogs;
    bench::StartedProgram program(dialogs, path);
    app::Form1 window(program.forms.context(), [] {});
    window.show();
    QCoreApplication::processEvents();
    mark("shown");
    return 0;
}

void startChild(QProcess &process, const QString &self, const QString &mode, const QString &archive)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(self, {mode, archive});
}

// Milliseconds from process start to "shown", one per run.
std::vector<double> time(const QString &self, const QString &archive)
{
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        QProcess process;
        QElapsedTimer clock;
        clock.start();
        startChild(process, self, QStringLiteral("--child"), archive);
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

// Each step's milliseconds, one per run; empty when a run failed.
std::map<QByteArray, std::vector<double>> timeSteps(const QString &self, const QString &archive)
{
    std::map<QByteArray, std::vector<double>> steps;
    for (int run = 0; run < kRuns; ++run) {
        QProcess process;
        const long long started = nowNs();
        startChild(process, self, QStringLiteral("--steps"), archive);
        process.waitForFinished(30000);
        long long previous = started;
        std::size_t seen = 0;
        for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() != 2 || seen >= std::size(kSteps) || fields[0] != kSteps[seen])
                continue;
            const long long at = fields[1].toLongLong();
            steps[fields[0]].push_back((at - previous) / 1e6);
            previous = at;
            ++seen;
        }
        if (seen != std::size(kSteps)) {
            std::fprintf(stderr, "the start-up steps did not run on %s:\n%s\n", qPrintable(archive),
                         process.readAllStandardError().constData());
            return {};
        }
    }
    return steps;
}

double median(std::vector<double> runs)
{
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return child(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--steps")
        return stepsChild(argc, argv);

    QCoreApplication core(argc, argv);
    const QString folder = QDir::tempPath() + QStringLiteral("/velmoro-startup-bench");
    const QString fresh = folder + QStringLiteral("/fresh/Archivio.xls");
    const QString full = folder + QStringLiteral("/full/Archivio.xls");
    if (!bench::makeArchive(fresh, 0) || !bench::makeArchive(full, kSubjects))
        return 1;
    const QString self = QCoreApplication::applicationFilePath();
    const std::vector<double> freshRuns = time(self, fresh);
    const std::vector<double> fullRuns = time(self, full);
    const auto steps = timeSteps(self, full);
    if (freshRuns.empty() || fullRuns.empty() || steps.empty())
        return 1;

    const double freshMedian = freshRuns[freshRuns.size() / 2];
    const double fullMedian = fullRuns[fullRuns.size() / 2];
    std::printf("start-up to main window shown (offscreen platform), median of %d runs (min..max):\n", kRuns);
    std::printf("  fresh archive:          %7.1f ms (%.1f..%.1f)\n", freshMedian, freshRuns.front(),
                freshRuns.back());
    std::printf("  %d subjects (%.1f MB): %7.1f ms (%.1f..%.1f)\n", kSubjects,
                QFileInfo(full).size() / 1e6, fullMedian, fullRuns.front(), fullRuns.back());
    std::printf("  full / fresh:           %7.2f\n", fullMedian / freshMedian);
    bench::report("full archive, start-up to main window", fullMedian, kTargetMs);
    std::printf("  its steps, each run in a new process the same way, median of %d runs:\n", kRuns);
    for (std::size_t i = 0; i < std::size(kSteps); ++i)
        bench::reportStep(kStepNames[i], median(steps.at(kSteps[i])), kTargetMs);
    return 0;
}
