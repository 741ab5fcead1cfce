#include "ContainerTempFile.h"

#include "Error.h"
#include "SystemError.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace xls {

namespace {

mode_t defaultMode()
{
    // umask can only be read by setting it; saves happen on one thread.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string folderOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a save replaces: a link is followed to the file it points to.
std::string realTarget(const std::string &target)
{
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return target;
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(target.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : target;
}

constexpr const char *tempMarker = ".~saving-";
constexpr std::size_t tempSuffixLength = 6; // mkostemp's XXXXXX

std::string tempPrefix(const std::string &target)
{
    std::string prefix = ".";
    prefix += nameOf(target);
    prefix += tempMarker;
    return prefix;
}

bool isTempName(const std::string &name, const std::string &prefix)
{
    if (name.size() != prefix.size() + tempSuffixLength || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

// A new temporary file, locked. A cleaner may remove the file between its creation and the
// lock: then it has no name any more, and another is made.
int createLocked(std::string &path)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::vector<char> name(path.begin(), path.end());
        name.push_back('\0');
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0)
            return -1;
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        struct stat st {};
        if (::fstat(fd, &st) == 0 && st.st_nlink > 0) {
            path = name.data();
            return fd;
        }
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

// Removes the file when no writer holds its lock; true when it is gone.
bool removeUnlocked(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat held {}, named {};
    const bool removed = ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0
                         && ::lstat(path.c_str(), &named) == 0 && named.st_ino == held.st_ino
                         && named.st_dev == held.st_dev && ::unlink(path.c_str()) == 0;
    ::close(fd);
    return removed;
}

} // namespace

std::size_t removeAbandonedTempFiles(const std::string &target)
{
    const std::string real = realTarget(target), folder = folderOf(real), prefix = tempPrefix(real);
    struct CloseDir {
        void operator()(DIR *dir) const { ::closedir(dir); }
    };
    std::unique_ptr<DIR, CloseDir> dir(::opendir(folder.c_str()));
    if (!dir)
        return 0;
    std::vector<std::string> found;
    while (const dirent *entry = ::readdir(dir.get()))
        if (isTempName(entry->d_name, prefix))
            found.push_back(folder + "/" + entry->d_name);
    std::size_t removed = 0;
    for (const std::string &path : found)
        removed += removeUnlocked(path);
    return removed;
}

ContainerTempFile::ContainerTempFile(const std::string &target) : target_(realTarget(target)), mode_(defaultMode())
{
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            throw Error(ErrorKind::Io, "\"" + target + "\": " + systemErrorText(EISDIR));
        // A file its owner made read-only is kept so even for the administrator; a file this
        // user may not write is never replaced, though the folder would allow it.
        if ((st.st_mode & 0222) == 0)
            throw Error(ErrorKind::Io, "il file \"" + target_ + "\" è di sola lettura");
        if (::access(target_.c_str(), W_OK) != 0)
            fail("impossibile scrivere il file", errno);
        mode_ = st.st_mode & 07777;
        owner_ = Owner{st.st_uid, st.st_gid};
    }
    const std::string folder = folderOf(target_);
    tempPath_ = folder + "/" + tempPrefix(target_) + std::string(tempSuffixLength, 'X');
    const int fd = createLocked(tempPath_);
    if (fd < 0) {
        const int err = errno;
        tempPath_.clear();
        fail("impossibile creare un file temporaneo nella cartella \"" + folder + "\"", err);
    }
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        const int err = errno;
        ::close(fd);
        fail("impossibile scrivere il file temporaneo", err);
    }
}

ContainerTempFile::~ContainerTempFile()
{
    if (file_)
        std::fclose(file_);
    if (!committed_ && !tempPath_.empty())
        ::unlink(tempPath_.c_str());
}

void ContainerTempFile::fail(const std::string &what, int err) const
{
    throw Error(ErrorKind::Io, what + " (\"" + target_ + "\"): " + systemErrorText(err));
}

void ContainerTempFile::keepOwner(int fd) const
{
    // Only the administrator gives a file away; another user who may write it keeps at least
    // its group, so that those who shared it still can. Failing both, the file becomes this
    // user's, in this user's group, with the old mode.
    if (owner_ && ::fchown(fd, owner_->uid, owner_->gid) != 0 && ::fchown(fd, uid_t(-1), owner_->gid) != 0)
        return;
}

void ContainerTempFile::commit(SaveMode mode)
{
    const int fd = ::fileno(file_);
    if (std::fflush(file_) != 0 || std::ferror(file_))
        fail("scrittura non riuscita", errno ? errno : EIO);
    if (::fsync(fd) != 0)
        fail("scrittura su disco non riuscita", errno);
    keepOwner(fd); // before the mode: a change of owner clears the set-id bits
    if (::fchmod(fd, mode_) != 0)
        fail("impossibile impostare i permessi del file", errno);
    // The lock lives on in a duplicate until the file has its place: a cleaner never takes it.
    const int held = ::dup(fd);
    const int closed = std::fclose(file_);
    file_ = nullptr;
    const int err = errno;
    struct Unlock {
        int fd;
        ~Unlock() { if (fd >= 0) ::close(fd); }
    } unlock{held};
    if (closed != 0)
        fail("scrittura non riuscita", err);
    if (mode == SaveMode::CreateOnly) {
        // link() refuses an existing name, so a file that appeared meanwhile is never replaced.
        if (::link(tempPath_.c_str(), target_.c_str()) != 0)
            fail(errno == EEXIST ? "il file esiste già" : "impossibile creare il file", errno);
        ::unlink(tempPath_.c_str());
    } else if (::rename(tempPath_.c_str(), target_.c_str()) != 0) {
        fail("impossibile sostituire il file", errno);
    }
    committed_ = true;

    // Make the rename itself durable; a folder that cannot be synced is not an error.
    const int dir = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace xls
