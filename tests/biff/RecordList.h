#pragma once

#include "spreadsheet/xls/Book.h"
#include "TestFiles.h"

#include <vector>

// Streams as plain lists of records, for building and breaking them in tests.
namespace biff_test {

using xls::test::fixture;
using xls::test::thrown;
inline xls::Bytes readWorkbookStream(const std::string &xlsPath) { return xls::test::workbookStream(xlsPath); }

struct Rec {
    std::uint16_t type;
    xls::Bytes body;
    std::size_t offset = 0; // where it was in the stream it came from
};

std::vector<Rec> splitRecords(const xls::Bytes &stream);
// Serialises the records; with fixSheets, each BOUNDSHEET points at the n-th substream BOF.
xls::Bytes joinRecords(const std::vector<Rec> &records, bool fixSheets = true);
std::size_t findRecord(const std::vector<Rec> &records, std::uint16_t type, std::size_t nth = 0);
// The records of the n-th substream after the globals (BOF..EOF).
std::vector<Rec> substream(const std::vector<Rec> &records, std::size_t n);

std::uint16_t le16(const xls::Bytes &b, std::size_t at);
std::uint32_t le32(const xls::Bytes &b, std::size_t at);
void put16(xls::Bytes &b, std::size_t at, std::uint16_t v);
void put32(xls::Bytes &b, std::size_t at, std::uint32_t v);

xls::Cell &addText(xls::Book &b, xls::Sheet &s, std::uint32_t row, std::uint16_t col, std::u16string_view text);
xls::Cell &addNumber(xls::Sheet &s, std::uint32_t row, std::uint16_t col, double v, std::uint16_t xf = 15);

} // namespace biff_test
