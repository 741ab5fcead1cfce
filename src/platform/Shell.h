#pragma once

#include <QUrl>

namespace platform {

// The desktop's "open with the default action": web addresses in the browser, files in the
// application registered for their type.
class Shell {
public:
    virtual ~Shell() = default;
    virtual bool open(const QUrl &url) = 0;
};

} // namespace platform
