#include "CheckBancari.h"
#include "CheckBancariInternals.h"
#include "Funzioni.h"

#include <gtest/gtest.h>

#include <random>

namespace {

QString randomText(std::mt19937 &random, const char *alphabet, int minLength, int maxLength)
{
    const QString chars = QString::fromLatin1(alphabet);
    const int length = std::uniform_int_distribution<int>(minLength, maxLength)(random);
    std::uniform_int_distribution<qsizetype> pick(0, chars.size() - 1);
    QString text;
    for (int i = 0; i < length; ++i)
        text.append(chars.at(pick(random)));
    return text;
}

// Every other character of the same class: digits for a digit, capitals for a capital.
QString substitutesFor(QChar c)
{
    const QString pool = c.isDigit() ? QStringLiteral("0123456789")
                                     : QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    QString others = pool;
    others.remove(c);
    return others;
}

TEST(CheckBancariProperty, EveryComputedIbanPassesAndEverySameClassSubstitutionFails)
{
    std::mt19937 random(20240604);
    int rejected = 0;
    for (int n = 0; n < 3000; ++n) {
        CheckBancari bank;
        bank.setAbi(randomText(random, "0123456789", 1, 5));
        bank.setCab(randomText(random, "0123456789", 1, 5));
        bank.setContoCorrente(randomText(
            random, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 1, 12));
        const QString bban = bank.CalcolaBBAN();
        ASSERT_EQ(bban.size(), 23);
        const QString iban = bank.CalcolaIBAN("IT", bban);
        ASSERT_EQ(iban.size(), 27);
        ASSERT_TRUE(bank.CheckIBAN(iban)) << iban.toStdString();

        for (qsizetype i = 0; i < iban.size(); ++i) {
            for (QChar other : substitutesFor(iban.at(i))) {
                QString changed = iban;
                changed[i] = other;
                ASSERT_FALSE(bank.CheckIBAN(changed))
                    << iban.toStdString() << " -> " << changed.toStdString();
                ++rejected;
            }
        }
    }
    EXPECT_GT(rejected, 3000 * 27 * 9);
}

// CheckIBAN takes its remainder without building the digit text; it must agree with the
// long division over ConvertiLettere of the rearranged code, for any divisor.
TEST(CheckBancariProperty, CheckIBANAgreesWithTheLongDivisionForAnyDivisor)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> divisors(1, 32767);
    int accepted = 0;
    for (int n = 0; n < 20000; ++n) {
        CheckBancari bank;
        const int divisor = n % 4 == 0 ? 97 : divisors(random);
        bank.setDivisore(std::int16_t(divisor));
        const QString code = randomText(random, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ", 1, 40);
        const QString rearranged = code.mid(4) + code.left(4);
        const auto division = DividiStringa(CheckBancariInternals::convertiLettere(rearranged),
                                            QString::number(divisor));
        ASSERT_TRUE(division);
        const bool expected = division->at(1) == "1";
        accepted += expected;
        ASSERT_EQ(bank.CheckIBAN(code), expected) << code.toStdString() << " / " << divisor;
    }
    // Divisor 1 never leaves remainder 1 but small divisors often do: both outcomes occur.
    EXPECT_GT(accepted, 0);
}

} // namespace
