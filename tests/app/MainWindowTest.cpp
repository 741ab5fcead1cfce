// The main window at work: its check boxes, the clock, the picture and its refusal to close.
#include "TestRun.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

namespace {

class MainWindow : public OnAFreshArchive {
protected:
    QCheckBox *check(const char *name) { return run->control<QCheckBox>(name); }
    app::Form1 *form() { return run->form1(); }
};

TEST_F(MainWindow, RefusesToCloseFromTheCloseBoxOrAnUnload)
{
    EXPECT_FALSE(form()->close());
    EXPECT_FALSE(run->forms->unload(form()));
    EXPECT_TRUE(form()->isVisible());
    EXPECT_TRUE(run->forms->loaded().contains(form()));
    EXPECT_FALSE(run->program.ended());
}

TEST_F(MainWindow, Check1SavesTheArchiveAndUncheckingItDoesNothing)
{
    type("B2", "ROSSI MARIO");
    check("Check1")->click();
    EXPECT_TRUE(check("Check1")->isChecked());
    EXPECT_EQ(saved("B2"), QStringLiteral("ROSSI MARIO"));

    type("B3", "BIANCHI ANNA");
    const auto before = archive_files::snapshot(folder.path());
    check("Check1")->click();
    EXPECT_FALSE(check("Check1")->isChecked());
    EXPECT_EQ(archive_files::snapshot(folder.path()), before);
    EXPECT_TRUE(run->dialogs.boxes.empty());
    EXPECT_TRUE(form()->isVisible());
    EXPECT_FALSE(run->program.ended());
}

TEST_F(MainWindow, Check2SavesAndLeavesEveryCheckBoxUnchecked)
{
    check("Check1")->click();
    type("B2", "VERDI SNC");
    check("Check2")->click();
    for (const char *name : {"Check1", "Check2", "Check3"})
        EXPECT_FALSE(check(name)->isChecked()) << name;
    EXPECT_EQ(saved("B2"), QStringLiteral("VERDI SNC"));
    EXPECT_FALSE(run->program.ended());
}

TEST_F(MainWindow, ShowsItsControlsInReadingOrderWithoutOverlap)
{
    const auto at = [&](const char *name) {
        auto *control = run->control<QWidget>(name);
        return QRect(control->mapTo(form(), QPoint(0, 0)), control->size());
    };
    const char *column[] = {"Check1", "Check2", "Check3", "Check5", "Label5", "Label1"};
    for (std::size_t i = 1; i < std::size(column); ++i)
        EXPECT_GE(at(column[i]).top(), at(column[i - 1]).bottom()) << column[i];
    const char *lastRow[] = {"Label1", "Text1", "Command1"};
    for (std::size_t i = 1; i < std::size(lastRow); ++i) {
        EXPECT_GE(at(lastRow[i]).left(), at(lastRow[i - 1]).right()) << lastRow[i];
        EXPECT_NEAR(at(lastRow[i]).center().y(), at("Label1").center().y(), 4) << lastRow[i];
    }
    EXPECT_LE(at("Image1").right(), at("Check1").left());
    EXPECT_LE(at("Image1").bottom(), at("Label5").top());
}

TEST_F(MainWindow, ClockShowsOreAndTheTimeAndThePictureOpensTheWebAddressWithABorder)
{
    auto *clock = run->control<QLineEdit>("Text1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !clock->text().isEmpty(); }, 2500));
    const QRegularExpression shown(QStringLiteral("^Ore\\.\\.\\.\\d{1,2}:\\d{2}(:\\d{2})?$"));
    EXPECT_TRUE(shown.match(clock->text()).hasMatch()) << clock->text().toStdString();

    auto *picture = run->control<QLabel>("Image1");
    EXPECT_EQ(picture->frameShape(), QFrame::NoFrame);
    QTest::mousePress(picture, Qt::LeftButton);
    EXPECT_EQ(picture->frameShape(), QFrame::Box);
    ASSERT_EQ(run->shell.opened.size(), 1u);
    EXPECT_EQ(run->shell.opened[0].scheme(), QStringLiteral("https"));
    EXPECT_FALSE(run->shell.opened[0].host().isEmpty());
}

} // namespace
