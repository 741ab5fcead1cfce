#pragma once

#include "Shell.h"

#include <QString>

namespace platform {

class DesktopShell : public Shell {
public:
    // A file opens only when an application is registered for its type.
    bool open(const QUrl &url) override;
    // The desktop entry of the application registered for the file's type ("" for none), as
    // xdg-mime finds it; the entry must exist.
    static QString applicationFor(const QString &path);
};

} // namespace platform
