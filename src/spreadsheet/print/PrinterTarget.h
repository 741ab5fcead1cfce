#pragma once

#include "spreadsheet/PrintTarget.h"

class QPrinter;

namespace host {

// Paints `pages` on `device` as PrintOut prints them: each page on its own paper and
// orientation, edge to edge. HostError naming `printer` when the device refuses or fails.
void paintPages(QPrinter &device, const std::vector<PrintedPage> &pages, const QString &printer);

// Prints on the system's printers through QPrinter (CUPS on Linux), one job per PrintOut.
class PrinterTarget : public PrintTarget {
public:
    void print(const QString &printer, int copies, const std::vector<PrintedPage> &pages) override;
};

} // namespace host
