// Start-up on the archive: what is shown on a good archive, what ends the program before
// anything is shown, and that a refused start leaves the folder as it was.
#include "Archive.h"
#include "ArchiveLock.h"
#include "HostError.h"
#include "OfficeLock.h"
#include "TestRun.h"
#include "XlsFile.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QSysInfo>
#include <QTimer>
#include <sys/time.h>

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
    host::Application *app = form->application();
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
    EXPECT_EQ(archive::archivePath(), QCoreApplication::applicationDirPath() + QStringLiteral("/Archivio.xls"));
}

struct BadArchive {
    const char *name;
    std::function<void(xls::XlsFile &)> edit; // of a fresh archive; nullptr: `text` as the file
    const char *text;
    int number;
    const char *described; // a part of the description
};

void PrintTo(const BadArchive &archive, std::ostream *out) { *out << archive.name; }

class StartUpOnABadArchive : public StartUp, public testing::WithParamInterface<BadArchive> {};

TEST_P(StartUpOnABadArchive, ShowsTheHostErrorAndEndsWithoutTouchingAnyFile)
{
    if (GetParam().edit) {
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
    BadArchive{"missing", nullptr, nullptr, host::kApplicationDefined, "/Archivio.xls"},
    BadArchive{"wrong_password", [](xls::XlsFile &file) { file.password = u"ALTRA1234"; }, nullptr,
               host::kApplicationDefined, "La password specificata non è corretta."},
    BadArchive{"no_registry_sheet", [](xls::XlsFile &file) { file.book.sheets.front().name = u"Foglio1"; }, nullptr,
               host::kSubscriptOutOfRange, "Indice non incluso nell'intervallo"},
    BadArchive{"not_a_workbook", nullptr, "ID;Ragione Sociale\n1;ROSSI\n", host::kApplicationDefined, ""}),
    [](const testing::TestParamInfo<BadArchive> &info) { return std::string(info.param.name); });

TEST_F(StartUp, OfASecondCopyIsRefusedBeforeAnythingIsShownAndACrashedCopysLockTakenOver)
{
    archive_files::makeFresh(archive);
    // A save killed half-way left its temporary file: only the copy holding the archive removes it.
    const QString leftover = folder.filePath(QStringLiteral(".Archivio.xls.~saving-Ab12Cd"));
    archive_files::write(leftover, "half a save");
    TestRun first(archive);
    ASSERT_TRUE(first.start());
    EXPECT_FALSE(QFile::exists(leftover));
    archive_files::write(leftover, "half a save");
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
    EXPECT_FALSE(second.form1()->isVisible() || second.form1()->application());
    second.finish();

    EXPECT_EQ(archive_files::snapshot(folder.path()), before);
    EXPECT_TRUE(first.form1()->isVisible() && !first.program.ended());

    // The lock of a copy that crashed is taken over.
    first.finish();
    pid_t dead = 4000000;
    while (QFile::exists(QStringLiteral("/proc/%1").arg(dead)))
        ++dead;
    archive_files::write(app::ArchiveLock::lockPathFor(archive),
                         QByteArray::number(dead) + "\nvelmoro\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    TestRun third(archive);
    EXPECT_TRUE(third.start() && third.dialogs.boxes.empty());
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
