// Pressing "Verifica": how the code is split, the message for each kind of code, and whether
// the archive is saved afterwards.
#include "BankWindow.h"

namespace {

struct Check {
    const char *name;
    QString iban; // the registry's IBAN field when the window opens
    QStringList steps;
    QStringList boxes;
    QString texts;        // txtCodice|txtStato|txtCheck|txtCin|txtAbi|txtCab|txtCC afterwards
    bool saved = true;
    QString focus = {};   // the control holding the focus afterwards, when it matters
};

const QString kIban = QStringLiteral("IT60X0542811101000000123456");
const QString kRight = QStringLiteral("-|Velmoro|Check IBAN digitat : Corretto");
const QString kWrong = QStringLiteral("-|Velmoro|Check IBAN digitato :  Errato");
const QString kWrongCin = QStringLiteral("-|Velmoro|Cin errato");
const QString kTooLong = QStringLiteral("-|Velmoro|Lunghezza errata");
const QString kBadCountry = QStringLiteral("!|Velmoro|Il Codice Stato \"%1\" contiene caratteri non ammessi: scrivere "
                                           "solo lettere e cifre, senza spazi (ad esempio IT).\n"
                                           "La verifica non è stata eseguita.");
const QStringList kParts = {QStringLiteral("set txtAbi 5428"), QStringLiteral("set txtCab 11101"),
                            QStringLiteral("set txtCC 123456")};

void PrintTo(const Check &check, std::ostream *out)
{
    *out << check.name;
}

class Checks : public BankWindow, public testing::WithParamInterface<Check> {};

TEST_P(Checks, ShowTheirMessageAndSaveOnlyWhenCompleted)
{
    const Check &c = GetParam();
    open(c.iban);

    act(c.steps);

    EXPECT_EQ(boxes(), c.boxes);
    EXPECT_EQ(texts(), c.texts);
    if (!c.focus.isEmpty())
        EXPECT_EQ(QApplication::focusWidget(), text(c.focus));
    EXPECT_EQ(savedSinceOpening(), c.saved);
    EXPECT_FALSE(run->program.ended());
}

INSTANTIATE_TEST_SUITE_P(BankWindow, Checks, testing::Values(
    Check{"A27CharacterIbanIsSplitAndCorrect", kIban, {"Verifica"}, {kRight},
          kIban + "|IT|60|X|05428|11101|000000123456"},
    Check{"CheckDigits61AreWrong", "IT61X0542811101000000123456", {"Verifica"}, {kWrong},
          "IT61X0542811101000000123456|IT|61|X|05428|11101|000000123456"},
    Check{"AWrongCinLetterIsNotCorrect", "IT60W0542811101000000123456", {"Verifica"}, {kWrongCin},
          "IT60W0542811101000000123456|IT|60|W|05428|11101|000000123456"},
    Check{"ACinTypedByHandIsCheckedToo", {}, kParts + QStringList{"set txtCheck 60", "set txtCin Z", "Verifica"},
          {kWrongCin}, "|IT|60|Z|5428|11101|123456"},
    Check{"LowerCaseIsNoFault", {}, {"set txtCodice it60x0542811101000000123456", "Verifica"}, {kRight},
          "it60x0542811101000000123456|it|60|x|05428|11101|000000123456"},
    Check{"PartsWithoutLeadingZerosAreCorrect", {}, kParts + QStringList{"set txtCheck 60", "Verifica"}, {kRight},
          "|IT|60||5428|11101|123456"},
    Check{"PartsWithoutLeadingZerosGiveTheZeroFilledCheckDigits", {}, kParts + QStringList{"pick optCalcolo", "Verifica"},
          {}, "|IT|60||5428|11101|123456"},
    Check{"SpacesTypedStopAt27AndNothingIsSplit", {}, {"type txtCodice IT60 X054 2811 1010 0000 0123 456", "Verifica"},
          {kWrong}, "IT60 X054 2811 1010 0000 01|IT|||||"},
    Check{"AnAccountOf13IsRefused", {}, {"set txtCC 0000001234567", "Verifica"}, {kTooLong},
          "|IT|||||0000001234567", false, "txtCC"},
    Check{"TwelveDigitsAndASpaceAreRefused", {}, {"set txtCC 000000 123456", "Verifica"}, {kTooLong},
          "|IT|||||000000 123456", false, "txtCC"},
    Check{"ACodeOf23RewritesTheAccountFirst", {}, {"set txtCC 0000001234567", "set txtCheck 60",
          "set txtCodice X0542811101000000123456", "Verifica"}, {kRight},
          "X0542811101000000123456|IT|60|X|05428|11101|000000123456"},
    Check{"AfterPulisciTheCountryIsEmpty", kIban, QStringList{"Pulisci"} + kParts + QStringList{"set txtCheck 60", "Verifica"},
          {kWrong}, "||60||5428|11101|123456"},
    Check{"ACountryWithATrailingBlankIsRefused", {}, kParts + QStringList{"set txtStato IT ", "Verifica"},
          {kBadCountry.arg("IT ")}, "|IT |||5428|11101|123456", false, "txtStato"},
    Check{"ACountryWithPunctuationIsRefused", {}, kParts + QStringList{"set txtStato I.", "Verifica"},
          {kBadCountry.arg("I.")}, "|I.|||5428|11101|123456", false, "txtStato"},
    Check{"TheCinAloneIsComputed", {}, kParts + QStringList{"pick optBBAN", "pick optCalcolo", "Verifica"}, {},
          "|IT||X|5428|11101|123456"},
    Check{"TheCinAloneIsCorrect", kIban, {"pick optBBAN", "Verifica"}, {"-|Velmoro|Cin corretto"},
          kIban + "|IT|60|X|05428|11101|000000123456"},
    Check{"TheCinAloneIsCaseSensitive", {}, kParts + QStringList{"pick optBBAN", "set txtCin x", "Verifica"},
          {kWrongCin}, "|IT||x|5428|11101|123456"}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
