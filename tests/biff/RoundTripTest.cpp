#include "spreadsheet/xls/BiffReader.h"
#include "spreadsheet/xls/BiffWriter.h"
#include "RecordList.h"

#include <gtest/gtest.h>

#include <bit>
#include <limits>

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

// A distinct string of about the given length, 8-bit with accents or with a '€' in its middle.
std::u16string sample(std::size_t n, std::size_t length, bool wide)
{
    const std::u16string pool = u"abcdefghijklmnopqrstuvwxyz àèéìòù ABC0123456789";
    std::u16string s;
    for (std::size_t i = 0; i < length; ++i)
        s.push_back(wide && i == length / 2 ? u'€' : pool[(n * 7 + i * 13) % pool.size()]);
    const std::string tag = "#" + std::to_string(n);
    return s + std::u16string(tag.begin(), tag.end());
}

// FORMULA "=1" with a cached value, plus a STRING record for a text result.
std::vector<RawRecord> formula(const Bytes &value, const std::u16string *text = nullptr)
{
    Bytes body(6, 0);
    body.insert(body.end(), value.begin(), value.end());
    body.insert(body.end(), {0x02, 0x00, 0, 0, 0, 0, 0x03, 0x00, 0x1E, 0x01, 0x00});
    std::vector<RawRecord> recs{RawRecord{0x0006, body}};
    if (text) {
        Bytes s{static_cast<std::uint8_t>(text->size()), 0, 0};
        s.insert(s.end(), text->begin(), text->end());
        recs.push_back(RawRecord{0x0207, s});
    }
    return recs;
}

Bytes doubleBytes(double v)
{
    const auto bytes = std::bit_cast<std::array<std::uint8_t, 8>>(v);
    return Bytes(bytes.begin(), bytes.end());
}

// Every cell of every sheet with its kind, format and value, to compare two books.
std::u16string describe(const Book &b)
{
    std::u16string out;
    for (const Sheet &sheet : b.sheets) {
        out += u"[" + sheet.name + u"]";
        for (std::size_t r = 0; r < sheet.rows.size(); ++r)
            for (const Cell &c : sheet.rows[r].cells) {
                const bool coded = c.kind == CellKind::Bool || c.kind == CellKind::Error;
                const std::uint64_t bits = c.kind == CellKind::Number ? std::bit_cast<std::uint64_t>(c.number) : 0;
                const std::string head = std::to_string(r) + "," + std::to_string(c.col) + ":" + std::to_string(int(c.kind)) +
                                         ":" + std::to_string(coded ? c.code : -1) + ":" + std::to_string(bits) + ":";
                out += std::u16string(head.begin(), head.end()) + b.formatCode(c.xf) + u"=" +
                       std::u16string(c.kind == CellKind::Text ? b.strings.at(c.text) : u"") + u";";
            }
    }
    return out;
}

auto pageFields(const PageSetup &p)
{
    return std::tie(p.printArea, p.header, p.footer, p.leftMargin, p.rightMargin, p.topMargin, p.bottomMargin,
                    p.headerMargin, p.footerMargin, p.fitToPages, p.fitWide, p.fitTall, p.zoom, p.landscape, p.paperSize);
}

template <typename Record> std::size_t countOf(const std::vector<Record> &records, std::uint16_t type)
{
    return std::size_t(std::count_if(records.begin(), records.end(), [&](const Record &r) { return r.type == type; }));
}

// A fresh book's stream with the first record of a sheet-only type changed.
Bytes withSheetRecord(std::uint16_t type, const std::function<void(Bytes &)> &edit)
{
    auto recs = splitRecords(writeWorkbookStream(newBook(u"S")));
    edit(recs[findRecord(recs, type)].body);
    return biff_test::joinRecords(recs);
}

} // namespace

