#pragma once

#include "Book.h"
#include "spreadsheet/xls/container/StreamCrypt.h"

#include <span>

namespace xls {

// Parses a plain (already decrypted) BIFF8 Workbook stream. A FILEPASS record, if present,
// is skipped. Throws Error(Damaged) with record id and offset, Error(NotAWorkbook) when the
// stream is not BIFF8 (BIFF5 "Book" streams included). A stream still being decrypted is
// read as its `crypt` gets its records done.
Book readWorkbookStream(std::span<const std::uint8_t> stream, StreamCrypt *crypt = nullptr);

// The FILEPASS body of a stream (empty when the stream is not encrypted). Reads only the
// records before it, which stay in clear.
Bytes findFilepass(std::span<const std::uint8_t> stream);

} // namespace xls
