#pragma once

#include <string>

namespace xls {

// A system error as users read it: Italian words for the common reasons, then the number,
// e.g. "permesso negato (errore di sistema 13)". Reasons not in the table keep the system's
// own words.
std::string systemErrorText(int err);

} // namespace xls