// 3,000 strings of up to 400 characters, every other one 16-bit: the SST runs over a hundred
// CONTINUE records and strings of both widths straddle their boundaries. A FILEPASS shifts
// every offset the writer puts in BOUNDSHEET and EXTSST. The second sheet, selected, starts
// as BOF and EOF only and is written with every record the model needs.
TEST(BiffRoundTrip, WrittenBookReadsBackWithEveryStringValueAndSettingBehindAFilepass)
{
    Book book = newBook(u"Velmoro");
    book.sheets.push_back(Sheet{.name = u"Solo intestazione", .records = {book.sheets[0].records.front(), {0x000A, {}}}});
    book.sheets[0].window.selected = false;
    book.sheets[1].window = Window{.frozenRows = 1, .selected = true};
    book.sheets[1].page.header = u"&CTitolo";
    book.sheets[1].page.zoom = 150;
    book.sheets[1].columns.push_back({0, 3, 5000, 15, 0});
    book.date1904 = true;
    Sheet &s = book.sheets[0];
    const std::uint16_t text = book.xfWithFormat(15, u"@");
    for (std::uint32_t i = 0; i < 3000; ++i)
        addText(book, s, 1 + i / 4, static_cast<std::uint16_t>(i % 4), sample(i, 1 + (i * 37) % 400, i % 2));
    addText(book, s, 1, 10, u"duplicato"); // the same text in two pool entries: one SST entry
    addText(book, s, 2, 10, u"duplicato");
    addText(book, s, 3, 10, u"");
    addText(book, s, 4, 10, u"00184").xf = text;
    addText(book, book.sheets[1], 0, 0, u"Intestazione");
    const std::uint32_t rich = addText(book, s, 5, 10, u"grassetto e corsivo").text;
    book.strings.rich[rich] = {Bytes{0, 0, 1, 0, 10, 0, 2, 0}, Bytes{1, 0, 8, 0, 0, 0, 0, 0, 0, 0}, 2};
    addNumber(s, 6, 10, 1462, book.xfWithFormat(15, u"dd/mm/yyyy")); // 1904 system: 1908-01-01
    s.touch(7, 10) = Cell{10, 15, CellKind::Bool, 1};
    s.touch(7, 11) = Cell{11, 15, CellKind::Error, 0x07}; // #DIV/0!
    s.touch(7, 12).xf = s.touch(7, 13).xf = text;         // formatted blanks
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
        s.formulas[formulaKey(4000, k)] = formula(value, k == 1 ? &cached : nullptr);
    }
    s.columns.push_back({8, 10, 3000, text, 0});
    s.columns.push_back({17, 17, 4000, text, 0});
    s.page = PageSetup{.printArea = u"$A$1:$R$40", .header = u"&CAnagrafe – clienti", .footer = u"&RPagina &P",
                       .leftMargin = 0.25, .rightMargin = 0.5, .topMargin = 1.25, .bottomMargin = 1.5,
                       .headerMargin = 0.2, .footerMargin = 0.4, .fitToPages = true, .fitWide = 1, .fitTall = 0,
                       .zoom = 85, .landscape = true, .paperSize = 8};

    const Bytes filepass(54, 0xAB);
    const Bytes stream = writeWorkbookStream(book, filepass);
    const Book back = readWorkbookStream(stream);
    EXPECT_EQ(describe(book), describe(back));
    const auto recs = splitRecords(stream);
    EXPECT_EQ(recs[1].type, 0x002F);
    EXPECT_EQ(le16(recs[findRecord(recs, 0x003D)].body, 10), 1) << "WINDOW1 itabCur";
    EXPECT_EQ(le16(substream(recs, 1)[findRecord(substream(recs, 1), 0x023E)].body, 0) & 0x0600, 0x0600) << "WINDOW2";
    EXPECT_EQ(findFilepass(stream), filepass);
    EXPECT_EQ(countOf(back.globals, 0x002F), 0u) << "the FILEPASS read is not kept";
    EXPECT_TRUE(findFilepass(writeWorkbookStream(book)).empty());
    EXPECT_EQ(le32(recs[findRecord(recs, 0x00FC)].body, 4), 3000u + 5u) << "unique strings";
    EXPECT_GT(countOf(recs, 0x003C), 50u);
    for (const auto &r : recs) {
        EXPECT_LE(r.body.size(), 8224u);
        if (r.type == 0x0085) {
            EXPECT_EQ(le16(stream, le32(r.body, 0)), 0x0809) << "BOUNDSHEET points at a BOF";
        }
    }
    // Every EXTSST entry points at a string inside an SST or CONTINUE record.
    const auto &ext = recs[findRecord(recs, 0x00FF)].body;
    EXPECT_EQ(le16(ext, 0), 24) << "ceil(3005 / 128) strings per bucket";
    ASSERT_EQ((ext.size() - 2) / 8, 126u);
    for (std::size_t k = 0; k < 126; ++k) {
        const std::uint16_t type = le16(stream, le32(ext, 2 + 8 * k) - le16(ext, 6 + 8 * k));
        EXPECT_TRUE(type == 0x00FC || type == 0x003C) << k;
    }

    EXPECT_TRUE(back.date1904);
    const Sheet &t = back.sheets[0];
    const auto &r = back.strings.rich.at(t.cell(5, 10)->text);
    EXPECT_EQ(std::tie(r.runCount, r.runs, r.phonetic), std::tie(book.strings.rich[rich].runCount,
              book.strings.rich[rich].runs, book.strings.rich[rich].phonetic));
    EXPECT_EQ(t.formulas.size(), 5u);
    EXPECT_EQ(back.strings.at(t.cell(4000, 1)->text), u"risultato");
    EXPECT_EQ(le16(t.formulas.at(formulaKey(4000, 0)).front().body, 0), 4000) << "row patched";
    ASSERT_EQ(t.columns.size(), 2u);
    EXPECT_EQ((std::vector<int>{t.columns[0].first, t.columns[0].last, t.columns[0].width}), (std::vector<int>{8, 10, 3000}));
    EXPECT_TRUE(back.isTextFormat(t.columns[1].xf));
    EXPECT_EQ(pageFields(s.page), pageFields(t.page));
    const Sheet &second = back.sheets[1];
    EXPECT_EQ(pageFields(book.sheets[1].page), pageFields(second.page));
    EXPECT_EQ(std::make_tuple(book.sheets[0].window, book.sheets[1].window, second.columns.size(), second.records.back().type),
              std::make_tuple(t.window, second.window, std::size_t(1), std::uint16_t(0x000A)));
    EXPECT_EQ(writeWorkbookStream(back, filepass), stream) << "a second save of what was read";
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

