// Start-up on the archive: what is shown on a good archive, what ends the program before
// anything is shown, and that a refused start leaves the folder as it was.
#include "archive/Archive.h"
#include "archive/ArchiveLock.h"
#include "spreadsheet/HostError.h"
#include "handover/OfficeLock.h"
#include "TestRun.h"
#include "spreadsheet/xls/XlsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSysInfo>
#include <QTimer>
#include <csignal>
#include <cstring>
#include <optional>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using Answer = platform::Dialogs::Answer;
using Buttons = platform::Dialogs::Buttons;

class StartUp : public ArchiveFolder {};

TEST_F(StartUp, ShowsTheMainWindowWithTheHostHiddenAndTheSheetPreparedWithItsEighteenHeaders)
{
    archive_files::makeFresh(archive);
    archive_files::inspect(archive, [](host::Workbook &book) {
        book.sheets(QStringLiteral("Velmoro")).range(QStringLiteral("B1:R1")).setValue(QStringLiteral("x"));
        book.save();
    });
    TestRun run(archive);
    ASSERT_TRUE(run.start());

    app::Form1 *form = run.form1();
    EXPECT_TRUE(form->isVisible() && run.dialogs.boxes.empty() && !run.program.ended());
    host::Application *app = run.host();
    ASSERT_NE(app, nullptr);
    EXPECT_FALSE(app->visible() || app->statusBar().isEmpty() || !app->screenUpdating());
    EXPECT_EQ(app->activeSheet().name(), QStringLiteral("Velmoro"));
    EXPECT_EQ(app->selection().address(), QStringLiteral("$A$2"));
    QStringList headers;
    for (int column = 1; column <= 19; ++column)
        headers << app->activeSheet().cells(1, column).text();
    EXPECT_EQ(headers.join(u';'), QStringLiteral(
        "ID;Ragione Sociale/Cognome Nome;Codice;Data;Indirizzo;CAP;Località;PR;Telefono;Fax;Cellulare;Email;"
        "Codice Fiscale;Partita IVA;Referente/Rappresentante;Banca;Intest/Conto;IBAN;"));

    // Every control by its name, with its caption, none ticked.
    QStringList captions;
    for (const char *name : {"Check1", "Check2", "Check3", "Check5", "Command1", "Label5", "Text1"}) {
        auto *control = run.control<QWidget>(name);
        ASSERT_NE(control, nullptr) << name;
        captions << control->property("text").toString() + (control->property("checked").toBool() ? u"[x]"_qs : u""_qs);
    }
    EXPECT_EQ(captions.join(u'|'), QStringLiteral(" Gestione Velmoro | Stampe|Excel|LEGGI   le   Istruzioni/Termini di "
                                                  "utilizzo |Esci|Se di interesse si realizzano applicazioni o "
                                                  "personalizzazioni  |"));
    EXPECT_EQ(run.control<QLabel>("Image1")->toolTip(), QStringLiteral("Via il mio sito !"));

    // Title and version line carry the same version number and release date.
    const QString version = run.control<QLabel>("Label1")->text();
    EXPECT_TRUE(version.contains(QStringLiteral(VELMORO_VERSION)));
    EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("Gestione Velmoro ")));
    EXPECT_TRUE(form->windowTitle().endsWith(version.section(u' ', 1)));
    EXPECT_EQ(form->findChild<QTimer *>(QStringLiteral("Timer1"))->interval(), 1000);
    EXPECT_EQ(archive::archivePath(), QCoreApplication::applicationDirPath() + QStringLiteral("/Archivio.xls"));
}

struct BadArchive {
    const char *name;
    std::function<void(xls::XlsFile &)> edit; // of a fresh archive; nullptr: `text` as the file
    const char *text;
    int number;
    const char *described; // a part of the description
    bool folder = false;   // a folder in the archive's place
};

void PrintTo(const BadArchive &archive, std::ostream *out) { *out << archive.name; }

class StartUpOnABadArchive : public StartUp, public testing::WithParamInterface<BadArchive> {};

