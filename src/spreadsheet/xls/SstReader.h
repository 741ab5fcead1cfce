#pragma once

#include "Book.h"
#include "RecordStream.h"

#include <vector>

namespace xls {

// Reads strings laid out over a record and its CONTINUE records: characters continued in a
// new record start with a fresh option byte (8 or 16 bit), everything else runs on.
class SstReader {
public:
    explicit SstReader(std::vector<RecordRef> segments, std::size_t skip = 0);

    std::size_t remaining() const { return remaining_; }
    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    void bytes(std::size_t n, Bytes *out); // out may be null: skip
    // One XLUnicodeRichExtendedString, appended to the pool; runs and phonetic data kept.
    std::uint32_t richString(StringPool &pool);
    // One XLUnicodeString (the STRING record of a formula).
    std::u16string plainString();

    // The SST: cstUnique strings after the 8-byte header, into an empty pool.
    static std::uint32_t readSst(std::vector<RecordRef> segments, StringPool &pool);

private:
    [[noreturn]] void truncated() const;
    bool nextSegment();
    template <typename Sink> void chars(std::size_t cch, bool highByte, Sink &&sink);

    std::vector<RecordRef> segs_;
    std::size_t seg_ = 0;
    std::size_t pos_ = 0;
    std::size_t remaining_ = 0;
};

} // namespace xls
