#pragma once

#include "PrintedPage.h"

#include <vector>

namespace host {

// Where PrintOut sends its pages: the printer driver in the program, a recorder in tests.
class PrintTarget {
public:
    virtual ~PrintTarget() = default;
    // One job of `copies` copies on the named printer. HostError when there is no such
    // printer or the job cannot be sent.
    virtual void print(const QString &printer, int copies, const std::vector<PrintedPage> &pages) = 0;
};

} // namespace host