TEST_P(StartUpOnABadArchive, ShowsTheHostErrorAndEndsWithoutTouchingAnyFile)
{
    if (GetParam().folder) {
        ASSERT_TRUE(QDir().mkpath(archive));
    } else if (GetParam().edit) {
        archive_files::makeFresh(archive);
        archive_files::rewrite(archive, GetParam().edit);
    } else if (GetParam().text) {
        archive_files::write(archive, GetParam().text);
    }
    const auto before = archive_files::snapshot(folder.path());

    TestRun run(archive);
    EXPECT_FALSE(run.start());

    ASSERT_EQ(run.dialogs.boxes.size(), 1u);
    const FakeDialogs::Box &box = run.dialogs.boxes.front();
    const QString heading = QStringLiteral("Errore di run-time '%1':\n\n").arg(GetParam().number);
    EXPECT_TRUE(box.text.startsWith(heading) && box.text.size() > heading.size() + 10 &&
                box.text.contains(QString::fromUtf8(GetParam().described))) << box.text.toStdString();
    EXPECT_TRUE(box.buttons == Buttons::Ok && !box.title.isEmpty());
    EXPECT_EQ(run.program.endings, 1);
    EXPECT_NE(run.program.exitCode, 0);
    EXPECT_FALSE(run.form1()->isVisible());

    run.finish();
    EXPECT_EQ(archive_files::snapshot(folder.path()), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, StartUpOnABadArchive, testing::Values(
    BadArchive{"missing", nullptr, nullptr, host::kApplicationDefined, "Impossibile trovare il file"},
    BadArchive{"a_folder", nullptr, nullptr, host::kApplicationDefined,
               "Archivio.xls': è una cartella, non un file (errore di sistema 21).", true},
    BadArchive{"wrong_password", [](xls::XlsFile &file) { file.password = u"ALTRA1234"; }, nullptr,
               host::kApplicationDefined, "La password specificata non è corretta."},
    BadArchive{"no_registry_sheet", [](xls::XlsFile &file) { file.book.sheets.front().name = u"Foglio1"; }, nullptr,
               host::kSubscriptOutOfRange, "Indice non incluso nell'intervallo"},
    BadArchive{"not_a_workbook", nullptr, "ID;Ragione Sociale\n1;ROSSI\n", host::kApplicationDefined, ""}),
    [](const testing::TestParamInfo<BadArchive> &info) { return std::string(info.param.name); });

// A second copy meets the first one's lock whatever path leads it to the archive: the same
// path, a program folder whose Archivio.xls links to the archive, a linked folder, a second
// name of the file (hard link). It is told the same in every case.
TEST_F(StartUp, OfASecondCopyIsRefusedBeforeAnythingIsShownWhateverPathLeadsToTheArchive)
{
    const QString data = folder.filePath(QStringLiteral("dati"));
    ASSERT_TRUE(QDir().mkpath(data));
    archive_files::makeFresh(data + QStringLiteral("/Archivio.xls"));
    // A save killed half-way left its temporary file: only the copy holding the archive removes it.
    const QString leftover = data + QStringLiteral("/.Archivio.xls.~saving-Ab12Cd");
    archive_files::write(leftover, "half a save");
    const auto program = [&](const char *name) {
        EXPECT_TRUE(QDir(folder.path()).mkpath(QString::fromLatin1(name)));
        return folder.filePath(QString::fromLatin1(name) + QStringLiteral("/Archivio.xls"));
    };
    const QString first = program("programma1"), fileLink = program("programma2"), hardLink = program("programma4");
    ASSERT_TRUE(QFile::link(QStringLiteral("../dati/Archivio.xls"), first) &&
                QFile::link(data + QStringLiteral("/Archivio.xls"), fileLink) &&
                QFile::link(data, folder.filePath(QStringLiteral("programma3"))) &&
                ::link(QFile::encodeName(data + QStringLiteral("/Archivio.xls")).constData(),
                       QFile::encodeName(hardLink).constData()) == 0);
    TestRun holder(first);
    ASSERT_TRUE(holder.start());
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_EQ(QDir(data).entryList(QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral(".~velmoro.Archivio.xls.lock"), QStringLiteral("Archivio.xls")}));
    archive_files::write(leftover, "half a save");
    const auto before = archive_files::snapshot(data);

    for (const QString &path : {first, fileLink, folder.filePath(QStringLiteral("programma3/Archivio.xls")), hardLink}) {
        SCOPED_TRACE(path.toStdString());
        const auto programBefore = archive_files::snapshot(QFileInfo(path).path());
        TestRun second(path);
        EXPECT_FALSE(second.start());
        ASSERT_EQ(second.dialogs.boxes.size(), 1u);
        EXPECT_EQ(second.dialogs.boxes[0].text,
                  QStringLiteral("L'archivio Archivio.xls è già aperto da un'altra copia di Velmoro.\n"
                                 "Chiudere l'altra copia (pulsante \"Esci\") e riavviare il programma."));
        EXPECT_EQ(second.program.endings, 1);
        EXPECT_FALSE(second.form1()->isVisible() || second.host());
        second.finish();
        EXPECT_EQ(archive_files::snapshot(QFileInfo(path).path()), programBefore);
    }
    EXPECT_EQ(archive_files::snapshot(data), before);
    EXPECT_TRUE(holder.form1()->isVisible() && !holder.program.ended());
}

