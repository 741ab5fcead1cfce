#include "QtPrinters.h"

#include <QPrinterInfo>

namespace platform {

QStringList QtPrinters::names() const
{
    return QPrinterInfo::availablePrinterNames();
}

QString QtPrinters::defaultName() const
{
    return QPrinterInfo::defaultPrinterName();
}

} // namespace platform
