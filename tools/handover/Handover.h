#pragma once

#include <optional>
#include <string>

#include "CommandLine.h"
#include "handover/ExitCode.h"
#include "handover/OfficeLock.h"
#include "OfficeConnection.h"
#include "OfficeProcess.h"

// Starts LibreOffice and leaves it with the archive open: the steps of one
// hand-over and its outcome as an exit code.
class Handover {
public:
    using ExitCode = handover::ExitCode;

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
    std::optional<handover::OfficeLock> lock_;
    OfficeProcess office_;
    std::optional<OfficeConnection> connection_;
};
