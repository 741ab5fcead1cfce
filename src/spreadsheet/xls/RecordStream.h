#pragma once

#include "spreadsheet/xls/container/StreamCrypt.h"

#include <cstdint>
#include <span>

namespace xls {

struct RecordRef {
    std::uint16_t type = 0;
    std::size_t offset = 0;                 // of the record header in the stream
    std::span<const std::uint8_t> body;
    std::size_t end() const { return offset + 4 + body.size(); }
};

// Walks the records of a stream between two offsets. A header or body running past the
// limit is Damaged, so a walk always moves forward and ends. A stream still being decrypted
// comes with its StreamCrypt, and each record is read once its bytes are done.
class RecordStream {
public:
    RecordStream(std::span<const std::uint8_t> stream, std::size_t start, std::size_t limit,
                 StreamCrypt *crypt = nullptr)
        : s_(stream), pos_(start), limit_(limit < stream.size() ? limit : stream.size()), crypt_(crypt) {}

    bool atEnd() const { return pos_ >= limit_; }
    std::size_t pos() const { return pos_; }
    // The next record; throws Damaged when it does not fit before the limit.
    RecordRef next();
    // The type of the next record; false at the end or when it does not fit.
    bool peek(std::uint16_t &type) const;

private:
    void ready(std::size_t end) const
    {
        if (crypt_)
            crypt_->require(pos_, end);
    }

    std::span<const std::uint8_t> s_;
    std::size_t pos_;
    std::size_t limit_;
    StreamCrypt *crypt_;
};

} // namespace xls
