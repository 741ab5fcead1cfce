#pragma once

#include "FakeDialogs.h"
#include "FakeProgram.h"
#include "FakeShell.h"
#include "Form1.h"
#include "Forms.h"

#include <QStringList>
#include <memory>


// One run of the program on an archive, with scripted boxes and an observed end. The hand-over
// presenter only records the workbooks it is given.
class TestRun {
public:
    explicit TestRun(QString archivePath);
    ~TestRun();

    bool start();          // the program's start-up; false when it ended
    app::Form1 *form1();   // the loaded main window
    template <class T> T *control(const char *name)
    {
        return form1()->findChild<T *>(QString::fromLatin1(name));
    }
    void finish();         // windows destroyed, lock released

    QString archivePath;
    FakeDialogs dialogs;
    FakeProgram program;
    FakeShell shell;
    QStringList presented;
    std::unique_ptr<app::Forms> forms;
};
