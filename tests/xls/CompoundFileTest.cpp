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
        const StorageEntry &e = expected[i], &a = actual[i];
        EXPECT_EQ(std::tie(e.name, e.isStorage, e.data, e.clsid), std::tie(a.name, a.isStorage, a.data, a.clsid)) << e.name;
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
    const StorageEntry storage{.name = "_VBA_PROJECT_CUR", .isStorage = true,
                               .children = {stream("Empty"), stream("PROJECT", pattern(300))}, .clsid = {0x42}};
    return Container{.clsid = excelClsid, .entries = {stream("Big", pattern(20000)), stream("Workbook", pattern(3000)), storage}};
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

// 0 when writing fails with an Io error.
int expectIoError(const Container &c, const std::string &path)
{
    try {
        writeContainer(c, path);
        return 1;
    } catch (const Error &e) {
        return e.kind() == ErrorKind::Io ? 0 : 2;
    }
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

// (A loop in the directory chain is among the broken files the whole file layer reports.)
TEST(CompoundFile, ReportsLoopingSectorChainsAndImpossibleSizesAsDamaged)
{
    ScratchDir dir;
    writeContainer(mixedContainer(), dir.path("mixed.xls"));
    const OleImage small(readFile(fixture("small_plain.xls")));
    const OleImage mixed(readFile(dir.path("mixed.xls")));

    std::vector<std::tuple<const char *, OleImage, std::function<void(OleImage &)>>> cases = {
        {"mini stream chain looping back", small, [](OleImage &o) { o.setFat(o.startSector("Root Entry"), o.startSector("Root Entry")); }},
        {"stream larger than the file", small, [](OleImage &o) { o.setU32(o.directoryEntry("Workbook") + 0x78, 0x7FFFFFF0); }},
        {"root entry with a sibling (libgsf leaks on it)", small,
         [](OleImage &o) { o.setU32(o.directoryEntry("Root Entry") + 0x44, 1); }},
        {"stream chain ending early", mixed, [](OleImage &o) { o.setFat(o.fat(o.startSector("Big")), 0xFFFFFFFE); }},
    };
    for (auto &[what, image, patch] : cases) {
        patch(image);
        EXPECT_EQ(ErrorKind::Damaged, thrown([&] { readContainer(image.bytes()); }).kind()) << what;
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
    EXPECT_EQ(2u, dir.entryCount()) << "folder.xls and Archivio.xls: nothing else left behind";
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
