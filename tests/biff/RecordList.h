#pragma once

#include "Book.h"

#include <vector>

// A stream as a plain list of records, for building and breaking streams in tests.
namespace biff_test {

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

} // namespace biff_test
