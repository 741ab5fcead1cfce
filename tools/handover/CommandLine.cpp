#include "CommandLine.h"

#include <string_view>

std::optional<CommandLine> CommandLine::parse(int argc, char **argv)
{
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--headless") {
            line.headless = true;
        } else if ((arg == "--profile" || arg == "--pipe") && i + 1 < argc) {
            (arg == "--profile" ? line.profileDir : line.pipeName) = argv[++i];
        } else if (arg.starts_with("--") || !line.file.empty()) {
            return std::nullopt;
        } else {
            line.file = arg;
        }
    }
    if (line.file.empty())
        return std::nullopt;
    return line;
}

const char *CommandLine::usage()
{
    return "Uso: velmoro-handover [--headless] [--profile CARTELLA] [--pipe NOME] FILE "
           "(password sulla prima riga dello standard input)";
}
