#include "BiffWriter.h"

#include "BiffNames.h"
#include "BiffRows.h"
#include "Window1.h"
#include "ByteWriter.h"
#include "spreadsheet/xls/container/HugePages.h"
#include "spreadsheet/xls/container/LittleEndian.h"
#include "RecordTypes.h"
#include "spreadsheet/xls/container/SecondThread.h"
#include "SstWriter.h"

#include <algorithm>
#include <cstring>
#include <exception>
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

Bytes u16Body(std::uint16_t v) { return Bytes{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)}; }

// The records between a BOF and an EOF, with whichever of the two is missing added.
const std::vector<RawRecord> &framed(const std::vector<RawRecord> &records, std::uint16_t substreamType,
                                    std::vector<RawRecord> &copy)
{
    const bool hasBof = !records.empty() && records.front().type == rec::Bof;
    if (hasBof && records.back().type == rec::Eof)
        return records;
    copy = records;
    if (!hasBof)
        copy.insert(copy.begin(), RawRecord{rec::Bof, bofBody(substreamType)});
    if (copy.back().type != rec::Eof)
        copy.push_back(RawRecord{rec::Eof, {}});
    return copy;
}

bool hasPaneRecords(const std::vector<RawRecord> &records)
{
    return std::any_of(records.begin(), records.end(),
                       [](const RawRecord &r) { return r.type == rec::Pane || r.type == rec::Selection; });
}

class Writer {
public:
    Writer(const Book &book, std::span<const std::uint8_t> filepass)
        : book_(book), filepass_(filepass), sst_(book.strings), w_(out_) {}

    Bytes run();

private:
    void collectStrings();
    void writeGlobals();
    void writeGlobal(const RawRecord &r);
    void writeFormats();
    void writeXfs();
    void writeBoundSheets();
    Bytes window1(const Bytes &body) const;

    void writeRowsAhead();
    void writeSheet(std::size_t index);
    std::vector<Group> pageGroups(const PageSetup &page);
    void writeWsBool(const PageSetup &page, const RawRecord *placeholder);
    void writeSetup(const PageSetup &page, const RawRecord *placeholder);
    void writeColumns(const Sheet &sheet);
    void writeWindow(const Sheet &sheet, const RawRecord *placeholder);
    void writePanes(const Window &window);
    void writeSelection(std::uint8_t pane, std::uint16_t row, std::uint16_t col);

    const Book &book_;
    std::span<const std::uint8_t> filepass_;
    SstWriter sst_;
    Bytes out_;
    ByteWriter w_;
    bool bofWritten_ = false;
    std::vector<std::size_t> sheetPositionFields_;
    std::vector<Bytes> rowsAhead_; // each worksheet's rows and cells, when written beforehand
};

// Room for the stream, so that it is written without moving: at most 18 bytes a plain cell,
// 2 a character. What is reserved and never written costs no memory.
std::size_t streamBound(const Book &book)
{
    std::size_t bound = 65536 + 8 * book.strings.size() + 2 * book.strings.characters();
    for (const auto &s : book.sheets) {
        for (const auto &r : s.rows)
            bound += 20 + r.cells.size() * 18;
        for (const auto &[key, records] : s.formulas)
            for (const auto &r : records)
                bound += 4 + r.body.size();
        for (const auto &r : s.records)
            bound += 4 + r.body.size();
    }
    for (const auto &r : book.globals)
        bound += 4 + r.body.size();
    return bound;
}

// A second thread is worth its start from this many cells on.
constexpr std::size_t rowsThreadCells = 16384;

Bytes Writer::run()
{
    collectStrings();
    out_.reserve(streamBound(book_));
    preferHugePages(out_.data(), out_.capacity());
    std::size_t cells = 0;
    for (const auto &s : book_.sheets)
        for (const auto &r : s.rows)
            cells += r.cells.size();
    // The cells of a large book are written on a second thread meanwhile the globals with
    // their string table are written here; both only read the book. Without that thread the
    // cells are written in their place below.
    std::exception_ptr failed;
    std::jthread rows = secondThread(cells >= rowsThreadCells, [this, &failed] {
        try {
            writeRowsAhead();
        } catch (...) {
            failed = std::current_exception();
        }
    });
    writeGlobals();
    if (rows.joinable())
        rows.join();
    if (failed)
        std::rethrow_exception(failed);
    for (std::size_t i = 0; i < book_.sheets.size(); ++i)
        writeSheet(i);
    return std::move(out_);
}

