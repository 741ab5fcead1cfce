#include "CheckBancari.h"

#include "BankError.h"
#include "Funzioni.h"
#include "Lengths.h"

#include <optional>

#include <algorithm>
#include <string_view>

namespace {

constexpr std::u16string_view kDigits = u"0123456789";
constexpr std::u16string_view kCinSigns = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ-. ";
constexpr std::u16string_view kLetters = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::u16string_view kIbanCharacters = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// Values of a digit or sign at odd (1st, 3rd, ...) and even positions of the CIN check.
constexpr std::int16_t kOddValues[29] = {1,  0,  5,  7,  9,  13, 15, 17, 19, 21,
                                         2,  4,  18, 20, 11, 3,  6,  8,  12, 14,
                                         16, 10, 22, 25, 24, 23, 27, 28, 26};
constexpr std::int16_t kEvenValues[29] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,
                                          10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
                                          20, 21, 22, 23, 24, 25, 26, 27, 28};

// Upper-cases ASCII letters only: a whole-string upper-case mapping can turn one foreign
// letter into several ("ß" into "SS") or into an ASCII one, shifting or faking positions.
char16_t asciiUpper(char16_t u)
{
    return (u >= u'a' && u <= u'z') ? char16_t(u - (u'a' - u'A')) : u;
}

// Position k of a character in the CIN tables, or -1 when it is not allowed.
int cinIndex(QChar c)
{
    const char16_t u = asciiUpper(c.unicode());
    std::size_t k = kDigits.find(u);
    if (k == std::u16string_view::npos)
        k = kCinSigns.find(u);
    return k == std::u16string_view::npos ? -1 : int(k);
}

// Membership in kIbanCharacters for ASCII code points, built once from that text so the
// check of every character stays a single load.
struct IbanCharacterTable {
    bool member[128] = {};
    constexpr IbanCharacterTable()
    {
        for (char16_t c : kIbanCharacters)
            member[c] = true;
    }
};
constexpr IbanCharacterTable kIbanCharacterTable;

bool isIbanCharacter(char16_t upper)
{
    return upper < 128 && kIbanCharacterTable.member[upper];
}

// One normalised character (upper-case letter or digit) appended to a running number, a
// letter as its two digits. The number is reduced only when the next step could overflow,
// which keeps the divisions few; the remainder is the same as reducing at every digit.
std::uint64_t feed(std::uint64_t number, char16_t c, std::uint64_t divisor)
{
    constexpr std::uint64_t kReduceFrom = std::uint64_t(1) << 57;
    if (number >= kReduceFrom)
        number %= divisor;
    if (c >= u'0' && c <= u'9')
        return number * 10 + (c - u'0');
    return number * 100 + (c - u'A' + 10);
}

// The mod-97 remainder (any divisor) of a code read as ConvertiLettere writes it, without
// building that text: letters count as their two digits; nullopt for any other character.
std::optional<std::uint64_t> remainderOf(QStringView code, std::uint64_t divisor)
{
    std::uint64_t number = 0;
    for (QChar c : code) {
        const char16_t u = asciiUpper(c.unicode());
        if (!(u >= u'0' && u <= u'9') && !(u >= u'A' && u <= u'Z'))
            return std::nullopt;
        number = feed(number, u, divisor);
    }
    return number % divisor;
}

} // namespace

void CheckBancari::setAbi(const QString &vData) { mAbi = vData; }
QString CheckBancari::Abi() const { return mAbi; }
void CheckBancari::setCab(const QString &vData) { mCab = vData; }
QString CheckBancari::Cab() const { return mCab; }
void CheckBancari::setContoCorrente(const QString &vData) { mContoCorrente = vData; }
QString CheckBancari::ContoCorrente() const { return mContoCorrente; }
void CheckBancari::setCin(const QString &vData) { mCin = vData; }
QString CheckBancari::Cin() const { return mCin; }
void CheckBancari::setIBAN(const QString &vData) { mIBAN = vData; }
QString CheckBancari::IBAN() const { return mIBAN; }
void CheckBancari::setBBAN(const QString &vData) { mBBAN = vData; }
QString CheckBancari::BBAN() const { return mBBAN; }
void CheckBancari::setCheckDigitIBAN(const QString &vData) { mCheckDigitIBAN = vData; }
QString CheckBancari::CheckDigitIBAN() const { return mCheckDigitIBAN; }
void CheckBancari::setPaese(const QString &vData) { mPaese = vData; }
QString CheckBancari::Paese() const { return mPaese; }
void CheckBancari::setDivisore(std::int16_t vData) { mDivisore = vData; }
std::int16_t CheckBancari::Divisore() const { return mDivisore; }

