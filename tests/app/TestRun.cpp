#include "TestRun.h"

#include "Form1.h"
#include "Launcher.h"

#include <QCoreApplication>
#include <QEvent>

TestRun::TestRun(QString path) : archivePath(std::move(path))
{
    forms = std::make_unique<app::Forms>(app::Services{
        dialogs, program, shell, printers, printers, archivePath, Regional(QLocale(QLocale::Italian, QLocale::Italy)),
        [this](host::Workbook &book) { presented.append(book.fullName()); }});
}

TestRun::~TestRun() { finish(); }

bool TestRun::start() { return app::startUp(*forms); }

app::Form1 *TestRun::form1() { return forms->form1(); }

void TestRun::finish()
{
    forms.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
