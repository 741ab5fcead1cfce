#include <csignal>
#include <iostream>
#include <string>

#include "CommandLine.h"
#include "handover/ExitCode.h"
#include "Handover.h"

// velmoro-handover [--headless] [--profile DIR] [--pipe NAME] FILE
// The open password comes on the first line of standard input, so it never
// shows in the process list. Exit codes: ExitCode.h.
int main(int argc, char **argv)
{
    // soffice may close the pipe first after a failed load.
    std::signal(SIGPIPE, SIG_IGN);
    const std::optional<CommandLine> line = CommandLine::parse(argc, argv);
    if (!line) {
        std::cerr << CommandLine::usage() << std::endl;
        return handover::Usage;
    }
    std::string password;
    std::getline(std::cin, password);
    if (!password.empty() && password.back() == '\r')
        password.pop_back();
    return Handover(*line, std::move(password)).run();
}
