#pragma once

#include <memory>

namespace archive { class ArchiveLock; }
namespace host {
class Application;
class Workbook;
} // namespace host

namespace kit {

struct Services;

// The open archive for the whole run: the lock that keeps other copies off it, the host that
// holds it, and the save point every window uses.
class ArchiveSession {
public:
    explicit ArchiveSession(Services &services);
    ~ArchiveSession();
    ArchiveSession(const ArchiveSession &) = delete;
    ArchiveSession &operator=(const ArchiveSession &) = delete;

    // Start-up: the lock, the host (hidden, with its status text), the archive opened and
    // prepared. False when the program ended instead: another copy holds the archive, or the
    // user would rather not work beside LibreOffice. Host errors propagate.
    bool open();

    // The host holding the archive; HostError when there is none (before start-up, after exit).
    host::Application &host() const;
    host::Application *application() const { return app_.get(); }
    host::Workbook *workbook() const { return book_; }
    // Started, and not ended from outside.
    bool hostRunning() const;

    // SaveArchive; a failure is told with its number and description, and the program goes on
    // with its changes. A backup that could not be made first is told too; the save stands.
    bool save();
    // After an error nobody handled: true when the program may end (nothing open, or saved).
    bool saveBeforeEnding();
    // The host made visible with the archive; false, and the host hidden again, when nothing
    // could show the archive to the user.
    bool handOver();
    // At exit, ignoring errors: the archive written again under its name when `saved`, closed
    // and the host quit; then the host and the lock are let go.
    void close(bool saved);

private:
    bool claim();

    Services &services_;
    std::unique_ptr<archive::ArchiveLock> lock_;
    std::unique_ptr<host::Application> app_;
    host::Workbook *book_ = nullptr;
    bool ready_ = false;      // start-up completed
    bool handedOver_ = false; // something showed the archive when the host became visible
};

} // namespace kit
