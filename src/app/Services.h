#pragma once

#include "Application.h"
#include "Dialogs.h"
#include "Printers.h"
#include "PrintTarget.h"
#include "Program.h"
#include "Regional.h"
#include "Shell.h"

#include <QString>
#include <functional>

namespace app {

// What the windows get from outside: the desktop seams, the archive's place, the regional
// settings, how the host shows the archive when it is handed over and where it prints.
struct Services {
    platform::Dialogs &dialogs;
    platform::Program &program;
    platform::Shell &shell;
    platform::Printers &printers;
    host::PrintTarget &printTarget;
    QString archivePath;
    Regional regional;
    // Shows a workbook handed over to the user; false when nothing could.
    std::function<bool(host::Workbook &)> presenter;
};

} // namespace app
