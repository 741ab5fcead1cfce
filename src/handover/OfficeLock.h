#pragma once

#include <optional>
#include <string>

namespace handover {

// The lock LibreOffice keeps beside a document it has open: ".~lock.<name>#", one entry
// "name,user,host,date,profile;" whose fields escape ',', ';' and '\' with '\'. Texts are UTF-8.
struct OfficeLock {
    std::string name;  // the user's full name as LibreOffice knows it; may be empty
    std::string user;  // the system account
    std::string host;
    std::string since; // when it was opened, as LibreOffice wrote it

    static std::string pathFor(const std::string &document);
    // Any lock file counts, even one whose entry cannot be read: someone may hold the document.
    static std::optional<OfficeLock> read(const std::string &document);
    static OfficeLock parse(const std::string &entry);
    // "Mario Rossi (mrossi) sul computer pc01 dal 06.12.2026 17:32"
    std::string holder() const;
};

} // namespace handover
