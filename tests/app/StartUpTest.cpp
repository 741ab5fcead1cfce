// Start-up on the archive: what is shown on a good archive, what ends the program before
// anything is shown, and that a refused start leaves the folder as it was.
#include "Archive.h"
#include "ArchiveFiles.h"
#include "ArchiveLock.h"
#include "Form1.h"
#include "HostError.h"
#include "OfficeLock.h"
#include "TestRun.h"
#include "XlsFile.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>
#include <QLabel>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

namespace {

using Answer = platform::Dialogs::Answer;
using Buttons = platform::Dialogs::Buttons;

class StartUp : public ArchiveFolder {};

// A fresh archive changed below the program.
void freshWith(const QString &path, const std::function<void(xls::XlsFile &)> &edit)
{
    archive_files::makeFresh(path);
    archive_files::rewrite(path, edit);
}

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
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(run.dialogs.boxes.empty());
    EXPECT_FALSE(run.program.ended());
    host::Application *app = form->application();
    ASSERT_NE(app, nullptr);
    EXPECT_FALSE(app->visible());
    EXPECT_FALSE(app->statusBar().isEmpty());
    EXPECT_TRUE(app->screenUpdating());
    EXPECT_EQ(app->activeSheet().name(), QStringLiteral("Velmoro"));
    EXPECT_EQ(app->selection().address(), QStringLiteral("$A$2"));
    const QStringList headers = {
        "ID", "Ragione Sociale/Cognome Nome", "Codice", "Data", "Indirizzo", "CAP", "Località", "PR",
        "Telefono", "Fax", "Cellulare", "Email", "Codice Fiscale", "Partita IVA",
        "Referente/Rappresentante", "Banca", "Intest/Conto", "IBAN", ""};
    for (int column = 1; column <= int(headers.size()); ++column)
        EXPECT_EQ(app->activeSheet().cells(1, column).text(), headers[column - 1]) << column;

    // Every control by its name, with its caption.
    const std::pair<const char *, QString> captions[] = {
        {"Check1", QStringLiteral(" Gestione Velmoro ")},
        {"Check2", QStringLiteral(" Stampe")},
        {"Check3", QStringLiteral("Excel")},
        {"Check5", QStringLiteral("LEGGI   le   Istruzioni/Termini di utilizzo ")},
        {"Command1", QStringLiteral("Esci")},
        {"Label5", QStringLiteral("Se di interesse si realizzano applicazioni o personalizzazioni  ")},
        {"Text1", QString()},
    };
    for (const auto &[name, caption] : captions) {
        auto *control = run.control<QWidget>(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->property("text").toString(), caption) << name;
        EXPECT_FALSE(control->property("checked").toBool()) << name;
    }
    EXPECT_EQ(run.control<QLabel>("Image1")->toolTip(), QStringLiteral("Via il mio sito !"));
    auto *util = run.control<QAction>("Util");
    ASSERT_NE(util, nullptr);
    EXPECT_EQ(util->text(), QStringLiteral("&Utilità/Progressivi"));
    EXPECT_TRUE(form->menuBar()->actions().contains(util));

    // Title and version line carry the same version number and release date.
    const QString version = run.control<QLabel>("Label1")->text();
    EXPECT_TRUE(version.contains(QStringLiteral(VELMORO_VERSION)));
    EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("Gestione Velmoro ")));
    EXPECT_TRUE(form->windowTitle().endsWith(version.section(u' ', 1)));
    EXPECT_EQ(form->findChild<QTimer *>(QStringLiteral("Timer1"))->interval(), 1000);
}

TEST(ArchivePath, IsArchivioXlsInTheProgramsFolder)
{
    EXPECT_EQ(archive::archivePath(), QCoreApplication::applicationDirPath() + QStringLiteral("/Archivio.xls"));
}

struct BadArchive {
    const char *name;
    std::function<void(const QString &)> make;
    int number;
};

void PrintTo(const BadArchive &archive, std::ostream *out) { *out << archive.name; }

