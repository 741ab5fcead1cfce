#include "Launcher.h"

#include "Forms.h"
#include "HandOver.h"
#include "VelmoroApplication.h"

#include "archive/Columns.h"
#include "app/Form1.h"
#include "platform/DesktopShell.h"
#include "platform/QtDialogs.h"
#include "platform/QtPrinters.h"
#include "platform/QtProgram.h"
#include "spreadsheet/print/PrinterTarget.h"

#include <QTimer>

namespace root {

bool startUp(Forms &forms)
{
    forms.guard().run([&] { forms.form1(); });
    return !forms.services().program.ended();
}

int runVelmoro(VelmoroApplication &qapp, const QString &archivePath,
               const std::function<void()> &shown)
{
    platform::QtDialogs dialogs;
    platform::QtProgram program;
    platform::DesktopShell shell;
    platform::QtPrinters printers;
    host::PrinterTarget printTarget;
    HandOver handOver(dialogs, shell,
                      QCoreApplication::applicationDirPath() + QStringLiteral("/velmoro-handover"),
                      archive::kPassword);
    Forms forms(kit::Services{dialogs, program, shell, printers, printTarget, archivePath, Regional::system(),
                         [&handOver](host::Workbook &book) { return handOver(book); }});

    const bool running = startUp(forms);
    int code = program.exitCode();
    if (running) {
        if (shown)
            QTimer::singleShot(0, &qapp, shown);
        code = qapp.exec();
    }
    return code;
}

} // namespace root
