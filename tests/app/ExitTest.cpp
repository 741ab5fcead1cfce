// Leaving the program: "Esci" and "Excel" save, close the other windows whatever fails in
// their closing steps, and end; "Excel" with nothing to show the archive keeps the program.
#include "Form2.h"
#include "HostError.h"
#include "TestRun.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>
#include <stdexcept>

namespace {

// A loaded window whose closing steps fail.
class BrokenWindow : public QWidget {
public:
    explicit BrokenWindow(std::function<void()> fail) : fail_(std::move(fail)) {}
    int closings = 0;

protected:
    void closeEvent(QCloseEvent *) override
    {
        ++closings;
        fail_();
    }

private:
    std::function<void()> fail_;
};

class Exit : public OnAFreshArchive {
protected:
    QAbstractButton *button(const char *name) { return run->control<QAbstractButton>(name); }
    app::Form1 *form() { return run->form1(); }
    void openInstructions()
    {
        button("Check5")->click();
        run->forms->form2()->hide();
        form()->show();
    }
};

TEST_F(Exit, EsciSavesTheActiveWorkbookWritesTheArchiveAgainAndEnds)
{
    openInstructions();
    type("B2", "NERI SPA");
    // Another workbook made active: the save point saves it, the archive is written by SaveAs.
    const QString other = folder.filePath(QStringLiteral("Altro.xls"));
    archive_files::makeFresh(other);
    host::Application *host = form()->application();
    host->open(other, QStringLiteral("TRVX5093MQP")).activeSheet().range(QStringLiteral("B2")).setValue(QStringLiteral("ALTRO"));

    button("Command1")->click();

    EXPECT_FALSE(run->forms->isLoaded<app::Form2>());
    EXPECT_EQ(saved("B2"), QStringLiteral("NERI SPA"));
    EXPECT_EQ(archive_files::cellText(other, QStringLiteral("B2")), QStringLiteral("ALTRO"));
    EXPECT_EQ(form()->application(), nullptr);
    EXPECT_EQ(run->program.endings, 1);
    EXPECT_EQ(run->program.exitCode, 0);
    EXPECT_TRUE(run->dialogs.boxes.empty());
    EXPECT_TRUE(run->presented.isEmpty());
}

TEST_F(Exit, EsciAfterTheHostIsGoneEndsWithoutAMessageOrAWrite)
{
    type("B2", "PERSO");
    const auto before = archive_files::snapshot(folder.path());
    form()->application()->quit();

    button("Command1")->click();

    EXPECT_EQ(run->program.endings, 1);
    EXPECT_TRUE(run->dialogs.boxes.empty());
    EXPECT_EQ(archive_files::snapshot(folder.path()), before);
}

TEST_F(Exit, ExcelWithNothingToShowTheArchiveKeepsTheProgramAndItsWindowsUntilARetryShowsIt)
{
    openInstructions();
    button("Check1")->click();
    type("B2", "GIALLI SRL");
    type("I2", "0612345678");
    run->presents = false;

    button("Check3")->click();

    EXPECT_FALSE(button("Check1")->isChecked());
    EXPECT_FALSE(button("Check3")->isChecked());
    EXPECT_EQ(run->presented.size(), 1);
    EXPECT_EQ(saved("B2"), QStringLiteral("GIALLI SRL"));
    EXPECT_EQ(saved("I2"), QStringLiteral("0612345678"));
    EXPECT_FALSE(form()->application()->visible());
    EXPECT_TRUE(run->forms->isLoaded<app::Form2>());
    EXPECT_FALSE(run->program.ended());

    run->presents = true;
    button("Check3")->click();
    EXPECT_EQ(run->presented, QStringList(2, form()->workbook()->fullName()));
    EXPECT_TRUE(form()->application()->visible());
    EXPECT_FALSE(run->forms->isLoaded<app::Form2>());
    EXPECT_EQ(run->program.endings, 1);
    EXPECT_EQ(run->program.exitCode, 0);
    EXPECT_TRUE(run->dialogs.boxes.empty());
}

class ExitPast : public Exit, public testing::WithParamInterface<const char *> {};

TEST_P(ExitPast, ErrorsOfAnyKindInOtherWindowsClosingSteps)
{
    auto *hostFailure = new BrokenWindow([] {
        throw host::HostError(host::ErrorKind::InvalidArgument, host::kApplicationDefined,
                              QStringLiteral("Salvataggio non riuscito"));
    });
    auto *otherFailure = new BrokenWindow([] { throw std::runtime_error("rotto"); });
    run->forms->track(hostFailure);
    run->forms->track(otherFailure);
    openInstructions();
    type("B2", "NERI SPA");

    button(GetParam())->click();

    EXPECT_EQ(hostFailure->closings, 1);
    EXPECT_EQ(otherFailure->closings, 1);
    EXPECT_FALSE(run->forms->isLoaded<app::Form2>());
    EXPECT_TRUE(run->dialogs.boxes.empty());
    EXPECT_EQ(run->program.endings, 1);
    EXPECT_EQ(run->program.exitCode, 0);
    EXPECT_EQ(saved("B2"), QStringLiteral("NERI SPA"));
}

INSTANTIATE_TEST_SUITE_P(ThroughEsciAndExcel, ExitPast, testing::Values("Command1", "Check3"),
                         [](const testing::TestParamInfo<const char *> &info) { return std::string(info.param); });

} // namespace
