#pragma once

#include <QString>
#include <stdexcept>

// Raised when a bank computation would otherwise have to invent a result, e.g. an IBAN
// whose country code holds characters that are neither letters nor digits.
class BankError : public std::runtime_error {
public:
    BankError(int number, const QString &description)
        : std::runtime_error(description.toStdString()), number_(number),
          description_(description) {}

    int number() const { return number_; }
    const QString &description() const { return description_; }

private:
    int number_;
    QString description_;
};

// The number a failed conversion of text to a number carries ("type mismatch").
constexpr int kBankTypeMismatch = 13;
