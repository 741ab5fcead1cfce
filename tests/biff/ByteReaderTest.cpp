#include "spreadsheet/xls/ByteReader.h"
#include "RecordList.h"

#include <gtest/gtest.h>

using namespace xls;

namespace {

std::string codes(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text)
        out += std::to_string(unsigned(c)) + ",";
    return out;
}

struct ReadCase {
    const char *what;
    Bytes body; // exactly the bytes the read takes
    std::function<std::string(ByteReader &)> read;
    std::string value;
};

} // namespace

// Each read takes little-endian fields up to the very last byte of a record body. With one
// byte less it throws Damaged naming the record and its offset, and reads nothing beyond the
// body: the bodies live in heap blocks of their exact size, so a sanitizer build sees any
// over-read of even one byte.
TEST(BiffByteReader, ReadsUpToTheLastByteOfARecordAndNotOneByteFurther)
{
    const ReadCase cases[] = {
        {"u8", {0xAB}, [](ByteReader &r) { return std::to_string(r.u8()); }, "171"},
        {"u16", {0x34, 0x12}, [](ByteReader &r) { return std::to_string(r.u16()); }, "4660"},
        {"u32", {0x78, 0x56, 0x34, 0x92}, [](ByteReader &r) { return std::to_string(r.u32()); }, "2452903544"},
        {"f64", {0, 0, 0, 0, 0, 0, 0xF8, 0xBF}, [](ByteReader &r) { return std::to_string(r.f64()); }, "-1.500000"},
        {"take", {1, 2, 3}, [](ByteReader &r) { const auto *p = r.take(3); return codes(std::u16string(p, p + 3)); }, "1,2,3,"},
        {"skip then u8", {9, 9, 7}, [](ByteReader &r) { r.skip(2); return std::to_string(r.u8()); }, "7"},
        {"16-bit characters", {0xAC, 0x20, 0x41, 0x00}, [](ByteReader &r) { return codes(r.chars(2, true)); },
         "8364,65,"},
        {"8-bit characters", {'a', 'b', 0xE0}, [](ByteReader &r) { return codes(r.chars(3, false)); }, "97,98,224,"},
        {"string", {2, 0, 0, 'o', 'k'}, [](ByteReader &r) { return codes(r.unicodeString()); }, "111,107,"},
        {"16-bit string", {1, 0, 1, 0xAC, 0x20}, [](ByteReader &r) { return codes(r.unicodeString()); }, "8364,"},
        {"short string", {2, 0, 'o', 'k'}, [](ByteReader &r) { return codes(r.shortUnicodeString()); }, "111,107,"},
    };
    for (const ReadCase &c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes whole(c.body);
        ByteReader reader(whole, 0x00FD, 1234);
        EXPECT_EQ(c.read(reader), c.value);
        EXPECT_EQ(reader.remaining(), 0u);

        const Bytes shortOne(c.body.begin(), c.body.end() - 1);
        ByteReader cut(shortOne, 0x00FD, 1234);
        const Error error = biff_test::thrown([&] { c.read(cut); });
        EXPECT_EQ(error.kind(), ErrorKind::Damaged);
        EXPECT_EQ(error.record(), 0x00FD);
        EXPECT_EQ(error.offset(), 1234u);
    }
}
