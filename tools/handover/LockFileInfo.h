#pragma once

#include <optional>
#include <string>

// LibreOffice's lock file beside a document (".~lock.<name>#"), whose single
// line reads "name,user,host,date,profile;".
struct LockFileInfo {
    std::string user;
    std::string host;
    std::string date;

    static std::string pathFor(const std::string &document);
    static std::optional<LockFileInfo> read(const std::string &document);
    static std::optional<LockFileInfo> parse(const std::string &line);
    // Italian description of the holder, e.g. "mario su ufficio1 (dal 06.12.2026 17:31)".
    std::string holder() const;
};