QString CheckBancari::RiempiZeri(const QString &value, std::int16_t width)
{
    if (width <= 0)
        return QString();
    qsizetype first = 0;
    qsizetype last = value.size();
    while (first < last && value.at(first) == u' ')
        ++first;
    while (last > first && value.at(last - 1) == u' ')
        --last;
    return (QString(width, u'0') + value.mid(first, last - first)).right(width);
}

QString CheckBancari::NormalizzaContoCorrente(const QString &pContoCorrente) const
{
    QString account = pContoCorrente;
    account.remove(u' ');
    return RiempiZeri(account, bank::kAccountLength);
}

QString CheckBancari::CalcolaCin()
{
    setAbi(RiempiZeri(Abi(), 5));
    setCab(RiempiZeri(Cab(), 5));
    setContoCorrente(NormalizzaContoCorrente(ContoCorrente()));

    const QString s = Abi() + Cab() + ContoCorrente();
    std::int16_t sum = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const int k = cinIndex(s.at(i));
        if (k < 0)
            return QString();
        // i is 0-based, so an even i is an odd position.
        sum += (i % 2 == 0) ? kOddValues[k] : kEvenValues[k];
    }
    return QString(QChar(kCinSigns[sum % 26]));
}

bool CheckBancari::VerificaCin(const QString &cinCode)
{
    return CalcolaCin() == cinCode;
}

QString CheckBancari::CalcolaBBAN()
{
    if (!IBAN().isEmpty())
        return NormalizzaIBAN(IBAN()).mid(4);
    QString cin = Cin();
    if (cin.isEmpty())
        cin = CalcolaCin();
    return cin + RiempiZeri(Abi(), 5) + RiempiZeri(Cab(), 5)
        + NormalizzaContoCorrente(ContoCorrente());
}

QString CheckBancari::NormalizzaIBAN(const QString &pCodice) const
{
    QString result(pCodice.size(), Qt::Uninitialized);
    QChar *out = result.data();
    qsizetype kept = 0;
    for (QChar c : pCodice) {
        const char16_t u = asciiUpper(c.unicode());
        if (isIbanCharacter(u))
            out[kept++] = QChar(u);
    }
    result.truncate(kept);
    return result;
}

QString CheckBancari::ConvertiLettere(const QString &text)
{
    QString result;
    result.reserve(text.size() * 2);
    for (QChar c : text) {
        const std::size_t p = kLetters.find(asciiUpper(c.unicode()));
        if (p == std::u16string_view::npos)
            result.append(c);
        else
            result.append(QString::number(p + 10));
    }
    return result;
}

bool CheckBancari::VerificaFormatoIBAN(const QString &code)
{
    return !code.isEmpty();
}

QString CheckBancari::CalcolaIBAN(const QString &pPaese, const QString &pBBAN)
{
    const QString country = pPaese.isEmpty() ? Paese() : pPaese;
    QString bban = pBBAN;
    if (bban.isEmpty())
        bban = BBAN();
    if (bban.isEmpty())
        bban = CalcolaBBAN();
    const QString normalised = NormalizzaIBAN(bban);

    const QString code = country + QStringLiteral("00") + normalised;
    const QString rearranged = code.mid(4) + code.left(4);
    if (Divisore() <= 0)
        throw BankError(5, QStringLiteral("Il divisore deve essere un numero intero positivo"));
    const std::optional<std::uint64_t> remainder = remainderOf(rearranged, std::uint64_t(Divisore()));
    if (!remainder)
        throw BankError(kBankTypeMismatch,
                        QStringLiteral("Il codice del paese contiene caratteri non ammessi"));
    return country + QStringLiteral("%1").arg(Divisore() + 1 - int(*remainder), 2, 10, QChar(u'0'))
        + normalised;
}

QString CheckBancari::CalcolaCheckIBAN(const QString &pPaese, const QString &pBBAN)
{
    return CalcolaIBAN(pPaese, pBBAN).mid(2, 2);
}

bool CheckBancari::CheckIBAN(const QString &pIBAN) const
{
    if (pIBAN.isEmpty() || Divisore() <= 0)
        return false;
    const QString code = NormalizzaIBAN(pIBAN);
    if (!VerificaFormatoIBAN(code))
        return false;
    // The first four characters move to the end.
    const qsizetype head = std::min<qsizetype>(4, code.size());
    return remainderOf(code.mid(head) + code.left(head), std::uint64_t(Divisore())) == 1u;
}
