#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <sys/types.h>

namespace xls {

// What a save does with a file already at its target.
enum class SaveMode {
    Replace,    // the new file takes its place
    CreateOnly, // the save fails and the file stays as it is
};

// A temporary file next to a target, put in its place on commit(): the target is either the
// old file or the complete new one, never a half-written mix. Removed unless committed.
// Its name is ".<target name>.~saving-XXXXXX", and the writer holds an exclusive flock on
// it for as long as it lives, so that the file of a writer that was killed can be told from
// the file of one still writing.
class ContainerTempFile {
public:
    // Throws Error(Io) when the target is a folder, a file that is read-only or this user may
    // not write, or when no file can be created next to it.
    explicit ContainerTempFile(const std::string &target);
    ~ContainerTempFile();
    ContainerTempFile(const ContainerTempFile &) = delete;
    ContainerTempFile &operator=(const ContainerTempFile &) = delete;

    std::FILE *file() const { return file_; }
    const std::string &path() const { return tempPath_; }
    // Flushes to disk, gives the file the target's owner, group and mode (as far as this user
    // may), puts it in the target's place and flushes the folder. Throws Error(Io).
    void commit(SaveMode mode = SaveMode::Replace);

private:
    [[noreturn]] void fail(const std::string &what, int err) const;
    void keepOwner(int fd) const;

    struct Owner {
        uid_t uid;
        gid_t gid;
    };

    std::string target_;
    std::string tempPath_;
    std::FILE *file_ = nullptr;
    mode_t mode_ = 0644;
    std::optional<Owner> owner_; // of the file replaced
    bool committed_ = false;
};

// Removes the temporary files of saves of `target` whose writer is gone (killed half-way);
// a file a live writer holds, and any file not named as ours, is kept. Returns how many
// were removed; nothing is reported when the folder cannot be read.
std::size_t removeAbandonedTempFiles(const std::string &target);

} // namespace xls
