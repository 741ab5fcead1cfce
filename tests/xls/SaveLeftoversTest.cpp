#include "spreadsheet/xls/container/ContainerTempFile.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace xls;
using namespace xls::test;

namespace fs = std::filesystem;

// The temporary file of a save whose process died half-way: the only file of the folder
// besides the archive just after the child ends.
fs::path abandonedTempFile(const std::string &archive)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        const ContainerTempFile temp(archive);
        ::_exit(0); // killed: no destructor runs
    }
    ::waitpid(pid, nullptr, 0);
    for (const auto &entry : fs::directory_iterator(fs::path(archive).parent_path()))
        if (entry.path() != archive)
            return entry.path();
    return {};
}

// A save killed half-way leaves its temporary file beside the archive; the next holder of the
// archive removes it, but never another program's file nor one that a live save holds.
TEST(SaveLeftovers, OnlyTemporaryFilesOfSavesThatDiedAreRemoved)
{
    ScratchDir dir;
    const std::string archive = dir.path("Archivio.xls");
    writeFile(archive, {1, 2, 3});
    const fs::path killed = abandonedTempFile(archive);
    ASSERT_TRUE(fs::exists(killed));
    const std::pair<const char *, bool> others[] = {
        // name, removed
        {".Archivio.xls.~saving-Ab12Cd", true},  {".Archivio.xls.~saving-Ab12C", false},
        {".Archivio.xls.~saving-Ab12Cde", false}, {".Archivio.xls.~saving-Ab-2Cd", false},
        {"Archivio.xls.~saving-Ab12Cd", false},  {".Altro.xls.~saving-Ab12Cd", false},
        {".Archivio.xls.Ab12Cd", false},         {".~lock.Archivio.xls#", false},
    };
    for (const auto &[name, removed] : others)
        writeFile(dir.path(name), {0});
    const ContainerTempFile live(archive); // a save running now

    EXPECT_EQ(removeAbandonedTempFiles(archive), 2u);
    EXPECT_FALSE(fs::exists(killed));
    for (const auto &[name, removed] : others)
        EXPECT_EQ(fs::exists(dir.path(name)), !removed) << name;
    EXPECT_TRUE(fs::exists(live.path()));
    EXPECT_EQ(readFile(archive), (Bytes{1, 2, 3}));
}
