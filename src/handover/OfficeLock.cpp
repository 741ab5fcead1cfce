#include "OfficeLock.h"

#include <filesystem>
#include <algorithm>
#include <fstream>
#include <vector>

namespace handover {

std::string OfficeLock::pathFor(const std::string &document)
{
    const std::filesystem::path path(document);
    return (path.parent_path() / (".~lock." + path.filename().string() + "#")).string();
}

std::optional<OfficeLock> OfficeLock::read(const std::string &document)
{
    std::ifstream in(pathFor(document));
    if (!in)
        return std::nullopt;
    std::string entry;
    std::getline(in, entry);
    return parse(entry);
}

OfficeLock OfficeLock::parse(const std::string &entry)
{
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < entry.size() && entry[i] != ';'; ++i) {
        if (entry[i] == ',')
            fields.emplace_back();
        else if (entry[i] == '\\' && i + 1 < entry.size())
            fields.back() += entry[++i];
        else if (entry[i] != '\r' && entry[i] != '\n')
            fields.back() += entry[i];
    }
    fields.resize(std::max<std::size_t>(fields.size(), 4));
    return OfficeLock{fields[0], fields[1], fields[2], fields[3]};
}

std::string OfficeLock::holder() const
{
    std::string who = name.empty() ? user : name;
    if (!name.empty() && !user.empty() && user != name)
        who += " (" + user + ")";
    if (who.empty())
        who = "un utente sconosciuto";
    if (!host.empty())
        who += " sul computer " + host;
    if (!since.empty())
        who += " dal " + since;
    return who;
}

} // namespace handover
