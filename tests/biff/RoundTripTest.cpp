#include "BiffReader.h"
#include "BiffWriter.h"
#include "OleFiles.h"
#include "RecordList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace xls;
using biff_test::Rec;

namespace {

std::uint16_t u16At(const Bytes &b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8); }
void put16le(Bytes &b, std::size_t at, std::uint16_t v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
std::uint32_t u32At(const Bytes &b, std::size_t at) { return u16At(b, at) | static_cast<std::uint32_t>(u16At(b, at + 2)) << 16; }

std::uint32_t addText(Book &b, Sheet &s, std::uint32_t row, std::uint16_t col, std::u16string_view text)
{
    Cell &c = s.touch(row, col);
    c.kind = CellKind::Text;
    c.text = b.strings.add(text);
    return c.text;
}

void addNumber(Sheet &s, std::uint32_t row, std::uint16_t col, double v, std::uint16_t xf = 15)
{
    Cell &c = s.touch(row, col);
    c.kind = CellKind::Number;
    c.number = v;
    c.xf = xf;
}

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
std::vector<RawRecord> formula(std::uint8_t valueBytes[8], const std::u16string *text)
{
    Bytes body(6, 0);
    body.insert(body.end(), valueBytes, valueBytes + 8);
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
    const auto recs = biff_test::splitRecords(stream);
    std::vector<const Bytes *> segs;
    const std::size_t sst = biff_test::findRecord(recs, 0x00FC);
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
    const std::uint32_t unique = u32At(*segs[0], 4);
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

void expectSameCells(const Book &a, const Book &b)
{
    ASSERT_EQ(a.sheets.size(), b.sheets.size());
    for (std::size_t s = 0; s < a.sheets.size(); ++s) {
        const Sheet &x = a.sheets[s], &y = b.sheets[s];
        EXPECT_EQ(x.name, y.name);
        std::size_t rows = std::max(x.rows.size(), y.rows.size());
        for (std::size_t r = 0; r < rows; ++r) {
            const auto *cx = r < x.rows.size() ? &x.rows[r].cells : nullptr;
            const auto *cy = r < y.rows.size() ? &y.rows[r].cells : nullptr;
            const std::size_t nx = cx ? cx->size() : 0, ny = cy ? cy->size() : 0;
            ASSERT_EQ(nx, ny) << "sheet " << s << " row " << r;
            for (std::size_t i = 0; i < nx; ++i) {
                const Cell &p = (*cx)[i], &q = (*cy)[i];
                ASSERT_EQ(p.col, q.col);
                ASSERT_EQ(p.kind, q.kind) << "row " << r << " col " << p.col;
                EXPECT_EQ(a.formatCode(p.xf), b.formatCode(q.xf));
                switch (p.kind) {
                case CellKind::Number:
                    EXPECT_EQ(std::memcmp(&p.number, &q.number, 8), 0) << p.number << " vs " << q.number;
                    break;
                case CellKind::Text:
                    ASSERT_EQ(a.strings.at(p.text), b.strings.at(q.text)) << "row " << r << " col " << p.col;
                    break;
                case CellKind::Bool:
                case CellKind::Error:
                    EXPECT_EQ(p.code, q.code);
                    break;
                case CellKind::Blank:
                    break;
                }
            }
        }
    }
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
    addText(book, s, 4, 10, u"00184");
    s.touch(4, 10).xf = text;
    for (int k = 0; k < 18; ++k)
        addText(book, book.sheets[1], 0, static_cast<std::uint16_t>(k), u"Intestazione " + std::u16string(1, u'A' + k));
    // A rich string: two formatting runs and phonetic data.
    const std::uint32_t rich = addText(book, s, 5, 10, u"grassetto e corsivo");
    book.strings.rich[rich] = {Bytes{0, 0, 1, 0, 10, 0, 2, 0}, Bytes{1, 0, 8, 0, 0, 0, 0, 0, 0, 0}, 2};
    addNumber(s, 6, 10, 1462, date); // 1904 system: 1908-01-01
    {
        Cell &c = s.touch(7, 10);
        c.kind = CellKind::Bool;
        c.code = 1;
        Cell &e = s.touch(7, 11);
        e.kind = CellKind::Error;
        e.code = 0x07; // #DIV/0!
        s.touch(7, 12).xf = text; // formatted blank
        s.touch(7, 13).xf = text;
        s.touch(7, 14).xf = date;
    }
    // Formulas with cached number, text, bool, error and empty results.
    std::uint8_t num[8];
    const double answer = 42.5;
    std::memcpy(num, &answer, 8);
    std::uint8_t str[8] = {0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    std::uint8_t yes[8] = {1, 0, 1, 0, 0, 0, 0xFF, 0xFF};
    std::uint8_t err[8] = {2, 0, 0x2A, 0, 0, 0, 0xFF, 0xFF};
    std::uint8_t none[8] = {3, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    const std::u16string cached = u"risultato";
    std::uint8_t *values[] = {num, str, yes, err, none};
    for (std::uint16_t k = 0; k < 5; ++k) {
        Cell &c = s.touch(4000, k);
        c.kind = k == 0 ? CellKind::Number : k == 2 ? CellKind::Bool : k == 3 ? CellKind::Error : CellKind::Text;
        c.number = k == 0 ? answer : 0;
        c.code = k == 2 ? 1 : k == 3 ? 0x2A : 0;
        c.text = book.strings.add(k == 1 ? cached : u"");
        s.formulas[4000u << 8 | k] = formula(values[k], k == 1 ? &cached : nullptr);
    }
    s.columns.push_back({8, 10, 3000, text, 0});
    s.columns.push_back({17, 17, 4000, text, 0});
    PageSetup &p = s.page;
    p.printArea = u"$A$1:$R$40";
    p.header = u"&CAnagrafe – clienti";
    p.footer = u"&RPagina &P";
    p.leftMargin = 0.25;
    p.rightMargin = 0.5;
    p.topMargin = 1.25;
    p.bottomMargin = 1.5;
    p.headerMargin = 0.2;
    p.footerMargin = 0.4;
    p.fitToPages = true;
    p.fitWide = 1;
    p.fitTall = 0;
    p.zoom = 85;
    p.landscape = true;
    p.paperSize = 8;
    s.window.frozenRows = 1;
    s.window.activeRow = 1;

    const Bytes stream = writeWorkbookStream(book);
    const Book back = readWorkbookStream(stream);
    expectSameCells(book, back);

    const SstWalk walk = walkSst(stream);
    EXPECT_EQ(walk.strings, 12000u + 4u + 18u) << "duplicates share an entry; formula texts are not in the SST";
    EXPECT_GT(walk.narrowSplit, 0u);
    EXPECT_GT(walk.wideSplit, 0u);
    for (const auto &r : biff_test::splitRecords(stream))
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
    EXPECT_EQ(u16At(written, 0), 4000) << "row patched";
    EXPECT_EQ(t.columns.size(), 2u);
    EXPECT_EQ(t.columns[0].first, 8);
    EXPECT_EQ(t.columns[0].last, 10);
    EXPECT_EQ(t.columns[0].width, 3000);
    EXPECT_TRUE(back.isTextFormat(t.columns[1].xf));

    const PageSetup &q = t.page;
    ASSERT_TRUE(q.printArea.has_value());
    EXPECT_EQ(*q.printArea, u"$A$1:$R$40");
    EXPECT_FALSE(back.sheets[1].page.printArea.has_value());
    EXPECT_EQ(q.header, p.header);
    EXPECT_EQ(q.footer, p.footer);
    EXPECT_EQ(q.leftMargin, 0.25);
    EXPECT_EQ(q.rightMargin, 0.5);
    EXPECT_EQ(q.topMargin, 1.25);
    EXPECT_EQ(q.bottomMargin, 1.5);
    EXPECT_EQ(q.headerMargin, 0.2);
    EXPECT_EQ(q.footerMargin, 0.4);
    EXPECT_TRUE(q.fitToPages);
    EXPECT_EQ(q.fitWide, 1);
    EXPECT_EQ(q.fitTall, 0);
    EXPECT_EQ(q.zoom, 85);
    EXPECT_TRUE(q.landscape);
    EXPECT_EQ(q.paperSize, 8);
    EXPECT_EQ(t.window.frozenRows, 1);
    EXPECT_EQ(t.window.activeRow, 1);
    EXPECT_TRUE(t.window.selected);
    EXPECT_FALSE(back.sheets[1].window.selected);

    // A second save of what was read is the same stream.
    EXPECT_EQ(writeWorkbookStream(back), stream);
}

TEST(BiffRoundTrip, StringContinuedWithAnotherWidthIsJoined)
{
    Book book = newBook(u"S");
    addText(book, book.sheets[0], 0, 0, u"placeholder");
    auto recs = biff_test::splitRecords(writeWorkbookStream(book));
    const std::size_t sst = biff_test::findRecord(recs, 0x00FC);
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
    const auto recs = biff_test::substream(biff_test::splitRecords(stream), 0);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Cell *c = back.sheets[0].cell(static_cast<std::uint32_t>(i), 0);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(std::memcmp(&c->number, &cases[i].v, 8), 0) << cases[i].v;
        for (const auto &r : recs)
            if ((r.type == 0x027E || r.type == 0x0203) && u16At(r.body, 0) == i) {
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
    expectSameCells(first, second);
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
    auto before = biff_test::substream(biff_test::splitRecords(original), 1);
    for (auto &r : before)
        if (r.type == 0x007D && u16At(r.body, 2) == 256)
            put16le(r.body, 2, 255);
    const auto after = biff_test::substream(biff_test::splitRecords(written), 1);
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
    const auto recs = biff_test::substream(biff_test::splitRecords(writeWorkbookStream(book)), 0);
    const std::size_t w = biff_test::findRecord(recs, 0x023E);
    EXPECT_EQ(u16At(recs[w].body, 0), 0x07BE);
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
    const auto recs = biff_test::splitRecords(stream);
    ASSERT_EQ(recs[1].type, 0x002F);
    EXPECT_EQ(recs[1].body, filepass);
    // Every BOUNDSHEET points at a BOF; every EXTSST entry at a string inside an SST/CONTINUE.
    std::size_t sheets = 0;
    for (const auto &r : recs)
        if (r.type == 0x0085) {
            const std::uint32_t pos = u32At(r.body, 0);
            ASSERT_LT(pos + 1u, stream.size());
            EXPECT_EQ(u16At(stream, pos), 0x0809);
            ++sheets;
        }
    EXPECT_EQ(sheets, 2u);
    const auto &ext = recs[biff_test::findRecord(recs, 0x00FF)].body;
    EXPECT_EQ(u16At(ext, 0), 24) << "ceil(3000 / 128) strings per bucket";
    const std::size_t buckets = (ext.size() - 2) / 8;
    EXPECT_EQ(buckets, 125u);
    for (std::size_t k = 0; k < buckets; ++k) {
        const std::uint32_t ib = u32At(ext, 2 + 8 * k);
        const std::uint16_t cb = u16At(ext, 6 + 8 * k);
        const std::uint16_t type = u16At(stream, ib - cb);
        EXPECT_TRUE(type == 0x00FC || type == 0x003C) << k;
    }
    const Book back = readWorkbookStream(stream);
    expectSameCells(book, back);
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
    EXPECT_EQ(std::count_if(again.globals.begin(), again.globals.end(), [](const RawRecord &r) { return r.type == 0x0018; }), 2);
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
    for (const auto &r : biff_test::substream(biff_test::splitRecords(stream), 0))
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
    for (const auto &r : biff_test::splitRecords(stream))
        mulblank += r.type == 0x00BE;
    EXPECT_EQ(mulblank, 1000u);
    const Book back = readWorkbookStream(stream);
    expectSameCells(book, back);
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
    EXPECT_EQ(std::count_if(cleared.globals.begin(), cleared.globals.end(), [](const RawRecord &r) { return r.type == 0x0018; }), 0);
}

TEST(BiffRoundTrip, SelectingAnotherSheetMovesTheActiveTab)
{
    const Bytes original = biff_test::readWorkbookStream(biff_test::fixture("small_plain.xls"));
    Book book = readWorkbookStream(original);
    book.sheets[0].window.selected = false;
    book.sheets[1].window.selected = true;
    const Bytes stream = writeWorkbookStream(book);
    const auto recs = biff_test::splitRecords(stream);
    const Bytes &window1 = recs[biff_test::findRecord(recs, 0x003D)].body;
    EXPECT_EQ(u16At(window1, 10), 1) << "itabCur";
    const auto first = biff_test::substream(recs, 0), second = biff_test::substream(recs, 1);
    EXPECT_EQ(u16At(first[biff_test::findRecord(first, 0x023E)].body, 0) & 0x0600, 0);
    EXPECT_EQ(u16At(second[biff_test::findRecord(second, 0x023E)].body, 0) & 0x0600, 0x0600);
    const Book back = readWorkbookStream(stream);
    EXPECT_FALSE(back.sheets[0].window.selected);
    EXPECT_TRUE(back.sheets[1].window.selected);
}

TEST(BiffRoundTrip, ValueWrittenOverAFormulaCellReplacesTheFormula)
{
    Book book = newBook(u"F");
    Sheet &s = book.sheets[0];
    std::uint8_t three[8];
    const double v = 3;
    std::memcpy(three, &v, 8);
    const std::u16string cached = u"vecchio";
    std::uint8_t str[8] = {0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    for (std::uint16_t col = 0; col < 4; ++col) {
        const bool text = col >= 2;
        Cell &c = s.touch(0, col);
        c.kind = text ? CellKind::Text : CellKind::Number;
        c.number = text ? 0 : 3;
        c.text = book.strings.add(text ? cached : u"");
        s.formulas[col] = formula(text ? str : three, text ? &cached : nullptr);
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
