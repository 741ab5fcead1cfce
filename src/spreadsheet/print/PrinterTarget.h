#pragma once

#include "spreadsheet/PrintTarget.h"

namespace host {

// Prints on the system's printers through QPrinter (CUPS on Linux), one job per PrintOut.
class PrinterTarget : public PrintTarget {
public:
    void print(const QString &printer, int copies, const std::vector<PrintedPage> &pages) override;
};

} // namespace host
