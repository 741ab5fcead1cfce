#include "BiffWriter.h"

#include "BiffNames.h"
#include "ByteWriter.h"
#include "RecordTypes.h"
#include "SstWriter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

namespace xls {

namespace {

// Where a group of model records goes when the substream has no placeholder for it: before
// the first record that normally follows it.
int sheetRank(std::uint16_t type)
{
    switch (type) {
    case rec::Bof: return 0;
    case rec::DefaultRowHeight: return 5;
    case rec::WsBool: return 10;
    case 0x001B: return 15; // HORIZONTALPAGEBREAKS
    case 0x001A: return 16; // VERTICALPAGEBREAKS
    case rec::Header: return 20;
    case rec::Footer: return 21;
    case rec::HCenter: return 22;
    case rec::VCenter: return 23;
    case rec::LeftMargin: return 24;
    case rec::RightMargin: return 25;
    case rec::TopMargin: return 26;
    case rec::BottomMargin: return 27;
    case 0x004D: return 28; // PLS
    case rec::Setup: return 29;
    case rec::Protect: return 30;
    case rec::DefColWidth: return 40;
    case rec::ColInfo: return 41;
    case rec::Dimensions: return 50;
    case 0x00EC: return 55; // MSODRAWING
    case rec::Window2: return 60;
    case rec::Eof: return 100;
    default: return -1;
    }
}

int globalsRank(std::uint16_t type)
{
    switch (type) {
    case rec::Bof: return 0;
    case rec::Window1: return 10;
    case rec::Backup: return 11;
    case rec::HideObj: return 12;
    case rec::DateMode: return 13;
    case rec::Precision: return 14;
    case rec::RefreshAll: return 15;
    case rec::BookBool: return 16;
    case rec::Font: return 20;
    case rec::Format: return 21;
    case rec::Xf: return 22;
    case rec::Style: return 23;
    case rec::UsesElfs: return 30;
    case rec::BoundSheet: return 31;
    case rec::Country: return 32;
    case rec::SupBook: return 40;
    case rec::ExternSheet: return 41;
    case rec::Name: return 42;
    case 0x00EB: return 45; // MSODRAWINGGROUP
    case rec::Sst: return 50;
    case rec::Eof: return 100;
    default: return -1;
    }
}

struct Group {
    std::uint16_t type;
    std::function<void(const RawRecord *placeholder)> emit;
    bool done = false;
    bool present = false;
};

// Writes `records` in order; the first record of a group's type is replaced by the group,
// later ones are dropped; a group with no record is written before the first record ranked
// after it.
void emitInOrder(const std::vector<RawRecord> &records, std::vector<Group> &groups, int (*rank)(std::uint16_t),
                 const std::function<void(const RawRecord &)> &writeRaw)
{
    for (auto &g : groups)
        g.present = std::any_of(records.begin(), records.end(), [&](const RawRecord &r) { return r.type == g.type; });
    std::vector<Group *> byRank;
    for (auto &g : groups)
        byRank.push_back(&g);
    std::stable_sort(byRank.begin(), byRank.end(), [&](Group *a, Group *b) { return rank(a->type) < rank(b->type); });
    for (const auto &r : records) {
        const int rk = rank(r.type);
        if (rk >= 0)
            for (Group *g : byRank)
                if (!g->done && !g->present && rank(g->type) < rk) {
                    g->emit(nullptr);
                    g->done = true;
                }
        auto it = std::find_if(groups.begin(), groups.end(), [&](const Group &g) { return g.type == r.type; });
        if (it != groups.end()) {
            if (!it->done)
                it->emit(&r);
            it->done = true;
            continue;
        }
        writeRaw(r);
    }
    for (Group *g : byRank)
        if (!g->done) {
            g->emit(nullptr);
            g->done = true;
        }
}

bool isCellRecord(std::uint16_t type)
{
    switch (type) {
    case rec::Number: case rec::Rk: case rec::MulRk: case rec::Label: case rec::RString:
    case rec::LabelSst: case rec::Blank: case rec::MulBlank: case rec::BoolErr: case rec::Formula:
    case rec::Row: case rec::Index: case rec::DbCell:
        return true;
    default:
        return false;
    }
}

// An RK value when the number is exactly representable as one; integers first, as
// LibreOffice and Excel choose.
bool toRk(double v, std::uint32_t &rk)
{
    if (!std::isfinite(v))
        return false;
    constexpr double Min = -536870912.0, Max = 536870911.0;
    if (v == std::floor(v) && v >= Min && v <= Max && !(v == 0 && std::signbit(v))) {
        rk = static_cast<std::uint32_t>(static_cast<std::int32_t>(v)) << 2 | 0x02;
        return true;
    }
    const double hundred = v * 100;
    const double rounded = std::round(hundred);
    if (rounded >= Min && rounded <= Max) {
        const std::int32_t i = static_cast<std::int32_t>(rounded);
        if (static_cast<double>(i) / 100 == v && !(i == 0 && std::signbit(v))) {
            rk = static_cast<std::uint32_t>(i) << 2 | 0x03;
            return true;
        }
    }
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    if ((bits & 0x3FFFFFFFFull) == 0) {
        rk = static_cast<std::uint32_t>(bits >> 32);
        return true;
    }
    std::memcpy(&bits, &hundred, 8);
    if (std::isfinite(hundred) && (bits & 0x3FFFFFFFFull) == 0 && hundred / 100 == v) {
        rk = static_cast<std::uint32_t>(bits >> 32) | 0x01;
        return true;
    }
    return false;
}

Bytes u16Body(std::uint16_t v) { return Bytes{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)}; }

class Writer {
public:
    Writer(const Book &book, std::span<const std::uint8_t> filepass)
        : book_(book), filepass_(filepass), sst_(book.strings), w_(out_) {}

