#pragma once

#include "spreadsheet/Application.h"

#include <QString>

// The registry for the accountant: CSV as Italian spreadsheet users open it.
namespace archive {

// One cell as a CSV field. A text that a spreadsheet would take for a number, a date or a
// formula ("0612345", "1.000", "+39 06 1234567", "=A1") comes as a formula giving that text
// (="0612345"), so that it opens as the same text; a field holding ; , " or a line break is
// quoted, its quotes doubled.
QString csvField(const QString &text, host::ValueType type);

struct CsvExport {
    int subjects = 0;
    QString problem; // why nothing was written, in Italian; "" once the file is written
};
// Writes the registry sheet of the active workbook as CSV to `path`, a whole file or none: a
// UTF-8 byte-order mark, the header row 1, then each subject row (`subjectRows`), columns A..R
// as the host shows them, ';' between fields, CRLF after each line. A file already there is
// replaced only when `replace`, else refused.
CsvExport ExportRegistryCsv(host::Application &app, const QString &path, bool replace);

} // namespace archive
