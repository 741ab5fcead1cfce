#include "CompoundFile.h"
#include "Error.h"
#include "OleImage.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace xls;
using namespace xls::test;
namespace fs = std::filesystem;

namespace {

void expectSameEntries(const std::vector<StorageEntry> &expected, const std::vector<StorageEntry> &actual)
{
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(expected[i].name, actual[i].name);
        EXPECT_EQ(expected[i].isStorage, actual[i].isStorage);
        EXPECT_EQ(expected[i].data, actual[i].data);
        EXPECT_EQ(expected[i].clsid, actual[i].clsid);
        expectSameEntries(expected[i].children, actual[i].children);
    }
}

Container readContainerFile(const std::string &path) { return readContainer(readFile(path)); }

Bytes pattern(std::size_t size)
{
    Bytes data(size);
    for (std::size_t i = 0; i < size; ++i)
        data[i] = std::uint8_t(i * 31 + i / 256);
    return data;
}

StorageEntry stream(const std::string &name, Bytes data = {}) { return StorageEntry{.name = name, .data = std::move(data)}; }

// A container with a big (regular sectors) stream, a storage and an empty stream, in the
// directory order libgsf gives (shorter names first).
Container mixedContainer()
{
    Container c;
    c.clsid = excelClsid;
    c.entries.push_back(stream("Big", pattern(20000)));
    c.entries.push_back(stream("Workbook", pattern(3000)));
    StorageEntry storage = stream("_VBA_PROJECT_CUR");
    storage.isStorage = true;
    storage.clsid[0] = 0x42;
    storage.children.push_back(stream("Empty"));
    storage.children.push_back(stream("PROJECT", pattern(300)));
    c.entries.push_back(std::move(storage));
    return c;
}

// Runs `body` in a child process (to change user or limits) and returns its exit code.
int inChild(const std::function<int()> &body)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

int expectIoError(const Container &c, const std::string &path)
{
    try {
        writeContainer(c, path);
    } catch (const Error &e) {
        return e.kind() == ErrorKind::Io ? 0 : 2;
    }
    return 1;
}

} // namespace

TEST(CompoundFile, WritesBackEveryStreamByteIdenticalWithTheClsidReplacingOnlyTheNamedOne)
{
    ScratchDir dir;
    for (const Container &original : {readContainerFile(fixture("small_enc.xls")), mixedContainer()}) {
        writeContainer(original, dir.path("copy.xls"));
        const Container copy = readContainerFile(dir.path("copy.xls"));
        EXPECT_EQ(original.clsid, copy.clsid);
        expectSameEntries(original.entries, copy.entries);
    }
    const Container original = readContainerFile(fixture("small_plain.xls"));
    writeContainer(original, dir.path("copy.xls"), "workbook", pattern(9000));
    Container copy = readContainerFile(dir.path("copy.xls"));
    EXPECT_EQ(pattern(9000), copy.find("WORKBOOK")->data);
    copy.find("Workbook")->data = original.find("Workbook")->data;
    expectSameEntries(original.entries, copy.entries);
    EXPECT_EQ(1u, dir.entryCount());
}

TEST(CompoundFile, ReportsLoopingSectorChainsAndImpossibleSizesAsDamaged)
{
    ScratchDir dir;
    writeContainer(mixedContainer(), dir.path("mixed.xls"));
    const OleImage small(readFile(fixture("small_plain.xls")));
    const OleImage mixed(readFile(dir.path("mixed.xls")));

    struct Case {
        const char *what;
        OleImage image;
        std::function<void(OleImage &)> patch;
    };
    std::vector<Case> cases = {
        {"mini stream chain looping back", small,
         [](OleImage &o) {
             const std::uint32_t first = o.startSector("Root Entry");
             std::uint32_t last = first;
             while (o.fat(last) < 0xFFFFFFFA)
                 last = o.fat(last);
             o.setFat(last, first);
         }},
        {"stream larger than the file", small, [](OleImage &o) { o.setU32(o.directoryEntry("Workbook") + 0x78, 0x7FFFFFF0); }},
        {"root entry with a sibling (libgsf leaks on it)", small,
         [](OleImage &o) { o.setU32(o.directoryEntry("Root Entry") + 0x44, 1); }},
        {"stream chain ending early", mixed, [](OleImage &o) { o.setFat(o.fat(o.startSector("Big")), 0xFFFFFFFE); }},
    };
    for (Case &c : cases) {
        SCOPED_TRACE(c.what);
        c.patch(c.image);
        EXPECT_EQ(ErrorKind::Damaged, thrown([&] { readContainer(c.image.bytes()); }).kind());
    }
}

TEST(CompoundFile, FailedSavesLeaveTheOldFileWholeAndNoTemporaryFile)
{
    ScratchDir dir;
    const Bytes old = readFile(fixture("small_plain.xls"));
    const Container big = mixedContainer();

    fs::create_directory(dir.path("folder.xls"));
    EXPECT_EQ(0, expectIoError(big, dir.path("folder.xls")));
    EXPECT_TRUE(fs::is_directory(dir.path("folder.xls")) && fs::is_empty(dir.path("folder.xls")));
    EXPECT_EQ(0, expectIoError(big, dir.path("missing/Archivio.xls")));
    // The disk filling up half-way (a file size limit makes the writes fail).
    writeFile(dir.path("Archivio.xls"), old);
    EXPECT_EQ(0, inChild([&] {
                  std::signal(SIGXFSZ, SIG_IGN);
                  const rlimit limit{4096, 4096};
                  ::setrlimit(RLIMIT_FSIZE, &limit);
                  return expectIoError(big, dir.path("Archivio.xls"));
              }));
    EXPECT_EQ(old, readFile(dir.path("Archivio.xls")));

    // folder.xls and Archivio.xls: nothing else left behind.
    EXPECT_EQ(2u, dir.entryCount());
}

TEST(CompoundFile, SavingKeepsTheModeOfAnExistingFileAndFollowsALink)
{
    ScratchDir dir;
    const Container c = mixedContainer();
    writeFile(dir.path("Archivio.xls"), readFile(fixture("small_plain.xls")));
    fs::permissions(dir.path("Archivio.xls"), fs::perms(0640));
    writeContainer(c, dir.path("Archivio.xls"));
    EXPECT_EQ(fs::perms(0640), fs::status(dir.path("Archivio.xls")).permissions());
    EXPECT_EQ(pattern(20000), readContainerFile(dir.path("Archivio.xls")).find("Big")->data);

    const mode_t previous = ::umask(027);
    writeContainer(c, dir.path("new.xls"));
    ::umask(previous);
    EXPECT_EQ(fs::perms(0640), fs::status(dir.path("new.xls")).permissions());

    fs::create_symlink("new.xls", dir.path("link.xls"));
    Container changed = c;
    changed.find("Workbook")->data = pattern(100);
    writeContainer(changed, dir.path("link.xls"));
    EXPECT_TRUE(fs::is_symlink(dir.path("link.xls")));
    EXPECT_EQ(pattern(100), readContainerFile(dir.path("new.xls")).find("Workbook")->data);
    EXPECT_EQ(3u, dir.entryCount());
}
