#pragma once

#include <QString>
#include <optional>

namespace app {

// The lock LibreOffice keeps beside a document it has open: ".~lock.<name>#", one line
// "name,user,host,date,profile;".
struct OfficeLock {
    QString name;  // the user's full name as LibreOffice knows it; may be empty
    QString user;  // the system account
    QString host;
    QString since; // when it was opened, as LibreOffice wrote it

    static QString pathFor(const QString &documentPath);
    static std::optional<OfficeLock> read(const QString &documentPath);
    // "Mario Rossi (mrossi) sul computer pc01 dal 06.12.2026 17:32"
    QString holder() const;
};

} // namespace app