void Writer::writeRowsAhead()
{
    std::vector<Bytes> written(book_.sheets.size());
    for (std::size_t i = 0; i < book_.sheets.size(); ++i) {
        const Sheet &sheet = book_.sheets[i];
        if (sheet.kind != SheetKind::Worksheet)
            continue;
        std::size_t bound = 65536;
        for (const auto &r : sheet.rows)
            bound += 20 + r.cells.size() * 18;
        written[i].reserve(bound);
        preferHugePages(written[i].data(), written[i].capacity());
        writeRows(sheet, book_.strings, sst_, written[i]);
    }
    rowsAhead_ = std::move(written);
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
                const std::uint32_t key = formulaKey(static_cast<std::uint32_t>(r), c.col);
                while (formula != sheet.formulas.end() && formula->first < key)
                    ++formula;
                if (formula != sheet.formulas.end() && formula->first == key
                    && keepsFormula(c, formula->second, book_.strings))
                    continue;
                if (c.text < book_.strings.size())
                    sst_.reference(c.text);
            }
    }
    sst_.finish();
}

void Writer::writeGlobals()
{
    std::vector<RawRecord> copy;
    const std::vector<RawRecord> globals = withPrintAreaNames(book_.globals, book_.sheets);
    std::vector<Group> groups;
    groups.push_back({rec::DateMode, [&](const RawRecord *) { w_.record(rec::DateMode, u16Body(book_.date1904 ? 1 : 0)); }});
    groups.push_back({rec::Format, [&](const RawRecord *) { writeFormats(); }});
    groups.push_back({rec::Xf, [&](const RawRecord *) { writeXfs(); }});
    groups.push_back({rec::BoundSheet, [&](const RawRecord *) { writeBoundSheets(); }});
    groups.push_back({rec::Sst, [&](const RawRecord *) { sst_.write(out_); }});
    emitInOrder(framed(globals, rec::BofGlobals, copy), groups, globalsRank,
                [&](const RawRecord &r) { writeGlobal(r); });
}

// A globals record kept as read; FILEPASS follows the first BOF when the stream is encrypted.
void Writer::writeGlobal(const RawRecord &r)
{
    if (r.type == rec::FilePass)
        return;
    if (r.type == rec::Window1 && r.body.size() >= 18) {
        w_.record(r.type, window1(r.body));
        return;
    }
    w_.record(r.type, r.body);
    if (r.type == rec::Bof && !bofWritten_) {
        bofWritten_ = true;
        if (!filepass_.empty()) {
            w_.u16(rec::FilePass);
            w_.u16(static_cast<std::uint16_t>(filepass_.size()));
            w_.bytes(filepass_.data(), filepass_.size());
        }
    }
}

void Writer::writeFormats()
{
    for (const auto &[ifmt, code] : book_.formats) {
        Bytes b;
        ByteWriter w(b);
        w.u16(ifmt);
        w.unicodeString(std::u16string_view(code).substr(0, 255));
        w_.record(rec::Format, b);
    }
}

void Writer::writeXfs()
{
    for (const auto &xf : book_.xfs) {
        Bytes body = xf.raw;
        if (body.size() < 20)
            body.resize(20, 0);
        w_.record(rec::Xf, body);
    }
}

// BOUNDSHEETs with a zero stream position, filled in when each sheet's BOF is written.
void Writer::writeBoundSheets()
{
    for (const auto &sheet : book_.sheets) {
        Bytes b;
        ByteWriter w(b);
        w.u32(0);
        w.u8(sheet.visibility);
        w.u8(sheet.kind == SheetKind::Worksheet ? 0 : sheet.boundType);
        w.shortUnicodeString(std::u16string_view(sheet.name).substr(0, 255));
        sheetPositionFields_.push_back(out_.size() + 4);
        w_.record(rec::BoundSheet, b);
    }
}

