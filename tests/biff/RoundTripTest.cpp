#include "BiffReader.h"
#include "BiffWriter.h"
#include "OleFiles.h"
#include "RecordList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace xls;
using biff_test::addNumber;
using biff_test::addText;
using biff_test::findRecord;
using biff_test::le16;
using biff_test::le32;
using biff_test::Rec;
using biff_test::splitRecords;
using biff_test::substream;

namespace {

// A deterministic string of the given length: 8-bit (Latin-1 with accents) or with a
// character beyond Latin-1, which forces 16-bit storage.
std::u16string sample(std::size_t n, std::size_t length, bool wide)
{
    std::u16string s = u"s" + std::u16string(1, static_cast<char16_t>(u'0' + n % 10));
    std::uint32_t x = static_cast<std::uint32_t>(n) * 2654435761u;
    while (s.size() < length) {
        x = x * 1103515245u + 12345u;
        const char16_t pool[] = u"abcdefghijklmnopqrstuvwxyz àèéìòù ABC0123456789";
        s.push_back(pool[(x >> 16) % (sizeof pool / sizeof pool[0] - 1)]);
    }
    s.resize(length);
    if (wide)
        s[length / 2] = u'€';
    // Every string distinct: '#' (not among the characters above) and its number at the end.
    s.push_back(u'#');
    std::size_t k = n;
    do {
        s.push_back(static_cast<char16_t>(u'0' + k % 10));
        k /= 10;
    } while (k > 0);
    return s;
}

Sheet emptySheetLike(const Sheet &model, std::u16string name)
{
    Sheet s;
    s.name = std::move(name);
    s.records = model.records;
    return s;
}

// Formula records: FORMULA "=1" with a cached value, plus a STRING record for text results.
std::vector<RawRecord> formula(const Bytes &value, const std::u16string *text = nullptr)
{
    Bytes body(6, 0);
    body.insert(body.end(), value.begin(), value.end());
    body.insert(body.end(), {0x02, 0x00, 0, 0, 0, 0, 0x03, 0x00, 0x1E, 0x01, 0x00});
    std::vector<RawRecord> recs{RawRecord{0x0006, body}};
    if (text) {
        Bytes s{static_cast<std::uint8_t>(text->size()), 0, 0};
        for (char16_t c : *text)
            s.push_back(static_cast<std::uint8_t>(c));
        recs.push_back(RawRecord{0x0207, s});
    }
    return recs;
}

struct SstWalk {
    std::size_t strings = 0;
    std::size_t narrowSplit = 0, wideSplit = 0;
};

// Walks the SST of a written stream and counts strings whose characters run on into a CONTINUE.
SstWalk walkSst(const Bytes &stream)
{
    const auto recs = splitRecords(stream);
    std::vector<const Bytes *> segs;
    const std::size_t sst = findRecord(recs, 0x00FC);
    for (std::size_t i = sst; i < recs.size() && (i == sst || recs[i].type == 0x003C); ++i)
        segs.push_back(&recs[i].body);
    SstWalk w;
    std::size_t seg = 0, pos = 8;
    auto byte = [&]() {
        while (pos >= segs[seg]->size()) {
            ++seg;
            pos = 0;
        }
        return (*segs[seg])[pos++];
    };
    const std::uint32_t unique = le32(*segs[0], 4);
    for (std::uint32_t i = 0; i < unique; ++i) {
        std::size_t cch = byte();
        cch |= static_cast<std::size_t>(byte()) << 8;
        const std::uint8_t opt = byte();
        std::size_t runs = 0, ext = 0;
        if (opt & 0x08)
            runs = byte() | static_cast<std::size_t>(byte()) << 8;
        if (opt & 0x04)
            for (int k = 0; k < 4; ++k)
                ext |= static_cast<std::size_t>(byte()) << (8 * k);
        bool wide = opt & 1, split = false;
        while (cch > 0) {
            if (pos >= segs[seg]->size()) {
                ++seg;
                pos = 0;
                wide = byte() & 1;
                split = true;
                continue;
            }
            pos += wide ? 2 : 1;
            --cch;
        }
        if (split)
            ++(wide ? w.wideSplit : w.narrowSplit);
        for (std::size_t k = 0; k < runs * 4 + ext; ++k)
            byte();
        ++w.strings;
    }
    return w;
}

// Every cell of every sheet with its kind, format and value, to compare two books.
std::u16string describe(const Book &b)
{
    std::u16string out;
    for (const Sheet &sheet : b.sheets) {
        out += u"[" + sheet.name + u"]";
        for (std::size_t r = 0; r < sheet.rows.size(); ++r)
            for (const Cell &c : sheet.rows[r].cells) {
                std::uint64_t bits = 0;
                if (c.kind == CellKind::Number)
                    std::memcpy(&bits, &c.number, 8);
                const int code = c.kind == CellKind::Bool || c.kind == CellKind::Error ? c.code : -1;
                const std::string head = std::to_string(r) + "," + std::to_string(c.col) + ":" + std::to_string(int(c.kind)) +
                                         ":" + std::to_string(code) + ":" + std::to_string(bits) + ":";
                out += std::u16string(head.begin(), head.end()) + b.formatCode(c.xf) + u"=";
                if (c.kind == CellKind::Text)
                    out += b.strings.at(c.text);
                out += u";";
            }
    }
    return out;
}

auto pageFields(const PageSetup &p)
{
    return std::tie(p.printArea, p.header, p.footer, p.leftMargin, p.rightMargin, p.topMargin, p.bottomMargin,
                    p.headerMargin, p.footerMargin, p.fitToPages, p.fitWide, p.fitTall, p.zoom, p.landscape, p.paperSize);
}

Bytes doubleBytes(double v)
{
    Bytes out(8);
    std::memcpy(out.data(), &v, 8);
    return out;
}

std::size_t countNames(const Book &b)
{
    return std::size_t(std::count_if(b.globals.begin(), b.globals.end(), [](const RawRecord &r) { return r.type == 0x0018; }));
}

} // namespace

