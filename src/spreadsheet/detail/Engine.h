#pragma once

#include "spreadsheet/xls/container/Error.h"
#include "spreadsheet/HostError.h"
#include "spreadsheet/xls/XlsFile.h"

#include <QString>

// The engine behind the host's objects, for the host's own sources: not part of its public
// interface, and usable only where the engine library is linked.
namespace host {

class Workbook;
class Worksheet;

namespace detail {

struct WorkbookFile {
    xls::XlsFile xls;
};

struct Engine {
    static xls::XlsFile &file(const Workbook &book); // HostError once the workbook is closed
    static xls::Sheet &sheet(const Worksheet &sheet);
    static xls::Book &book(const Worksheet &sheet);
};

// An engine error opening `path`, as the host reports it.
HostError openError(const xls::Error &error, const QString &path);

} // namespace detail
} // namespace host
