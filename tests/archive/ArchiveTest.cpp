#include "archive/Archive.h"
#include "archive/ArchiveLock.h"
#include "ArchiveTool.h"
#include "archive/Backups.h"
#include "archive/Columns.h"
#include "spreadsheet/HostError.h"
#include "spreadsheet/SheetGeometry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPoint>
#include <QPointF>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>

namespace {

class PrepareArchiveSheetTest : public ::testing::Test {
protected:
    host::Application app{Regional::italian()};
    QTemporaryDir dir;
    QString path = dir.filePath(archive::kFileName);
    host::Workbook &book = app.create(path, archive::kPassword, archive::kSheetName);
    host::Worksheet &registry = book.sheets(archive::kSheetName);
};

TEST_F(PrepareArchiveSheetTest, WritesTheHeadersFormatsTheTextColumnsAndFreezesRowOne)
{
    registry.range(QStringLiteral("B1")).setValue(QStringLiteral("Nome modificato"));
    registry.range(QStringLiteral("I2")).setValue(QStringLiteral("612345"));
    registry.range(QStringLiteral("B:B")).setColumnWidth(50);
    archive::PrepareArchiveSheet(app);

    EXPECT_EQ(registry.range(QStringLiteral("B1")).text(), QStringLiteral("Ragione Sociale/Cognome Nome"));
    EXPECT_TRUE(registry.range(QStringLiteral("S1")).isEmpty());
    EXPECT_TRUE(registry.range(archive::kCounterCell).isEmpty());

    const QString textColumns = QStringLiteral("IJKNR");
    for (int column = 1; column <= 19; ++column) {
        const bool text = textColumns.contains(host::columnLetters(column));
        EXPECT_EQ(registry.cells(40000, column).numberFormat() == QLatin1String("@"), text) << column;
    }
    EXPECT_EQ(registry.range(QStringLiteral("I2")).valueType(), host::ValueType::Number); // kept, as the host does

    EXPECT_EQ(QPoint(book.splitColumn(), book.splitRow()), QPoint(0, 1));
    EXPECT_EQ(registry.scrollArea(), QStringLiteral("$A$2:$S$65536"));
    const host::SheetGeometry geometry(registry); // the user's widths stay: 7-pixel digits, 5 of padding
    EXPECT_EQ(QPointF(geometry.columnWidth(2), geometry.columnWidth(3)), QPointF((50 * 7 + 5) * 0.75, 48));
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(CreateArchive, MakesAPreparedArchiveThatSavesAndReopensWithItsPasswordAndNeverOverwritesOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(archive::kFileName);
    archive::CreateArchive(path);
    {
        host::Application app(Regional::italian());
        host::Worksheet &sheet = archive::OpenArchive(app, path).sheets(archive::kSheetName);
        sheet.range(QStringLiteral("B2")).setValue(QStringLiteral("Città & Figli"));
        sheet.range(QStringLiteral("N2")).setValue(QStringLiteral("01234567890"));
        sheet.range(QStringLiteral("D2")).setValue(QDate(2024, 2, 29));
        archive::SaveArchive(app);
        EXPECT_FALSE(app.displayAlerts());
    }
    host::Application again(Regional::italian());
    host::Workbook &reopened = archive::OpenArchive(again, path);
    host::Worksheet &sheet = reopened.sheets(archive::kSheetName);
    QStringList texts;
    for (const char *address : {"A1", "R1", "B2", "N2", "D2"})
        texts << sheet.range(QString::fromLatin1(address)).text();
    EXPECT_EQ(texts.join(u'|'), QStringLiteral("ID|IBAN|Città & Figli|01234567890|29/02/2024"));
    EXPECT_EQ(sheet.range(QStringLiteral("R60000")).numberFormat(), QStringLiteral("@"));
    EXPECT_EQ(reopened.splitRow(), 1);
    const host::SheetGeometry geometry(sheet);
    for (int column = 1; column <= archive::kFieldCount + 1; ++column) {
        const double characters = column <= archive::kFieldCount ? archive::kColumnWidths[std::size_t(column - 1)] : 8.43;
        EXPECT_DOUBLE_EQ(geometry.columnWidth(column), std::round(characters * 7 + 5) * 0.75) << column;
    }

    const QByteArray made = bytesOf(path);
    try {
        archive::CreateArchive(path);
        ADD_FAILURE() << "overwritten";
    } catch (const host::HostError &error) {
        EXPECT_EQ(error.kind(), host::ErrorKind::SaveFailed);
    }
    EXPECT_EQ(bytesOf(path), made);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{archive::kFileName});
}

struct ToolRun {
    int code;
    QString err, out;
};

ToolRun runTool(const QStringList &arguments)
{
    std::FILE *out = std::tmpfile(), *err = std::tmpfile();
    const int code = ArchiveTool(out, err).run(arguments);
    const auto text = [](std::FILE *stream) {
        std::rewind(stream);
        QFile file;
        file.open(stream, QIODevice::ReadOnly);
        const QString read = QString::fromUtf8(file.readAll());
        std::fclose(stream);
        return read;
    };
    const QString errors = text(err);
    return {code, errors, text(out)};
}

QString holderHere(const QString &program)
{
    return QStringLiteral("%1 (processo %2 dell'utente %3 sul computer %4)")
        .arg(program).arg(::getpid()).arg(QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name))
        .arg(QSysInfo::machineHostName());
}

