#pragma once

#include "Book.h"
#include "spreadsheet/xls/container/CompoundFile.h"
#include "spreadsheet/xls/container/Rc4Cipher.h"

#include <optional>
#include <span>
#include <string>

namespace xls {

// An opened .xls: the book, the container's other streams, and how it was encrypted, so that
// saving writes it back with the same scheme and password.
struct XlsFile {
    Book book;
    Container container;             // the Workbook stream's data is dropped after parsing
    std::optional<Scheme> scheme;    // empty: the file was not encrypted and stays so
    std::u16string password;         // the password that opened it; empty when not encrypted
};

// Open from bytes (fuzzed) or from a path. Wrong password, damaged or foreign data: Error.
// A password given for an unencrypted file is ignored.
XlsFile openXls(std::span<const std::uint8_t> bytes, std::u16string_view password);
// A missing or unreadable file: Error(Io) naming the file.
XlsFile openXlsFile(const std::string &path, std::u16string_view password);
// A new file around a book (Excel's root CLSID, a Workbook stream only): encrypted with
// RC4 1.1 when a password is given.
XlsFile newXlsFile(Book book, std::u16string_view password);
// Atomic save: a temporary file in the same folder, flushed, renamed over `path`; an existing
// file keeps its mode. With CreateOnly a file already at `path` makes the save fail. RC4
// files are written as RC4 1.1, CryptoAPI files as CryptoAPI 4.2 with a 128-bit key, both
// with a fresh salt. On failure the old file is untouched and Error(Io) is thrown.
void saveXlsFile(const XlsFile &file, const std::string &path, SaveMode mode = SaveMode::Replace);

} // namespace xls