    Bytes run();

private:
    void collectStrings();
    std::vector<RawRecord> globalsWithNames() const;
    void writeGlobals();
    void writeWorksheet(std::size_t index);
    void writeRows(const Sheet &sheet);
    void writeWindow(const Sheet &sheet, const RawRecord *placeholder);
    void writeBof(std::size_t index);

    const Book &book_;
    std::span<const std::uint8_t> filepass_;
    SstWriter sst_;
    Bytes out_;
    ByteWriter w_;
    std::vector<std::size_t> sheetPositionFields_;
};

Bytes Writer::run()
{
    collectStrings();
    std::size_t estimate = 65536;
    for (const auto &s : book_.sheets)
        for (const auto &r : s.rows)
            estimate += 20 + r.cells.size() * 12;
    out_.reserve(estimate + book_.strings.size() * 6);
    writeGlobals();
    for (std::size_t i = 0; i < book_.sheets.size(); ++i)
        writeWorksheet(i);
    return std::move(out_);
}

void Writer::collectStrings()
{
    for (const auto &sheet : book_.sheets) {
        if (sheet.kind != SheetKind::Worksheet)
            continue;
        auto formula = sheet.formulas.begin();
        for (std::size_t r = 0; r < sheet.rows.size(); ++r)
            for (const auto &c : sheet.rows[r].cells) {
                if (c.kind != CellKind::Text)
                    continue;
                const std::uint32_t key = static_cast<std::uint32_t>(r) << 8 | c.col;
                while (formula != sheet.formulas.end() && formula->first < key)
                    ++formula;
                if (formula != sheet.formulas.end() && formula->first == key)
                    continue;
                if (c.text < book_.strings.size())
                    sst_.reference(c.text);
            }
    }
    sst_.finish();
}

// The globals with each sheet's Print_Area name as the model has it, plus the SUPBOOK and
// EXTERNSHEET entries those names refer to.
std::vector<RawRecord> Writer::globalsWithNames() const
{
    std::vector<RawRecord> g = book_.globals;
    const std::size_t sheetCount = book_.sheets.size();
    std::vector<std::optional<CellArea>> wanted(sheetCount);
    for (std::size_t i = 0; i < sheetCount; ++i)
        if (book_.sheets[i].page.printArea)
            wanted[i] = parseArea(*book_.sheets[i].page.printArea);

    auto xtis = externSheets(g);
    std::vector<bool> named(sheetCount, false);
    struct Rewrite { std::size_t index; std::uint16_t sheet; bool legacy; };
    std::vector<Rewrite> toRewrite; // rewritten, or dropped when cleared
    for (std::size_t i = 0; i < g.size(); ++i) {
        const auto name = printAreaName(g[i], xtis);
        if (!name || name->sheet >= sheetCount)
            continue;
        if (wanted[name->sheet] || name->area)
            toRewrite.push_back({i, name->sheet, name->legacy});
        if (!name->legacy)
            named[name->sheet] = true;
    }
    const bool anyWanted = std::any_of(wanted.begin(), wanted.end(), [](const auto &a) { return a.has_value(); });
    if (!anyWanted && toRewrite.empty())
        return g;

    // The self-referencing SUPBOOK, added after the last SUPBOOK when absent.
    std::optional<std::uint16_t> self;
    std::uint16_t supBooks = 0;
    std::size_t lastSupBook = g.size();
    for (std::size_t i = 0; i < g.size(); ++i)
        if (g[i].type == rec::SupBook) {
            if (isSelfSupBook(g[i]) && !self)
                self = supBooks;
            ++supBooks;
            lastSupBook = i;
        }
    std::vector<std::uint16_t> ixti(sheetCount, 0);
    std::vector<Xti> added;
    if (anyWanted) {
        for (std::size_t s = 0; s < sheetCount; ++s) {
            if (!wanted[s])
                continue;
            bool found = false;
            for (std::size_t k = 0; k < xtis.size() && !found; ++k)
                if (self && xtis[k].supBook == *self && xtis[k].first == s && xtis[k].last == s) {
                    ixti[s] = static_cast<std::uint16_t>(k);
                    found = true;
                }
            if (!found) {
                ixti[s] = static_cast<std::uint16_t>(xtis.size() + added.size());
                added.push_back({0, static_cast<std::uint16_t>(s), static_cast<std::uint16_t>(s)});
            }
        }
    }
    std::vector<RawRecord> out;
    out.reserve(g.size() + sheetCount + 3);
    std::size_t nameInsertAt = std::string::npos;
    bool supBookAdded = false;
    auto selfSupBook = [&] {
        Bytes b;
        ByteWriter w(b);
        w.u16(static_cast<std::uint16_t>(sheetCount));
        w.u16(0x0401);
        return RawRecord{rec::SupBook, b};
    };
    const bool needSelf = !added.empty() && !self;
    const std::uint16_t selfIndex = self ? *self : supBooks;
    for (auto &x : added)
        x.supBook = selfIndex;
    auto externSheet = [&] {
        std::vector<Xti> all = xtis;
        all.insert(all.end(), added.begin(), added.end());
        Bytes b;
        ByteWriter w(b);
        w.u16(static_cast<std::uint16_t>(all.size()));
        for (const auto &x : all) {
            w.u16(x.supBook);
            w.u16(x.first);
            w.u16(x.last);
        }
        return RawRecord{rec::ExternSheet, b};
    };
    const bool hasExternSheet = std::any_of(g.begin(), g.end(), [](const RawRecord &r) { return r.type == rec::ExternSheet; });
    // Without any SUPBOOK, the new pair goes after COUNTRY (or the sheets) and before NAMEs.
    std::size_t anchor = g.size();
    if (needSelf && supBooks == 0) {
        for (std::size_t i = 0; i < g.size(); ++i)
            if (g[i].type == rec::BoundSheet || g[i].type == rec::Country)
                anchor = i;
    }
    bool externWritten = false;
    for (std::size_t i = 0; i < g.size(); ++i) {
        const auto rw = std::find_if(toRewrite.begin(), toRewrite.end(), [&](const Rewrite &p) { return p.index == i; });
        if (rw != toRewrite.end()) {
            const std::uint16_t s = rw->sheet;
            if (wanted[s] && rw->legacy)
                out.push_back(withFormula(g[i], area3dFormula(ixti[s], *wanted[s])));
            else if (wanted[s])
                out.push_back(makePrintAreaName(s, ixti[s], *wanted[s]));
            nameInsertAt = out.size();
            continue;
        }
        if (g[i].type == rec::ExternSheet && !externWritten && !added.empty()) {
            out.push_back(externSheet());
            externWritten = true;
            nameInsertAt = out.size();
            continue;
        }
        out.push_back(g[i]);
        if (g[i].type == rec::Name)
            nameInsertAt = out.size();
        if ((i == lastSupBook && needSelf) || (i == anchor && needSelf && supBooks == 0)) {
            out.push_back(selfSupBook());
            supBookAdded = true;
            if (!hasExternSheet) {
                out.push_back(externSheet());
                externWritten = true;
                nameInsertAt = out.size();
            }
        }
    }
    if (needSelf && !supBookAdded) {
        // No anchor found: keep the required order SUPBOOK, EXTERNSHEET, NAME before EOF.
        std::size_t at = out.size() && out.back().type == rec::Eof ? out.size() - 1 : out.size();
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), selfSupBook());
        if (!hasExternSheet) {
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(at + 1), externSheet());
            externWritten = true;
        }
        nameInsertAt = at + (hasExternSheet ? 1 : 2);
    }
    std::vector<RawRecord> newNames;
    for (std::size_t s = 0; s < sheetCount; ++s)
        if (wanted[s] && !named[s])
            newNames.push_back(makePrintAreaName(static_cast<std::uint16_t>(s), ixti[s], *wanted[s]));
    if (!newNames.empty()) {
        if (nameInsertAt == std::string::npos) {
            for (std::size_t i = 0; i < out.size(); ++i)
                if (out[i].type == rec::ExternSheet)
                    nameInsertAt = i + 1;
        }
        if (nameInsertAt == std::string::npos)
            nameInsertAt = out.size() && out.back().type == rec::Eof ? out.size() - 1 : out.size();
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(nameInsertAt), newNames.begin(), newNames.end());
    }
    return out;
}

