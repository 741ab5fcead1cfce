#pragma once

#include "BiffPrintArea.h"
#include "Book.h"

#include <optional>
#include <vector>

// The globals' NAME, SUPBOOK and EXTERNSHEET records, as far as a sheet's Print_Area needs them.
namespace xls {

struct Xti {
    std::uint16_t supBook = 0, first = 0, last = 0;
};

// EXTERNSHEET entries (the first EXTERNSHEET record of the globals).
std::vector<Xti> externSheets(const std::vector<RawRecord> &globals);
// A SUPBOOK referring to this workbook's own sheets.
bool isSelfSupBook(const RawRecord &supBook);

struct PrintAreaName {
    std::uint16_t sheet = 0;           // 0-based
    std::optional<CellArea> area;      // set when the formula is one area on that sheet
    bool legacy = false;               // LibreOffice's companion name "Excel_BuiltIn_Print_Area"
};
// The sheet and area of a builtin Print_Area NAME, or of the sheet-local
// "Excel_BuiltIn_Print_Area" LibreOffice writes next to it; nullopt for any other name.
std::optional<PrintAreaName> printAreaName(const RawRecord &name, const std::vector<Xti> &xtis);
// The same NAME with another formula.
RawRecord withFormula(const RawRecord &name, const Bytes &rgce);
// The globals with each sheet's Print_Area name as its page setup has it: rewritten, dropped
// when cleared, or added with the SUPBOOK and EXTERNSHEET entries it refers to.
std::vector<RawRecord> withPrintAreaNames(const std::vector<RawRecord> &globals, const std::vector<Sheet> &sheets);
// A builtin Print_Area NAME for a sheet, its area on EXTERNSHEET entry ixti.
RawRecord makePrintAreaName(std::uint16_t sheet, std::uint16_t ixti, const CellArea &area);

} // namespace xls
