#pragma once

#include "BenchFakes.h"
#include "root/Forms.h"
#include "root/Launcher.h"
#include "spreadsheet/print/PrinterTarget.h"
#include "platform/QtPrinters.h"
#include "spreadsheet/Regional.h"

namespace bench {

// The program on the archive at `path` with the benchmark's boxes, no desktop and the
// system's printers; header only, for the benchmarks that link the windows.
struct StartedProgram {
    StartedProgram(platform::Dialogs &dialogs, const QString &path)
        : forms(kit::Services{dialogs, program, shell, printers, printTarget, path, Regional::italian(), {}})
    {
    }
    bool start() { return root::startUp(forms); }

    StayingProgram program;
    NoShell shell;
    platform::QtPrinters printers;
    host::PrinterTarget printTarget;
    root::Forms forms; // last: built on the members above
};

} // namespace bench
