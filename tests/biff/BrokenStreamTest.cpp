#include "BiffReader.h"
#include "BiffWriter.h"
#include "Error.h"
#include "OleFiles.h"
#include "RecordList.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace xls;
using biff_test::findRecord;
using biff_test::put16;
using biff_test::put32;
using biff_test::Rec;

namespace {

const Bytes &smallStream()
{
    static const Bytes stream = biff_test::readWorkbookStream(biff_test::fixture("small_plain.xls"));
    return stream;
}

std::vector<Rec> smallRecords() { return biff_test::splitRecords(smallStream()); }

// The small fixture's records after an edit.
Bytes edited(const std::function<void(std::vector<Rec> &)> &edit, bool fixSheets = true)
{
    auto r = smallRecords();
    edit(r);
    return biff_test::joinRecords(r, fixSheets);
}

std::size_t offsetOf(const Bytes &stream, std::uint16_t type, std::size_t nth = 0)
{
    const auto recs = biff_test::splitRecords(stream);
    return recs[findRecord(recs, type, nth)].offset;
}

// The small fixture's bytes after a raw edit at the n-th record of a type.
Bytes patched(std::uint16_t type, std::size_t nth, const std::function<void(Bytes &, std::size_t at)> &edit)
{
    Bytes s = smallStream();
    edit(s, offsetOf(s, type, nth));
    return s;
}

std::string where(std::uint16_t type, std::size_t offset)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "record 0x%04X all'offset %zu", static_cast<unsigned>(type), offset);
    return buf;
}

// The message names the n-th record of this type in the broken stream.
std::function<std::string(const Bytes &)> at(std::uint16_t type, std::size_t nth = 0)
{
    return [=](const Bytes &s) { return where(type, offsetOf(s, type, nth)); };
}

} // namespace

TEST(BiffBrokenStream, EachBrokenRecordGivesItsErrorNamingRecordAndOffset)
{
    const Bytes mulrk{0, 0, 0, 0, 0x16, 0, 2, 0, 0, 0, 0x16, 0, 2, 0, 0};
    Bytes mulrkWrongLast = mulrk;
    mulrkWrongLast.insert(mulrkWrongLast.end(), {0, 9, 0});
    std::size_t lastLabel = 0;
    for (const Rec &r : smallRecords())
        lastLabel = r.type == 0x00FD ? r.offset : lastLabel;
    Bytes tooLong = smallStream();
    put16(tooLong, lastLabel + 2, 5000); // the last LABELSST claims more bytes than remain
    struct Case {
        const char *name;
        Bytes stream;
        ErrorKind kind;
        std::function<std::string(const Bytes &)> expectedWhere; // the record and offset named
    };
    const Case cases[] = {
        {"empty stream", {}, ErrorKind::NotAWorkbook, nullptr},
        {"BIFF5 BOF", edited([](auto &r) { put16(r[0].body, 0, 0x0500); }), ErrorKind::NotAWorkbook, at(0x0809)},
        {"BIFF4 BOF", {0x09, 0x04, 0x06, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00}, ErrorKind::NotAWorkbook, at(0x0409)},
        {"first BOF opens a worksheet", edited([](auto &r) { put16(r[0].body, 2, 0x0010); }), ErrorKind::NotAWorkbook, at(0x0809)},
        {"SST claims more strings than it holds", edited([](auto &r) { put32(r[findRecord(r, 0x00FC)].body, 4, 60); }),
         ErrorKind::Damaged, at(0x00FC)},
        {"SST cut short", edited([](auto &r) { r[findRecord(r, 0x00FC)].body.resize(100); }), ErrorKind::Damaged, at(0x00FC)},
        {"SST claims four billion strings", edited([](auto &r) { put32(r[findRecord(r, 0x00FC)].body, 4, 0xFFFFFFFF); }),
         ErrorKind::Damaged, at(0x00FC)},
        {"LABELSST index beyond the table", edited([](auto &r) { put32(r[findRecord(r, 0x00FD, 3)].body, 6, 41); }),
         ErrorKind::Damaged, at(0x00FD, 3)},
        {"record longer than the stream", tooLong, ErrorKind::Damaged,
         [=](const Bytes &) { return where(0x00FD, lastLabel); }},
        {"BOUNDSHEET beyond the stream",
         patched(0x0085, 1, [](Bytes &s, std::size_t a) { put32(s, a + 4, std::uint32_t(s.size() + 100)); }),
         ErrorKind::Damaged, at(0x0085, 1)},
        {"BOUNDSHEET into the globals", patched(0x0085, 0, [](Bytes &s, std::size_t a) { put32(s, a + 4, 0); }),
         ErrorKind::Damaged, at(0x0085)},
        {"two sheets at the same offset",
         patched(0x0085, 1, [](Bytes &s, std::size_t a) { put32(s, a + 4, std::uint32_t(offsetOf(s, 0x0809, 1))); }),
         ErrorKind::Damaged, at(0x0085, 1)},
        {"sheet offset not at a BOF",
         patched(0x0085, 1, [](Bytes &s, std::size_t a) { put32(s, a + 4, std::uint32_t(offsetOf(s, 0x0809, 2) + 20)); }),
         ErrorKind::Damaged, nullptr},
        {"MULRK with a bad size", edited([&](auto &r) { r[findRecord(r, 0x027E)] = Rec{0x00BD, mulrk}; }),
         ErrorKind::Damaged, at(0x00BD)},
        {"MULRK columns that do not match its values",
         edited([&](auto &r) { r[findRecord(r, 0x027E)] = Rec{0x00BD, mulrkWrongLast}; }), ErrorKind::Damaged, at(0x00BD)},
        {"cell beyond column IV", edited([](auto &r) { put16(r[findRecord(r, 0x027E)].body, 2, 300); }), ErrorKind::Damaged,
         at(0x027E)},
        {"XF shorter than its minimum", edited([](auto &r) { r[findRecord(r, 0x00E0, 4)].body.resize(12); }),
         ErrorKind::Damaged, at(0x00E0, 4)},
        {"globals without EOF", edited([](auto &r) { r.resize(findRecord(r, 0x000A)); }, false), ErrorKind::Damaged,
         [](const Bytes &s) { return where(0x000A, s.size()); }},
        {"sheet running into the next one without EOF",
         edited([](auto &r) { r.erase(r.begin() + std::ptrdiff_t(findRecord(r, 0x000A, 1))); }), ErrorKind::Damaged,
         [](const Bytes &s) { return where(0x000A, offsetOf(s, 0x0809, 2)); }},
        {"FORMULA shorter than its minimum",
         edited([](auto &r) { r[findRecord(r, 0x027E)] = Rec{0x0006, Bytes{1, 0, 0, 0, 0x16, 0, 0, 0}}; }),
         ErrorKind::Damaged, at(0x0006)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        try {
            readWorkbookStream(c.stream);
            ADD_FAILURE() << "no error";
        } catch (const Error &e) {
            EXPECT_EQ(e.kind(), c.kind) << e.what();
            if (c.expectedWhere) {
                EXPECT_NE(std::string(e.what()).find(c.expectedWhere(c.stream)), std::string::npos)
                    << e.what() << " / expected " << c.expectedWhere(c.stream);
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
    for (std::uint32_t i = 0; i < 400; ++i)
        biff_test::addText(book, book.sheets[0], i / 4, std::uint16_t(i % 4),
                           std::u16string(1 + i % 90, char16_t(i % 3 ? u'a' + i % 26 : 0x20AC)));
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
    r.insert(r.begin() + static_cast<std::ptrdiff_t>(findRecord(r, 0x0085)), Rec{0x0018, name});
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
