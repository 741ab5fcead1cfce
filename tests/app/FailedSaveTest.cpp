// A save that fails behind a check box or "Esci" is reported and the program goes on with its
// data, so the user can retry once the problem is gone.
#include "HostError.h"
#include "TestRun.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QTimer>

namespace {

// The archive sits in its own subfolder, which a test can take away.
class OpenArchive : public OnAFreshArchive {
protected:
    void SetUp() override
    {
        subfolder = folder.filePath(QStringLiteral("programma"));
        ASSERT_TRUE(QDir().mkpath(subfolder));
        startOn(subfolder + QStringLiteral("/Archivio.xls"));
        type("B2", "ROSSI MARIO");
    }
    // The folder vanishes (a removed stick, a network share gone): no file can be written.
    void loseTheFolder() { ASSERT_TRUE(QDir(subfolder).removeRecursively()); }
    QAbstractButton *button(const char *name) { return run->control<QAbstractButton>(name); }

    QString subfolder;
};

class FailedSave : public OpenArchive, public testing::WithParamInterface<const char *> {};

TEST_P(FailedSave, IsReportedWithNumberAndDescriptionAndTheProgramKeepsItsData)
{
    loseTheFolder();
    button(GetParam())->click();

    ASSERT_EQ(run->dialogs.boxes.size(), 1u);
    EXPECT_TRUE(run->dialogs.boxes[0].text.contains(QStringLiteral("(errore 1004)")))
        << run->dialogs.boxes[0].text.toStdString();
    EXPECT_TRUE(run->dialogs.boxes[0].text.contains(QStringLiteral("Archivio.xls")));
    EXPECT_FALSE(run->program.ended());
    EXPECT_TRUE(run->presented.isEmpty());
    EXPECT_TRUE(run->form1()->isVisible());
    EXPECT_FALSE(button(GetParam())->isChecked());
    EXPECT_EQ(sheet().range(QStringLiteral("B2")).text(), QStringLiteral("ROSSI MARIO"));

    ASSERT_TRUE(QDir().mkpath(subfolder));
    button(GetParam())->click();
    EXPECT_EQ(run->dialogs.boxes.size(), 1u);
    EXPECT_EQ(saved("B2"), QStringLiteral("ROSSI MARIO"));
}

INSTANTIATE_TEST_SUITE_P(BehindEachButton, FailedSave, testing::Values("Check1", "Check2", "Check3", "Command1"),
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
    throwFromAnEvent();

    ASSERT_EQ(run->dialogs.boxes.size(), 1u);
    EXPECT_EQ(run->dialogs.boxes[0].text,
              QStringLiteral("Errore di run-time '1004':\n\nMetodo Prova della classe Range non riuscito"));
    EXPECT_EQ(run->program.endings, 1);
    EXPECT_EQ(saved("B2"), QStringLiteral("ROSSI MARIO"));
}

TEST_F(UnhandledError, DoesNotEndTheProgramWhenItsChangesCannotBeSaved)
{
    loseTheFolder();
    throwFromAnEvent();

    ASSERT_EQ(run->dialogs.boxes.size(), 2u);
    EXPECT_TRUE(run->dialogs.boxes[0].text.startsWith(QStringLiteral("Errore di run-time '1004'")));
    EXPECT_TRUE(run->dialogs.boxes[1].text.startsWith(QStringLiteral("Salvataggio dell'archivio non riuscito")));
    EXPECT_FALSE(run->program.ended());
}

TEST_F(UnhandledError, EndsTheProgramWithoutASaveWhenTheHostHasQuit)
{
    run->form1()->application()->quit();
    throwFromAnEvent();

    EXPECT_EQ(run->dialogs.boxes.size(), 1u);
    EXPECT_EQ(run->program.endings, 1);
    EXPECT_EQ(saved("B2"), QString());
}

} // namespace
