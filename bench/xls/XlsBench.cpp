// Opens and saves an archive of 32,767 subjects x 18 columns, here and in LibreOffice headless
// in the same run, and prints the times, their ratios and each step of the open and the save
// against their targets. Usage: xls_bench [WORKDIR]
#include "archive/Archive.h"
#include "spreadsheet/xls/BiffReader.h"
#include "spreadsheet/xls/BiffWriter.h"
#include "archive/Columns.h"
#include "spreadsheet/xls/container/StreamCrypt.h"
#include "Timing.h"
#include "spreadsheet/xls/XlsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <cstdio>
#include <thread>

namespace {

constexpr int kSubjects = 32767;
constexpr int kRuns = 9;
constexpr double kOpenTargetMs = 60, kSaveTargetMs = 75;

std::u16string password() { return archive::kPassword.toStdU16String(); }

void fill(const QString &path)
{
    host::Application app(Regional(QLocale(QLocale::Italian, QLocale::Italy)));
    archive::OpenArchive(app, path);
    archive::PrepareArchiveSheet(app);
    host::Worksheet &sheet = app.activeSheet();
    for (int i = 1; i <= kSubjects; ++i) {
        const int row = i + 1;
        const QString n = QString::number(i);
        const QString fields[archive::kFieldCount] = {
            n, "Ditta Esempio " + n + " S.r.l.", "C" + n, "", "Via Roma " + n,
            QStringLiteral("%1").arg(i % 100000, 5, 10, QChar('0')), "Località " + n, "RM",
            "06" + n, "06" + n + "9", "33" + n, "info" + n + "@esempio.it",
            "RSSMRA80A01H" + n, QStringLiteral("%1").arg(i, 11, 10, QChar('0')),
            "Referente " + n, "Banca " + n, "Intestatario " + n,
            QStringLiteral("IT60X05428111010000%1").arg(i, 8, 10, QChar('0'))};
        for (int c = 0; c < archive::kFieldCount; ++c)
            if (c != 3)
                sheet.cells(row, c + 1).setValue(fields[c]);
        sheet.cells(row, 4).setValue(QDate(2020, 1, 1).addDays(i % 2500));
    }
    sheet.range(archive::kCounterCell).setValue(QString::number(kSubjects));
    archive::SaveArchive(app);
}

QJsonObject libreOfficeResave(const QString &in, const QString &out)
{
    QProcess process;
    process.start("/usr/bin/python3", {ORACLE_SCRIPT, "resave", in, out,
                                       "--password", archive::kPassword});
    process.waitForFinished(600000);
    if (process.exitCode() != 0) {
        std::fprintf(stderr, "LibreOffice: %s\n", process.readAllStandardError().constData());
        std::exit(1);
    }
    return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
}

// VmHWM, not getrusage: ru_maxrss carries the parent's high-water mark across fork and exec.
long peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong() / 1024;
    return -1;
}

// The steps of openXlsFile, each timed on its own with the layers' own calls. Decryption
// and parsing overlap in the open, so their own times add up to more than the open.
void openSteps(const std::string &path)
{
    QByteArray file;
    bench::reportStep("file read", bench::medianMs(kRuns, [&] {
        QFile in(QString::fromStdString(path));
        in.open(QIODevice::ReadOnly);
        file = in.readAll();
    }), kOpenTargetMs);
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t *>(file.constData()),
                                              std::size_t(file.size()));
    xls::Container container;
    bench::reportStep("container read (OLE2 directory and streams)",
                  bench::medianMs(kRuns, [&] { container = xls::readContainer(bytes); }), kOpenTargetMs);
    const xls::Bytes encrypted = container.find("Workbook")->data;
    const xls::Bytes filepass = xls::findFilepass(encrypted);
    const xls::Rc4Cipher cipher = xls::Rc4Cipher::fromFilepass(filepass, password());
    bench::reportStep("password check and key",
                  bench::medianMs(kRuns, [&] { xls::Rc4Cipher::fromFilepass(filepass, password()); }), kOpenTargetMs);
    xls::Bytes stream;
    bench::reportStep("decrypt alone (worker thread and reader)",
                  bench::medianMs(kRuns, [&] { cipher.decryptStream(stream); }, [&] { stream = encrypted; }),
                  kOpenTargetMs);
    bench::reportStep("parse alone (records, SST, cells)",
                  bench::medianMs(kRuns, [&] { xls::readWorkbookStream(stream); }), kOpenTargetMs);
    bench::reportStep("decrypt + parse, overlapped as the open runs them", bench::medianMs(kRuns, [&] {
        xls::StreamCrypt decryption(cipher, stream);
        xls::readWorkbookStream(stream, &decryption);
    }, [&] { stream = encrypted; }), kOpenTargetMs);
}

