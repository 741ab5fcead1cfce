#include "DesktopShell.h"

#include <QDesktopServices>

namespace platform {

bool DesktopShell::open(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace platform
