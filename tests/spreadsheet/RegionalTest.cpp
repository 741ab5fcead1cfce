#include "HostFixture.h"
#include "Regional.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const Regional italian = Regional::italian();
const Regional english(QLocale(QLocale::English, QLocale::UnitedStates));

struct NumberCase {
    double value;
    const char *italianText;
    const char *englishText;
};

TEST(Regional, WritesNumbersWithoutGroupingInTheShortestExactForm)
{
    const NumberCase cases[] = {
        {41, "41", "41"},
        {1234.5, "1234,5", "1234.5"},
        {-42.25, "-42,25", "-42.25"},
        {0.1 + 0.2, "0,30000000000000004", "0.30000000000000004"},
        {-0.0, "0", "0"},
        {123456789012345, "123456789012345", "123456789012345"},
        {1e15, "1E+15", "1E+15"},
        {1e20, "1E+20", "1E+20"},
    };
    for (const NumberCase &c : cases) {
        EXPECT_EQ(italian.numberText(c.value), QString::fromUtf8(c.italianText)) << c.value;
        EXPECT_EQ(english.numberText(c.value), QString::fromUtf8(c.englishText)) << c.value;
    }
}

TEST(Regional, ReadsNumbersWithTheLocaleDecimalSeparatorAndRejectsGrouping)
{
    EXPECT_EQ(italian.parseNumber(QStringLiteral("42,5")), 42.5);
    EXPECT_EQ(italian.parseNumber(QStringLiteral("1.000")), std::nullopt);
    EXPECT_EQ(italian.parseNumber(QStringLiteral("abc")), std::nullopt);
    EXPECT_EQ(italian.parseNumber(QStringLiteral("inf")), std::nullopt);
    EXPECT_EQ(english.parseNumber(QStringLiteral("42.5")), 42.5);
    EXPECT_EQ(english.parseNumber(QStringLiteral("1,000")), std::nullopt);
}

TEST(Regional, DatesHaveFourDigitYearsAndReadWithOneDigitDayAndMonthAndTimesHaveSeconds)
{
    EXPECT_EQ(italian.shortDateFormat(), QStringLiteral("dd/MM/yyyy"));
    EXPECT_EQ(english.shortDateFormat(), QStringLiteral("M/d/yyyy"));
    EXPECT_EQ(Regional(QLocale(QLocale::German, QLocale::Germany)).shortDateFormat(), QStringLiteral("dd.MM.yyyy"));
    EXPECT_EQ(italian.dateText(QDate(2024, 2, 29)), QStringLiteral("29/02/2024"));

    EXPECT_EQ(italian.parseDate(QStringLiteral("05/03/2024")), QDate(2024, 3, 5));
    EXPECT_EQ(italian.parseDate(QStringLiteral("5/3/2024")), QDate(2024, 3, 5));
    EXPECT_EQ(english.parseDate(QStringLiteral("3/5/2024")), QDate(2024, 3, 5));
    for (const char *refused : {"31/02/2024", "05/03/24", "domani"})
        EXPECT_EQ(italian.parseDate(QString::fromLatin1(refused)), std::nullopt) << refused;

    EXPECT_EQ(italian.timeText(QTime(9, 4, 5)), QStringLiteral("09:04:05"));
    EXPECT_EQ(english.timeText(QTime(13, 4, 5)), QStringLiteral("1:04:05 PM"));
}

} // namespace
