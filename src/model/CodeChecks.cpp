#include "model/CodeChecks.h"

#include "archive/Columns.h"
#include "bank/CheckBancari.h"
#include "bank/Lengths.h"
#include "model/Provinces.h"

#include <algorithm>
#include <string_view>

namespace model {

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isLetter(QChar c) { return c >= u'A' && c <= u'Z'; }
bool allDigits(QStringView text) { return std::all_of(text.begin(), text.end(), isDigit); }

// The code without any blank, ASCII letters in capitals, and whether blanks stood inside,
// which the length messages then mention (a field cut at its limit after a paste in groups
// looks full).
struct Compacted {
    QString code;
    bool hadBlanks;
};

Compacted compact(const QString &text)
{
    const QString trimmed = text.trimmed();
    QString code;
    code.reserve(trimmed.size());
    for (QChar c : trimmed) {
        if (c.isSpace())
            continue;
        code.append(c >= u'a' && c <= u'z' ? QChar(c.unicode() - u'a' + u'A') : c);
    }
    return {code, code.size() != trimmed.size()};
}

QString lengthMessage(const QString &message, bool hadBlanks)
{
    return hadBlanks ? message + QStringLiteral(" (spazi esclusi)") : message;
}

// Luhn over 11 digits: the check digit the first ten call for.
int vatCheckDigit(QStringView digits)
{
    int sum = 0;
    for (int i = 0; i < 10; ++i) {
        int d = digits[i].unicode() - u'0';
        if (i % 2 == 1) {
            d *= 2;
            if (d > 9)
                d -= 9;
        }
        sum += d;
    }
    return (10 - sum % 10) % 10;
}

// Eleven digits as a partita IVA: a serial that is not all zeros, the code of an office that
// gives them out (digits 8-10), the check digit.
QString vatProblem(QStringView digits, const QString &field)
{
    if (digits.first(7) == u"0000000")
        return field + QStringLiteral("le prime 7 cifre non possono essere tutte zero");
    const int office = digits.sliced(7, 3).toInt();
    if (!(office >= 1 && office <= 100) && office != 120 && office != 121 && office != 888 && office != 999)
        return field + QStringLiteral("codice dell'ufficio (cifre 8-10) inesistente");
    const int check = vatCheckDigit(digits);
    if (digits[10] != QChar(u'0' + check))
        return field + QStringLiteral("la cifra di controllo dovrebbe essere %1").arg(check);
    return {};
}

constexpr std::u16string_view kMonths = u"ABCDEHLMPRST";
// Letters that stand for the digits 0-9 when two people would otherwise share a code (omocodia).
constexpr std::u16string_view kOmocodia = u"LMNPQRSTUV";
// 0-based positions of the codice fiscale that hold digits (or their omocodia letters).
constexpr bool kDigitAt[16] = {false, false, false, false, false, false, true, true,
                               false, true,  true,  false, true,  true,  true, false};
// Values of digits and letters at odd positions of the check: digit d as the d-th letter.
constexpr int kOddValues[26] = {1,  0,  5,  7,  9,  13, 15, 17, 19, 21, 2,  4,  18,
                                20, 11, 3,  6,  8,  12, 14, 16, 10, 22, 25, 24, 23};

int digitValue(QChar c)
{
    if (isDigit(c))
        return c.unicode() - u'0';
    return int(kOmocodia.find(c.unicode()));
}

QChar checkCharacter(QStringView code)
{
    int sum = 0;
    for (int i = 0; i < 15; ++i) {
        const QChar c = code[i];
        const int k = isDigit(c) ? c.unicode() - u'0' : c.unicode() - u'A';
        sum += i % 2 == 0 ? kOddValues[k] : k;
    }
    return QChar(u'A' + sum % 26);
}

// Day of birth, plus 40 for women, against the month's length; the year's two digits decide
// 29 February, as 2000 was a leap year.
bool dayExists(int day, int month, int year)
{
    constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (day > 40)
        day -= 40;
    const int last = month == 1 && year % 4 != 0 ? 28 : kDays[month];
    return day >= 1 && day <= last;
}

QString personProblem(QStringView code)
{
    const QString field = QStringLiteral("Codice fiscale: ");
    for (int i = 0; i < 16; ++i) {
        if (kDigitAt[i] && digitValue(code[i]) < 0)
            return field + QStringLiteral("il %1° carattere dovrebbe essere una cifra").arg(i + 1);
        if (!kDigitAt[i] && !isLetter(code[i]))
            return field + QStringLiteral("il %1° carattere dovrebbe essere una lettera").arg(i + 1);
    }
    const auto month = kMonths.find(code[8].unicode());
    if (month == std::u16string_view::npos)
        return field + QStringLiteral("il 9° carattere non è la lettera di un mese");
    const int year = digitValue(code[6]) * 10 + digitValue(code[7]);
    const int day = digitValue(code[9]) * 10 + digitValue(code[10]);
    if (!dayExists(day, int(month), year))
        return field + QStringLiteral("giorno di nascita (caratteri 10-11) inesistente");
    const QChar check = checkCharacter(code);
    if (code[15] != check)
        return field + QStringLiteral("il carattere di controllo dovrebbe essere %1").arg(check);
    return {};
}

} // namespace

