#include "BiffReader.h"

#include "BiffNames.h"
#include "ByteReader.h"
#include "RecordStream.h"
#include "RecordTypes.h"
#include "SstReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace xls {

namespace {

std::string utf8(std::u16string_view s)
{
    std::string out;
    for (char16_t c : s) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

RawRecord raw(const RecordRef &r) { return RawRecord{r.type, Bytes(r.body.begin(), r.body.end())}; }

void needSize(const RecordRef &r, std::size_t minimum)
{
    if (r.body.size() < minimum)
        throwDamaged(r.type, r.offset, "lunghezza " + std::to_string(r.body.size())
                                           + " inferiore al minimo " + std::to_string(minimum));
}

// MULRK and MULBLANK end with their last column, which must agree with the values they hold.
void checkSpan(const RecordRef &r, std::uint16_t first, std::size_t count, const char *what)
{
    const std::uint16_t last = static_cast<std::uint16_t>(r.body[r.body.size() - 2] | r.body[r.body.size() - 1] << 8);
    if (static_cast<std::size_t>(last) + 1 != first + count)
        throwDamaged(r.type, r.offset, "colonne " + std::to_string(first) + ".." + std::to_string(last)
                                           + " non corrispondono a " + std::to_string(count) + " " + what);
}

[[noreturn]] void notAWorkbook(const RecordRef &r, const std::string &what)
{
    throw Error(ErrorKind::NotAWorkbook, recordWhere(r.type, r.offset) + ": " + what);
}

double rkValue(std::uint32_t rk)
{
    double v;
    if (rk & 0x02) {
        v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, 8);
    }
    return (rk & 0x01) ? v / 100 : v;
}

struct SheetEntry {
    std::size_t recordOffset = 0;   // of the BOUNDSHEET record, for errors
    std::uint32_t position = 0;     // lbPlyPos
    std::size_t index = 0;          // in Book::sheets
};

class Parser {
public:
    explicit Parser(std::span<const std::uint8_t> stream)
        : s_(stream), rowBudget_((std::size_t{1} << 20) + stream.size() / 4) {}

    Book run();

private:
    void readGlobals(RecordStream &rs);
    void readPrintAreas();
    void readSubstream(const SheetEntry &entry, std::size_t limit);
    void readWorksheet(Sheet &sheet, RecordStream &rs);
    void readOther(Sheet &sheet, RecordStream &rs);
    void readFormula(Sheet &sheet, RecordStream &rs, const RecordRef &r);

    Row &rowAt(Sheet &sheet, std::uint32_t row, const RecordRef &r);
    Cell &addCell(Sheet &sheet, const RecordRef &r, std::uint32_t row, std::uint16_t col, std::uint16_t xf);

