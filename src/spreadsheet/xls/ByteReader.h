#pragma once

#include "spreadsheet/xls/container/Error.h"
#include "spreadsheet/xls/container/LittleEndian.h"

#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace xls {

// A Damaged error of the record layer, naming the record and the offset of its header.
[[noreturn]] void throwDamaged(std::uint16_t type, std::size_t offset, const std::string &what);

// Little-endian reads within one record body; reading past its end throws Damaged naming
// the record and its stream offset.
class ByteReader {
public:
    ByteReader(std::span<const std::uint8_t> body, std::uint16_t type, std::size_t offset)
        : p_(body.data()), n_(body.size()), type_(type), offset_(offset) {}

    std::size_t remaining() const { return n_ - pos_; }
    std::size_t pos() const { return pos_; }
    void need(std::size_t n) const
    {
        if (n > n_ - pos_)
            fail(n);
    }
    std::uint8_t u8()
    {
        need(1);
        return p_[pos_++];
    }
    std::uint16_t u16()
    {
        need(2);
        const std::uint16_t v = le16(p_ + pos_);
        pos_ += 2;
        return v;
    }
    std::uint32_t u32()
    {
        need(4);
        const std::uint32_t v = le32(p_ + pos_);
        pos_ += 4;
        return v;
    }
    double f64()
    {
        need(8);
        double v;
        std::memcpy(&v, p_ + pos_, 8);
        pos_ += 8;
        return v;
    }
    const std::uint8_t *take(std::size_t n)
    {
        need(n);
        const std::uint8_t *p = p_ + pos_;
        pos_ += n;
        return p;
    }
    void skip(std::size_t n) { take(n); }
    // Characters of an XLUnicodeString-like string after its cch and option byte.
    std::u16string chars(std::size_t cch, bool highByte)
    {
        const std::uint8_t *p = take(highByte ? cch * 2 : cch);
        std::u16string s(cch, u'\0');
        for (std::size_t i = 0; i < cch; ++i)
            s[i] = highByte ? le16(p + 2 * i) : p[i];
        return s;
    }
    // XLUnicodeString: cch u16, option byte, characters (rich/phonetic flags not allowed here).
    std::u16string unicodeString()
    {
        const std::uint16_t cch = u16();
        const std::uint8_t opt = u8();
        return chars(cch, opt & 0x01);
    }
    std::u16string shortUnicodeString()
    {
        const std::uint8_t cch = u8();
        const std::uint8_t opt = u8();
        return chars(cch, opt & 0x01);
    }

    [[noreturn]] void fail(std::size_t wanted) const;

private:
    const std::uint8_t *p_;
    std::size_t n_;
    std::size_t pos_ = 0;
    std::uint16_t type_;
    std::size_t offset_;
};

} // namespace xls
