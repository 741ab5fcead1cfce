#pragma once

#include "Book.h"
#include "SstWriter.h"

namespace xls {

// DIMENSIONS, then ROW records and cells in blocks of 32 rows: numbers as RK when exact,
// texts as LABELSST, runs of blanks as MULBLANK, formulas as read with their cell patched.
void writeRows(const Sheet &sheet, const StringPool &strings, const SstWriter &sst, Bytes &out);

// True while a formula cell still holds the formula's cached result. A value written over
// the cell without erasing it replaces the formula rather than being lost on save.
bool keepsFormula(const Cell &cell, const std::vector<RawRecord> &records, const StringPool &strings);

} // namespace xls
