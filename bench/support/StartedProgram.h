#pragma once

#include "BenchFakes.h"
#include "Forms.h"
#include "Launcher.h"
#include "PrinterTarget.h"
#include "QtPrinters.h"
#include "Regional.h"

namespace bench {

// The program on the archive at `path` with the benchmark's boxes, no desktop and the
// system's printers; header only, for the benchmarks that link the windows.
struct StartedProgram {
    StartedProgram(platform::Dialogs &dialogs, const QString &path)
        : forms(app::Services{dialogs, program, shell, printers, printTarget, path, Regional::italian(), {}})
    {
    }
    bool start() { return app::startUp(forms); }

    StayingProgram program;
    NoShell shell;
    platform::QtPrinters printers;
    host::PrinterTarget printTarget;
    app::Forms forms; // last: built on the members above
};

} // namespace bench