// The steps of saveXlsFile, each on its own.
void saveSteps(const xls::XlsFile &file, const std::string &path)
{
    const xls::Bytes filepass = xls::Rc4Cipher::newFilepass(*file.scheme, file.password);
    const xls::Rc4Cipher cipher = xls::Rc4Cipher::fromFilepass(filepass, file.password);
    xls::Bytes stream;
    bench::reportStep("serialize (records, SST)",
                  bench::medianMs(kRuns, [&] { stream = xls::writeWorkbookStream(file.book, filepass); }),
                  kSaveTargetMs);
    const xls::Bytes plain = stream;
    bench::reportStep("encrypt (two threads)", bench::medianMs(kRuns, [&] { cipher.encryptStream(stream); },
                                                           [&] { stream = plain; }), kSaveTargetMs);
    bench::reportStep("container write, flush and rename",
                  bench::medianMs(kRuns, [&] { xls::writeContainer(file.container, path, "Workbook", stream); }),
                  kSaveTargetMs);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication qapp(argc, argv);
    if (argc == 3 && QString(argv[1]) == "--peak") {
        xls::XlsFile file = xls::openXlsFile(argv[2], password());
        std::printf("%ld\n", peakMegabytes());
        return file.book.sheets.empty();
    }
    const QString dir = argc > 1 ? QString(argv[1]) : QDir::tempPath() + "/velmoro-bench";
    QDir().mkpath(dir);
    const QString ours = dir + "/ours.xls", theirs = dir + "/libreoffice.xls";
    QFile::remove(ours);
    archive::CreateArchive(ours);
    fill(ours);

    const QJsonObject lo = libreOfficeResave(ours, theirs);
    const double loLoad = lo["load_s"].toDouble() * 1000, loSave = lo["save_s"].toDouble() * 1000;

    const std::string theirsPath = theirs.toStdString(), copyPath = (dir + "/saved.xls").toStdString();
    const double open = bench::medianMs(kRuns, [&] { xls::openXlsFile(theirsPath, password()); });
    xls::XlsFile file = xls::openXlsFile(theirsPath, password());
    const double save = bench::medianMs(kRuns, [&] { xls::saveXlsFile(file, copyPath); });

    QProcess peak;
    peak.start(QCoreApplication::applicationFilePath(), {"--peak", theirs});
    peak.waitForFinished();
    const long peakMb = peak.readAllStandardOutput().trimmed().toLong();

    std::printf("archive: %d subjects x %d columns, %lld bytes as LibreOffice writes it\n", kSubjects,
                archive::kFieldCount, static_cast<long long>(QFileInfo(theirs).size()));
    std::printf("open+decrypt+parse: %8.1f ms   LibreOffice load: %8.1f ms   ratio %5.1fx (target >= 10x)\n",
                open, loLoad, loLoad / open);
    std::printf("save+encrypt:       %8.1f ms   LibreOffice save: %8.1f ms   ratio %5.1fx (target >= 20x)\n",
                save, loSave, loSave / save);
    std::printf("peak memory with the archive open: %ld MB (target < 80 MB)\n", peakMb);
    std::printf("medians of %d runs, %u hardware threads:\n", kRuns, std::thread::hardware_concurrency());
    bench::report("open (openXlsFile)", open, kOpenTargetMs);
    openSteps(theirsPath);
    bench::report("save (saveXlsFile)", save, kSaveTargetMs);
    saveSteps(file, copyPath);
    return 0;
}
