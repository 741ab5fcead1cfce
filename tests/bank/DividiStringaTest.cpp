#include "Funzioni.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

using u128 = unsigned __int128;

std::string stripZeros(const std::string &digits)
{
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string("0") : digits.substr(first);
}

// quotient * divisor + remainder, by schoolbook multiplication from the last digit. With
// remainder < divisor this pins down the one right quotient and remainder.
std::string multiplyAdd(const std::string &quotient, unsigned long long divisor,
                        unsigned long long remainder)
{
    std::string result;
    u128 carry = remainder;
    for (auto it = quotient.rbegin(); it != quotient.rend(); ++it) {
        const u128 value = u128(*it - '0') * divisor + carry;
        result.push_back(char('0' + int(value % 10)));
        carry = value / 10;
    }
    for (; carry != 0; carry /= 10)
        result.push_back(char('0' + int(carry % 10)));
    std::reverse(result.begin(), result.end());
    return stripZeros(result);
}

TEST(DividiStringa, GivesQuotientAndRemainderOfTheWorkedExamples)
{
    const struct { const char *dividend, *divisor, *quotient, *remainder; } cases[] = {
        {"12345", "97", "127", "26"}, {"0000", "97", "0", "0"},         {"", "97", "0", ""},
        {"96", "97", "0", "96"},      {"97", "97", "1", "0"},           {"000970", "097", "10", "0"},
        {"182900", "1", "182900", "0"}, {"99999999999999999999", "999999999999999999", "100", "99"},
    };
    for (const auto &c : cases) {
        const auto result = DividiStringa(c.dividend, c.divisor);
        ASSERT_TRUE(result) << c.dividend;
        ASSERT_EQ(result->size(), 2);
        EXPECT_EQ(result->at(0), c.quotient) << c.dividend;
        EXPECT_EQ(result->at(1), c.remainder) << c.dividend;
    }
}

TEST(DividiStringa, ReportsANonDigitDividendOrADivisorThatIsNotAPositiveWholeNumber)
{
    const struct { const char16_t *dividend; const char16_t *divisor; } cases[] = {
        {u"12a45", u"97"},         {u"12 45", u"97"},      {u"-12", u"97"},
        {u"\uff11\uff12", u"97"},  {u"\u0661\u0662", u"97"}, {u"1\u00b2", u"97"},
        {u"12345", u"0"},          {u"12345", u"000"},     {u"12345", u"-97"},
        {u"12345", u""},           {u"12345", u"9.7"},     {u"12345", u" 97"},
        {u"12345", u"\u0669\u0667"}, {u"12345", u"1000000000000000000"},
    };
    for (const auto &c : cases)
        EXPECT_FALSE(DividiStringa(QString::fromUtf16(c.dividend), QString::fromUtf16(c.divisor)))
            << QString::fromUtf16(c.dividend).toStdString() << " / "
            << QString::fromUtf16(c.divisor).toStdString();
}

TEST(DividiStringa, AgreesWithExactArithmeticForDividendsOfOneTo200Digits)
{
    std::mt19937_64 random(42);
    const unsigned long long fixedDivisors[] = {1, 2, 7, 97, 32767, 999999999999999999ULL};
    for (int length = 1; length <= 200; ++length) {
        for (int round = 0; round < 12; ++round) {
            std::string dividend;
            for (int i = 0; i < length; ++i)
                dividend.push_back(char('0' + random() % 10));
            if (round == 0)
                dividend[0] = '0';
            const unsigned long long divisor =
                round < 6 ? fixedDivisors[round] : 1 + random() % (round < 9 ? 100000ULL : 999999999999999999ULL);

            const auto result = DividiStringa(QString::fromStdString(dividend),
                                              QString::number(divisor));
            ASSERT_TRUE(result);
            const std::string quotient = result->at(0).toStdString();
            const std::string remainder = result->at(1).toStdString();
            ASSERT_EQ(quotient, stripZeros(quotient)) << dividend;
            ASSERT_EQ(remainder, stripZeros(remainder)) << dividend;
            ASSERT_LE(remainder.size(), 18u);
            const unsigned long long r = std::stoull(remainder);
            ASSERT_LT(r, divisor) << dividend;
            ASSERT_EQ(multiplyAdd(quotient, divisor, r), stripZeros(dividend))
                << dividend << " / " << divisor;
        }
    }
}

} // namespace