// While the program holds an archive, the tool's writers refuse it, through any path, naming
// the holder, and write nothing; once the program has let it go they write.
TEST(ArchiveTool, WritersRefuseAnArchiveTheProgramHoldsNamingTheHolder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(archive::kFileName), link = dir.filePath(QStringLiteral("Collegamento.xls")),
                  fresh = dir.filePath(QStringLiteral("Nuovo.xls"));
    ASSERT_EQ(runTool({QStringLiteral("make"), path}).code, 0);
    ASSERT_TRUE(QFile::link(path, link));
    const QByteArray made = bytesOf(path);
    {
        archive::ArchiveLock program(path, QStringLiteral("Velmoro")), another(fresh, QStringLiteral("Velmoro"));
        ASSERT_EQ(program.acquire(), archive::ArchiveLock::Result::Acquired);
        ASSERT_EQ(another.acquire(), archive::ArchiveLock::Result::Acquired);
        for (const QStringList &arguments : {QStringList{QStringLiteral("set"), path, QStringLiteral("B2"), QStringLiteral("X")},
                                             QStringList{QStringLiteral("set"), link, QStringLiteral("B2"), QStringLiteral("X")},
                                             QStringList{QStringLiteral("make"), fresh}}) {
            const ToolRun run = runTool(arguments);
            EXPECT_EQ(run.code, 2);
            EXPECT_EQ(run.err, QStringLiteral("archive-tool: L'archivio '%1' è aperto da %2: chiuderlo (in Velmoro con il "
                                              "pulsante \"Esci\") e riprovare. Il file non è stato modificato.\n")
                                   .arg(arguments[1], holderHere(QStringLiteral("Velmoro"))));
        }
        // A holder whose lock file says less is still a holder, named as well as the file allows.
        for (const auto &[says, holder] : {std::pair("1\nVelmoro\npc01\nmario", "Velmoro (processo 1 dell'utente mario sul computer pc01)"),
                                           std::pair("1\nVelmoro\n\nmario\n", "un'altra copia di Velmoro"),
                                           std::pair("", "un'altra copia di Velmoro")}) {
            QFile lockFile(archive::ArchiveLock::lockPathFor(path));
            ASSERT_TRUE(lockFile.open(QIODevice::WriteOnly | QIODevice::Truncate));
            lockFile.write(says);
            lockFile.close();
            EXPECT_TRUE(runTool({QStringLiteral("set"), path, QStringLiteral("B2"), QStringLiteral("X")})
                            .err.contains(QStringLiteral("è aperto da %1:").arg(QString::fromUtf8(holder))));
        }
        EXPECT_EQ(bytesOf(path), made);
        EXPECT_FALSE(QFile::exists(fresh));
    }
    EXPECT_EQ(runTool({QStringLiteral("set"), link, QStringLiteral("B2"), QStringLiteral("X")}).code, 0);
    EXPECT_EQ(runTool({QStringLiteral("make"), fresh}).code, 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList({QStringLiteral("Archivio.xls"), QStringLiteral("Collegamento.xls"), QStringLiteral("Nuovo.xls")}));
}

