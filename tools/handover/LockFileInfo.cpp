#include "LockFileInfo.h"

#include <filesystem>
#include <fstream>
#include <vector>

std::string LockFileInfo::pathFor(const std::string &document)
{
    const std::filesystem::path path(document);
    return (path.parent_path() / (".~lock." + path.filename().string() + "#")).string();
}

std::optional<LockFileInfo> LockFileInfo::read(const std::string &document)
{
    std::ifstream in(pathFor(document));
    std::string line;
    if (!in || !std::getline(in, line))
        return std::nullopt;
    return parse(line);
}

std::optional<LockFileInfo> LockFileInfo::parse(const std::string &line)
{
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ',')
            fields.emplace_back();
        else if (c != ';' && c != '\r' && c != '\n')
            fields.back() += c;
    }
    if (fields.size() < 4)
        return std::nullopt;
    // The first field is the name from the user's LibreOffice settings, often
    // empty; the login name is the fallback.
    LockFileInfo info{fields[0].empty() ? fields[1] : fields[0], fields[2], fields[3]};
    if (info.user.empty() && info.host.empty())
        return std::nullopt;
    return info;
}

std::string LockFileInfo::holder() const
{
    std::string text = user.empty() ? "un altro utente" : user;
    if (!host.empty())
        text += " su " + host;
    if (!date.empty())
        text += " (dal " + date + ")";
    return text;
}
