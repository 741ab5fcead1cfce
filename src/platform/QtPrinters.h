#pragma once

#include "Printers.h"

namespace platform {

// The print system's queues as Qt sees them (CUPS on Linux).
class QtPrinters : public Printers {
public:
    QStringList names() const override;
    QString defaultName() const override;
};

} // namespace platform