void Writer::writeGlobals()
{
    const std::vector<RawRecord> globals = globalsWithNames();
    bool bofWritten = false;
    auto writeRaw = [&](const RawRecord &r) {
        if (r.type == rec::FilePass)
            return;
        w_.record(r.type, r.body);
        if (r.type == rec::Bof && !bofWritten) {
            bofWritten = true;
            if (!filepass_.empty()) {
                w_.u16(rec::FilePass);
                w_.u16(static_cast<std::uint16_t>(filepass_.size()));
                w_.bytes(filepass_.data(), filepass_.size());
            }
        }
    };
    std::vector<Group> groups;
    groups.push_back({rec::DateMode, [&](const RawRecord *) { w_.record(rec::DateMode, u16Body(book_.date1904 ? 1 : 0)); }});
    groups.push_back({rec::Format, [&](const RawRecord *) {
        for (const auto &[ifmt, code] : book_.formats) {
            Bytes b;
            ByteWriter w(b);
            w.u16(ifmt);
            w.unicodeString(std::u16string_view(code).substr(0, 255));
            w_.record(rec::Format, b);
        }
    }});
    groups.push_back({rec::Xf, [&](const RawRecord *) {
        for (const auto &xf : book_.xfs) {
            Bytes body = xf.raw;
            if (body.size() < 20)
                body.resize(20, 0);
            w_.record(rec::Xf, body);
        }
    }});
    groups.push_back({rec::BoundSheet, [&](const RawRecord *) {
        for (const auto &sheet : book_.sheets) {
            Bytes b;
            ByteWriter w(b);
            w.u32(0); // lbPlyPos, patched when the sheet is written
            w.u8(sheet.visibility);
            w.u8(sheet.kind == SheetKind::Worksheet ? 0 : sheet.boundType);
            w.shortUnicodeString(std::u16string_view(sheet.name).substr(0, 255));
            sheetPositionFields_.push_back(out_.size() + 4);
            w_.record(rec::BoundSheet, b);
        }
    }});
    groups.push_back({rec::Sst, [&](const RawRecord *) { sst_.write(out_); }});
    if (globals.empty() || globals.front().type != rec::Bof) {
        std::vector<RawRecord> withBof;
        Bytes bof{0x00, 0x06, 0x05, 0x00, 0xBB, 0x0D, 0xCC, 0x07, 0, 0, 0, 0, 0x06, 0, 0, 0};
        withBof.push_back(RawRecord{rec::Bof, bof});
        withBof.insert(withBof.end(), globals.begin(), globals.end());
        if (withBof.back().type != rec::Eof)
            withBof.push_back(RawRecord{rec::Eof, {}});
        emitInOrder(withBof, groups, globalsRank, writeRaw);
        return;
    }
    if (globals.back().type != rec::Eof) {
        std::vector<RawRecord> withEof = globals;
        withEof.push_back(RawRecord{rec::Eof, {}});
        emitInOrder(withEof, groups, globalsRank, writeRaw);
        return;
    }
    emitInOrder(globals, groups, globalsRank, writeRaw);
}