    std::span<const std::uint8_t> s_;
    Book book_;
    std::vector<SheetEntry> entries_;
    std::uint32_t sstCount_ = 0;
    std::size_t rowBudget_;
    std::size_t cellHint_ = 4;
};

// ---- Globals -----------------------------------------------------------------------------

void checkBof(const RecordRef &r, bool globals)
{
    if (r.type == 0x0009 || r.type == 0x0209 || r.type == 0x0409)
        notAWorkbook(r, "formato Excel 2.x-4.x non supportato");
    if (r.type != rec::Bof) {
        if (globals)
            notAWorkbook(r, "il flusso non inizia con un record BOF");
        throwDamaged(r.type, r.offset, "atteso un record BOF");
    }
    if (r.body.size() < 4) {
        if (globals)
            notAWorkbook(r, "record BOF troppo corto");
        needSize(r, 4);
    }
    const std::uint16_t version = static_cast<std::uint16_t>(r.body[0] | r.body[1] << 8);
    if (version != 0x0600) {
        char buf[96];
        std::snprintf(buf, sizeof buf, "versione BIFF 0x%04X non supportata (serve BIFF8, Excel 97-2003)",
                      static_cast<unsigned>(version));
        if (globals)
            notAWorkbook(r, buf);
        throwDamaged(r.type, r.offset, buf);
    }
    const std::uint16_t dt = static_cast<std::uint16_t>(r.body[2] | r.body[3] << 8);
    if (globals && dt != rec::BofGlobals)
        notAWorkbook(r, "il primo record BOF non apre il foglio globale");
}

Book Parser::run()
{
    if (s_.size() < 4)
        throw Error(ErrorKind::NotAWorkbook, "flusso Workbook vuoto o troppo corto ("
                                                 + std::to_string(s_.size()) + " byte)");
    const std::uint16_t first = static_cast<std::uint16_t>(s_[0] | s_[1] << 8);
    if (first != rec::Bof && first != 0x0009 && first != 0x0209 && first != 0x0409)
        throw Error(ErrorKind::NotAWorkbook, recordWhere(first, 0) + ": il flusso non inizia con un record BOF");
    RecordStream rs(s_, 0, s_.size());
    readGlobals(rs);
    readPrintAreas();

    const std::size_t globalsEnd = rs.pos();
    for (const auto &e : entries_) {
        if (e.position < globalsEnd)
            throwDamaged(rec::BoundSheet, e.recordOffset,
                         "il foglio inizia all'offset " + std::to_string(e.position) + ", dentro il foglio globale");
        if (e.position >= s_.size())
            throwDamaged(rec::BoundSheet, e.recordOffset,
                         "il foglio inizia all'offset " + std::to_string(e.position) + ", oltre la fine del flusso");
    }
    std::vector<SheetEntry> byPosition = entries_;
    std::stable_sort(byPosition.begin(), byPosition.end(),
              [](const SheetEntry &a, const SheetEntry &b) { return a.position < b.position; });
    for (std::size_t i = 0; i < byPosition.size(); ++i) {
        const std::size_t limit = i + 1 < byPosition.size() ? byPosition[i + 1].position : s_.size();
        if (limit == byPosition[i].position)
            throwDamaged(rec::BoundSheet, byPosition[i + 1].recordOffset, "due fogli iniziano allo stesso offset");
        readSubstream(byPosition[i], limit);
    }
    return std::move(book_);
}

void Parser::readGlobals(RecordStream &rs)
{
    const RecordRef bof = rs.next();
    checkBof(bof, true);
    book_.globals.push_back(raw(bof));
    bool placedFormat = false, placedXf = false, placedDate = false, placedSheets = false, sstSeen = false;
    auto placeOnce = [&](bool &placed, std::uint16_t type) {
        if (!placed)
            book_.globals.push_back(RawRecord{type, {}});
        placed = true;
    };
    for (;;) {
        if (rs.atEnd())
            throwDamaged(rec::Eof, rs.pos(), "il foglio globale non termina con un record EOF");
        const RecordRef r = rs.next();
        switch (r.type) {
        case rec::FilePass:
            break;
        case rec::BoundSheet: {
            needSize(r, 8);
            ByteReader br(r.body, r.type, r.offset);
            SheetEntry e;
            e.recordOffset = r.offset;
            e.position = br.u32();
            Sheet sheet;
            sheet.visibility = br.u8();
            sheet.boundType = br.u8();
            sheet.name = br.shortUnicodeString();
            e.index = book_.sheets.size();
            entries_.push_back(e);
            book_.sheets.push_back(std::move(sheet));
            placeOnce(placedSheets, rec::BoundSheet);
            break;
        }
        case rec::Sst: {
            if (sstSeen)
                throwDamaged(r.type, r.offset, "tabella delle stringhe ripetuta");
            sstSeen = true;
            std::vector<RecordRef> segments{r};
            std::uint16_t t;
            while (rs.peek(t) && t == rec::Continue)
                segments.push_back(rs.next());
            sstCount_ = SstReader::readSst(std::move(segments), book_.strings);
            book_.globals.push_back(RawRecord{rec::Sst, {}});
            break;
        }
        case rec::ExtSst: {
            std::uint16_t t;
            while (rs.peek(t) && t == rec::Continue)
                rs.next();
            break;
        }
        case rec::Format: {
            needSize(r, 5);
            ByteReader br(r.body, r.type, r.offset);
            const std::uint16_t ifmt = br.u16();
            book_.formats[ifmt] = br.unicodeString();
            placeOnce(placedFormat, rec::Format);
            break;
        }
        case rec::Xf:
            needSize(r, 20);
            book_.xfs.push_back(Xf{Bytes(r.body.begin(), r.body.end())});
            placeOnce(placedXf, rec::Xf);
            break;
        case rec::DateMode:
            needSize(r, 2);
            book_.date1904 = (r.body[0] & 0x01) != 0;
            placeOnce(placedDate, rec::DateMode);
            break;
        case rec::Bof:
            throwDamaged(r.type, r.offset, "record BOF dentro il foglio globale (manca EOF)");
        case rec::Eof:
            book_.globals.push_back(raw(r));
            return;
        default:
            book_.globals.push_back(raw(r));
            break;
        }
    }
}

void Parser::readPrintAreas()
{
    const auto xtis = externSheets(book_.globals);
    for (const auto &r : book_.globals) {
        if (r.type != rec::Name)
            continue;
        const auto name = printAreaName(r, xtis);
        if (!name || !name->area || name->sheet >= book_.sheets.size())
            continue;
        auto &area = book_.sheets[name->sheet].page.printArea;
        if (!name->legacy || !area)
            area = formatArea(*name->area);
    }
}

// ---- Substreams --------------------------------------------------------------------------

void Parser::readSubstream(const SheetEntry &entry, std::size_t limit)
{
    Sheet &sheet = book_.sheets[entry.index];
    RecordStream rs(s_, entry.position, limit);
    const RecordRef bof = rs.next();
    checkBof(bof, false);
    const std::uint16_t dt = static_cast<std::uint16_t>(bof.body[2] | bof.body[3] << 8);
    sheet.records.push_back(raw(bof));
    if (dt == rec::BofWorksheet) {
        sheet.kind = SheetKind::Worksheet;
        readWorksheet(sheet, rs);
    } else {
        sheet.kind = SheetKind::Other;
        readOther(sheet, rs);
    }
}

void Parser::readOther(Sheet &sheet, RecordStream &rs)
{
    int depth = 0;
    for (;;) {
        if (rs.atEnd())
            throwDamaged(rec::Eof, rs.pos(), "il foglio \"" + utf8(sheet.name)
                                                 + "\" non termina con EOF prima del foglio seguente");
        const RecordRef r = rs.next();
        sheet.records.push_back(raw(r));
        if (r.type == rec::Bof)
            ++depth;
        else if (r.type == rec::Eof && depth-- == 0)
            return;
    }
}

Row &Parser::rowAt(Sheet &sheet, std::uint32_t row, const RecordRef &r)
{
    if (row >= sheet.rows.size()) {
        const std::size_t grow = row + 1 - sheet.rows.size();
        if (grow > rowBudget_)
            throwDamaged(r.type, r.offset, "troppe righe rispetto alla dimensione del file");
        rowBudget_ -= grow;
        sheet.rows.resize(row + 1);
    }
    return sheet.rows[row];
}

Cell &Parser::addCell(Sheet &sheet, const RecordRef &r, std::uint32_t row, std::uint16_t col, std::uint16_t xf)
{
    if (col > 255)
        throwDamaged(r.type, r.offset, "colonna " + std::to_string(col) + " fuori dal foglio");
    auto &cells = rowAt(sheet, row, r).cells;
    if (!sheet.formulas.empty() && r.type != rec::Formula)
        sheet.formulas.erase(row << 8 | col);
    Cell c;
    c.col = col;
    c.xf = xf;
    if (cells.empty()) {
        cells.reserve(cellHint_);
    } else if (cells.back().col >= col) {
        auto it = std::lower_bound(cells.begin(), cells.end(), col,
                                   [](const Cell &a, std::uint16_t v) { return a.col < v; });
        if (it != cells.end() && it->col == col) {
            *it = c;
            return *it;
        }
        return *cells.insert(it, c);
    }
    cells.push_back(c);
    cellHint_ = std::clamp<std::size_t>(cells.size(), 4, 256);
    return cells.back();
}

void Parser::readFormula(Sheet &sheet, RecordStream &rs, const RecordRef &r)
{
    needSize(r, 20);
    ByteReader br(r.body, r.type, r.offset);
    const std::uint16_t row = br.u16(), col = br.u16(), xf = br.u16();
    const std::uint8_t *value = br.take(8);
    Cell &cell = addCell(sheet, r, row, col, xf);
    bool stringResult = false;
    if (value[6] == 0xFF && value[7] == 0xFF) {
        switch (value[0]) {
        case 0: stringResult = true; cell.kind = CellKind::Text; break;
        case 1: cell.kind = CellKind::Bool; cell.code = value[2] ? 1 : 0; break;
        case 2: cell.kind = CellKind::Error; cell.code = value[2]; break;
        default: cell.kind = CellKind::Text; break; // an empty string
        }
    } else {
        cell.kind = CellKind::Number;
        std::memcpy(&cell.number, value, 8);
    }
    std::u16string text;
    std::vector<RawRecord> records{raw(r)};
    std::uint16_t t;
    while (rs.peek(t) && (t == rec::ShrFmla || t == rec::Array || t == rec::Table || t == rec::Continue)) {
        records.push_back(raw(rs.next()));
    }
    if (rs.peek(t) && t == rec::String) {
        std::vector<RecordRef> segments{rs.next()};
        while (rs.peek(t) && t == rec::Continue)
            segments.push_back(rs.next());
        for (const auto &s : segments)
            records.push_back(raw(s));
        SstReader sr(segments);
        text = sr.plainString();
    }
    if (cell.kind == CellKind::Text)
        cell.text = book_.strings.add(stringResult ? text : std::u16string());
    sheet.formulas[static_cast<std::uint32_t>(row) << 8 | col] = std::move(records);
}

void Parser::readWorksheet(Sheet &sheet, RecordStream &rs)
{
    bool placedDims = false, placedCols = false, placedWindow = false, frozen = false;
    bool placedPage[16] = {};
    std::uint8_t activePane = 3;
    auto placeDims = [&] {
        if (!placedDims)
            sheet.records.push_back(RawRecord{rec::Dimensions, {}});
        placedDims = true;
    };
    auto placePage = [&](int slot, const RecordRef &r, bool keepBody) {
        if (!placedPage[slot])
            sheet.records.push_back(keepBody ? raw(r) : RawRecord{r.type, {}});
        else if (keepBody)
            for (auto &rec : sheet.records)
                if (rec.type == r.type)
                    rec.body.assign(r.body.begin(), r.body.end());
        placedPage[slot] = true;
    };
    auto &page = sheet.page;
    int depth = 0;
    for (;;) {
        if (rs.atEnd())
            throwDamaged(rec::Eof, rs.pos(), "il foglio \"" + utf8(sheet.name)
                                                 + "\" non termina con EOF prima del foglio seguente");
        const RecordRef r = rs.next();
        if (depth > 0) {
            sheet.records.push_back(raw(r));
            if (r.type == rec::Bof)
                ++depth;
            else if (r.type == rec::Eof)
                --depth;
            continue;
        }
        ByteReader br(r.body, r.type, r.offset);
        // A one-cell record: checked, then its row, column and XF name the cell it fills.
        auto singleCell = [&](std::size_t minimum) -> Cell & {
            needSize(r, minimum);
            placeDims();
            const std::uint16_t row = br.u16(), col = br.u16(), xf = br.u16();
            return addCell(sheet, r, row, col, xf);
        };
        switch (r.type) {
        case rec::Bof:
            ++depth;
            sheet.records.push_back(raw(r));
            break;
        case rec::Eof:
            sheet.records.push_back(raw(r));
            sheet.readWindow = sheet.window;
            return;
        case rec::Number: {
            Cell &c = singleCell(14);
            c.kind = CellKind::Number;
            c.number = br.f64();
            break;
        }
        case rec::Rk: {
            Cell &c = singleCell(10);
            c.kind = CellKind::Number;
            c.number = rkValue(br.u32());
            break;
        }
        case rec::MulRk: {
            needSize(r, 12);
            placeDims();
            if ((r.body.size() - 6) % 6 != 0)
                throwDamaged(r.type, r.offset, "lunghezza " + std::to_string(r.body.size()) + " non valida per MULRK");
            const std::uint16_t row = br.u16(), first = br.u16();
            const std::size_t count = (r.body.size() - 6) / 6;
            checkSpan(r, first, count, "valori");
            for (std::size_t i = 0; i < count; ++i) {
                const std::uint16_t xf = br.u16();
                Cell &c = addCell(sheet, r, row, static_cast<std::uint16_t>(first + i), xf);
                c.kind = CellKind::Number;
                c.number = rkValue(br.u32());
            }
            break;
        }
        case rec::Label: {
            Cell &c = singleCell(9);
            c.kind = CellKind::Text;
            c.text = book_.strings.add(br.unicodeString());
            break;
        }
        case rec::RString: {
            Cell &c = singleCell(11);
            const std::u16string text = br.unicodeString();
            StringPool::Rich rich;
            rich.runCount = br.u16();
            const std::uint8_t *runs = br.take(rich.runCount * std::size_t{4});
            rich.runs.assign(runs, runs + rich.runCount * std::size_t{4});
            c.kind = CellKind::Text;
            c.text = book_.strings.add(text);
            if (rich.runCount)
                book_.strings.rich.emplace(c.text, std::move(rich));
            break;
        }
        case rec::LabelSst: {
            Cell &c = singleCell(10);
            const std::uint32_t isst = br.u32();
            if (isst >= sstCount_)
                throwDamaged(r.type, r.offset, "stringa " + std::to_string(isst) + " oltre la tabella di "
                                                   + std::to_string(sstCount_) + " stringhe");
            c.kind = CellKind::Text;
            c.text = isst;
            break;
        }
        case rec::Blank:
            singleCell(6);
            break;
        case rec::MulBlank: {
            needSize(r, 8);
            placeDims();
            if (r.body.size() % 2 != 0)
                throwDamaged(r.type, r.offset, "lunghezza " + std::to_string(r.body.size()) + " non valida per MULBLANK");
            const std::uint16_t row = br.u16(), first = br.u16();
            const std::size_t count = (r.body.size() - 6) / 2;
            checkSpan(r, first, count, "celle");
            for (std::size_t i = 0; i < count; ++i)
                addCell(sheet, r, row, static_cast<std::uint16_t>(first + i), br.u16());
            break;
        }
        case rec::BoolErr: {
            Cell &c = singleCell(8);
            const std::uint8_t value = br.u8(), isError = br.u8();
            c.kind = isError ? CellKind::Error : CellKind::Bool;
            c.code = isError ? value : (value ? 1 : 0);
            break;
        }
        case rec::Formula:
            placeDims();
            readFormula(sheet, rs, r);
            break;
        case rec::Row: {
            needSize(r, 16);
            placeDims();
            rowAt(sheet, br.u16(), r).record = raw(r);
            break;
        }
        case rec::Dimensions:
            placeDims();
            break;
        case rec::Index:
        case rec::DbCell:
            break;
        case rec::ColInfo: {
            needSize(r, 10);
            if (!placedCols)
                sheet.records.push_back(RawRecord{rec::ColInfo, {}});
            placedCols = true;
            ColumnInfo ci;
            const std::uint16_t first = br.u16(), last = br.u16();
            ci.width = br.u16();
            ci.xf = br.u16();
            ci.options = br.u16();
            if (first > 255 || first > last)
                break; // nothing of it lies on the grid
            ci.first = first;
            ci.last = std::min<std::uint16_t>(last, 255);
            sheet.columns.push_back(ci);
            break;
        }
        case rec::Window2: {
            needSize(r, 10);
            const std::uint16_t grbit = br.u16();
            sheet.window.topRow = br.u16();
            sheet.window.leftCol = br.u16();
            sheet.window.selected = grbit & 0x0200;
            frozen = grbit & 0x0008;
            if (!placedWindow)
                sheet.records.push_back(raw(r));
            placedWindow = true;
            break;
        }
        case rec::Pane: {
            needSize(r, 9);
            const std::uint16_t x = br.u16(), y = br.u16();
            br.skip(4);
            activePane = br.u8();
            if (frozen) {
                sheet.window.frozenCols = x;
                sheet.window.frozenRows = y;
            }
            sheet.records.push_back(raw(r));
            break;
        }
        case rec::Selection: {
            needSize(r, 9);
            const std::uint8_t pane = br.u8();
            const std::uint16_t row = br.u16(), col = br.u16();
            if (pane == activePane) {
                sheet.window.activeRow = row;
                sheet.window.activeCol = std::min<std::uint16_t>(col, 255);
            }
            sheet.records.push_back(raw(r));
            break;
        }
        case rec::Header:
        case rec::Footer: {
            const std::u16string text = r.body.empty() ? std::u16string() : br.unicodeString();
            (r.type == rec::Header ? page.header : page.footer) = text;
            placePage(r.type == rec::Header ? 0 : 1, r, false);
            break;
        }
        case rec::LeftMargin:
        case rec::RightMargin:
        case rec::TopMargin:
        case rec::BottomMargin: {
            needSize(r, 8);
            const double v = br.f64();
            const bool valid = std::isfinite(v) && v >= 0 && v < 100;
            const int slot = 2 + (r.type - rec::LeftMargin);
            double &m = r.type == rec::LeftMargin    ? page.leftMargin
                        : r.type == rec::RightMargin ? page.rightMargin
                        : r.type == rec::TopMargin   ? page.topMargin
                                                     : page.bottomMargin;
            if (valid)
                m = v;
            placePage(slot, r, false);
            break;
        }
        case rec::Setup: {
            needSize(r, 34);
            const std::uint16_t paper = br.u16(), scale = br.u16();
            br.skip(2);
            const std::uint16_t wide = br.u16(), tall = br.u16(), flags = br.u16();
            br.skip(4);
            const double hdr = br.f64(), ftr = br.f64();
            if (!(flags & 0x0004)) { // fNoPls: paper, scale and orientation are not set
                page.paperSize = paper;
                page.zoom = std::clamp<std::uint16_t>(scale, 10, 400);
                page.landscape = !(flags & 0x0002) && !(flags & 0x0040);
            }
            page.fitWide = wide;
            page.fitTall = tall;
            if (std::isfinite(hdr) && hdr >= 0 && hdr < 100)
                page.headerMargin = hdr;
            if (std::isfinite(ftr) && ftr >= 0 && ftr < 100)
                page.footerMargin = ftr;
            page.hasSetup = true;
            placePage(6, r, true);
            break;
        }
        case rec::WsBool:
            needSize(r, 2);
            page.fitToPages = r.body[1] & 0x01;
            placePage(7, r, true);
            break;
        default:
            sheet.records.push_back(raw(r));
            break;
        }
    }
}

} // namespace

Book readWorkbookStream(std::span<const std::uint8_t> stream)
{
    return Parser(stream).run();
}

Bytes findFilepass(std::span<const std::uint8_t> stream)
{
    if (stream.size() < 4)
        return {};
    RecordStream rs(stream, 0, stream.size());
    while (!rs.atEnd()) {
        const RecordRef r = rs.next();
        if (r.type == rec::FilePass) {
            // An empty body would pass for "not encrypted" and the ciphertext be parsed.
            needSize(r, 2);
            return Bytes(r.body.begin(), r.body.end());
        }
        if (r.type == rec::Eof || r.type == rec::BoundSheet || r.type == rec::Sst)
            break;
    }
    return {};
}

} // namespace xls