class StartUpOnABadArchive : public StartUp, public testing::WithParamInterface<BadArchive> {};

TEST_P(StartUpOnABadArchive, ShowsTheHostErrorAndEndsWithoutTouchingAnyFile)
{
    GetParam().make(archive);
    const auto before = archive_files::snapshot(folder.path());

    TestRun run(archive);
    EXPECT_FALSE(run.start());

    ASSERT_EQ(run.dialogs.boxes.size(), 1u);
    const FakeDialogs::Box &box = run.dialogs.boxes.front();
    const QString heading = QStringLiteral("Errore di run-time '%1':\n\n").arg(GetParam().number);
    EXPECT_TRUE(box.text.startsWith(heading)) << box.text.toStdString();
    EXPECT_GT(box.text.size(), heading.size() + 10); // and a description
    EXPECT_EQ(box.buttons, Buttons::Ok);
    EXPECT_FALSE(box.title.isEmpty());
    EXPECT_EQ(run.program.endings, 1);
    EXPECT_NE(run.program.exitCode, 0);
    EXPECT_FALSE(run.form1()->isVisible());

    run.finish();
    EXPECT_EQ(archive_files::snapshot(folder.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartUpOnABadArchive,
    testing::Values(
        BadArchive{"missing", [](const QString &) {}, host::kApplicationDefined},
        BadArchive{"wrong_password", [](const QString &path) {
            freshWith(path, [](xls::XlsFile &file) { file.password = u"ALTRA1234"; });
        }, host::kApplicationDefined},
        BadArchive{"no_registry_sheet", [](const QString &path) {
            freshWith(path, [](xls::XlsFile &file) { file.book.sheets.front().name = u"Foglio1"; });
        }, host::kSubscriptOutOfRange},
        BadArchive{"not_a_workbook", [](const QString &path) {
            archive_files::write(path, "ID;Ragione Sociale\n1;ROSSI\n");
        }, host::kApplicationDefined}),
    [](const testing::TestParamInfo<BadArchive> &info) { return std::string(info.param.name); });

TEST_F(StartUp, OfASecondCopyOnTheSameArchiveIsRefusedBeforeAnythingIsShown)
{
    archive_files::makeFresh(archive);
    TestRun first(archive);
    ASSERT_TRUE(first.start());
    // A lock held for an hour is still held: only a dead holder makes it stale.
    const QByteArray lockPath = QFile::encodeName(app::ArchiveLock::lockPathFor(archive));
    struct timeval anHourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    ASSERT_EQ(utimes(lockPath.constData(), anHourAgo), 0);
    const auto before = archive_files::snapshot(folder.path());

    TestRun second(archive);
    EXPECT_FALSE(second.start());
    ASSERT_EQ(second.dialogs.boxes.size(), 1u);
    EXPECT_TRUE(second.dialogs.boxes[0].text.contains(QStringLiteral("già aperto da un'altra copia")))
        << second.dialogs.boxes[0].text.toStdString();
    EXPECT_EQ(second.program.endings, 1);
    EXPECT_FALSE(second.form1()->isVisible());
    EXPECT_EQ(second.form1()->application(), nullptr);
    second.finish();

    EXPECT_EQ(archive_files::snapshot(folder.path()), before);
    EXPECT_TRUE(first.form1()->isVisible());
    EXPECT_FALSE(first.program.ended());
}

TEST_F(StartUp, TakesOverTheLockOfACopyThatCrashed)
{
    archive_files::makeFresh(archive);
    pid_t dead = 4000000;
    while (QFile::exists(QStringLiteral("/proc/%1").arg(dead)))
        ++dead;
    archive_files::write(app::ArchiveLock::lockPathFor(archive),
                         QByteArray::number(dead) + "\nvelmoro\n" + QSysInfo::machineHostName().toUtf8() + "\n");

    TestRun run(archive);
    EXPECT_TRUE(run.start());
    EXPECT_TRUE(run.dialogs.boxes.empty());
}

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
