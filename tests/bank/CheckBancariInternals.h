#pragma once

#include "CheckBancari.h"

// Test access to the private helpers of CheckBancari.
class CheckBancariInternals {
public:
    static QString riempiZeri(const QString &value, std::int16_t width)
    {
        return CheckBancari::RiempiZeri(value, width);
    }
    static QString convertiLettere(const QString &text) { return CheckBancari::ConvertiLettere(text); }
};