// Users who share a folder share the lock: another user's lock file tells whether its holder
// lives though this user may not write it, and a stale one is made anew.
TEST(ArchiveLock, AnotherUsersLockFileNamesItsHolderOrIsMadeAnewWhenStale)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root, to act as another user";
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
    const QString path = dir.filePath(archive::kFileName), lockPath = archive::ArchiveLock::lockPathFor(path);
    const passwd *nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    // 0 when `expected` comes out of acquiring the lock as "nobody", with `holder` named.
    const auto asNobody = [&](archive::ArchiveLock::Result expected, const QString &holder) {
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)
                ::_exit(3);
            archive::ArchiveLock lock(path, QStringLiteral("archive-tool"));
            ::_exit(lock.acquire() != expected ? 1 : lock.holder() != holder ? 2 : 0);
        }
        int status = -1;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
    };
    {
        archive::ArchiveLock root(path, QStringLiteral("Velmoro"));
        ASSERT_EQ(root.acquire(), archive::ArchiveLock::Result::Acquired);
        EXPECT_EQ(asNobody(archive::ArchiveLock::Result::HeldByAnotherCopy, holderHere(QStringLiteral("Velmoro"))), 0);
    }
    QFile stale(lockPath);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly) && stale.write("1\nVelmoro\npc\nroot\n") > 0);
    stale.close();
    EXPECT_EQ(asNobody(archive::ArchiveLock::Result::Acquired, QString()), 0);
    EXPECT_EQ(QFileInfo(lockPath).ownerId(), nobody->pw_uid); // made anew, and left as by a crash
}

const QString kStamp = QStringLiteral("yyyyMMdd-HHmmss");

void touch(const QString &path, const QByteArray &bytes = "x")
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

struct stat statOf(const QString &path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// Names as the backups carry them: "20260105-143000" or "20260105-143000-2".
archive::Backup backupNamed(const QString &stamp)
{
    const QStringList parts = stamp.split(u'-');
    return {stamp, QDateTime::fromString(parts[0] + u'-' + parts[1], kStamp), parts.size() > 2 ? parts[2].toInt() : 1};
}

// The retention keeps the newest 20 and the newest of each of the last 30 days, today included.
TEST(Backups, TheRetentionKeepsTheNewestTwentyAndTheNewestOfEachOfTheLastThirtyDays)
{
    const QDate today(2026, 3, 31);
    const auto saves = [](const QString &day, int count, int fromSecond = 0) {
        QStringList stamps;
        for (int i = 0; i < count; ++i)
            stamps << day + QStringLiteral("-1200%1").arg(fromSecond + i, 2, 10, QLatin1Char('0'));
        return stamps;
    };
    struct Case {
        const char *what;
        QStringList stamps;
        QStringList expired;
    } cases[] = {
        {"twenty saves today: all kept", saves("20260331", 20), {}},
        {"twenty-five today: the five oldest go", saves("20260331", 25), saves("20260331", 5)},
        {"older days keep their newest save only",
         saves("20260331", 20, 30) + saves("20260330", 3) + saves("20260315", 2),
         {"20260330-120000", "20260330-120001", "20260315-120000"}},
        {"the thirtieth day back is the last one kept",
         saves("20260331", 20, 30) + QStringList{"20260302-090000", "20260301-090000"}, {"20260301-090000"}},
        {"the newest twenty are kept whatever their age",
         saves("20250101", 20) + QStringList{"20241231-235959"}, {"20241231-235959"}},
        {"in one second the later suffix is the newer",
         saves("20260331", 18, 30) + QStringList{"20260331-120000", "20260331-120000-2", "20260331-120000-3"},
         {"20260331-120000"}},
    };
    for (const Case &c : cases) {
        QList<archive::Backup> backups;
        for (const QString &stamp : c.stamps)
            backups.prepend(backupNamed(stamp));
        QStringList expired, expected = c.expired;
        for (const archive::Backup &backup : archive::expiredBackups(backups, today))
            expired << backup.path;
        expired.sort();
        expected.sort();
        EXPECT_EQ(expired.join(u' ').toStdString(), expected.join(u' ').toStdString()) << c.what;
    }
}

TEST(Backups, AreListedNewestFirstFromTheFolderBesideTheRealFileLeavingOtherFilesOut)
{
    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("dati/Archivio.xls")), link = dir.filePath(QStringLiteral("Archivio.xls"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("dati/Backup"))));
    touch(real);
    ASSERT_TRUE(QFile::link(real, link));
    const QString folder = dir.filePath(QStringLiteral("dati/Backup"));
    for (const char *name : {"Archivio-20260105-143000.xls", "Archivio-20260105-143000-2.xls", "Archivio-20251231-080000.xls",
                             "Archivio-20260105-143000-10.xls", "Altro-20260106-090000.xls", "Archivio-20261340-000000.xls",
                             "Archivio-20260105-143000.xlsx", "Archivio-copia.xls", ".~copia-a1B2c3"})
        touch(folder + u'/' + QString::fromLatin1(name));

    QStringList listed;
    for (const archive::Backup &backup : archive::listBackups(link))
        listed << QFileInfo(backup.path).fileName() + u'@' + backup.putAside.toString(kStamp);
    EXPECT_EQ(listed, QStringList({"Archivio-20260105-143000-10.xls@20260105-143000",
                                   "Archivio-20260105-143000-2.xls@20260105-143000",
                                   "Archivio-20260105-143000.xls@20260105-143000",
                                   "Archivio-20251231-080000.xls@20251231-080000"}));
    EXPECT_EQ(archive::backupFolder(link), QFileInfo(folder).canonicalFilePath());
}

class SaveWithBackupsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        archive::CreateArchive(path);
        ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
    }
    // Writes B2 and saves through the save point; returns what it reported.
    QString saveWith(const QString &name)
    {
        host::Application app(Regional::italian());
        archive::OpenArchive(app, path).sheets(archive::kSheetName).range(QStringLiteral("B2")).setValue(name);
        return archive::SaveArchive(app);
    }

    QTemporaryDir dir;
    QString path = dir.filePath(archive::kFileName), folder = dir.filePath(QStringLiteral("Backup"));
};

// The file a save replaces is kept as it was, as the same file (owner and mode included),
// in a folder no more open than the archive's.
TEST_F(SaveWithBackupsTest, EachSaveKeepsTheFileItReplacesInTheBackupFolder)
{
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7750)));
    const QByteArray fresh = bytesOf(path);
    const ino_t freshFile = statOf(path).st_ino;
    EXPECT_EQ(saveWith(QStringLiteral("UNO")), QString());
    const QByteArray first = bytesOf(path);
    EXPECT_EQ(saveWith(QStringLiteral("DUE")), QString());

    const QList<archive::Backup> backups = archive::listBackups(path);
    ASSERT_EQ(backups.size(), 2);
    EXPECT_EQ(bytesOf(backups[1].path), fresh);
    EXPECT_EQ(bytesOf(backups[0].path), first);
    EXPECT_EQ(statOf(backups[1].path).st_ino, freshFile);
    EXPECT_EQ(statOf(backups[0].path).st_mode & 07777, 0640u);
    EXPECT_EQ(statOf(folder).st_mode & 07777, 0750u);
    EXPECT_LE(qAbs(backups[0].putAside.secsTo(QDateTime::currentDateTime())), 5);
}

TEST_F(SaveWithBackupsTest, TwoBackupsInOneSecondGetTheirSuffixAndAFailedReplacementTakesItsBackupBack)
{
    const QDateTime now(QDate(2026, 1, 5), QTime(14, 30, 0));
    {
        archive::PendingBackup first(path, now), second(path, now), dropped(path, now);
        first.keep();
        second.keep();
        EXPECT_EQ(QFileInfo(dropped.path()).fileName(), QStringLiteral("Archivio-20260105-143000-3.xls"));
    }
    EXPECT_EQ(namesIn(folder), QStringList({"Archivio-20260105-143000-2.xls", "Archivio-20260105-143000.xls"}));

    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));
    EXPECT_THROW(saveWith(QStringLiteral("UNO")), host::HostError);
    EXPECT_EQ(namesIn(folder).size(), 2);
}

// A backup that cannot be made is told, and the save goes on.
TEST_F(SaveWithBackupsTest, ABackupThatCannotBeMadeIsToldAndTheSaveGoesOn)
{
    touch(folder);
    EXPECT_EQ(saveWith(QStringLiteral("UNO")),
              QStringLiteral("Copia di sicurezza non riuscita: impossibile scrivere nella cartella \"%1\": una parte del "
                             "percorso non è una cartella (errore di sistema 20)")
                  .arg(QFileInfo(folder).canonicalFilePath()));
    host::Application app(Regional::italian());
    EXPECT_EQ(archive::OpenArchive(app, path).sheets(archive::kSheetName).range(QStringLiteral("B2")).text(), QStringLiteral("UNO"));
}