// No live program holds a lock file of a copy that crashed, an empty one or one of garbage:
// the next copy takes it over and names itself in it.
TEST_F(StartUp, TakesOverALockFileNoRunningProgramHolds)
{
    archive_files::makeFresh(archive);
    const QString lockPath = archive::ArchiveLock::lockPathFor(archive);
    pid_t dead = 4000000;
    while (QFile::exists(QStringLiteral("/proc/%1").arg(dead)))
        ++dead;
    const QByteArray crashed = QByteArray::number(dead) + "\nVelmoro\n" + QSysInfo::machineHostName().toUtf8() + "\nmario\n";
    for (const QByteArray &content : {crashed, QByteArray(), QByteArray("\xff\x00\n\n-1\nrotto", 11)}) {
        SCOPED_TRACE(content.toStdString());
        archive_files::write(lockPath, content);
        TestRun run(archive);
        EXPECT_TRUE(run.start() && run.dialogs.boxes.empty());
        QFile lock(lockPath);
        ASSERT_TRUE(lock.open(QIODevice::ReadOnly));
        EXPECT_TRUE(lock.readAll().startsWith(QByteArray::number(::getpid()) + "\nVelmoro\n"));
        run.finish();
        EXPECT_FALSE(QFile::exists(lockPath));
    }
}

// Where no lock can be made the archive is not opened: start-up ends with the reason, as when
// the host cannot open the archive, and leaves the folder as it was.
enum class NoLock { ReadOnlyFileSystem, FullFileSystem, FileSizeLimit, FolderInTheLocksPlace };

class StartUpWithoutALock : public StartUp, public testing::WithParamInterface<NoLock> {
protected:
    void TearDown() override
    {
        if (mounted)
            ::umount2(QFile::encodeName(folder.path()).constData(), MNT_DETACH);
    }
    // A small file system of its own in the test's folder; false where the test may not mount.
    bool mountTmpfs()
    {
        mounted = ::mount("velmoro-test", QFile::encodeName(folder.path()).constData(), "tmpfs", 0,
                          "size=256k,mode=0755") == 0;
        return mounted;
    }
    void fill()
    {
        QFile filler(folder.filePath(QStringLiteral("riempitivo")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }

    bool mounted = false;
};

TEST_P(StartUpWithoutALock, EndsWithTheReasonBeforeOpeningTheArchive)
{
    const char *reason = nullptr;
    const QString lockPath = archive::ArchiveLock::lockPathFor(archive);
    std::optional<rlimit> sizeLimit;
    switch (GetParam()) {
    case NoLock::ReadOnlyFileSystem:
    case NoLock::FullFileSystem:
        if (!mountTmpfs())
            GTEST_SKIP() << "cannot mount a tmpfs here (needs root with CAP_SYS_ADMIN): " << std::strerror(errno);
        archive_files::makeFresh(archive);
        if (GetParam() == NoLock::FullFileSystem) {
            fill();
            reason = "spazio esaurito sul disco (errore di sistema 28)";
        } else {
            ASSERT_EQ(::mount(nullptr, QFile::encodeName(folder.path()).constData(), nullptr, MS_REMOUNT | MS_RDONLY,
                              nullptr), 0) << std::strerror(errno);
            reason = "file system di sola lettura (errore di sistema 30)";
        }
        break;
    case NoLock::FileSizeLimit: // as on a full disk, the lock's holder line cannot be written
        archive_files::makeFresh(archive);
        sizeLimit.emplace();
        ::getrlimit(RLIMIT_FSIZE, &*sizeLimit);
        reason = "file troppo grande (errore di sistema 27)";
        break;
    case NoLock::FolderInTheLocksPlace:
        archive_files::makeFresh(archive);
        ASSERT_TRUE(QDir().mkpath(lockPath));
        reason = "è una cartella, non un file (errore di sistema 21)";
        break;
    }
    const auto before = archive_files::snapshot(folder.path());

    TestRun run(archive);
    if (sizeLimit) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit none{0, sizeLimit->rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &none);
    }
    const bool started = run.start();
    if (sizeLimit)
        ::setrlimit(RLIMIT_FSIZE, &*sizeLimit);

    EXPECT_FALSE(started);
    ASSERT_EQ(run.dialogs.boxes.size(), 1u);
    const QString &text = run.dialogs.boxes[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Errore di run-time '1004':\n\nImpossibile riservare l'archivio '%1' a "
                                               "questa copia di Velmoro: ").arg(archive)) &&
                text.contains(QStringLiteral("di blocco \"%1\": %2.\n").arg(lockPath, QString::fromUtf8(reason))))
        << text.toStdString();
    EXPECT_EQ(std::pair(run.program.endings, run.program.exitCode), std::pair(1, 1));
    EXPECT_FALSE(run.form1()->isVisible() || run.host());
    run.finish();
    EXPECT_EQ(archive_files::snapshot(folder.path()), before);
}

