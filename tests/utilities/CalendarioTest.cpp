// The date picker opened from the registry window: today's month, a picked day in the date
// field in the regional short date, and nothing done while the field is hidden or on closing.
#include "Anagrafe.h"
#include "Calendario.h"
#include "UtilityWindows.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>

namespace {

class Picker : public UtilityWindows {
protected:
    void SetUp() override { open(QLocale(QLocale::Italian, QLocale::Italy)); }
    // The registry window with two subjects listed, then its Check2 ticked.
    void open(const QLocale &locale)
    {
        start(locale);
        ids(2);
        run->form1()->findChild<QCheckBox *>(u"Check1"_qs)->click();
        activate(registry());
        check2()->click();
        activate(picker());
    }
    registry::Anagrafe *registry() { return run->forms->anagrafe(); }
    utilities::Calendario *picker() { return run->forms->calendario(); }
    bool isOpen() { return run->forms->isLoaded<utilities::Calendario>(); }
    QCheckBox *check2() { return registry()->findChild<QCheckBox *>(u"Check2"_qs); }
    QLineEdit *date() { return registry()->findChild<QLineEdit *>(u"Text4"_qs); }
    QComboBox *list() { return registry()->findChild<QComboBox *>(u"Combo1"_qs); }
    QCalendarWidget *calendar() { return picker()->findChild<QCalendarWidget *>(u"Calendario"_qs); }
    // A click on the 5th of December 2026, shown as the user would reach it.
    void clickDecember5()
    {
        calendar()->setCurrentPage(2026, 12);
        auto *view = calendar()->findChild<QTableView *>();
        const QAbstractItemModel *days = view->model();
        // Days of November shown before it are 29 and later, so the first 5 is December's.
        for (int row = 0; row < days->rowCount(); ++row) {
            for (int column = 0; column < days->columnCount(); ++column) {
                const QModelIndex day = days->index(row, column);
                if (day.data().toString() == u"5"_qs) {
                    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(day).center());
                    return;
                }
            }
        }
        FAIL() << "no 5 in December 2026";
    }
};

TEST_F(Picker, OpensOnTodaysMonthAndGoesBackToItOnEveryActivation)
{
    const QDate today = QDate::currentDate();
    EXPECT_EQ(calendar()->selectedDate(), today);
    EXPECT_EQ(calendar()->monthShown(), today.month());
    EXPECT_EQ(calendar()->yearShown(), today.year());

    calendar()->setSelectedDate(today.addYears(-2).addMonths(1));
    comeBack(picker());
    activate(registry());
    activate(picker());

    EXPECT_EQ(calendar()->selectedDate(), today);
    EXPECT_EQ(calendar()->monthShown(), today.month());
    EXPECT_EQ(calendar()->yearShown(), today.year());
    EXPECT_EQ(date()->text(), QString());
}

struct Picked {
    QLocale locale;
    QString shown;
};

void PrintTo(const Picked &picked, std::ostream *out)
{
    *out << picked.locale.name().toStdString();
}

class PickingADay : public Picker, public testing::WithParamInterface<Picked> {
protected:
    void SetUp() override { open(GetParam().locale); }
};

TEST_P(PickingADay, FillsTheDateFieldInTheShortDateEmptiesTheListAndCloses)
{
    clickDecember5();

    EXPECT_EQ(date()->text(), GetParam().shown);
    EXPECT_EQ(run->forms->services().regional.parseDate(date()->text()), QDate(2026, 12, 5));
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(list()->currentText(), QString());
    EXPECT_FALSE(isOpen());
    EXPECT_TRUE(check2()->isChecked());
    EXPECT_TRUE(boxes().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Calendario, PickingADay, testing::Values(
    Picked{QLocale(QLocale::Italian, QLocale::Italy), u"05/12/2026"_qs},
    Picked{QLocale(QLocale::English, QLocale::UnitedStates), u"12/5/2026"_qs}),
    [](const auto &info) { return info.param.locale.name().toStdString(); });

TEST_F(Picker, EnterPicksTheSelectedDay)
{
    calendar()->setSelectedDate(QDate(2026, 12, 24));
    QTest::keyClick(calendar()->findChild<QTableView *>(), Qt::Key_Return);
    EXPECT_EQ(date()->text(), u"24/12/2026"_qs);
    EXPECT_FALSE(isOpen());
}

TEST_F(Picker, AClickWhileTheDateFieldIsHiddenLeavesThePickerOpen)
{
    registry()->findChild<QAction *>(u"mnuEsci"_qs)->trigger();
    date()->setText(u"01/02/2025"_qs);
    clickDecember5();
    EXPECT_TRUE(isOpen());
    EXPECT_TRUE(picker()->isVisible());
    EXPECT_EQ(date()->text(), u"01/02/2025"_qs);
}

TEST_F(Picker, ClosingItChangesNothingAndUntickingCheck2OpensNothing)
{
    date()->setText(u"01/02/2025"_qs);
    EXPECT_TRUE(picker()->close());
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(date()->text(), u"01/02/2025"_qs);
    EXPECT_EQ(list()->count(), 2);

    check2()->click();
    EXPECT_FALSE(isOpen());
    check2()->click();
    EXPECT_TRUE(isOpen());
}

} // namespace
