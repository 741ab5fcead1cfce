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
        unsigned bits = 0; // without an early exit the loop runs in vector registers
        for (char16_t c : s)
            bits |= c;
        return bits <= 0xFF;
    }
    void chars(std::u16string_view s, bool compressed) { putChars(grow(compressed ? s.size() : 2 * s.size()), s, compressed); }
    static void putChars(std::uint8_t *p, std::u16string_view s, bool compressed)
    {
        if (compressed) {
            for (char16_t c : s)
                *p++ = static_cast<std::uint8_t>(c);
        } else {
            for (char16_t c : s) {
                put16(p, c);
                p += 2;
            }
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
    // Room for n bytes at the end, to be filled with put16/put32.
    std::uint8_t *grow(std::size_t n)
    {
        const std::size_t at = out_.size();
        out_.resize(at + n);
        return out_.data() + at;
    }
    static void put16(std::uint8_t *p, std::uint16_t v)
    {
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
    }
    static void put32(std::uint8_t *p, std::uint32_t v)
    {
        put16(p, static_cast<std::uint16_t>(v));
        put16(p + 2, static_cast<std::uint16_t>(v >> 16));
    }
    std::size_t size() const { return out_.size(); }
    Bytes &out() { return out_; }

private:
    Bytes &out_;
};

} // namespace xls
