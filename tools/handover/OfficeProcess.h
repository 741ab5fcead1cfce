#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>

// The soffice this helper starts: detached in its own session, with no
// inherited descriptors, so it outlives the helper and never holds a caller's
// output pipe open.
class OfficeProcess {
public:
    static std::optional<std::string> findExecutable();

    bool start(const std::string &executable, bool headless, const std::string &profileUrl,
               const std::string &pipeName);
    // False once the started process has ended (for instance after handing its
    // request to a LibreOffice that was already running).
    bool running();
    // Non-zero exit status or a signal; only meaningful once running() is false.
    bool failed() const { return exitStatus_ != 0; }
    bool waitForExit(std::chrono::milliseconds timeout);
    void killGroup();

private:
    pid_t pid_ = -1;
    int exitStatus_ = 0;
    bool exited_ = false;
};