TEST(BiffRoundTrip, WrittenBookReadsBackWithEveryStringValueAndSetting)
{
    Book book = newBook(u"Velmoro");
    book.sheets.push_back(emptySheetLike(book.sheets[0], u"Solo intestazione"));
    book.sheets[1].window.selected = false;
    book.date1904 = true;
    Sheet &s = book.sheets[0];
    const std::uint16_t date = book.xfWithFormat(15, u"dd/mm/yyyy");
    const std::uint16_t text = book.xfWithFormat(15, u"@");

    // 12,000 distinct strings of 1..400 characters, every other one 16-bit, so the SST runs
    // over hundreds of CONTINUE records and strings of both widths straddle their boundaries.
    for (std::uint32_t i = 0; i < 12000; ++i)
        addText(book, s, 1 + i / 4, static_cast<std::uint16_t>(i % 4), sample(i, 1 + (i * 37) % 400, i % 2));
    // The same text in separate pool entries ends up as one SST entry.
    addText(book, s, 1, 10, u"duplicato");
    addText(book, s, 2, 10, u"duplicato");
    addText(book, s, 3, 10, u"");
    addText(book, s, 4, 10, u"00184").xf = text;
    for (int k = 0; k < 18; ++k)
        addText(book, book.sheets[1], 0, static_cast<std::uint16_t>(k), u"Intestazione " + std::u16string(1, u'A' + k));
    // A rich string: two formatting runs and phonetic data.
    const std::uint32_t rich = addText(book, s, 5, 10, u"grassetto e corsivo").text;
    book.strings.rich[rich] = {Bytes{0, 0, 1, 0, 10, 0, 2, 0}, Bytes{1, 0, 8, 0, 0, 0, 0, 0, 0, 0}, 2};
    addNumber(s, 6, 10, 1462, date); // 1904 system: 1908-01-01
    s.touch(7, 10) = Cell{10, 15, CellKind::Bool, 1};
    s.touch(7, 11) = Cell{11, 15, CellKind::Error, 0x07}; // #DIV/0!
    s.touch(7, 12).xf = s.touch(7, 13).xf = text;         // formatted blanks
    s.touch(7, 14).xf = date;
    // Formulas with cached number, text, bool, error and empty results.
    const std::u16string cached = u"risultato";
    const std::pair<CellKind, Bytes> results[] = {
        {CellKind::Number, doubleBytes(42.5)},           {CellKind::Text, {0, 0, 0, 0, 0, 0, 0xFF, 0xFF}},
        {CellKind::Bool, {1, 0, 1, 0, 0, 0, 0xFF, 0xFF}}, {CellKind::Error, {2, 0, 0x2A, 0, 0, 0, 0xFF, 0xFF}},
        {CellKind::Text, {3, 0, 0, 0, 0, 0, 0xFF, 0xFF}}};
    for (std::uint16_t k = 0; k < 5; ++k) {
        const auto &[kind, value] = results[k];
        const bool coded = kind == CellKind::Bool || kind == CellKind::Error;
        s.touch(4000, k) = Cell{k, 15, kind, coded ? value[2] : std::uint8_t(0), book.strings.add(k == 1 ? cached : u""),
                                k == 0 ? 42.5 : 0};
        s.formulas[4000u << 8 | k] = formula(value, k == 1 ? &cached : nullptr);
    }
    s.columns.push_back({8, 10, 3000, text, 0});
    s.columns.push_back({17, 17, 4000, text, 0});
    s.page = PageSetup{.printArea = u"$A$1:$R$40", .header = u"&CAnagrafe – clienti", .footer = u"&RPagina &P",
                       .leftMargin = 0.25, .rightMargin = 0.5, .topMargin = 1.25, .bottomMargin = 1.5,
                       .headerMargin = 0.2, .footerMargin = 0.4, .fitToPages = true, .fitWide = 1, .fitTall = 0,
                       .zoom = 85, .landscape = true, .paperSize = 8};
    s.window.frozenRows = 1;
    s.window.activeRow = 1;

    const Bytes stream = writeWorkbookStream(book);
    const Book back = readWorkbookStream(stream);
    EXPECT_EQ(describe(book), describe(back));

    const SstWalk walk = walkSst(stream);
    EXPECT_EQ(walk.strings, 12000u + 4u + 18u) << "duplicates share an entry; formula texts are not in the SST";
    EXPECT_GT(walk.narrowSplit, 0u);
    EXPECT_GT(walk.wideSplit, 0u);
    for (const auto &r : splitRecords(stream))
        EXPECT_LE(r.body.size(), 8224u);

    EXPECT_TRUE(back.date1904);
    EXPECT_TRUE(back.isDateFormat(back.sheets[0].cell(6, 10)->xf));
    const Sheet &t = back.sheets[0];
    ASSERT_EQ(back.strings.rich.count(t.cell(5, 10)->text), 1u);
    const auto &r = back.strings.rich.at(t.cell(5, 10)->text);
    EXPECT_EQ(r.runCount, 2);
    EXPECT_EQ(r.runs, (Bytes{0, 0, 1, 0, 10, 0, 2, 0}));
    EXPECT_EQ(r.phonetic, (Bytes{1, 0, 8, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(t.formulas.size(), 5u);
    EXPECT_EQ(back.strings.at(t.cell(4000, 1)->text), u"risultato");
    EXPECT_EQ(t.formulas.at(4000u << 8 | 1).size(), 2u);
    const Bytes &written = t.formulas.at(4000u << 8 | 0).front().body, &built = s.formulas.at(4000u << 8 | 0).front().body;
    EXPECT_EQ(Bytes(written.begin() + 6, written.end()), Bytes(built.begin() + 6, built.end()));
    EXPECT_EQ(le16(written, 0), 4000) << "row patched";
    ASSERT_EQ(t.columns.size(), 2u);
    EXPECT_EQ((std::vector<int>{t.columns[0].first, t.columns[0].last, t.columns[0].width}), (std::vector<int>{8, 10, 3000}));
    EXPECT_TRUE(back.isTextFormat(t.columns[1].xf));
    EXPECT_EQ(pageFields(s.page), pageFields(t.page));
    EXPECT_FALSE(back.sheets[1].page.printArea.has_value());
    EXPECT_EQ(s.window, t.window);
    EXPECT_EQ(book.sheets[1].window, back.sheets[1].window);

    // A second save of what was read is the same stream.
    EXPECT_EQ(writeWorkbookStream(back), stream);
}

TEST(BiffRoundTrip, StringContinuedWithAnotherWidthIsJoined)
{
    Book book = newBook(u"S");
    addText(book, book.sheets[0], 0, 0, u"placeholder");
    auto recs = splitRecords(writeWorkbookStream(book));
    const std::size_t sst = findRecord(recs, 0x00FC);
    // "ab" as 8-bit, continued as 16-bit "€d": what Excel writes when a later part needs 16 bits.
    recs[sst].body = Bytes{1, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 'a', 'b'};
    recs.insert(recs.begin() + static_cast<std::ptrdiff_t>(sst) + 1, Rec{0x003C, Bytes{1, 0xAC, 0x20, 'd', 0}});
    const Book back = readWorkbookStream(biff_test::joinRecords(recs));
    EXPECT_EQ(back.strings.at(back.sheets[0].cell(0, 0)->text), u"ab€d");
}

TEST(BiffRoundTrip, NumbersAreStoredAsRkOnlyWhenExact)
{
    struct Case { double v; bool rk; };
    const Case cases[] = {
        {0, true}, {1, true}, {-1, true}, {41, true}, {46361, true}, {536870911, true}, {-536870912, true},
        {536870912, true}, {0.5, true}, {12.34, true}, {-0.01, true}, {1234.5, true}, {0.1, true},
        {1.0 / 3, false}, {123456789.123, false}, {1e300, false}, {-0.0, true}, {5368709.12, true},
        {1e-300, false}, {9007199254740993.0, true},
    };
    Book book = newBook(u"N");
    for (std::size_t i = 0; i < std::size(cases); ++i)
        addNumber(book.sheets[0], static_cast<std::uint32_t>(i), 0, cases[i].v);
    const Bytes stream = writeWorkbookStream(book);
    const Book back = readWorkbookStream(stream);
    const auto recs = substream(splitRecords(stream), 0);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Cell *c = back.sheets[0].cell(static_cast<std::uint32_t>(i), 0);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(std::memcmp(&c->number, &cases[i].v, 8), 0) << cases[i].v;
        for (const auto &r : recs)
            if ((r.type == 0x027E || r.type == 0x0203) && le16(r.body, 0) == i) {
                EXPECT_EQ(r.type == 0x027E, cases[i].rk) << cases[i].v;
            }
    }
}

TEST(BiffRoundTrip, LibreOfficeWorkbookKeepsItsCellsAndUnmodelledRecords)
{
    const Bytes original = biff_test::readWorkbookStream(biff_test::fixture("small_plain.xls"));
    const Book first = readWorkbookStream(original);
    const Bytes written = writeWorkbookStream(first);
    const Book second = readWorkbookStream(written);
    EXPECT_EQ(describe(first), describe(second));
    ASSERT_EQ(first.sheets.size(), second.sheets.size());
    for (std::size_t i = 0; i < first.sheets.size(); ++i) {
        const auto &a = first.sheets[i].records, &b = second.sheets[i].records;
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t k = 0; k < a.size(); ++k) {
            EXPECT_EQ(a[k].type, b[k].type);
            EXPECT_EQ(a[k].body, b[k].body) << "record " << k;
        }
    }
    EXPECT_EQ(first.globals.size(), second.globals.size());
    // The second sheet comes out record for record as LibreOffice wrote it, except for the
    // column range LibreOffice ends one past IV, which is written ending at IV.
    auto before = substream(splitRecords(original), 1);
    for (auto &r : before)
        if (r.type == 0x007D && le16(r.body, 2) == 256)
            biff_test::put16(r.body, 2, 255);
    const auto after = substream(splitRecords(written), 1);
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t k = 0; k < before.size(); ++k) {
        EXPECT_EQ(before[k].type, after[k].type) << k;
        EXPECT_EQ(before[k].body, after[k].body) << "record " << k << " type " << before[k].type;
    }
}