// WINDOW1 with the active tab on the first selected worksheet, as the host selected it.
Bytes Writer::window1(const Bytes &body) const
{
    Bytes b = body;
    for (std::size_t i = 0; i < book_.sheets.size(); ++i) {
        if (book_.sheets[i].kind != SheetKind::Worksheet || !book_.sheets[i].window.selected)
            continue;
        setActiveTab(b.data(), static_cast<std::uint16_t>(i));
        break;
    }
    return b;
}

void Writer::writeSheet(std::size_t index)
{
    const Sheet &sheet = book_.sheets[index];
    if (index < sheetPositionFields_.size())
        ByteWriter::put32(out_.data() + sheetPositionFields_[index], static_cast<std::uint32_t>(out_.size()));
    std::vector<RawRecord> copy;
    const std::vector<RawRecord> &records = framed(sheet.records, rec::BofWorksheet, copy);
    if (sheet.kind != SheetKind::Worksheet) {
        for (const auto &r : records)
            w_.record(r.type, r.body);
        return;
    }
    const bool keepRawPanes = hasPaneRecords(records) && sheet.window == sheet.readWindow;
    std::vector<Group> groups = pageGroups(sheet.page);
    groups.push_back({rec::ColInfo, [&](const RawRecord *) { writeColumns(sheet); }});
    groups.push_back({rec::Dimensions, [&](const RawRecord *) {
        if (index < rowsAhead_.size())
            w_.bytes(rowsAhead_[index]);
        else
            writeRows(sheet, book_.strings, sst_, out_);
    }});
    groups.push_back({rec::Window2, [&](const RawRecord *p) { writeWindow(sheet, p); }});
    emitInOrder(records, groups, sheetRank, [&](const RawRecord &r) {
        if (isCellRecord(r.type) || ((r.type == rec::Pane || r.type == rec::Selection) && !keepRawPanes))
            return;
        w_.record(r.type, r.body);
    });
}

std::vector<Group> Writer::pageGroups(const PageSetup &page)
{
    const auto margin = [this](std::uint16_t type, double inches) {
        return Group{type, [this, type, inches](const RawRecord *) {
            Bytes b;
            ByteWriter(b).f64(inches);
            w_.record(type, b);
        }};
    };
    const auto text = [this](std::uint16_t type, const std::u16string &s) {
        return Group{type, [this, type, &s](const RawRecord *) {
            Bytes b;
            if (!s.empty())
                ByteWriter(b).unicodeString(std::u16string_view(s).substr(0, 255));
            w_.record(type, b);
        }};
    };
    return {Group{rec::WsBool, [this, &page](const RawRecord *p) { writeWsBool(page, p); }},
            text(rec::Header, page.header),
            text(rec::Footer, page.footer),
            margin(rec::LeftMargin, page.leftMargin),
            margin(rec::RightMargin, page.rightMargin),
            margin(rec::TopMargin, page.topMargin),
            margin(rec::BottomMargin, page.bottomMargin),
            Group{rec::Setup, [this, &page](const RawRecord *p) { writeSetup(page, p); }}};
}

void Writer::writeWsBool(const PageSetup &page, const RawRecord *placeholder)
{
    Bytes b = placeholder && placeholder->body.size() >= 2 ? placeholder->body : u16Body(0x04C1);
    b[1] = static_cast<std::uint8_t>(page.fitToPages ? b[1] | 0x01 : b[1] & ~0x01); // fFitToPage
    w_.record(rec::WsBool, b);
}

