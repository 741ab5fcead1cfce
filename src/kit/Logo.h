#pragma once

#include <QPixmap>

namespace kit {

// The product's picture, drawn at run time: a ledger card with a "V".
QPixmap logoPixmap(int size);

} // namespace kit
