#pragma once

#include "Book.h"
#include "SstWriter.h"

namespace xls {

// DIMENSIONS, then ROW records and cells in blocks of 32 rows: numbers as RK when exact,
// texts as LABELSST, runs of blanks as MULBLANK, formulas as read with their cell patched.
void writeRows(const Sheet &sheet, const StringPool &strings, const SstWriter &sst, Bytes &out);

} // namespace xls