void Writer::writeBof(std::size_t index)
{
    if (index < sheetPositionFields_.size())
        ByteWriter::put32(out_.data() + sheetPositionFields_[index], static_cast<std::uint32_t>(out_.size()));
}

void Writer::writeWorksheet(std::size_t index)
{
    const Sheet &sheet = book_.sheets[index];
    writeBof(index);
    std::vector<RawRecord> fallback;
    const std::vector<RawRecord> *records = &sheet.records;
    if (sheet.records.empty() || sheet.records.front().type != rec::Bof || sheet.records.back().type != rec::Eof) {
        fallback = sheet.records;
        if (fallback.empty() || fallback.front().type != rec::Bof)
            fallback.insert(fallback.begin(), RawRecord{rec::Bof, Bytes{0x00, 0x06, 0x10, 0x00, 0xBB, 0x0D, 0xCC, 0x07,
                                                                        0, 0, 0, 0, 0x06, 0, 0, 0}});
        if (fallback.back().type != rec::Eof)
            fallback.push_back(RawRecord{rec::Eof, {}});
        records = &fallback;
    }
    if (sheet.kind != SheetKind::Worksheet) {
        for (const auto &r : *records)
            w_.record(r.type, r.body);
        return;
    }
    const bool hasRawPane = std::any_of(records->begin(), records->end(), [](const RawRecord &r) {
        return r.type == rec::Pane || r.type == rec::Selection;
    });
    const bool keepRawPane = hasRawPane && sheet.window == sheet.readWindow;
    const PageSetup &page = sheet.page;
    auto margin = [&](std::uint16_t type, double v) {
        return Group{type, [this, type, v](const RawRecord *) {
            Bytes b;
            ByteWriter(b).f64(v);
            w_.record(type, b);
        }};
    };
    auto text = [&](std::uint16_t type, const std::u16string &s) {
        return Group{type, [this, type, &s](const RawRecord *) {
            Bytes b;
            if (!s.empty())
                ByteWriter(b).unicodeString(std::u16string_view(s).substr(0, 255));
            w_.record(type, b);
        }};
    };
    std::vector<Group> groups;
    groups.push_back({rec::WsBool, [&](const RawRecord *p) {
        Bytes b = p && p->body.size() >= 2 ? p->body : u16Body(0x04C1);
        b[1] = static_cast<std::uint8_t>(page.fitToPages ? b[1] | 0x01 : b[1] & ~0x01);
        w_.record(rec::WsBool, b);
    }});
    groups.push_back(text(rec::Header, page.header));
    groups.push_back(text(rec::Footer, page.footer));
    groups.push_back(margin(rec::LeftMargin, page.leftMargin));
    groups.push_back(margin(rec::RightMargin, page.rightMargin));
    groups.push_back(margin(rec::TopMargin, page.topMargin));
    groups.push_back(margin(rec::BottomMargin, page.bottomMargin));
    groups.push_back({rec::Setup, [&](const RawRecord *p) {
        Bytes b = p && p->body.size() >= 34 ? p->body : Bytes(34, 0);
        std::uint16_t flags = static_cast<std::uint16_t>(b[10] | b[11] << 8);
        if (!p || p->body.size() < 34 || (flags & 0x0004)) {
            ByteWriter::put16(&b[4], 1);     // first page number
            ByteWriter::put16(&b[12], 300);  // resolution
            ByteWriter::put16(&b[14], 300);
            ByteWriter::put16(&b[32], 1);    // copies
        }
        ByteWriter::put16(&b[0], page.paperSize);
        ByteWriter::put16(&b[2], page.zoom);
        ByteWriter::put16(&b[6], page.fitWide);
        ByteWriter::put16(&b[8], page.fitTall);
        flags &= static_cast<std::uint16_t>(~(0x0004 | 0x0040 | 0x0002));
        if (!page.landscape)
            flags |= 0x0002;
        ByteWriter::put16(&b[10], flags);
        double hm = page.headerMargin, fm = page.footerMargin;
        std::memcpy(&b[16], &hm, 8);
        std::memcpy(&b[24], &fm, 8);
        w_.record(rec::Setup, b);
    }});
    groups.push_back({rec::ColInfo, [&](const RawRecord *) {
        std::vector<ColumnInfo> cols = sheet.columns;
        std::stable_sort(cols.begin(), cols.end(), [](const ColumnInfo &a, const ColumnInfo &b) { return a.first < b.first; });
        for (const auto &c : cols) {
            if (c.first > 255 || c.first > c.last)
                continue;
            Bytes b;
            ByteWriter w(b);
            w.u16(c.first);
            w.u16(std::min<std::uint16_t>(c.last, 255));
            w.u16(c.width);
            w.u16(c.xf);
            w.u16(c.options);
            w.u16(0);
            w_.record(rec::ColInfo, b);
        }
    }});
    groups.push_back({rec::Dimensions, [&](const RawRecord *) { writeRows(sheet); }});
    groups.push_back({rec::Window2, [&](const RawRecord *p) { writeWindow(sheet, p); }});
    emitInOrder(*records, groups, sheetRank, [&](const RawRecord &r) {
        if (isCellRecord(r.type) || ((r.type == rec::Pane || r.type == rec::Selection) && !keepRawPane))
            return;
        w_.record(r.type, r.body);
    });
}

