#include "BiffReader.h"
#include "BiffWriter.h"
#include "Error.h"
#include "OleFiles.h"
#include "RecordList.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace xls;
using biff_test::Rec;

namespace {

const Bytes &smallStream()
{
    static const Bytes stream = biff_test::readWorkbookStream(biff_test::fixture("small_plain.xls"));
    return stream;
}

void put16(Bytes &b, std::size_t at, std::uint16_t v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(Bytes &b, std::size_t at, std::uint32_t v)
{
    put16(b, at, static_cast<std::uint16_t>(v));
    put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

std::string where(std::uint16_t type, std::size_t offset)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "record 0x%04X all'offset %zu", static_cast<unsigned>(type), offset);
    return buf;
}

struct BrokenCase {
    const char *name;
    std::function<Bytes()> make;
    ErrorKind kind;
    std::function<std::string(const Bytes &)> expectedWhere; // the record and offset named
};

// The offset of the n-th record of a type in a stream.
std::size_t offsetOf(const Bytes &stream, std::uint16_t type, std::size_t nth = 0)
{
    const auto recs = biff_test::splitRecords(stream);
    return recs[biff_test::findRecord(recs, type, nth)].offset;
}

std::size_t lastOffsetOf(const Bytes &stream, std::uint16_t type)
{
    std::size_t pos = 0, last = 0;
    while (pos + 4 <= stream.size()) {
        const std::uint16_t t = static_cast<std::uint16_t>(stream[pos] | stream[pos + 1] << 8);
        if (t == type)
            last = pos;
        pos += 4 + static_cast<std::size_t>(stream[pos + 2] | stream[pos + 3] << 8);
    }
    return last;
}

std::vector<Rec> smallRecords() { return biff_test::splitRecords(smallStream()); }

} // namespace

