#include "Archive.h"
#include "Columns.h"
#include "HostError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesIn(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

TEST(CreateArchive, MakesAPreparedArchiveThatOpensWithItsPasswordAndNeverOverwritesOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(archive::kFileName);
    archive::CreateArchive(path);
    {
        host::Application app(Regional::italian());
        host::Workbook &book = archive::OpenArchive(app, path);
        EXPECT_EQ(book.sheets(archive::kSheetName).range(QStringLiteral("R1")).text(), archive::kHeaders.back());
        EXPECT_EQ(book.splitRow(), 1);
    }
    const QByteArray made = bytesOf(path);
    try {
        archive::CreateArchive(path);
        ADD_FAILURE() << "overwritten";
    } catch (const host::HostError &error) {
        EXPECT_EQ(error.kind(), host::ErrorKind::SaveFailed);
    }
    EXPECT_EQ(bytesOf(path), made);
    EXPECT_EQ(filesIn(dir), QStringList{archive::kFileName});
}

TEST(RemoveLeftovers, RemovesTheTemporaryFileOfASaveThatDiedAndNothingElse)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(archive::kFileName);
    archive::CreateArchive(path);
    for (const char *name : {".Archivio.xls.~saving-Ab12Cd", ".Archivio.xls.~saving-notes"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(archive::RemoveLeftovers(path), 1);
    EXPECT_EQ(filesIn(dir), (QStringList{QStringLiteral(".Archivio.xls.~saving-notes"), archive::kFileName}));
}

} // namespace