void Writer::writeRows(const Sheet &sheet)
{
    // DIMENSIONS: first used row, last used row + 1, first used column, last used column + 1.
    std::uint32_t rowMin = 0, rowMax = 0;
    std::uint16_t colMin = 0xFFFF, colMax = 0;
    bool any = false;
    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
        const auto &cells = sheet.rows[r].cells;
        if (cells.empty())
            continue;
        if (!any)
            rowMin = static_cast<std::uint32_t>(r);
        rowMax = static_cast<std::uint32_t>(r + 1);
        colMin = std::min(colMin, cells.front().col);
        colMax = std::max<std::uint16_t>(colMax, static_cast<std::uint16_t>(cells.back().col + 1));
        any = true;
    }
    {
        std::uint8_t *p = w_.grow(18);
        ByteWriter::put16(p, rec::Dimensions);
        ByteWriter::put16(p + 2, 14);
        ByteWriter::put32(p + 4, rowMin);
        ByteWriter::put32(p + 8, rowMax);
        ByteWriter::put16(p + 12, any ? colMin : 0);
        ByteWriter::put16(p + 14, colMax);
        ByteWriter::put16(p + 16, 0);
    }
    auto formula = sheet.formulas.begin();
    const std::size_t rowCount = std::min<std::size_t>(sheet.rows.size(), 65536);
    for (std::size_t block = 0; block < rowCount; block += 32) {
        const std::size_t end = std::min(rowCount, block + 32);
        for (std::size_t r = block; r < end; ++r) {
            const Row &row = sheet.rows[r];
            if (row.cells.empty() && !row.record)
                continue;
            std::uint8_t *p = w_.grow(20);
            ByteWriter::put16(p, rec::Row);
            ByteWriter::put16(p + 2, 16);
            std::uint8_t *b = p + 4;
            if (row.record && row.record->body.size() >= 16) {
                std::memcpy(b, row.record->body.data(), 16);
            } else {
                std::memset(b, 0, 16);
                ByteWriter::put16(b + 6, 0x00FF);   // default height
                ByteWriter::put16(b + 12, 0x0100);
                ByteWriter::put16(b + 14, 0x000F);
            }
            ByteWriter::put16(b, static_cast<std::uint16_t>(r));
            if (!row.cells.empty()) {
                ByteWriter::put16(b + 2, row.cells.front().col);
                ByteWriter::put16(b + 4, static_cast<std::uint16_t>(row.cells.back().col + 1));
            }
        }
        for (std::size_t r = block; r < end; ++r) {
            const auto &cells = sheet.rows[r].cells;
            const auto rw = static_cast<std::uint16_t>(r);
            for (std::size_t i = 0; i < cells.size(); ++i) {
                const Cell &c = cells[i];
                const std::uint32_t key = static_cast<std::uint32_t>(r) << 8 | c.col;
                while (formula != sheet.formulas.end() && formula->first < key)
                    ++formula;
                if (formula != sheet.formulas.end() && formula->first == key && !formula->second.empty()
                    && formula->second.front().type == rec::Formula && formula->second.front().body.size() >= 6) {
                    for (std::size_t k = 0; k < formula->second.size(); ++k) {
                        const RawRecord &fr = formula->second[k];
                        if (k == 0) {
                            Bytes body = fr.body;
                            ByteWriter::put16(&body[0], rw);
                            ByteWriter::put16(&body[2], c.col);
                            ByteWriter::put16(&body[4], c.xf);
                            w_.record(fr.type, body);
                        } else {
                            w_.record(fr.type, fr.body);
                        }
                    }
                    continue;
                }
                switch (c.kind) {
                case CellKind::Blank: {
                    std::size_t j = i + 1;
                    while (j < cells.size() && cells[j].kind == CellKind::Blank && cells[j].col == cells[j - 1].col + 1
                           && j - i < 1000)
                        ++j;
                    // A formula among the run must stay a formula.
                    for (std::size_t k = i + 1; k < j; ++k)
                        if (sheet.formulas.count(static_cast<std::uint32_t>(r) << 8 | cells[k].col)) {
                            j = k;
                            break;
                        }
                    if (j - i == 1) {
                        std::uint8_t *p = w_.grow(10);
                        ByteWriter::put16(p, rec::Blank);
                        ByteWriter::put16(p + 2, 6);
                        ByteWriter::put16(p + 4, rw);
                        ByteWriter::put16(p + 6, c.col);
                        ByteWriter::put16(p + 8, c.xf);
                    } else {
                        const std::size_t n = j - i;
                        std::uint8_t *p = w_.grow(4 + 6 + 2 * n);
                        ByteWriter::put16(p, rec::MulBlank);
                        ByteWriter::put16(p + 2, static_cast<std::uint16_t>(6 + 2 * n));
                        ByteWriter::put16(p + 4, rw);
                        ByteWriter::put16(p + 6, c.col);
                        for (std::size_t k = 0; k < n; ++k)
                            ByteWriter::put16(p + 8 + 2 * k, cells[i + k].xf);
                        ByteWriter::put16(p + 8 + 2 * n, cells[j - 1].col);
                        i = j - 1;
                    }
                    break;
                }
                case CellKind::Number: {
                    std::uint32_t rk;
                    if (toRk(c.number, rk)) {
                        std::uint8_t *p = w_.grow(14);
                        ByteWriter::put16(p, rec::Rk);
                        ByteWriter::put16(p + 2, 10);
                        ByteWriter::put16(p + 4, rw);
                        ByteWriter::put16(p + 6, c.col);
                        ByteWriter::put16(p + 8, c.xf);
                        ByteWriter::put32(p + 10, rk);
                    } else {
                        std::uint8_t *p = w_.grow(18);
                        ByteWriter::put16(p, rec::Number);
                        ByteWriter::put16(p + 2, 14);
                        ByteWriter::put16(p + 4, rw);
                        ByteWriter::put16(p + 6, c.col);
                        ByteWriter::put16(p + 8, c.xf);
                        std::memcpy(p + 10, &c.number, 8);
                    }
                    break;
                }
                case CellKind::Text: {
                    if (c.text >= book_.strings.size()) {
                        Bytes b;
                        ByteWriter w(b);
                        w.u16(rw);
                        w.u16(c.col);
                        w.u16(c.xf);
                        w.unicodeString(u"");
                        w_.record(rec::Label, b);
                        break;
                    }
                    std::uint8_t *p = w_.grow(14);
                    ByteWriter::put16(p, rec::LabelSst);
                    ByteWriter::put16(p + 2, 10);
                    ByteWriter::put16(p + 4, rw);
                    ByteWriter::put16(p + 6, c.col);
                    ByteWriter::put16(p + 8, c.xf);
                    ByteWriter::put32(p + 10, sst_.indexOf(c.text));
                    break;
                }
                case CellKind::Bool:
                case CellKind::Error: {
                    std::uint8_t *p = w_.grow(12);
                    ByteWriter::put16(p, rec::BoolErr);
                    ByteWriter::put16(p + 2, 8);
                    ByteWriter::put16(p + 4, rw);
                    ByteWriter::put16(p + 6, c.col);
                    ByteWriter::put16(p + 8, c.xf);
                    p[10] = c.code;
                    p[11] = c.kind == CellKind::Error ? 1 : 0;
                    break;
                }
                }
            }
        }
    }
}