TEST_F(SaveWithBackupsTest, ASaveLetsGoTheBackupsTheRetentionNoLongerKeeps)
{
    ASSERT_TRUE(QDir().mkpath(folder));
    const QDateTime old = QDateTime::currentDateTime().addDays(-40);
    for (int i = 0; i < 21; ++i)
        touch(folder + QStringLiteral("/Archivio-%1.xls").arg(old.addSecs(i).toString(kStamp)));
    saveWith(QStringLiteral("UNO"));
    const QStringList left = namesIn(folder);
    EXPECT_EQ(left.size(), 20);
    EXPECT_FALSE(left.contains(QStringLiteral("Archivio-%1.xls").arg(old.toString(kStamp))));
    EXPECT_FALSE(left.contains(QStringLiteral("Archivio-%1.xls").arg(old.addSecs(1).toString(kStamp))));
}

// A backup folder on another file system holds a copy, with the archive's mode.
TEST_F(SaveWithBackupsTest, WhereNoLinkCanBeMadeTheBackupIsACopyWithTheArchivesMode)
{
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/velmoro-backup-XXXXXX"));
    if (!elsewhere.isValid() || statOf(elsewhere.path()).st_dev == statOf(dir.path()).st_dev)
        GTEST_SKIP() << "no second file system in /dev/shm";
    ASSERT_TRUE(QFile::link(elsewhere.path(), folder));
    const QByteArray fresh = bytesOf(path);
    const time_t saved = statOf(path).st_mtim.tv_sec;
    EXPECT_EQ(saveWith(QStringLiteral("UNO")), QString());
    const QStringList copies = namesIn(elsewhere.path());
    ASSERT_EQ(copies.size(), 1) << copies.join(u' ').toStdString();
    const QString copy = elsewhere.filePath(copies[0]);
    EXPECT_EQ(bytesOf(copy), fresh);
    EXPECT_EQ(statOf(copy).st_mode & 07777, 0640u);
    EXPECT_EQ(statOf(copy).st_mtim.tv_sec, saved);
}

// The tool lists the backups with their subjects, a damaged one with its error, and puts one
// back with the archive's mode, keeping the archive it replaces; never while the program holds it.
TEST_F(SaveWithBackupsTest, TheToolListsTheBackupsAndRestoresOneKeepingTheArchiveItReplaces)
{
    saveWith(QStringLiteral("UNO"));
    saveWith(QStringLiteral("DUE"));
    const QList<archive::Backup> made = archive::listBackups(path);
    ASSERT_EQ(made.size(), 2);
    const QString damaged = folder + QStringLiteral("/Archivio-20200101-000000.xls");
    touch(damaged, "non un archivio");

    const ToolRun listing = runTool({QStringLiteral("backups"), path});
    EXPECT_EQ(listing.code, 0);
    const QStringList lines = listing.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << listing.out.toStdString();
    EXPECT_TRUE(lines[1].startsWith(QFileInfo(made[0].path).fileName()) && lines[1].endsWith(QStringLiteral(" 1 soggetto")));
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(" 0 soggetti"))) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("Archivio-20200101-000000.xls"))
                && lines[3].contains(QStringLiteral("15 byte  non leggibile: Il file '%1'").arg(damaged)))
        << lines[3].toStdString();

    const QByteArray current = bytesOf(path);
    const ToolRun refused = runTool({QStringLiteral("restore"), path, QFileInfo(damaged).fileName()});
    EXPECT_EQ(refused.code, 2);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("non è una cartella di lavoro"))) << refused.err.toStdString();
    {
        archive::ArchiveLock program(path, QStringLiteral("Velmoro"));
        ASSERT_EQ(program.acquire(), archive::ArchiveLock::Result::Acquired);
        EXPECT_TRUE(runTool({QStringLiteral("restore"), path, QFileInfo(made[1].path).fileName()})
                        .err.contains(QStringLiteral("è aperto da Velmoro (processo")));
    }
    EXPECT_EQ(bytesOf(path), current);
    EXPECT_EQ(archive::listBackups(path).size(), 3);

    ASSERT_TRUE(QFile::setPermissions(made[1].path, QFileDevice::Permissions(0x6644)));
    const ToolRun restored = runTool({QStringLiteral("restore"), path, QFileInfo(made[1].path).fileName()});
    ASSERT_EQ(restored.code, 0) << restored.err.toStdString();
    EXPECT_EQ(bytesOf(path), bytesOf(made[1].path));
    EXPECT_EQ(statOf(path).st_mode & 07777, 0640u);
    const QString kept = archive::listBackups(path)[0].path;
    EXPECT_EQ(bytesOf(kept), current);
    EXPECT_EQ(restored.out, QStringLiteral("Ripristinata la copia '%1' in '%2'. L'archivio sostituito è conservato come '%3'.\n")
                                .arg(made[1].path, path, kept));
}

} // namespace
