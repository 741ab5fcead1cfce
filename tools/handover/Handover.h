#pragma once

#include <optional>
#include <string>

#include "CommandLine.h"
#include "LockFileInfo.h"
#include "OfficeConnection.h"
#include "OfficeProcess.h"

// Starts LibreOffice and leaves it with the archive open: the steps of one
// hand-over and its outcome as an exit code.
class Handover {
public:
    enum ExitCode { Loaded = 0, NotLoaded = 2, OfficeUnavailable = 3 };

    Handover(CommandLine line, std::string password);
    ExitCode run();

private:
    ExitCode startAndLoad(const std::string &path);
    bool load(const std::string &path);
    void stopStartedOffice();
    ExitCode officeLostDuringLoad(const std::string &path);
    ExitCode fail(ExitCode code, const std::string &reason);
    std::string defaultPipeName() const;

    CommandLine line_;
    std::string password_;
    std::optional<LockFileInfo> lock_;
    OfficeProcess office_;
    std::optional<OfficeConnection> connection_;
};
