#pragma once

#include <cstdio>
#include <string>
#include <sys/types.h>

namespace xls {

// A temporary file next to a target, renamed over it on commit(): the target is either the
// old file or the complete new one, never a half-written mix. Removed unless committed.
class ContainerTempFile {
public:
    // Throws Error(Io) when the target is a folder or no file can be created next to it.
    explicit ContainerTempFile(const std::string &target);
    ~ContainerTempFile();
    ContainerTempFile(const ContainerTempFile &) = delete;
    ContainerTempFile &operator=(const ContainerTempFile &) = delete;

    std::FILE *file() const { return file_; }
    const std::string &path() const { return tempPath_; }
    // Flushes to disk, gives the file the target's mode, renames it over the target and
    // flushes the folder. Throws Error(Io).
    void commit();

private:
    [[noreturn]] void fail(const std::string &what, int err) const;

    std::string target_;
    std::string tempPath_;
    std::FILE *file_ = nullptr;
    mode_t mode_ = 0644;
    bool committed_ = false;
};

} // namespace xls
