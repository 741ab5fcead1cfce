#pragma once

#include <QPixmap>

namespace app {

// The product's picture, drawn at run time: a ledger card with a "V".
QPixmap logoPixmap(int size);

} // namespace app
