#include "bank/Funzioni.h"

#include <gtest/gtest.h>

namespace {

TEST(DividiStringa, GivesQuotientAndRemainderOfTheWorkedExamples)
{
    const struct { const char *dividend, *divisor, *quotient, *remainder; } cases[] = {
        {"12345", "97", "127", "26"}, {"0000", "97", "0", "0"},         {"", "97", "0", ""},
        {"96", "97", "0", "96"},      {"97", "97", "1", "0"},           {"000970", "097", "10", "0"},
        {"182900", "1", "182900", "0"}, {"99999999999999999999", "999999999999999999", "100", "99"},
        // Long ones, computed with Python's whole numbers.
        {"3214282912345698765432161182", "97", "33136937240677306860125373", "1"},
        {"1234567890123456789012345678901234567890", "999999999999999999", "1234567890123456790246",
         "913569024691358136"},
        {"0000000000000000000000000000000000000000000000000000000000000099", "7", "14", "1"},
        {"98765432109876543210", "32767", "3014173775746224", "21402"},
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

} // namespace
