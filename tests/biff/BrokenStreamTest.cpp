#include "spreadsheet/xls/BiffReader.h"
#include "RecordList.h"

#include <gtest/gtest.h>

#include <optional>

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

using Where = std::pair<std::optional<std::uint16_t>, std::optional<std::size_t>>;

// The error names the n-th record of this type in the broken stream.
std::function<Where(const Bytes &)> at(std::uint16_t type, std::size_t nth = 0)
{
    return [=](const Bytes &s) { return Where{type, offsetOf(s, type, nth)}; };
}

std::function<Where(const Bytes &)> fixed(std::optional<std::uint16_t> record, std::optional<std::size_t> offset)
{
    return [=](const Bytes &) { return Where{record, offset}; };
}

} // namespace

TEST(BiffBrokenStream, EachBrokenRecordGivesItsErrorNamingRecordAndOffset)
{
    const Bytes mulrk{0, 0, 0, 0, 0x16, 0, 2, 0, 0, 0, 0x16, 0, 2, 0, 0};
    Bytes mulrkWrongLast = mulrk;
    mulrkWrongLast.insert(mulrkWrongLast.end(), {0, 9, 0});
    const std::size_t lastLabel = smallRecords()[findRecord(smallRecords(), 0x00FD, 3)].offset;
    Bytes tooLong = smallStream();
    put16(tooLong, lastLabel + 2, 5000); // a LABELSST claims more bytes than remain
    const std::uint32_t strings = biff_test::le32(smallRecords()[findRecord(smallRecords(), 0x00FC)].body, 4);
    struct Case {
        const char *name;
        Bytes stream;
        ErrorKind kind;
        std::function<Where(const Bytes &)> where;
    };
    const Case cases[] = {
        {"empty stream", {}, ErrorKind::NotAWorkbook, fixed({}, {})},
        {"BOF without a body", {0x09, 0x08, 0, 0}, ErrorKind::NotAWorkbook, fixed(0x0809, 0)},
        {"no BOF first", {0x42, 0, 2, 0, 0xB0, 0x04}, ErrorKind::NotAWorkbook, fixed(0x0042, 0)},
        {"BIFF5 BOF", edited([](auto &r) { put16(r[0].body, 0, 0x0500); }), ErrorKind::NotAWorkbook, at(0x0809)},
        {"BIFF4 BOF", {0x09, 0x04, 0x06, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00}, ErrorKind::NotAWorkbook, at(0x0409)},
        {"first BOF opens a worksheet", edited([](auto &r) { put16(r[0].body, 2, 0x0010); }), ErrorKind::NotAWorkbook, at(0x0809)},
        {"SST claims more strings than it holds", edited([](auto &r) { put32(r[findRecord(r, 0x00FC)].body, 4, 60); }),
         ErrorKind::Damaged, at(0x00FC)},
        {"SST cut short", edited([](auto &r) { r[findRecord(r, 0x00FC)].body.resize(100); }), ErrorKind::Damaged, at(0x00FC)},
        {"SST claims four billion strings", edited([](auto &r) { put32(r[findRecord(r, 0x00FC)].body, 4, 0xFFFFFFFF); }),
         ErrorKind::Damaged, at(0x00FC)},
        {"LABELSST index one past the table", edited([&](auto &r) { put32(r[findRecord(r, 0x00FD, 3)].body, 6, strings); }),
         ErrorKind::Damaged, at(0x00FD, 3)},
        {"record longer than the stream", tooLong, ErrorKind::Damaged, fixed(0x00FD, lastLabel)},
        {"record header cut short", Bytes(smallStream().begin(), smallStream().end() - 2), ErrorKind::Damaged,
         [](const Bytes &s) { return Where{std::nullopt, s.size() - 2}; }},
        {"BOUNDSHEET beyond the stream",
         patched(0x0085, 1, [](Bytes &s, std::size_t a) { put32(s, a + 4, std::uint32_t(s.size() + 100)); }),
         ErrorKind::Damaged, at(0x0085, 1)},
        {"BOUNDSHEET into the globals", patched(0x0085, 0, [](Bytes &s, std::size_t a) { put32(s, a + 4, 0); }),
         ErrorKind::Damaged, at(0x0085)},
        {"two sheets at the same offset",
         patched(0x0085, 1, [](Bytes &s, std::size_t a) { put32(s, a + 4, std::uint32_t(offsetOf(s, 0x0809, 1))); }),
         ErrorKind::Damaged, at(0x0085, 1)},
        {"MULRK with a bad size", edited([&](auto &r) { r[findRecord(r, 0x027E)] = Rec{0x00BD, mulrk}; }),
         ErrorKind::Damaged, at(0x00BD)},
        {"MULRK columns that do not match its values",
         edited([&](auto &r) { r[findRecord(r, 0x027E)] = Rec{0x00BD, mulrkWrongLast}; }), ErrorKind::Damaged, at(0x00BD)},
        {"cell beyond column IV", edited([](auto &r) { put16(r[findRecord(r, 0x027E)].body, 2, 256); }), ErrorKind::Damaged,
         at(0x027E)},
        {"XF shorter than its minimum", edited([](auto &r) { r[findRecord(r, 0x00E0, 4)].body.resize(19); }),
         ErrorKind::Damaged, at(0x00E0, 4)},
        {"globals without EOF", edited([](auto &r) { r.resize(findRecord(r, 0x000A)); }, false), ErrorKind::Damaged,
         [](const Bytes &s) { return Where{0x000A, s.size()}; }},
        {"sheet running into the next one without EOF",
         edited([](auto &r) { r.erase(r.begin() + std::ptrdiff_t(findRecord(r, 0x000A, 1))); }), ErrorKind::Damaged,
         [](const Bytes &s) { return Where{0x000A, offsetOf(s, 0x0809, 2)}; }},
        {"FORMULA shorter than its minimum",
         edited([](auto &r) { r[findRecord(r, 0x027E)] = Rec{0x0006, Bytes(19, 0)}; }), ErrorKind::Damaged, at(0x0006)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Error e = biff_test::thrown([&] { readWorkbookStream(c.stream); });
        EXPECT_EQ(e.kind(), c.kind) << e.what();
        EXPECT_EQ(Where(e.record(), e.offset()), c.where(c.stream)) << e.what();
    }
}

// Records our writer does not write but other programs do: MULRK, RSTRING, LABEL, a cell
// given twice, a FORMULA with its SHRFMLA, a Print_Area name that is no area, a short BOF.
TEST(BiffBrokenStream, RecordsOtherWritersUseAreRead)
{
    auto r = smallRecords();
    r[0].body.resize(4); // the globals' BOF: version and type only
    const Bytes noCharacter = {0x20, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0};
    const Bytes notAnArea = {0x20, 0, 0, 1, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 6, 0x1C, 0x07};
    r.insert(r.begin() + std::ptrdiff_t(findRecord(r, 0x0085)), {Rec{0x0018, noCharacter}, Rec{0x0018, notAnArea}});
    const Rec cells[] = {
        {0x00BD, {10, 0, 2, 0, 15, 0, 30, 0, 0, 0, 15, 0, 34, 0, 0, 0, 3, 0}}, // MULRK C11:D11 = 7, 8
        {0x027E, {10, 0, 3, 0, 15, 0, 38, 0, 0, 0}},                          // RK D11 = 9 again
        {0x00D6, {11, 0, 0, 0, 15, 0, 2, 0, 0, 'a', 'b', 1, 0, 1, 0, 5, 0}},  // RSTRING A12, one run
        {0x00D6, {11, 0, 1, 0, 15, 0, 0, 0, 0, 0, 0}},                        // RSTRING B12, empty
        {0x0204, {12, 0, 0, 0, 15, 0, 2, 0, 1, 'x', 0, 'y', 0}},              // LABEL A13, 16-bit
        {0x0006, {13, 0, 0, 0, 15, 0, 0, 0, 0, 0, 0, 0, 0x14, 0x40, 0, 0, 0, 0, 0, 0}}, // FORMULA A14 = 5
        {0x04BC, {13, 0, 13, 0, 0, 0, 0, 0, 0, 0}},                           // its SHRFMLA
    };
    r.insert(r.begin() + std::ptrdiff_t(findRecord(r, 0x023E)), std::begin(cells), std::end(cells));
    const Book book = readWorkbookStream(biff_test::joinRecords(r));
    const Sheet &sheet = book.sheets[0];
    EXPECT_EQ(std::make_tuple(sheet.cell(10, 2)->number, sheet.cell(10, 3)->number, sheet.cell(13, 0)->number),
              std::make_tuple(7.0, 9.0, 5.0));
    EXPECT_EQ(std::count_if(sheet.rows[10].cells.begin(), sheet.rows[10].cells.end(), [](const Cell &c) { return c.col == 3; }), 1);
    EXPECT_EQ(std::u16string(book.strings.at(sheet.cell(11, 0)->text)) += book.strings.at(sheet.cell(12, 0)->text), u"abxy");
    EXPECT_EQ(book.strings.rich.at(sheet.cell(11, 0)->text).runs, (Bytes{1, 0, 5, 0}));
    EXPECT_EQ(sheet.cell(11, 1)->kind, CellKind::Text);
    EXPECT_EQ(sheet.formulas.at(formulaKey(13, 0)).size(), 2u) << "FORMULA and its SHRFMLA";
    EXPECT_FALSE(sheet.page.printArea.has_value());
    for (const Bytes &name : {noCharacter, notAnArea})
        EXPECT_EQ(std::count_if(book.globals.begin(), book.globals.end(),
                                [&](const RawRecord &g) { return g.type == 0x0018 && g.body == name; }),
                  1);
}

TEST(BiffBrokenStream, AnEmptyFilepassIsDamagedRatherThanTakenForPlainText)
{
    auto r = smallRecords();
    r.insert(r.begin() + 1, Rec{0x002F, Bytes{}});
    const Bytes withFilepass = biff_test::joinRecords(r);
    const Error e = biff_test::thrown([&] { findFilepass(withFilepass); });
    EXPECT_EQ(e.kind(), ErrorKind::Damaged);
    EXPECT_EQ(Where(e.record(), e.offset()), Where(0x002F, offsetOf(withFilepass, 0x002F)));
}
