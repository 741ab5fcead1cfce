#include "Archive.h"
#include "ArchiveLock.h"
#include "ArchiveTool.h"
#include "Columns.h"
#include "HostError.h"
#include "SheetGeometry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPoint>
#include <QPointF>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <pwd.h>
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
    QString err;
};

ToolRun runTool(const QStringList &arguments)
{
    std::FILE *out = std::tmpfile(), *err = std::tmpfile();
    const int code = ArchiveTool(out, err).run(arguments);
    std::rewind(err);
    QFile errors;
    errors.open(err, QIODevice::ReadOnly);
    const QString text = QString::fromUtf8(errors.readAll());
    std::fclose(out);
    std::fclose(err);
    return {code, text};
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

} // namespace
