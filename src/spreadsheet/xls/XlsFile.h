#pragma once

#include "Book.h"
#include "CompoundFile.h"
#include "Rc4Cipher.h"

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
    std::u16string password;
};

// Open from bytes (fuzzed) or from a path. Wrong password, damaged or foreign data: Error.
XlsFile openXls(std::span<const std::uint8_t> bytes, std::u16string_view password);
XlsFile openXlsFile(const std::string &path, std::u16string_view password);
// A new file around a book: encrypted with RC4 1.1 when a password is given.
XlsFile newXlsFile(Book book, std::u16string_view password);
// Atomic save: a temporary file in the same folder, flushed, renamed over `path`.
// On failure the old file is untouched and Error(Io) is thrown.
void saveXlsFile(const XlsFile &file, const std::string &path);

} // namespace xls