TEST(BiffBrokenStream, EachBrokenRecordGivesItsErrorNamingRecordAndOffset)
{
    const std::vector<BrokenCase> cases = {
        {"empty stream", [] { return Bytes{}; }, ErrorKind::NotAWorkbook, nullptr},
        {"BIFF5 BOF",
         [] {
             auto r = smallRecords();
             put16(r[0].body, 0, 0x0500);
             return biff_test::joinRecords(r);
         },
         ErrorKind::NotAWorkbook, [](const Bytes &) { return where(0x0809, 0); }},
        {"BIFF4 BOF",
         [] { return Bytes{0x09, 0x04, 0x06, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00}; },
         ErrorKind::NotAWorkbook, [](const Bytes &) { return where(0x0409, 0); }},
        {"first BOF opens a worksheet",
         [] {
             auto r = smallRecords();
             put16(r[0].body, 2, 0x0010);
             return biff_test::joinRecords(r);
         },
         ErrorKind::NotAWorkbook, [](const Bytes &) { return where(0x0809, 0); }},
        {"text file", [] { const std::string t = "ID;Tipo;Ragione sociale\n1;Cliente;Rossi\n"; return Bytes(t.begin(), t.end()); },
         ErrorKind::NotAWorkbook, nullptr},
        {"SST claims more strings than it holds",
         [] {
             auto r = smallRecords();
             put32(r[biff_test::findRecord(r, 0x00FC)].body, 4, 60);
             return biff_test::joinRecords(r);
         },
         ErrorKind::Damaged, [](const Bytes &s) { return where(0x00FC, offsetOf(s, 0x00FC)); }},
        {"SST cut short",
         [] {
             auto r = smallRecords();
             r[biff_test::findRecord(r, 0x00FC)].body.resize(100);
             return biff_test::joinRecords(r);
         },
         ErrorKind::Damaged, [](const Bytes &s) { return where(0x00FC, offsetOf(s, 0x00FC)); }},
        {"SST claims four billion strings",
         [] {
             auto r = smallRecords();
             put32(r[biff_test::findRecord(r, 0x00FC)].body, 4, 0xFFFFFFFF);
             return biff_test::joinRecords(r);
         },
         ErrorKind::Damaged, [](const Bytes &s) { return where(0x00FC, offsetOf(s, 0x00FC)); }},
        {"LABELSST index beyond the table",
         [] {
             auto r = smallRecords();
             put32(r[biff_test::findRecord(r, 0x00FD, 3)].body, 6, 41);
             return biff_test::joinRecords(r);
         },
         ErrorKind::Damaged, [](const Bytes &s) { return where(0x00FD, offsetOf(s, 0x00FD, 3)); }},
        {"record longer than the stream",
         [] {
             Bytes s = smallStream();
             put16(s, lastOffsetOf(s, 0x00FD) + 2, 5000);
             return s;
         },
         ErrorKind::Damaged, [](const Bytes &s) { return where(0x00FD, lastOffsetOf(s, 0x00FD)); }},
        {"BOUNDSHEET beyond the stream",
         [] {
             auto r = smallRecords();
             Bytes s = biff_test::joinRecords(r);
             put32(s, offsetOf(s, 0x0085, 1) + 4, static_cast<std::uint32_t>(s.size() + 100));
             return s;
         },
         ErrorKind::Damaged, [](const Bytes &s) { return where(0x0085, offsetOf(s, 0x0085, 1)); }},
        {"BOUNDSHEET into the globals",
         [] {
             Bytes s = smallStream();
             put32(s, offsetOf(s, 0x0085) + 4, 0);
             return s;
         },
         ErrorKind::Damaged, [](const Bytes &s) { return where(0x0085, offsetOf(s, 0x0085)); }},
        {"two sheets at the same offset",
         [] {
             Bytes s = smallStream();
             put32(s, offsetOf(s, 0x0085, 1) + 4, offsetOf(s, 0x0809, 1));
             return s;
         },
         ErrorKind::Damaged, [](const Bytes &s) { return where(0x0085, offsetOf(s, 0x0085, 1)); }},
        {"sheet offset not at a BOF",
         [] {
             Bytes s = smallStream();
             put32(s, offsetOf(s, 0x0085, 1) + 4, static_cast<std::uint32_t>(offsetOf(s, 0x0809, 2) + 20));
             return s;
         },
         ErrorKind::Damaged, nullptr},
        {"MULRK with a bad size",
         [] {
             auto r = smallRecords();
             const std::size_t at = biff_test::findRecord(r, 0x027E);
             r[at] = Rec{0x00BD, Bytes{0, 0, 0, 0, 0x16, 0, 2, 0, 0, 0, 0x16, 0, 2, 0, 0}};
             return biff_test::joinRecords(r);
         },
         ErrorKind::Damaged, [](const Bytes &s) { return where(0x00BD, offsetOf(s, 0x00BD)); }},
        {"MULRK columns that do not match its values",
         [] {
             auto r = smallRecords();
             const std::size_t at = biff_test::findRecord(r, 0x027E);
             r[at] = Rec{0x00BD, Bytes{0, 0, 0, 0, 0x16, 0, 2, 0, 0, 0, 0x16, 0, 2, 0, 0, 0, 9, 0}};
             return biff_test::joinRecords(r);
         },
         ErrorKind::Damaged, [](const Bytes &s) { return where(0x00BD, offsetOf(s, 0x00BD)); }},
        {"cell beyond column IV",
         [] {
             auto r = smallRecords();
             put16(r[biff_test::findRecord(r, 0x027E)].body, 2, 300);
             return biff_test::joinRecords(r);
         },
         ErrorKind::Damaged, [](const Bytes &s) { return where(0x027E, offsetOf(s, 0x027E)); }},
        {"XF shorter than its minimum",
         [] {
             auto r = smallRecords();
             r[biff_test::findRecord(r, 0x00E0, 4)].body.resize(12);
             return biff_test::joinRecords(r);
         },
         ErrorKind::Damaged, [](const Bytes &s) { return where(0x00E0, offsetOf(s, 0x00E0, 4)); }},
        {"globals without EOF",
         [] {
             auto r = smallRecords();
             r.resize(biff_test::findRecord(r, 0x000A));
             return biff_test::joinRecords(r, false);
         },
         ErrorKind::Damaged, [](const Bytes &s) { return where(0x000A, s.size()); }},
        {"sheet running into the next one without EOF",
         [] {
             auto r = smallRecords();
             r.erase(r.begin() + static_cast<std::ptrdiff_t>(biff_test::findRecord(r, 0x000A, 1)));
             return biff_test::joinRecords(r);
         },
         ErrorKind::Damaged, [](const Bytes &s) { return where(0x000A, offsetOf(s, 0x0809, 2)); }},
        {"FORMULA shorter than its minimum",
         [] {
             auto r = smallRecords();
             r[biff_test::findRecord(r, 0x027E)] = Rec{0x0006, Bytes{1, 0, 0, 0, 0x16, 0, 0, 0}};
             return biff_test::joinRecords(r);
         },
         ErrorKind::Damaged, [](const Bytes &s) { return where(0x0006, offsetOf(s, 0x0006)); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes stream = c.make();
        try {
            readWorkbookStream(stream);
            ADD_FAILURE() << "no error";
        } catch (const Error &e) {
            EXPECT_EQ(e.kind(), c.kind) << e.what();
            if (c.expectedWhere) {
                EXPECT_NE(std::string(e.what()).find(c.expectedWhere(stream)), std::string::npos)
                    << e.what() << " / expected " << c.expectedWhere(stream);
            }
        }
    }
}

TEST(BiffBrokenStream, StreamCutAtAnyOffsetGivesAnErrorOrTheWholeBook)
{
    const Bytes &full = smallStream();
    const std::size_t lastEof = full.size() - 4;
    for (std::size_t n = 0; n < full.size(); ++n) {
        const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        try {
            readWorkbookStream(cut);
            EXPECT_GE(n, lastEof + 4) << "a cut stream was read as whole at " << n;
        } catch (const Error &e) {
            EXPECT_TRUE(e.kind() == ErrorKind::Damaged || e.kind() == ErrorKind::NotAWorkbook) << n;
        }
    }
}

TEST(BiffBrokenStream, RandomlyCorruptedStreamsNeverEscapeAsAnythingButErrors)
{
    Book book = newBook(u"Velmoro");
    for (std::uint32_t i = 0; i < 400; ++i) {
        Cell &c = book.sheets[0].touch(i / 4, static_cast<std::uint16_t>(i % 4));
        c.kind = CellKind::Text;
        c.text = book.strings.add(std::u16string(1 + i % 90, static_cast<char16_t>(i % 3 ? u'a' + i % 26 : 0x20AC)));
    }
    book.sheets[0].page.printArea = u"A1:D100";
    const std::vector<Bytes> seeds{smallStream(), writeWorkbookStream(book)};
    std::mt19937 rng(20261206);
    std::size_t read = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes s = seeds[round % seeds.size()];
        const int flips = 1 + static_cast<int>(rng() % 8);
        for (int k = 0; k < flips; ++k) {
            const std::size_t at = rng() % s.size();
            switch (rng() % 3) {
            case 0: s[at] = static_cast<std::uint8_t>(rng()); break;
            case 1: s[at] = 0xFF; break;
            default: s[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8)); break;
            }
        }
        try {
            const Book b = readWorkbookStream(s);
            writeWorkbookStream(b); // whatever was read can be written
            ++read;
        } catch (const Error &) {
        }
    }
    EXPECT_GT(read, 0u);
}

TEST(BiffBrokenStream, ABuiltInNameWithoutItsCharacterIsKeptAndNotReadPast)
{
    auto r = smallRecords();
    const Bytes name = {0x20, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0}; // built-in, cch 0, itab 1
    r.insert(r.begin() + static_cast<std::ptrdiff_t>(biff_test::findRecord(r, 0x0085)), Rec{0x0018, name});
    const Book book = readWorkbookStream(biff_test::joinRecords(r));
    EXPECT_FALSE(book.sheets[0].page.printArea.has_value());
    EXPECT_EQ(std::count_if(book.globals.begin(), book.globals.end(),
                            [&](const RawRecord &g) { return g.type == 0x0018 && g.body == name; }),
              1);
}

TEST(BiffBrokenStream, AnEmptyFilepassIsDamagedRatherThanTakenForPlainText)
{
    auto r = smallRecords();
    r.insert(r.begin() + 1, Rec{0x002F, Bytes{}});
    try {
        findFilepass(biff_test::joinRecords(r));
        ADD_FAILURE() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(e.kind(), ErrorKind::Damaged);
        EXPECT_NE(std::string(e.what()).find("0x002F"), std::string::npos) << e.what();
    }
}
