// A save killed half-way leaves its temporary file beside the archive: the next start removes
// it once it holds the archive, and a copy refused at the archive's lock touches nothing.
#include "ArchiveFiles.h"
#include "TestRun.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class Leftovers : public ArchiveFolder {};

TEST_F(Leftovers, OnlyTheCopyHoldingTheArchiveRemovesTheTemporaryFileOfAKilledSave)
{
    archive_files::makeFresh(archive);
    const QString leftover = folder.filePath(QStringLiteral(".Archivio.xls.~saving-Ab12Cd"));
    archive_files::write(leftover, "half a save");
    TestRun first(archive);
    ASSERT_TRUE(first.start());
    EXPECT_FALSE(QFile::exists(leftover));

    archive_files::write(leftover, "half a save");
    TestRun second(archive);
    EXPECT_FALSE(second.start());
    EXPECT_TRUE(QFile::exists(leftover));
}

} // namespace