// SETUP as read with the model's fields; a new one, or one whose printer fields were never
// set, gets one copy at 300 dpi from page 1.
void Writer::writeSetup(const PageSetup &page, const RawRecord *placeholder)
{
    const bool kept = placeholder && placeholder->body.size() >= setup::Size;
    Bytes b = kept ? placeholder->body : Bytes(setup::Size, 0);
    std::uint16_t flags = le16(&b[setup::Flags]);
    if (!kept || (flags & setup::NoPls)) {
        ByteWriter::put16(&b[setup::PageStart], 1);
        ByteWriter::put16(&b[setup::HorizontalDpi], 300);
        ByteWriter::put16(&b[setup::VerticalDpi], 300);
        ByteWriter::put16(&b[setup::Copies], 1);
    }
    ByteWriter::put16(&b[setup::PaperSize], page.paperSize);
    ByteWriter::put16(&b[setup::Scale], page.zoom);
    ByteWriter::put16(&b[setup::FitWidth], page.fitWide);
    ByteWriter::put16(&b[setup::FitHeight], page.fitTall);
    flags &= static_cast<std::uint16_t>(~(setup::NoPls | setup::NoOrient | setup::Portrait));
    if (!page.landscape)
        flags |= setup::Portrait;
    ByteWriter::put16(&b[setup::Flags], flags);
    std::memcpy(&b[setup::HeaderMargin], &page.headerMargin, 8);
    std::memcpy(&b[setup::FooterMargin], &page.footerMargin, 8);
    w_.record(rec::Setup, b);
}

void Writer::writeColumns(const Sheet &sheet)
{
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
}

// WINDOW2 from the model, then PANE and SELECTION records unless those read stay valid.
void Writer::writeWindow(const Sheet &sheet, const RawRecord *placeholder)
{
    const Window &win = sheet.window;
    Bytes b = placeholder && placeholder->body.size() >= 10 ? placeholder->body
                                                            : Bytes{0xB6, 0x06, 0, 0, 0, 0, 0x40, 0, 0, 0};
    if (b.size() < 18)
        b.resize(18, 0);
    const bool frozen = win.frozenRows || win.frozenCols;
    std::uint16_t grbit = le16(&b[0]);
    if (frozen)
        grbit |= 0x0108; // fFrozen, fFrozenNoSplit
    else if (!(sheet.window == sheet.readWindow))
        grbit &= static_cast<std::uint16_t>(~0x0108);
    grbit = win.selected ? (grbit | 0x0600) : (grbit & ~0x0600); // fSelected, and fPaged: shown
    ByteWriter::put16(&b[0], grbit);
    ByteWriter::put16(&b[2], win.topRow);
    ByteWriter::put16(&b[4], win.leftCol);
    w_.record(rec::Window2, b);
    if (hasPaneRecords(sheet.records) && sheet.window == sheet.readWindow)
        return;
    if (!frozen) {
        writeSelection(3, win.activeRow, win.activeCol);
        return;
    }
    writePanes(win);
}

// Frozen panes: the active pane is the bottom-right (0) with rows and columns frozen, else
// the bottom-left (2) below frozen rows or the top-right (1) beside frozen columns. The
// top-left pane (3) and the panes above and beside keep their first cell selected.
void Writer::writePanes(const Window &win)
{
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
    writeSelection(3, 0, 0);
    if (win.frozenRows && win.frozenCols) {
        writeSelection(1, 0, win.frozenCols);
        writeSelection(2, win.frozenRows, 0);
    }
    writeSelection(active, win.activeRow, win.activeCol);
}

// SELECTION of one pane: its active cell as the one range selected.
void Writer::writeSelection(std::uint8_t pane, std::uint16_t row, std::uint16_t col)
{
    Bytes s;
    ByteWriter w(s);
    w.u8(pane);
    w.u16(row);
    w.u16(col);
    w.u16(0); // the active cell is in the first range
    w.u16(1);
    w.u16(row);
    w.u16(row);
    w.u8(static_cast<std::uint8_t>(col));
    w.u8(static_cast<std::uint8_t>(col));
    w_.record(rec::Selection, s);
}

} // namespace

Bytes bofBody(std::uint16_t substreamType)
{
    Bytes b;
    ByteWriter w(b);
    w.u16(0x0600);     // BIFF8
    w.u16(substreamType);
    w.u16(0x0DBB);     // build
    w.u16(0x07CC);     // year
    w.u32(0x00000000); // file history flags
    w.u32(0x00000006); // lowest BIFF version
    return b;
}

Bytes writeWorkbookStream(const Book &book, std::span<const std::uint8_t> filepassBody)
{
    return Writer(book, filepassBody).run();
}

} // namespace xls