void PrintTo(NoLock how, std::ostream *out)
{
    const char *names[] = {"read_only_file_system", "full_file_system", "file_size_limit", "folder_in_the_locks_place"};
    *out << names[int(how)];
}

std::string nameOf(const testing::TestParamInfo<NoLock> &info) { return testing::PrintToString(info.param); }

INSTANTIATE_TEST_SUITE_P(Cases, StartUpWithoutALock,
                         testing::Values(NoLock::ReadOnlyFileSystem, NoLock::FullFileSystem, NoLock::FileSizeLimit,
                                         NoLock::FolderInTheLocksPlace),
                         nameOf);

TEST_F(StartUp, AsksBeforeWorkingOnAnArchiveAnOfficeSuiteHoldsWithNoAsTheDefault)
{
    const QString officeLock = folder.filePath(QStringLiteral(".~lock.Archivio.xls#"));
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        SCOPED_TRACE(answer == Answer::Yes ? "Yes" : "No");
        archive_files::makeFresh(archive);
        archive_files::write(officeLock, "Mario Rossi,mrossi,pc-ufficio,06.12.2026 09:15,file:///home/mrossi;");
        const auto before = archive_files::snapshot(folder.path());

        TestRun run(archive);
        run.dialogs.answers.push_back(answer);
        EXPECT_EQ(run.start(), answer == Answer::Yes);

        ASSERT_EQ(run.dialogs.boxes.size(), 1u);
        const FakeDialogs::Box &question = run.dialogs.boxes[0];
        EXPECT_EQ(question.buttons, Buttons::YesNoDefaultNo);
        EXPECT_TRUE(question.text.startsWith(QStringLiteral(
            "L'archivio Archivio.xls risulta aperto in LibreOffice da "
            "Mario Rossi (mrossi) sul computer pc-ufficio dal 06.12.2026 09:15.\n")))
            << question.text.toStdString();
        EXPECT_EQ(run.form1()->isVisible(), answer == Answer::Yes);
        EXPECT_EQ(run.program.ended(), answer == Answer::No);
        run.finish();
        if (answer == Answer::No) {
            EXPECT_EQ(archive_files::snapshot(folder.path()), before);
        }
        EXPECT_TRUE(QFile::exists(officeLock));
    }
}

TEST(OfficeLock, NamesItsHolderFromItsEntry)
{
    const struct { const char *entry, *holder; } cases[] = {
        {"Mario Rossi,mrossi,pc01,06.12.2026 17:32,file:///home/mrossi;",
         "Mario Rossi (mrossi) sul computer pc01 dal 06.12.2026 17:32"},
        {",mrossi,pc01,06.12.2026 17:32,file:///home/mrossi;", "mrossi sul computer pc01 dal 06.12.2026 17:32"},
        {"Rossi\\, Mario\\;,mrossi,pc01,;", "Rossi, Mario; (mrossi) sul computer pc01"},
        {"mrossi,mrossi,,,\r\n", "mrossi"},
        {"", "un utente sconosciuto"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(handover::OfficeLock::parse(c.entry).holder(), c.holder) << c.entry;
}

} // namespace
