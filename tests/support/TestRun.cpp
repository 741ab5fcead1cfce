#include "TestRun.h"

#include "Form1.h"
#include "Launcher.h"
#include "VelmoroApplication.h"

#include <QCoreApplication>
#include <QEvent>

TestRun::TestRun(QString path, Regional regional) : archivePath(std::move(path))
{
    forms = std::make_unique<app::Forms>(app::Services{
        dialogs, program, shell, printers, printers, archivePath, std::move(regional),
        [this](host::Workbook &book) {
            presented.append(book.fullName());
            return presents;
        }});
    // Errors reach the program's own handler, as in a real run.
    reporting = std::make_unique<app::UnhandledErrors>(
        *static_cast<app::VelmoroApplication *>(QCoreApplication::instance()), *forms);
}

TestRun::~TestRun() { finish(); }

bool TestRun::start() { return app::startUp(*forms); }

app::Form1 *TestRun::form1() { return forms->form1(); }

void TestRun::finish()
{
    reporting.reset();
    forms.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
