#include "HostFixture.h"
#include "spreadsheet/Regional.h"

namespace {

const Regional italian = Regional::italian();
const Regional english(QLocale(QLocale::English, QLocale::UnitedStates));

TEST(Regional, WritesNumbersWithoutGroupingInTheShortestExactFormAndReadsNoInfinity)
{
    const std::tuple<double, const char *, const char *> cases[] = {
        {1234.5, "1234,5", "1234.5"}, {-42.25, "-42,25", "-42.25"}, {0.1 + 0.2, "0,30000000000000004", "0.30000000000000004"},
        {-0.0, "0", "0"},             {123456789012345, "123456789012345", "123456789012345"},
        {1e15, "1E+15", "1E+15"},
    };
    for (const auto &[value, italianText, englishText] : cases) {
        EXPECT_EQ(italian.numberText(value), QString::fromLatin1(italianText)) << value;
        EXPECT_EQ(english.numberText(value), QString::fromLatin1(englishText)) << value;
    }
    for (const char *refused : {"1.000", "abc", "inf", "nan"}) // the rest through the cells' written texts
        EXPECT_EQ(italian.parseNumber(QString::fromLatin1(refused)), std::nullopt) << refused;
}

TEST(Regional, DatesHaveFourDigitYearsAndReadWithOneDigitDayAndMonthAndTimesHaveSeconds)
{
    EXPECT_EQ(english.shortDateFormat(), QStringLiteral("M/d/yyyy"));
    EXPECT_EQ(italian.dateText(QDate(2024, 2, 29)), QStringLiteral("29/02/2024"));
    EXPECT_EQ(italian.parseDate(QStringLiteral("5/3/2024")), QDate(2024, 3, 5));
    EXPECT_EQ(english.parseDate(QStringLiteral("3/5/2024")), QDate(2024, 3, 5));
    for (const char *refused : {"31/02/2024", "05/03/24", "domani"})
        EXPECT_EQ(italian.parseDate(QString::fromLatin1(refused)), std::nullopt) << refused;
    EXPECT_EQ(italian.timeText(QTime(9, 4, 5)), QStringLiteral("09:04:05"));
    EXPECT_EQ(english.timeText(QTime(13, 4, 5)), QStringLiteral("1:04:05 PM"));
}

} // namespace
