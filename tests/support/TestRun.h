#pragma once

#include "ArchiveFiles.h"
#include "FakeDialogs.h"
#include "FakePrinters.h"
#include "FakeProgram.h"
#include "FakeShell.h"
#include "app/Form1.h"
#include "root/Forms.h"
#include "root/Launcher.h"
#include "spreadsheet/Application.h"

#include <QCoreApplication>
#include <QEvent>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// One run of the program on an archive, with scripted boxes and an observed end. The hand-over
// presenter only records the workbooks it is given and answers `presents`.
class TestRun {
public:
    explicit TestRun(QString path, Regional regional = Regional(QLocale(QLocale::Italian, QLocale::Italy)))
        : archivePath(std::move(path))
    {
        forms = std::make_unique<root::Forms>(kit::Services{
            dialogs, program, shell, printers, printers, archivePath, std::move(regional),
            [this](host::Workbook &book) {
                presented.append(book.fullName());
                return presents;
            }});
    }
    ~TestRun() { finish(); }

    bool start() { return root::startUp(*forms); } // the program's start-up; false when it ended
    app::Form1 *form1() { return forms->form1(); } // the loaded main window
    host::Application *host() { return forms->session().application(); } // null before start-up and after exit
    template <class T> T *control(const char *name) { return form1()->findChild<T *>(QString::fromLatin1(name)); }
    void finish() // windows destroyed, lock released
    {
        forms.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QString archivePath;
    FakeDialogs dialogs;
    FakeProgram program;
    FakeShell shell;
    FakePrinters printers;
    QStringList presented;
    bool presents = true;
    std::unique_ptr<root::Forms> forms;
};

// A test with its own folder for the archive.
class ArchiveFolder : public testing::Test {
protected:
    QTemporaryDir folder;
    QString archive = folder.filePath(QStringLiteral("Archivio.xls"));
};

// A test that starts the program on a fresh archive in its own folder.
class OnAFreshArchive : public ArchiveFolder {
protected:
    void SetUp() override { startOn(archive); }
    void startOn(const QString &path, const QLocale &locale = QLocale(QLocale::Italian, QLocale::Italy))
    {
        ASSERT_TRUE(folder.isValid());
        run.reset();
        archive = path;
        archive_files::makeFresh(archive);
        run = std::make_unique<TestRun>(archive, Regional(locale));
        ASSERT_TRUE(run->start());
    }
    host::Worksheet &sheet() { return run->host()->activeSheet(); }
    void type(const char *address, const char *text)
    {
        sheet().range(QString::fromLatin1(address)).setValue(QString::fromUtf8(text));
    }
    QString saved(const char *address) { return archive_files::cellText(archive, QString::fromLatin1(address)); }

    std::unique_ptr<TestRun> run;
};
