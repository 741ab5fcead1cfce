#include "spreadsheet/xls/container/CompoundFile.h"
#include "spreadsheet/xls/container/Error.h"
#include "OleImage.h"
#include "spreadsheet/xls/container/SystemError.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <sys/resource.h>
#include <grp.h>
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

// A save keeps the owner, group and mode of the file it replaces, as far as the user saving
// may give them, and refuses, changing nothing, a read-only file (even for root) or one the
// user may not write, though the folder would let the rename through.
TEST(CompoundFile, SavingRespectsTheOwnerGroupAndModeOfTheFileItReplaces)
{
    struct Case {
        const char *name;
        mode_t mode;
        uid_t owner;
        gid_t group;
        bool asNobody;  // saved by "nobody" (65534), also member of group 1000
        bool refused;
        uid_t ownerAfter;
        gid_t groupAfter;
    };
    const uid_t me = ::geteuid();
    const gid_t myGroup = ::getegid();
    const Case cases[] = {
        {"read-only file", 0444, me, myGroup, false, true, me, myGroup},
        {"user's private file saved by root", 0600, 1000, 1000, false, false, 1000, 1000},
        {"root's file, nobody may not write it", 0644, 0, 0, true, true, 0, 0},
        {"group file written by a member", 0664, 0, 1000, true, false, 65534, 1000},
    };
    ScratchDir dir;
    fs::permissions(dir.dir(), fs::perms(0777));
    const std::string path = dir.path("Archivio.xls");
    Container changed = mixedContainer();
    changed.find("Workbook")->data = pattern(100);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (me != 0 && (c.owner != me || c.asNobody))
            continue;
        writeFile(path, readFile(fixture("small_plain.xls")));
        ASSERT_EQ(::chown(path.c_str(), c.owner, c.group) | ::chmod(path.c_str(), c.mode), 0);
        struct stat before {};
        ::stat(path.c_str(), &before);

        const int written = inChild([&] { // 0: refused with an Io error, 1: saved
            const gid_t groups[] = {1000};
            if (c.asNobody && (::setgroups(1, groups) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
                return 3;
            return expectIoError(changed, path);
        });

        struct stat after {};
        ::stat(path.c_str(), &after);
        EXPECT_EQ(written, c.refused ? 0 : 1);
        EXPECT_EQ(after.st_ino == before.st_ino, c.refused);
        EXPECT_EQ(std::tuple(after.st_uid, after.st_gid, after.st_mode & 07777),
                  std::tuple(c.ownerAfter, c.groupAfter, c.mode));
        EXPECT_EQ(readContainerFile(path).find("Workbook")->data == pattern(100), !c.refused);
        EXPECT_EQ(1u, dir.entryCount());
    }
    if (me != 0)
        GTEST_SKIP() << "the cases of other owners need root";
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

// The reasons users meet most read in Italian, with the system's number; others keep the
// system's words and the number.
TEST(SystemError, NamesTheCommonReasonsInItalianKeepingTheNumber)
{
    const std::pair<int, std::string> cases[] = {
        {EACCES, "permesso negato (errore di sistema 13)"},
        {EPERM, "operazione non permessa (errore di sistema 1)"},
        {ENOSPC, "spazio esaurito sul disco (errore di sistema 28)"},
        {EDQUOT, "spazio concesso sul disco esaurito (errore di sistema 122)"},
        {EROFS, "file system di sola lettura (errore di sistema 30)"},
        {EISDIR, "è una cartella, non un file (errore di sistema 21)"},
        {ENOTDIR, "una parte del percorso non è una cartella (errore di sistema 20)"},
        {ENOENT, "file o cartella inesistente (errore di sistema 2)"},
        {EXDEV, std::string(std::strerror(EXDEV)) + " (errore di sistema 18)"},
    };
    for (const auto &[err, text] : cases)
        EXPECT_EQ(systemErrorText(err), text);
}
