#pragma once

#include "CheckBancari.h"

// Test access to the private helpers of CheckBancari.
class CheckBancariInternals {
public:
    static QString convertiLettere(const QString &text) { return CheckBancari::ConvertiLettere(text); }
};
