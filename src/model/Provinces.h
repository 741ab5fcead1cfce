#pragma once

#include <QStringView>

namespace model {

// True for the two-letter sigla of an Italian province or metropolitan city, or "EE" (abroad),
// in capitals.
bool isProvinceCode(QStringView sigla);

} // namespace model
