#include "Funzioni.h"

#include <cstdint>

namespace {

constexpr std::uint64_t kLargestDivisor = 999'999'999'999'999'999ULL;

std::optional<std::uint64_t> parseDivisor(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        value = value * 10 + (u - u'0');
        if (value > kLargestDivisor)
            return std::nullopt;
    }
    if (value == 0)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<QStringList> DividiStringa(const QString &dividend, const QString &divisor)
{
    const std::optional<std::uint64_t> v = parseDivisor(divisor);
    if (!v)
        return std::nullopt;

    QString quotient;
    quotient.reserve(dividend.size());
    // The running remainder stays below v, so remainder * 10 + 9 fits in 64 bits for any
    // divisor of up to 18 digits and each quotient digit is between 0 and 9.
    std::uint64_t remainder = 0;
    for (QChar c : dividend) {
        const char16_t u = c.unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        const std::uint64_t x = remainder * 10 + (u - u'0');
        const std::uint64_t digit = x / *v;
        remainder = x - digit * *v;
        if (!quotient.isEmpty() || digit != 0)
            quotient.append(QChar(u'0' + char16_t(digit)));
    }
    if (quotient.isEmpty())
        quotient = QStringLiteral("0");
    // An empty dividend leaves no remainder text at all.
    const QString remainderText = dividend.isEmpty() ? QString() : QString::number(remainder);
    return QStringList{quotient, remainderText};
}