// Numbers go out as RK (integers, or hundredths, in 30 bits; or a double's top 30 bits) only
// when that is exact, and come back bit for bit either way.
TEST(BiffRoundTrip, NumbersComeBackBitForBitWhetherStoredAsRkOrNot)
{
    const double cases[] = {0,   1,    -1,       41,        46361,   536870911, -536870912, 536870912,     0.5,
                            12.34, -0.01, 1234.5, 0.1,    1.0 / 3, 123456789.123, 1e300, -0.0, 5368709.12,
                            1e-300, 9007199254740993.0};
    Book book = newBook(u"N");
    for (std::uint32_t i = 0; i < std::size(cases); ++i)
        addNumber(book.sheets[0], i, 0, cases[i]);
    const Book back = readWorkbookStream(writeWorkbookStream(book));
    for (std::uint32_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(std::bit_cast<std::uint64_t>(back.sheets[0].cell(i, 0)->number), std::bit_cast<std::uint64_t>(cases[i])) << cases[i];
}

// LibreOffice's sheets come out record for record as it wrote them, except for the column
// range it ends one past IV, which is written ending at IV.
TEST(BiffRoundTrip, LibreOfficeWorkbookKeepsItsCellsAndUnmodelledRecords)
{
    const Bytes original = biff_test::readWorkbookStream(biff_test::fixture("small_plain.xls"));
    const Book first = readWorkbookStream(original);
    const Bytes written = writeWorkbookStream(first);
    EXPECT_EQ(describe(first), describe(readWorkbookStream(written)));
    for (std::size_t n : {0, 1}) {
        auto before = substream(splitRecords(original), n);
        for (auto &r : before)
            if (r.type == 0x007D && le16(r.body, 2) == 256)
                biff_test::put16(r.body, 2, 255);
        const auto after = substream(splitRecords(written), n);
        ASSERT_EQ(before.size(), after.size());
        for (std::size_t k = 0; k < before.size(); ++k)
            EXPECT_EQ(std::tie(before[k].type, before[k].body), std::tie(after[k].type, after[k].body)) << n << ":" << k;
    }
}

// Frozen panes: the active pane is the bottom-right one (0) below frozen rows and beside
// frozen columns, the bottom-left (2) below frozen rows only, the top-right (1) beside frozen
// columns only; without frozen panes it is the one pane (3). The active cell is the
// selection of the active pane, whatever the order of the SELECTION records.
TEST(BiffRoundTrip, FrozenPanesNameTheActivePaneThatHoldsTheActiveCell)
{
    struct Case { std::uint16_t rows, cols; std::uint8_t pane; };
    for (const Case &c : {Case{1, 0, 2}, Case{0, 2, 1}, Case{3, 2, 0}, Case{0, 0, 3}}) {
        SCOPED_TRACE(std::to_string(c.rows) + " rows, " + std::to_string(c.cols) + " columns");
        Book book = newBook(u"S");
        book.sheets[0].window = Window{.frozenRows = c.rows, .frozenCols = c.cols, .activeRow = 5, .activeCol = 4};
        auto recs = splitRecords(writeWorkbookStream(book));
        const bool frozen = c.rows || c.cols;
        EXPECT_EQ(bool(le16(recs[findRecord(recs, 0x023E)].body, 0) & 0x0008), frozen) << "WINDOW2 fFrozen";
        EXPECT_EQ(frozen ? recs[findRecord(recs, 0x0041)].body[8] : 3, c.pane) << "PANE pnnAcct";
        std::vector<std::size_t> selections;
        for (std::size_t i = 0; i < recs.size(); ++i)
            if (recs[i].type == 0x001D)
                selections.push_back(i);
        const auto active = std::find_if(selections.begin(), selections.end(), [&](std::size_t i) { return recs[i].body[0] == c.pane; });
        ASSERT_NE(active, selections.end());
        EXPECT_EQ(std::make_tuple(le16(recs[*active].body, 1), le16(recs[*active].body, 3)), std::make_tuple(5, 4));

        std::swap(recs[selections.front()], recs[selections.back()]);
        for (const Bytes &stream : {writeWorkbookStream(book), biff_test::joinRecords(recs)})
            EXPECT_EQ(readWorkbookStream(stream).sheets[0].window, book.sheets[0].window);
    }
}

// SETUP says whether paper size, scale and orientation are set (fNoPls) and whether the
// orientation is (fNoOrient); unset values keep the defaults. The writer always sets them.
TEST(BiffRoundTrip, SetupReadsOnlyWhatItsFlagsSayIsSetAndIsWrittenWithEverythingSet)
{
    struct Case { std::uint16_t flags; std::uint16_t paper, zoom; bool landscape; };
    const Case cases[] = {
        {0x0000, 8, 80, true},  {0x0001, 8, 80, true},   {0x0002, 8, 80, false}, {0x0040, 8, 80, false},
        {0x0042, 8, 80, false}, {0x0004, 9, 100, false}, {0x0045, 9, 100, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.flags);
        const Book book = readWorkbookStream(withSheetRecord(0x00A1, [&](Bytes &body) {
            biff_test::put16(body, 0, 8);
            biff_test::put16(body, 2, 80);
            biff_test::put16(body, 10, c.flags);
        }));
        const PageSetup &page = book.sheets[0].page;
        EXPECT_EQ(std::make_tuple(page.paperSize, page.zoom, page.landscape), std::make_tuple(c.paper, c.zoom, c.landscape));
        const auto written = splitRecords(writeWorkbookStream(book));
        const Bytes &setup = written[findRecord(written, 0x00A1)].body;
        EXPECT_EQ(le16(setup, 10) & 0x0047, (c.flags & 0x0001) | (c.landscape ? 0 : 0x0002)) << "page order kept";
        EXPECT_EQ(std::make_tuple(le16(setup, 0), le16(setup, 2)), std::make_tuple(c.paper, c.zoom));
    }
}

// A second SETUP in a sheet wins, its fields the model does not own included; one is written.
TEST(BiffRoundTrip, ARepeatedSetupCountsOnceWithItsLastValues)
{
    auto recs = splitRecords(writeWorkbookStream(newBook(u"S")));
    const std::size_t setup = findRecord(recs, 0x00A1);
    Rec again = recs[setup];
    biff_test::put16(again.body, 0, 11);  // paper size
    biff_test::put16(again.body, 32, 7);  // copies
    recs.insert(recs.begin() + std::ptrdiff_t(setup) + 1, again);
    const Book book = readWorkbookStream(biff_test::joinRecords(recs));
    EXPECT_EQ(book.sheets[0].page.paperSize, 11);
    const auto written = splitRecords(writeWorkbookStream(book));
    EXPECT_EQ(countOf(written, 0x00A1), 1u);
    EXPECT_EQ(le16(written[findRecord(written, 0x00A1)].body, 32), 7);
    EXPECT_EQ(written[findRecord(written, 0x0055)].body, (Bytes{8, 0})) << "DEFCOLWIDTH stays as it was";
}

TEST(BiffRoundTrip, MarginsOutsideWhatAPageAllowsKeepTheirDefault)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const std::pair<double, double> cases[] = {{0.5, 0.5}, {0, 0}, {99.5, 99.5}, {100, 0.7}, {-0.1, 0.7}, {nan, 0.7}, {inf, 0.7}};
    for (const auto &[stored, read] : cases) {
        const Bytes stream = withSheetRecord(0x0026, [&](Bytes &body) { body = doubleBytes(stored); });
        EXPECT_EQ(readWorkbookStream(stream).sheets[0].page.leftMargin, read) << stored;
    }
}

