#pragma once

#include "Book.h"

#include <cstring>
#include <string_view>

namespace xls {

// Little-endian appends to a byte vector.
class ByteWriter {
public:
    explicit ByteWriter(Bytes &out) : out_(out) {}

    void u8(std::uint8_t v) { out_.push_back(v); }
    void u16(std::uint16_t v)
    {
        out_.push_back(static_cast<std::uint8_t>(v));
        out_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v)
    {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void f64(double v)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &v, 8);
        u32(static_cast<std::uint32_t>(bits));
        u32(static_cast<std::uint32_t>(bits >> 32));
    }
    void bytes(const std::uint8_t *p, std::size_t n) { out_.insert(out_.end(), p, p + n); }
    void bytes(const Bytes &b) { out_.insert(out_.end(), b.begin(), b.end()); }
    void zeros(std::size_t n) { out_.insert(out_.end(), n, 0); }
    // The characters of a string, 8-bit when every one fits (option byte not included).
    static bool fitsCompressed(std::u16string_view s)
    {
        for (char16_t c : s)
            if (c > 0xFF)
                return false;
        return true;
    }
    void chars(std::u16string_view s, bool compressed)
    {
        if (compressed) {
            for (char16_t c : s)
                out_.push_back(static_cast<std::uint8_t>(c));
        } else {
            for (char16_t c : s)
                u16(c);
        }
    }
    // XLUnicodeString: cch u16, option byte, characters.
    void unicodeString(std::u16string_view s)
    {
        const bool compressed = fitsCompressed(s);
        u16(static_cast<std::uint16_t>(s.size()));
        u8(compressed ? 0 : 1);
        chars(s, compressed);
    }
    // ShortXLUnicodeString: cch u8, option byte, characters.
    void shortUnicodeString(std::u16string_view s)
    {
        const bool compressed = fitsCompressed(s);
        u8(static_cast<std::uint8_t>(s.size()));
        u8(compressed ? 0 : 1);
        chars(s, compressed);
    }
    void record(std::uint16_t type, const Bytes &body)
    {
        u16(type);
        u16(static_cast<std::uint16_t>(body.size()));
        bytes(body);
    }
    std::size_t size() const { return out_.size(); }
    Bytes &out() { return out_; }

private:
    Bytes &out_;
};

} // namespace xls
