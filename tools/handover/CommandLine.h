#pragma once

#include <optional>
#include <string>

// The helper's arguments: [--headless] [--profile DIR] [--pipe NAME] FILE.
struct CommandLine {
    bool headless = false;
    std::string profileDir;   // empty: LibreOffice's normal user profile
    std::string pipeName;     // empty: a unique name is made up
    std::string file;

    static std::optional<CommandLine> parse(int argc, char **argv);
    static const char *usage();
};
