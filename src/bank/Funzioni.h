#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Exact long division of a decimal digit string by a positive whole number.
// Returns {quotient, remainder} as decimal texts without leading zeros. Returns nothing
// when the dividend holds anything but the ASCII digits 0-9, or when the divisor is not
// the text of a whole number from 1 to 999999999999999999.
std::optional<QStringList> DividiStringa(const QString &dividend, const QString &divisor);
