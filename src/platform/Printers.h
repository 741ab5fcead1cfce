#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// The printers the system has installed, by device name, and its default printer.
class Printers {
public:
    virtual ~Printers() = default;
    // In the order the system lists them.
    virtual QStringList names() const = 0;
    // "" when the system has no default printer.
    virtual QString defaultName() const = 0;
};

} // namespace platform
