#include "ContainerTempFile.h"

#include "Error.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace xls {

namespace {

std::string osError(int err)
{
    return std::string(std::strerror(err)) + " (errno " + std::to_string(err) + ")";
}

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

} // namespace

ContainerTempFile::ContainerTempFile(const std::string &target) : target_(target), mode_(defaultMode())
{
    struct stat st {};
    if (::lstat(target_.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        // Replace the file the link points to, not the link.
        if (char *real = ::realpath(target_.c_str(), nullptr)) {
            target_ = real;
            std::free(real);
        }
    }
    if (::stat(target_.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            throw Error(ErrorKind::Io, "\"" + target + "\" è una cartella, non un file");
        mode_ = st.st_mode & 07777;
    }

    const std::string folder = folderOf(target_);
    const std::string base = target_.substr(target_.rfind('/') == std::string::npos ? 0 : target_.rfind('/') + 1);
    std::string pattern = folder + "/." + base + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        fail("impossibile creare un file temporaneo nella cartella \"" + folder + "\"", errno);
    tempPath_ = name.data();
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
    throw Error(ErrorKind::Io, what + " (\"" + target_ + "\"): " + osError(err));
}

void ContainerTempFile::commit()
{
    const int fd = ::fileno(file_);
    if (std::fflush(file_) != 0 || std::ferror(file_))
        fail("scrittura non riuscita", errno ? errno : EIO);
    if (::fsync(fd) != 0)
        fail("scrittura su disco non riuscita", errno);
    if (::fchmod(fd, mode_) != 0)
        fail("impossibile impostare i permessi del file", errno);
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0)
        fail("scrittura non riuscita", errno);
    if (::rename(tempPath_.c_str(), target_.c_str()) != 0)
        fail("impossibile sostituire il file", errno);
    committed_ = true;

    // Make the rename itself durable; a folder that cannot be synced is not an error.
    const int dir = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace xls
