#include "bank/BankError.h"
#include "bank/CheckBancari.h"

#include <gtest/gtest.h>

namespace {

QString q(const char16_t *text) { return QString::fromUtf16(text); }

CheckBancari bankWith(const QString &abi, const QString &cab, const QString &account)
{
    CheckBancari bank;
    bank.setAbi(abi);
    bank.setCab(cab);
    bank.setContoCorrente(account);
    return bank;
}

TEST(CheckBancari, CalcolaCinAndCalcolaBBANUseTheNormalisedParts)
{
    const struct {
        const char16_t *abi, *cab, *account, *cin, *storedAbi, *storedCab, *storedAccount;
    } cases[] = {
        {u"05428", u"11101", u"000000123456", u"X", u"05428", u"11101", u"000000123456"},
        {u"1", u"2", u"3", u"P", u"00001", u"00002", u"000000000003"},
        {u" 5428 ", u"11101 ", u"123456", u"X", u"05428", u"11101", u"000000123456"},
        // An inner space survives the zero fill and counts as the 29th sign.
        {u"542 8", u"11101", u"000000123456", u"E", u"542 8", u"11101", u"000000123456"},
        {u"05428", u"11101", u"0000 0012 3456", u"X", u"05428", u"11101", u"000000123456"},
        {u"05428", u"11101", u"99000000123456", u"X", u"05428", u"11101", u"000000123456"},
        {u"05428", u"11101", u"", u"U", u"05428", u"11101", u"000000000000"},
        // Lower-case letters count as capitals but are stored as typed.
        {u"05428", u"11101", u"ab00-.1234cd", u"O", u"05428", u"11101", u"ab00-.1234cd"},
        {u"05428", u"11101", u"12/34", u"", u"05428", u"11101", u"000000012/34"},
        // Letters and digits outside ASCII are never taken for CIN characters.
        {u"05428", u"11101", u"\u00df123", u"", u"05428", u"11101", u"00000000\u00df123"},
        {u"05428", u"11101", u"\u0131", u"", u"05428", u"11101", u"00000000000\u0131"},
        {u"05428", u"11101", u"\uff11\uff12\uff13", u"", u"05428", u"11101", u"000000000\uff11\uff12\uff13"},
        {u"0542\u0668", u"11101", u"123456", u"", u"0542\u0668", u"11101", u"000000123456"},
        {u"05428", u"\u00c8", u"123456", u"", u"05428", u"0000\u00c8", u"000000123456"},
        // Every value of both CIN tables at an odd and at an even position: the letters come from
        // python-stdnum's codice fiscale check (the same tables); for "-", "." and " ", by hand.
        {u"8AZQK", u"HWGX-", u"BF7D-SFXMPG.", u"P", u"8AZQK", u"HWGX-", u"BF7D-SFXMPG."},
        {u"OUQWS", u"ZT  O", u"DRVMJYAL4VNK", u"D", u"OUQWS", u"ZT  O", u"DRVMJYAL4VNK"},
        {u"YBLWR", u"E IUT", u".JPNC-DUSCR6", u"L", u"YBLWR", u"E IUT", u".JPNC-DUSCR6"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(q(c.abi).toStdString() + "/" + q(c.cab).toStdString() + "/" + q(c.account).toStdString());
        CheckBancari bank = bankWith(q(c.abi), q(c.cab), q(c.account));
        EXPECT_EQ(bank.CalcolaCin(), q(c.cin));
        EXPECT_EQ(bank.Abi(), q(c.storedAbi));
        EXPECT_EQ(bank.Cab(), q(c.storedCab));
        EXPECT_EQ(bank.ContoCorrente(), q(c.storedAccount));
        EXPECT_EQ(bank.CalcolaBBAN(), q(c.cin) + q(c.storedAbi) + q(c.storedCab) + q(c.storedAccount));
    }
}

TEST(CheckBancari, VerificaCinMatchesOnlyTheExactComputedText)
{
    const struct { const char *account; const char *cinCode; bool expected; } cases[] = {
        {"123456", "X", true},  {"123456", "x", false}, {"123456", " X", false},
        {"123456", "XX", false}, {"123456", "", false}, {"12/34", "", true},
        {"12/34", "X", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(bankWith("05428", "11101", c.account).VerificaCin(c.cinCode), c.expected) << c.account << " / " << c.cinCode;
}

// A stored CIN is used as it is; a stored IBAN gives its BBAN part. The parts stay as set.
TEST(CheckBancari, CalcolaBBANUsesAStoredCinOrIbanUnchanged)
{
    const struct { const char *cin, *iban, *bban; } cases[] = {
        {"Z", "", "Z0542811101000000123456"}, {"zz", "", "zz0542811101000000123456"},
        {"", "it60 x054 2811 1010 0000 0123 456", "X0542811101000000123456"}};
    for (const auto &c : cases) {
        CheckBancari bank = bankWith("5428", "11101", "1234 56");
        bank.setCin(c.cin);
        bank.setIBAN(c.iban);
        EXPECT_EQ(bank.CalcolaBBAN(), c.bban);
        EXPECT_EQ(bank.Abi() + bank.ContoCorrente(), "54281234 56");
    }
}

TEST(CheckBancari, NormalizzaIBANKeepsOnlyAsciiLettersAndDigitsInUpperCase)
{
    const struct { const char16_t *code; const char16_t *expected; } cases[] = {
        {u"it60 x054-2811.1010/0000_0123 456", u"IT60X0542811101000000123456"},
        {u"Stra\u00dfe", u"STRAE"},
        {u"\uff11\u0661\u0131\u00e8 1", u"1"},
        {u"", u""},
    };
    CheckBancari bank;
    for (const auto &c : cases)
        EXPECT_EQ(bank.NormalizzaIBAN(q(c.code)), q(c.expected));
}

TEST(CheckBancari, CalcolaIBANGivesCountryCheckDigitsAndNormalisedBban)
{
    const struct { const char *country; const char *bban; const char *iban; } cases[] = {
        {"IT", "X0542811101000000123456", "IT60X0542811101000000123456"},
        {"IT", "P0000100002000000000003", "IT22P0000100002000000000003"},
        {"IT", "X 05428 11101 000000123456", "IT60X0542811101000000123456"},
        {"IT", "x0542811101000000123456", "IT60X0542811101000000123456"},
        {"it", "X0542811101000000123456", "it60X0542811101000000123456"},
        {"", "X0542811101000000123456", "IT60X0542811101000000123456"},
    };
    for (const auto &c : cases) {
        CheckBancari bank;
        EXPECT_EQ(bank.CalcolaIBAN(c.country, c.bban), c.iban) << c.country << c.bban;
        EXPECT_EQ(bank.CalcolaCheckIBAN(c.country, c.bban), QString(c.iban).mid(2, 2));
    }
}

// Country IT and divisor 97 are the defaults.
TEST(CheckBancari, CalcolaIBANFallsBackToTheBbanPropertyThenToTheComposedBban)
{
    CheckBancari bank;
    EXPECT_EQ(bank.Paese(), "IT");
    bank.setBBAN("P0000100002000000000003");
    bank.setAbi("5428");
    EXPECT_EQ(bank.CalcolaIBAN(), "IT22P0000100002000000000003");
    EXPECT_EQ(bank.Abi(), "5428");

    bank.setBBAN("");
    bank.setCab("11101");
    bank.setContoCorrente("123456");
    EXPECT_EQ(bank.CalcolaIBAN(), "IT60X0542811101000000123456");
    EXPECT_EQ(bank.Abi(), "05428");
    EXPECT_EQ(bank.ContoCorrente(), "000000123456");
}

TEST(CheckBancari, CalcolaIBANRaisesAnErrorInsteadOfInventingDigitsAndCheckIBANRejectsAll)
{
    const struct { const char16_t *country; std::int16_t divisor; int number; } cases[] = {
        {u"I/", 97, kBankTypeMismatch}, {u"\u00cdT", 97, kBankTypeMismatch}, {u"\u0661\u0662", 97, kBankTypeMismatch},
        {u"IT", 0, 5},                  {u"IT", -97, 5},                     {u"IT", -32768, 5},
    };
    for (const auto &c : cases) {
        CheckBancari bank;
        bank.setDivisore(c.divisor);
        try {
            bank.CalcolaIBAN(q(c.country), "X0542811101000000123456");
            ADD_FAILURE() << "no error for " << q(c.country).toStdString();
        } catch (const BankError &error) {
            EXPECT_EQ(error.number(), c.number);
            EXPECT_FALSE(error.description().isEmpty());
        }
        if (c.divisor <= 0) { // and no code passes the check
            EXPECT_FALSE(bank.CheckIBAN("IT60X0542811101000000123456"));
        }
    }
}

TEST(CheckBancari, CheckIBANAcceptsValidCodesWrittenAnyWayAndRejectsOthers)
{
    const struct { const char16_t *code; bool expected; } cases[] = {
        {u"IT60X0542811101000000123456", true},  {u"IT60 X054 2811 1010 0000 0123 456", true},
        {u"it60x0542811101000000123456", true},  {u"IT22P0000100002000000000003", true},
        {u"IT61X0542811101000000123456", false}, {u"IT60X0542811101000000123457", false},
        {u"", false},                            {u" -./ ", false},
        // Foreign digits are dropped, not read as the digit they look like.
        {u"IT60X054281110100000012345\u0666", false},
        {u"IT60X054281110100000012345\uff16", false},
    };
    CheckBancari bank;
    for (const auto &c : cases)
        EXPECT_EQ(bank.CheckIBAN(q(c.code)), c.expected) << q(c.code).toStdString();
}

// Check digits computed by python-stdnum (stdnum.iban.calc_check_digits); none of them comes
// from this code.
const struct { const char *bban; const char *checkDigits; } kStdnumIbans[] = {
    {"H41672110688VS34DE37T1W", "79"}, {"R752316374227RH0KF206X3", "30"},
    {"D7363100029N9I2EBH5027X", "42"}, {"J7568345671Y7KM225J8T7M", "59"},
    {"C876346376147JV3C76YPT8", "95"}, {"K93448106498NL8JS05U0J5", "02"},
    {"A9893499975242545387944", "07"}, {"T4147379123142026998840", "16"},
};

TEST(CheckBancari, ReproducesAndAcceptsStdnumIbansAndRejectsEachWithOneCharacterChanged)
{
    CheckBancari bank;
    int position = 0;
    for (const auto &c : kStdnumIbans) {
        const QString iban = QStringLiteral("IT") + c.checkDigits + c.bban;
        SCOPED_TRACE(iban.toStdString());
        EXPECT_EQ(bank.CalcolaCheckIBAN("IT", c.bban), c.checkDigits);
        EXPECT_TRUE(bank.CheckIBAN(iban));
        // A different position each time; digit for digit, letter for letter.
        QString changed = iban;
        const qsizetype i = (position += 5) % iban.size();
        const char16_t old = iban.at(i).unicode();
        changed[i] = iban.at(i).isDigit() ? QChar(u'0' + (old - u'0' + 3) % 10) : QChar(u'A' + (old - u'A' + 7) % 26);
        EXPECT_FALSE(bank.CheckIBAN(changed)) << changed.toStdString();
    }
}

// Other moduli, computed with Python's whole numbers: check digits Divisore + 1 - remainder,
// with at least two digits, and a code is valid when it leaves remainder 1.
TEST(CheckBancari, CheckDigitsAndCheckFollowTheDivisore)
{
    const struct { std::int16_t divisor; const char *iban; } computed[] = {
        {7, "IT08X0542811101000000123456"},    {96, "IT45X0542811101000000123456"},
        {1000, "IT101X0542811101000000123456"}, {32767, "IT23108X0542811101000000123456"},
    };
    for (const auto &c : computed) {
        CheckBancari bank;
        bank.setDivisore(c.divisor);
        EXPECT_EQ(bank.CalcolaIBAN("IT", "X0542811101000000123456"), c.iban) << c.divisor;
        EXPECT_EQ(bank.CheckIBAN(c.iban), c.divisor < 100) << c.divisor; // longer check digits are no IBAN
    }
    const struct { std::int16_t divisor; const char *code; bool valid; } checked[] = {
        {7, "IT60X0542811101000000123456", false}, {1, "IT60X0542811101000000123456", false},
        {32767, "DE50BEDPN0EBWN1566I1KFFRP2LBS0J95LM4UH88", true},
        {32767, "DE50BEDPN0EBWN1566I1KFFRP2LBS0J95LM4UH80", false},
    };
    for (const auto &c : checked) {
        CheckBancari bank;
        bank.setDivisore(c.divisor);
        EXPECT_EQ(bank.CheckIBAN(c.code), c.valid) << c.divisor << " " << c.code;
    }
}

} // namespace
