#pragma once

#include "Book.h"

#include <span>

namespace xls {

// Serialises the book as a plain BIFF8 Workbook stream. With a non-empty filepassBody a
// FILEPASS record is placed right after the first BOF and every absolute offset
// (BOUNDSHEET, EXTSST and its CONTINUEs) accounts for it; the caller then encrypts.
Bytes writeWorkbookStream(const Book &book, std::span<const std::uint8_t> filepassBody = {});

// The body of a BIFF8 BOF opening a substream of this type (rec::BofGlobals, rec::BofWorksheet).
Bytes bofBody(std::uint16_t substreamType);

} // namespace xls