TEST(BiffRoundTrip, FrozenFirstRowIsWrittenAsLibreOfficeAndExcelWriteIt)
{
    Book book = newBook(u"Velmoro");
    addText(book, book.sheets[0], 0, 0, u"ID");
    book.sheets[0].window.frozenRows = 1;
    book.sheets[0].window.activeRow = 1;
    const auto recs = substream(splitRecords(writeWorkbookStream(book)), 0);
    const std::size_t w = findRecord(recs, 0x023E);
    EXPECT_EQ(le16(recs[w].body, 0), 0x07BE);
    ASSERT_EQ(recs[w + 1].type, 0x0041);
    EXPECT_EQ(recs[w + 1].body, (Bytes{0, 0, 1, 0, 1, 0, 0, 0, 2, 0}));
    ASSERT_EQ(recs[w + 2].type, 0x001D);
    EXPECT_EQ(recs[w + 2].body, (Bytes{3, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
    ASSERT_EQ(recs[w + 3].type, 0x001D);
    EXPECT_EQ(recs[w + 3].body, (Bytes{2, 1, 0, 0, 0, 0, 0, 1, 0, 1, 0, 1, 0, 0, 0}));
    EXPECT_EQ(recs[w + 4].type, 0x000A);
}

TEST(BiffRoundTrip, FilepassShiftsSheetAndStringTableOffsets)
{
    Book book = newBook(u"Velmoro");
    book.sheets.push_back(emptySheetLike(book.sheets[0], u"Altro"));
    for (std::uint32_t i = 0; i < 3000; ++i)
        addText(book, book.sheets[i % 2], i / 2, 0, sample(i, 20 + i % 50, i % 3 == 0));
    const Bytes filepass(54, 0xAB);
    const Bytes stream = writeWorkbookStream(book, filepass);
    const auto recs = splitRecords(stream);
    ASSERT_EQ(recs[1].type, 0x002F);
    EXPECT_EQ(recs[1].body, filepass);
    // Every BOUNDSHEET points at a BOF; every EXTSST entry at a string inside an SST/CONTINUE.
    std::size_t sheets = 0;
    for (const auto &r : recs)
        if (r.type == 0x0085) {
            const std::uint32_t pos = le32(r.body, 0);
            ASSERT_LT(pos + 1u, stream.size());
            EXPECT_EQ(le16(stream, pos), 0x0809);
            ++sheets;
        }
    EXPECT_EQ(sheets, 2u);
    const auto &ext = recs[findRecord(recs, 0x00FF)].body;
    EXPECT_EQ(le16(ext, 0), 24) << "ceil(3000 / 128) strings per bucket";
    const std::size_t buckets = (ext.size() - 2) / 8;
    EXPECT_EQ(buckets, 125u);
    for (std::size_t k = 0; k < buckets; ++k) {
        const std::uint32_t ib = le32(ext, 2 + 8 * k);
        const std::uint16_t cb = le16(ext, 6 + 8 * k);
        const std::uint16_t type = le16(stream, ib - cb);
        EXPECT_TRUE(type == 0x00FC || type == 0x003C) << k;
    }
    const Book back = readWorkbookStream(stream);
    EXPECT_EQ(describe(book), describe(back));
    EXPECT_EQ(findFilepass(stream), filepass);
    EXPECT_TRUE(findFilepass(writeWorkbookStream(book)).empty());
}

TEST(BiffRoundTrip, PrintAreaNamesCoexistWithKeptNamesAndExternalReferences)
{
    Book book = newBook(u"Velmoro");
    book.sheets.push_back(emptySheetLike(book.sheets[0], u"Altro"));
    // An external workbook reference and a user name on it, as a foreign file may have them.
    const Bytes external{1, 0, 7, 0, 0, 1, 'e', 'x', 't', '.', 'x', 'l', 's', 1, 0, 0, 'F', 'o', 'g', 'l', 'i', 'o'};
    const Bytes externSheet{1, 0, 0, 0, 0, 0, 0, 0};
    const Bytes userName{0, 0, 0, 4, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'T', 'a', 's', 's',
                         0x3B, 0, 0, 0, 0, 4, 0, 0, 0, 2, 0};
    auto &g = book.globals;
    const auto country = std::find_if(g.begin(), g.end(), [](const RawRecord &r) { return r.type == 0x008C; });
    g.insert(country + 1, {RawRecord{0x01AE, external}, RawRecord{0x0017, externSheet}, RawRecord{0x0018, userName}});
    book.sheets[1].page.printArea = u"B2:D9";
    addText(book, book.sheets[0], 0, 0, u"x");

    const Book back = readWorkbookStream(writeWorkbookStream(book));
    EXPECT_FALSE(back.sheets[0].page.printArea.has_value());
    ASSERT_TRUE(back.sheets[1].page.printArea.has_value());
    EXPECT_EQ(*back.sheets[1].page.printArea, u"$B$2:$D$9");
    std::vector<std::uint16_t> order;
    for (const auto &r : back.globals)
        if (r.type == 0x01AE || r.type == 0x0017 || r.type == 0x0018)
            order.push_back(r.type);
    EXPECT_EQ(order, (std::vector<std::uint16_t>{0x01AE, 0x01AE, 0x0017, 0x0018, 0x0018}));
    for (const auto &r : back.globals) {
        if (r.type == 0x01AE && r.body.size() > 4) {
            EXPECT_EQ(r.body, external);
        }
        if (r.type == 0x0017) { // the external entry keeps index 0; ours is appended
            EXPECT_EQ(r.body, (Bytes{2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 1, 0}));
        }
    }
    EXPECT_NE(std::find_if(back.globals.begin(), back.globals.end(),
                           [&](const RawRecord &r) { return r.type == 0x0018 && r.body == userName; }),
              back.globals.end());

    // Clearing the area drops its name and nothing else.
    Book cleared = back;
    cleared.sheets[1].page.printArea.reset();
    cleared.sheets[0].page.printArea = u"$A$1";
    const Book again = readWorkbookStream(writeWorkbookStream(cleared));
    EXPECT_FALSE(again.sheets[1].page.printArea.has_value());
    ASSERT_TRUE(again.sheets[0].page.printArea.has_value());
    EXPECT_EQ(*again.sheets[0].page.printArea, u"$A$1");
    EXPECT_EQ(countNames(again), 2u);
}

TEST(BiffRoundTrip, ModelRecordsMissingFromASheetAreWrittenInTheirUsualOrder)
{
    Book book = newBook(u"Velmoro");
    Sheet &s = book.sheets[0];
    s.records = {s.records.front(), RawRecord{0x000A, {}}}; // only BOF and EOF
    addText(book, s, 0, 0, u"ID");
    s.columns.push_back({0, 3, 5000, 15, 0});
    s.page.header = u"&CTitolo";
    s.page.zoom = 150;
    s.window.frozenRows = 1;
    const Bytes stream = writeWorkbookStream(book);
    std::vector<std::uint16_t> types;
    for (const auto &r : substream(splitRecords(stream), 0))
        types.push_back(r.type);
    const std::vector<std::uint16_t> expected{0x0809, 0x0081, 0x0014, 0x0015, 0x0026, 0x0027, 0x0028, 0x0029, 0x00A1,
                                              0x007D, 0x0200, 0x0208, 0x00FD, 0x023E, 0x0041, 0x001D, 0x001D, 0x000A};
    EXPECT_EQ(types, expected);
    const Book back = readWorkbookStream(stream);
    EXPECT_EQ(back.sheets[0].page.header, u"&CTitolo");
    EXPECT_EQ(back.sheets[0].page.zoom, 150);
    EXPECT_EQ(back.sheets[0].window.frozenRows, 1);
    EXPECT_EQ(back.sheets[0].columns.size(), 1u);
}

TEST(BiffRoundTrip, TrailingFormattedBlankRowsBecomeMulblankAndComeBack)
{
    Book book = newBook(u"Velmoro");
    Sheet &s = book.sheets[0];
    const std::uint16_t text = book.xfWithFormat(15, u"@");
    for (std::uint32_t r = 1; r <= 1000; ++r)
        for (std::uint16_t c = 0; c < 13; ++c)
            s.touch(r, c).xf = c % 2 ? text : 15;
    const Bytes stream = writeWorkbookStream(book);
    std::size_t mulblank = 0;
    for (const auto &r : splitRecords(stream))
        mulblank += r.type == 0x00BE;
    EXPECT_EQ(mulblank, 1000u);
    const Book back = readWorkbookStream(stream);
    EXPECT_EQ(describe(book), describe(back));
    EXPECT_EQ(back.sheets[0].cell(500, 3)->kind, CellKind::Blank);
    EXPECT_TRUE(back.isTextFormat(back.sheets[0].cell(500, 3)->xf));
}

TEST(BiffRoundTrip, LibreOfficeCompanionPrintAreaNameFollowsTheModel)
{
    Book book = newBook(u"Velmoro");
    addText(book, book.sheets[0], 0, 0, u"ID");
    book.sheets[0].page.printArea = u"$A$1:$C$2";
    Book read = readWorkbookStream(writeWorkbookStream(book));
    // LibreOffice writes, after the builtin name, a local "Excel_BuiltIn_Print_Area" on the same area.
    auto &g = read.globals;
    const auto builtin = std::find_if(g.begin(), g.end(), [](const RawRecord &r) { return r.type == 0x0018; });
    ASSERT_NE(builtin, g.end());
    Bytes legacy = builtin->body;
    const std::string name = "Excel_BuiltIn_Print_Area";
    legacy[0] = 0;
    legacy[3] = static_cast<std::uint8_t>(name.size());
    legacy.erase(legacy.begin() + 15, legacy.begin() + 16);
    legacy.insert(legacy.begin() + 15, name.begin(), name.end());
    g.insert(builtin + 1, RawRecord{0x0018, legacy});

    Book twice = readWorkbookStream(writeWorkbookStream(read));
    EXPECT_EQ(*twice.sheets[0].page.printArea, u"$A$1:$C$2");
    twice.sheets[0].page.printArea = u"$B$2:$R$40";
    const Book moved = readWorkbookStream(writeWorkbookStream(twice));
    EXPECT_EQ(*moved.sheets[0].page.printArea, u"$B$2:$R$40");
    std::vector<Bytes> formulas;
    for (const auto &r : moved.globals)
        if (r.type == 0x0018)
            formulas.emplace_back(r.body.end() - 11, r.body.end());
    ASSERT_EQ(formulas.size(), 2u);
    EXPECT_EQ(formulas[0], formulas[1]) << "both names give the same area";
    EXPECT_EQ(formulas[1], (Bytes{0x3B, 0, 0, 1, 0, 39, 0, 1, 0, 17, 0}));

    twice.sheets[0].page.printArea.reset();
    const Book cleared = readWorkbookStream(writeWorkbookStream(twice));
    EXPECT_FALSE(cleared.sheets[0].page.printArea.has_value());
    EXPECT_EQ(countNames(cleared), 0u);
}

TEST(BiffRoundTrip, SelectingAnotherSheetMovesTheActiveTab)
{
    const Bytes original = biff_test::readWorkbookStream(biff_test::fixture("small_plain.xls"));
    Book book = readWorkbookStream(original);
    book.sheets[0].window.selected = false;
    book.sheets[1].window.selected = true;
    const Bytes stream = writeWorkbookStream(book);
    const auto recs = splitRecords(stream);
    const Bytes &window1 = recs[findRecord(recs, 0x003D)].body;
    EXPECT_EQ(le16(window1, 10), 1) << "itabCur";
    const auto first = substream(recs, 0), second = substream(recs, 1);
    EXPECT_EQ(le16(first[findRecord(first, 0x023E)].body, 0) & 0x0600, 0);
    EXPECT_EQ(le16(second[findRecord(second, 0x023E)].body, 0) & 0x0600, 0x0600);
    const Book back = readWorkbookStream(stream);
    EXPECT_FALSE(back.sheets[0].window.selected);
    EXPECT_TRUE(back.sheets[1].window.selected);
}

TEST(BiffRoundTrip, ValueWrittenOverAFormulaCellReplacesTheFormula)
{
    Book book = newBook(u"F");
    Sheet &s = book.sheets[0];
    const std::u16string cached = u"vecchio";
    for (std::uint16_t col = 0; col < 4; ++col) {
        const bool text = col >= 2;
        s.touch(0, col) = Cell{col, 15, text ? CellKind::Text : CellKind::Number, 0, book.strings.add(text ? cached : u""),
                               text ? 0.0 : 3.0};
        s.formulas[col] = text ? formula({0, 0, 0, 0, 0, 0, 0xFF, 0xFF}, &cached) : formula(doubleBytes(3));
    }
    s.touch(0, 0).xf = book.xfWithFormat(15, u"0.00"); // formatting keeps the formula
    s.touch(0, 1).number = 7;                          // a new value replaces it
    s.touch(0, 3).text = book.strings.add(u"nuovo");
    const Book back = readWorkbookStream(writeWorkbookStream(book));
    const Sheet &t = back.sheets[0];
    EXPECT_EQ(t.formulas.count(0), 1u);
    EXPECT_EQ(back.formatCode(t.cell(0, 0)->xf), u"0.00");
    EXPECT_EQ(t.formulas.count(1), 0u);
    EXPECT_EQ(t.cell(0, 1)->number, 7);
    EXPECT_EQ(t.formulas.count(2), 1u);
    EXPECT_EQ(back.strings.at(t.cell(0, 2)->text), u"vecchio");
    EXPECT_EQ(t.formulas.count(3), 0u);
    EXPECT_EQ(back.strings.at(t.cell(0, 3)->text), u"nuovo");
}
