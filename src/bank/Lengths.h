#pragma once

// An Italian IBAN and the account number at its end, in characters.
namespace bank {

constexpr int kIbanLength = 27;
constexpr int kAccountLength = 12;

} // namespace bank