// Our print area names coexist with a foreign file's external references and user names,
// and with the local "Excel_BuiltIn_Print_Area" LibreOffice writes after the builtin name.
TEST(BiffRoundTrip, PrintAreaNamesCoexistWithKeptNamesExternalReferencesAndLibreOfficesCompanion)
{
    Book book = newBook(u"Velmoro");
    book.sheets.push_back(Sheet{.name = u"Altro", .records = book.sheets[0].records});
    const Bytes external{1, 0, 7, 0, 0, 1, 'e', 'x', 't', '.', 'x', 'l', 's', 1, 0, 0, 'F', 'o', 'g', 'l', 'i', 'o'};
    const Bytes userName{0, 0, 0, 4, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'T', 'a', 's', 's',
                         0x3B, 0, 0, 0, 0, 4, 0, 0, 0, 2, 0};
    auto &g = book.globals;
    const auto country = std::find_if(g.begin(), g.end(), [](const RawRecord &r) { return r.type == 0x008C; });
    g.insert(country + 1, {RawRecord{0x01AE, external}, RawRecord{0x0017, Bytes{1, 0, 0, 0, 0, 0, 0, 0}},
                           RawRecord{0x0018, userName}});
    book.sheets[1].page.printArea = u"B2:D9";

    Book back = readWorkbookStream(writeWorkbookStream(book));
    EXPECT_FALSE(back.sheets[0].page.printArea.has_value());
    EXPECT_EQ(back.sheets[1].page.printArea, u"$B$2:$D$9");
    std::vector<RawRecord> links;
    std::copy_if(back.globals.begin(), back.globals.end(), std::back_inserter(links),
                 [](const RawRecord &r) { return r.type == 0x01AE || r.type == 0x0017 || r.type == 0x0018; });
    ASSERT_EQ(links.size(), 5u);
    EXPECT_EQ(links[0].body, external);
    EXPECT_EQ(links[1].type, 0x01AE) << "our own SUPBOOK follows";
    // The external entry keeps index 0; ours is appended.
    EXPECT_EQ(links[2].body, (Bytes{2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(links[3].body, userName);

    Bytes legacy = links[4].body;
    const std::string name = "Excel_BuiltIn_Print_Area";
    legacy[0] = 0;
    legacy[3] = static_cast<std::uint8_t>(name.size());
    legacy.erase(legacy.begin() + 15, legacy.begin() + 16);
    legacy.insert(legacy.begin() + 15, name.begin(), name.end());
    back.globals.insert(std::find_if(back.globals.begin(), back.globals.end(), [&](const RawRecord &r) { return r.body == links[4].body; }) + 1,
                        RawRecord{0x0018, legacy});
    back.sheets[1].page.printArea = u"$B$2:$R$40";
    Book moved = readWorkbookStream(writeWorkbookStream(back));
    EXPECT_EQ(moved.sheets[1].page.printArea, u"$B$2:$R$40");
    std::vector<Bytes> formulas;
    for (const auto &r : moved.globals)
        if (r.type == 0x0018 && r.body != userName)
            formulas.emplace_back(r.body.end() - 11, r.body.end());
    ASSERT_EQ(formulas.size(), 2u);
    EXPECT_EQ(formulas[0], formulas[1]) << "both names give the same area";

    moved.sheets[1].page.printArea.reset();
    const Book cleared = readWorkbookStream(writeWorkbookStream(moved));
    EXPECT_FALSE(cleared.sheets[1].page.printArea.has_value());
    EXPECT_EQ(countOf(cleared.globals, 0x0018), 1u) << "clearing the area keeps the user's name";
}

// Formatting a formula cell keeps the formula; a new value replaces it.
TEST(BiffRoundTrip, ValueWrittenOverAFormulaCellReplacesTheFormula)
{
    Book book = newBook(u"F");
    Sheet &s = book.sheets[0];
    const std::u16string cached = u"vecchio";
    for (std::uint16_t col = 0; col < 4; ++col) {
        const bool text = col >= 2;
        s.touch(0, col) = Cell{col, 15, text ? CellKind::Text : CellKind::Number, 0, book.strings.add(text ? cached : u""),
                               text ? 0.0 : 3.0};
        s.formulas[formulaKey(0, col)] = text ? formula({0, 0, 0, 0, 0, 0, 0xFF, 0xFF}, &cached) : formula(doubleBytes(3));
    }
    s.touch(0, 0).xf = book.xfWithFormat(15, u"0.00");
    s.touch(0, 1).number = 7;
    s.touch(0, 3).text = book.strings.add(u"nuovo");
    const Book back = readWorkbookStream(writeWorkbookStream(book));
    const Sheet &t = back.sheets[0];
    std::vector<std::size_t> kept;
    for (std::uint16_t col = 0; col < 4; ++col)
        kept.push_back(t.formulas.count(formulaKey(0, col)));
    EXPECT_EQ(kept, (std::vector<std::size_t>{1, 0, 1, 0}));
    EXPECT_EQ(back.formatCode(t.cell(0, 0)->xf), u"0.00");
    EXPECT_EQ(t.cell(0, 1)->number, 7);
    EXPECT_EQ(back.strings.at(t.cell(0, 2)->text), u"vecchio");
    EXPECT_EQ(back.strings.at(t.cell(0, 3)->text), u"nuovo");
}