QString checkCodiceFiscale(const QString &text)
{
    const auto [code, hadBlanks] = compact(text);
    if (code.isEmpty())
        return {};
    if (code.size() == 16)
        return personProblem(code);
    if (code.size() == 11 && allDigits(code))
        return vatProblem(code, QStringLiteral("Codice fiscale: "));
    return lengthMessage(QStringLiteral("Codice fiscale: 16 caratteri richiesti (11 cifre per le società)"),
                         hadBlanks);
}

QString checkPartitaIva(const QString &text)
{
    const auto [code, hadBlanks] = compact(text);
    if (code.isEmpty())
        return {};
    if (code.size() != 11 || !allDigits(code))
        return lengthMessage(QStringLiteral("Partita IVA: 11 cifre richieste"), hadBlanks);
    return vatProblem(code, QStringLiteral("Partita IVA: "));
}

QString checkIban(const QString &text)
{
    const auto [code, hadBlanks] = compact(text);
    if (code.isEmpty())
        return {};
    if (!std::all_of(code.begin(), code.end(), [](QChar c) { return isLetter(c) || isDigit(c); }))
        return QStringLiteral("IBAN: solo lettere e cifre ammesse");
    const bool italian = code.startsWith(u"IT");
    if (italian && code.size() != bank::kIbanLength)
        return lengthMessage(QStringLiteral("IBAN: 27 caratteri richiesti per un IBAN italiano"), hadBlanks);
    if (code.size() < 15 || code.size() > 34)
        return lengthMessage(QStringLiteral("IBAN: da 15 a 34 caratteri richiesti"), hadBlanks);
    if (!isLetter(code[0]) || !isLetter(code[1]) || !isDigit(code[2]) || !isDigit(code[3]))
        return QStringLiteral("IBAN: deve iniziare con la sigla del paese e 2 cifre (es. IT60)");
    CheckBancari bank;
    if (!bank.CheckIBAN(code))
        return QStringLiteral("IBAN: le cifre di controllo non corrispondono al codice");
    if (italian) {
        bank.setAbi(code.sliced(5, 5));
        bank.setCab(code.sliced(10, 5));
        bank.setContoCorrente(code.sliced(15));
        if (!bank.VerificaCin(code.sliced(4, 1)))
            return QStringLiteral("IBAN: il CIN non corrisponde al codice");
    }
    return {};
}

QString checkCap(const QString &text)
{
    const QString cap = text.trimmed();
    if (cap.isEmpty() || (cap.size() == 5 && allDigits(cap)))
        return {};
    return QStringLiteral("CAP: 5 cifre richieste");
}

QString checkProvincia(const QString &text)
{
    const QString sigla = text.trimmed();
    if (sigla.isEmpty() || isProvinceCode(sigla))
        return {};
    return QStringLiteral("Provincia: sigla non riconosciuta");
}

QString checkField(int number, const QString &text)
{
    switch (number) {
    case archive::kCapColumn:
        return checkCap(text);
    case archive::kProvinceColumn:
        return checkProvincia(text);
    case archive::kCodiceFiscaleColumn:
        return checkCodiceFiscale(text);
    case archive::kPartitaIvaColumn:
        return checkPartitaIva(text);
    case archive::kIbanColumn:
        return checkIban(text);
    default:
        return {};
    }
}

} // namespace model
