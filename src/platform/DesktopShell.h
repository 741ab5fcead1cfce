#pragma once

#include "Shell.h"

namespace platform {

class DesktopShell : public Shell {
public:
    bool open(const QUrl &url) override;
};

} // namespace platform
