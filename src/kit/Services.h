#pragma once

#include "platform/Dialogs.h"
#include "platform/Printers.h"
#include "platform/Program.h"
#include "platform/Shell.h"
#include "spreadsheet/PrintTarget.h"
#include "spreadsheet/Regional.h"

#include <QString>
#include <functional>

namespace host { class Workbook; }

namespace kit {

// What the program gets from outside: the desktop seams, the archive's place, the regional
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

} // namespace kit
