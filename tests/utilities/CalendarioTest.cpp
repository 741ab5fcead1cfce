// The date picker opened from the registry window: today's month on every activation, a picked
// day in the date field as the regional short date, nothing done on closing or while the field
// is hidden.
#include "Calendario.h"
#include "RegistryWindow.h"

#include <QCalendarWidget>
#include <QTableView>

namespace {

struct Picking {
    const char *locale;
    bool byKeyboard;
    QString shown;
};

void PrintTo(const Picking &picking, std::ostream *out) { *out << picking.locale; }

class Picker : public RegistryWindow, public testing::WithParamInterface<Picking> {
protected:
    bool isOpen() { return run->forms->isLoaded<utilities::Calendario>(); }
    QCalendarWidget *calendar() { return run->forms->calendario()->findChild<QCalendarWidget *>(u"Calendario"_qs); }
    void tickCheck2()
    {
        check(2)->click();
        ASSERT_TRUE(QTest::qWaitForWindowActive(run->forms->calendario()));
    }
    // The 5th of December 2026, with Enter or with a click: in Italian the first week's
    // Saturday, after the week numbers.
    void pickDecember5(bool byKeyboard)
    {
        auto *view = calendar()->findChild<QTableView *>();
        calendar()->setCurrentPage(2026, 12);
        if (byKeyboard) {
            calendar()->setSelectedDate(QDate(2026, 12, 5));
            return QTest::keyClick(view, Qt::Key_Return);
        }
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(1, 6)).center());
    }
};

TEST_P(Picker, OpensOnTodayPutsAPickedDayInTheDateFieldAndDoesNothingElse)
{
    start(QLocale(QString::fromLatin1(GetParam().locale)));
    put(2, u"1|ROSSI"_qs);
    open();
    tickCheck2();
    text(4)->setText(u"01/02/2025"_qs);
    EXPECT_TRUE(run->forms->calendario()->close());
    EXPECT_EQ(text(4)->text() + items(), u"01/02/2025ROSSI"_qs);
    check(2)->click();
    EXPECT_FALSE(isOpen());

    tickCheck2();
    const QDate today = QDate::currentDate();
    calendar()->setSelectedDate(today.addYears(-2).addMonths(1));
    act({u"back"_qs, u"tick 2"_qs});
    tickCheck2();
    EXPECT_EQ(calendar()->selectedDate(), today);
    EXPECT_EQ(QDate(calendar()->yearShown(), calendar()->monthShown(), today.day()), today);

    pickDecember5(GetParam().byKeyboard);
    EXPECT_EQ(text(4)->text(), GetParam().shown);
    EXPECT_EQ(items() + combo()->currentText(), QString());
    EXPECT_FALSE(isOpen());

    act({u"mnuEsci"_qs, u"tick 2"_qs});
    pickDecember5(GetParam().byKeyboard);
    EXPECT_TRUE(isOpen());
    EXPECT_EQ(text(4)->text(), QString());
    EXPECT_EQ(boxes(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Calendario, Picker, testing::Values(
    Picking{"it_IT", false, u"05/12/2026"_qs}, Picking{"en_US", true, u"12/5/2026"_qs}),
    [](const auto &info) { return std::string(info.param.locale); });

} // namespace
