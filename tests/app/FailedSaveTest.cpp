// A save that fails behind a check box is reported and the program goes on with its data,
// so the user can retry once the problem is gone.
#include "ArchiveFiles.h"
#include "Columns.h"
#include "Form1.h"
#include "HostError.h"
#include "TestRun.h"
#include "VelmoroApplication.h"

#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class OpenArchive : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        folder = root.filePath(QStringLiteral("programma"));
        ASSERT_TRUE(QDir().mkpath(folder));
        archive = folder + QStringLiteral("/Archivio.xls");
        archive_files::makeFresh(archive);
        run = std::make_unique<TestRun>(archive);
        ASSERT_TRUE(run->start());
        run->form1()->application()->activeSheet().range(QStringLiteral("B2")).setValue(
            QStringLiteral("ROSSI MARIO"));
    }
    // The folder vanishes (a removed stick, a network share gone): no file can be written.
    void loseTheFolder() { ASSERT_TRUE(QDir(folder).removeRecursively()); }
    void getTheFolderBack() { ASSERT_TRUE(QDir().mkpath(folder)); }
    QCheckBox *check(const char *name) { return run->control<QCheckBox>(name); }

    QTemporaryDir root;
    QString folder, archive;
    std::unique_ptr<TestRun> run;
};

class FailedSave : public OpenArchive, public testing::WithParamInterface<const char *> {};

TEST_P(FailedSave, IsReportedWithNumberAndDescriptionAndTheProgramKeepsItsData)
{
    loseTheFolder();
    check(GetParam())->click();

    ASSERT_EQ(run->dialogs.boxes.size(), 1u);
    EXPECT_TRUE(run->dialogs.boxes[0].text.contains(
        QStringLiteral("(errore %1)").arg(host::kApplicationDefined)))
        << run->dialogs.boxes[0].text.toStdString();
    EXPECT_TRUE(run->dialogs.boxes[0].text.contains(QStringLiteral("Archivio.xls")));
    EXPECT_FALSE(run->program.ended());
    EXPECT_TRUE(run->presented.isEmpty());
    EXPECT_TRUE(run->form1()->isVisible());
    EXPECT_FALSE(check(GetParam())->isChecked());
    EXPECT_EQ(run->form1()->application()->activeSheet().range(QStringLiteral("B2")).text(),
              QStringLiteral("ROSSI MARIO"));

    getTheFolderBack();
    check(GetParam())->click();
    EXPECT_EQ(run->dialogs.boxes.size(), 1u);
    EXPECT_EQ(archive_files::cellText(archive, QStringLiteral("B2")), QStringLiteral("ROSSI MARIO"));
}

INSTANTIATE_TEST_SUITE_P(BehindEachCheckBox, FailedSave, testing::Values("Check1", "Check2", "Check3"),
                         [](const testing::TestParamInfo<const char *> &info) { return std::string(info.param); });

class UnhandledError : public OpenArchive {};

void throwFromAnEvent()
{
    QTimer::singleShot(0, [] {
        throw host::HostError(host::ErrorKind::InvalidArgument, host::kApplicationDefined,
                              QStringLiteral("Metodo Prova della classe Range non riuscito"));
    });
    QCoreApplication::processEvents();
}

TEST_F(UnhandledError, IsShownWithNumberAndDescriptionAndTheProgramEndsAfterSaving)
{
    auto *qapp = static_cast<app::VelmoroApplication *>(QCoreApplication::instance());
    qapp->setErrorHandler([this](const std::exception &error) { run->forms->reportUnhandled(error); });
    throwFromAnEvent();
    qapp->setErrorHandler({});

    ASSERT_EQ(run->dialogs.boxes.size(), 1u);
    EXPECT_EQ(run->dialogs.boxes[0].text,
              QStringLiteral("Errore di run-time '1004':\n\nMetodo Prova della classe Range non riuscito"));
    EXPECT_EQ(run->program.endings, 1);
    EXPECT_EQ(archive_files::cellText(archive, QStringLiteral("B2")), QStringLiteral("ROSSI MARIO"));
}

TEST_F(UnhandledError, DoesNotEndTheProgramWhenItsChangesCannotBeSaved)
{
    auto *qapp = static_cast<app::VelmoroApplication *>(QCoreApplication::instance());
    qapp->setErrorHandler([this](const std::exception &error) { run->forms->reportUnhandled(error); });
    loseTheFolder();
    throwFromAnEvent();
    qapp->setErrorHandler({});

    ASSERT_EQ(run->dialogs.boxes.size(), 2u);
    EXPECT_TRUE(run->dialogs.boxes[0].text.startsWith(QStringLiteral("Errore di run-time '1004'")));
    EXPECT_TRUE(run->dialogs.boxes[1].text.startsWith(QStringLiteral("Salvataggio dell'archivio non riuscito")));
    EXPECT_FALSE(run->program.ended());
}

} // namespace