void Writer::writeWindow(const Sheet &sheet, const RawRecord *placeholder)
{
    const Window &win = sheet.window;
    Bytes b = placeholder && placeholder->body.size() >= 10 ? placeholder->body
                                                            : Bytes{0xB6, 0x06, 0, 0, 0, 0, 0x40, 0, 0, 0};
    if (b.size() < 18)
        b.resize(18, 0);
    const bool frozen = win.frozenRows || win.frozenCols;
    std::uint16_t grbit = static_cast<std::uint16_t>(b[0] | b[1] << 8);
    if (frozen)
        grbit |= 0x0108;
    else if (!(sheet.window == sheet.readWindow))
        grbit &= static_cast<std::uint16_t>(~0x0108);
    grbit = win.selected ? (grbit | 0x0200) : (grbit & ~0x0200);
    ByteWriter::put16(&b[0], grbit);
    ByteWriter::put16(&b[2], win.topRow);
    ByteWriter::put16(&b[4], win.leftCol);
    w_.record(rec::Window2, b);
    const bool hasRawPane = std::any_of(sheet.records.begin(), sheet.records.end(), [](const RawRecord &r) {
        return r.type == rec::Pane || r.type == rec::Selection;
    });
    if (hasRawPane && sheet.window == sheet.readWindow)
        return;
    auto selection = [&](std::uint8_t pane, std::uint16_t row, std::uint16_t col) {
        Bytes s;
        ByteWriter w(s);
        w.u8(pane);
        w.u16(row);
        w.u16(col);
        w.u16(0);   // the active cell is the first range
        w.u16(1);
        w.u16(row);
        w.u16(row);
        w.u8(static_cast<std::uint8_t>(col));
        w.u8(static_cast<std::uint8_t>(col));
        w_.record(rec::Selection, s);
    };
    if (!frozen) {
        selection(3, win.activeRow, win.activeCol);
        return;
    }
    const std::uint8_t active = win.frozenRows && win.frozenCols ? 0 : (win.frozenRows ? 2 : 1);
    Bytes pane;
    ByteWriter pw(pane);
    pw.u16(win.frozenCols);
    pw.u16(win.frozenRows);
    pw.u16(std::max(win.topRow, win.frozenRows));
    pw.u16(std::max(win.leftCol, win.frozenCols));
    pw.u8(active);
    pw.u8(0);
    w_.record(rec::Pane, pane);
    selection(3, 0, 0);
    if (win.frozenRows && win.frozenCols) {
        selection(1, 0, win.frozenCols);
        selection(2, win.frozenRows, 0);
    }
    selection(active, win.activeRow, win.activeCol);
}

} // namespace

Bytes writeWorkbookStream(const Book &book, std::span<const std::uint8_t> filepassBody)
{
    return Writer(book, filepassBody).run();
}

} // namespace xls
