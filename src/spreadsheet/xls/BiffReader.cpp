#include "BiffReader.h"

#include "BiffNames.h"
#include "ByteReader.h"
#include "RecordStream.h"
#include "RecordTypes.h"
#include "SstReader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
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

[[noreturn, gnu::cold, gnu::noinline]] void tooShort(const RecordRef &r, std::size_t minimum)
{
    throwDamaged(r.type, r.offset, "lunghezza " + std::to_string(r.body.size()) + " inferiore al minimo "
                                       + std::to_string(minimum));
}

void needSize(const RecordRef &r, std::size_t minimum)
{
    if (r.body.size() < minimum)
        tooShort(r, minimum);
}

[[noreturn, gnu::cold, gnu::noinline]] void pastTheTable(const RecordRef &r, std::uint32_t isst, std::uint32_t count)
{
    throwDamaged(r.type, r.offset, "stringa " + std::to_string(isst) + " oltre la tabella di " + std::to_string(count)
                                       + " stringhe");
}

[[noreturn, gnu::cold, gnu::noinline]] void offTheSheet(const RecordRef &r, std::uint16_t col)
{
    throwDamaged(r.type, r.offset, "colonna " + std::to_string(col) + " fuori dal foglio");
}

// MULRK and MULBLANK end with their last column, which must agree with the values they hold.
void checkSpan(const RecordRef &r, std::uint16_t first, std::size_t count, const char *what)
{
    const std::uint16_t last = le16(r.body.data() + r.body.size() - 2);
    if (static_cast<std::size_t>(last) + 1 != first + count)
        throwDamaged(r.type, r.offset, "colonne " + std::to_string(first) + ".." + std::to_string(last)
                                           + " non corrispondono a " + std::to_string(count) + " " + what);
}

[[noreturn]] void notAWorkbook(const RecordRef &r, const std::string &what)
{
    throw Error(ErrorKind::NotAWorkbook, r.type, r.offset, what);
}

[[noreturn]] void missingEof(const std::u16string &sheetName, std::size_t offset)
{
    throwDamaged(rec::Eof, offset, "il foglio \"" + utf8(sheetName) + "\" non termina con EOF prima del foglio seguente");
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

bool isOldBof(std::uint16_t type) { return type == 0x0009 || type == 0x0209 || type == 0x0409; }

// A BOF of a BIFF8 substream. In the globals a wrong one means the stream is no BIFF8
// workbook at all; in a sheet it means the stream is damaged.
void checkBof(const RecordRef &r, bool globals)
{
    const auto refuse = [&](const std::string &what) {
        if (globals)
            notAWorkbook(r, what);
        throwDamaged(r.type, r.offset, what);
    };
    if (isOldBof(r.type))
        notAWorkbook(r, "formato Excel 2.x-4.x non supportato");
    if (r.type != rec::Bof)
        refuse(globals ? "il flusso non inizia con un record BOF" : "atteso un record BOF");
    if (r.body.size() < 4)
        refuse("lunghezza " + std::to_string(r.body.size()) + " inferiore al minimo 4");
    const std::uint16_t version = le16(r.body.data());
    if (version != 0x0600) {
        char text[96];
        std::snprintf(text, sizeof text, "versione BIFF 0x%04X non supportata (serve BIFF8, Excel 97-2003)",
                      static_cast<unsigned>(version));
        refuse(text);
    }
    if (globals && le16(r.body.data() + 2) != rec::BofGlobals)
        notAWorkbook(r, "il primo record BOF non apre il foglio globale");
}

// The records of the page setup the model owns, each with its own placeholder.
enum class PageSlot { Header, Footer, LeftMargin, RightMargin, TopMargin, BottomMargin, Setup, WsBool, Count };

std::optional<PageSlot> pageSlot(std::uint16_t type)
{
    switch (type) {
    case rec::Header: return PageSlot::Header;
    case rec::Footer: return PageSlot::Footer;
    case rec::LeftMargin: return PageSlot::LeftMargin;
    case rec::RightMargin: return PageSlot::RightMargin;
    case rec::TopMargin: return PageSlot::TopMargin;
    case rec::BottomMargin: return PageSlot::BottomMargin;
    case rec::Setup: return PageSlot::Setup;
    case rec::WsBool: return PageSlot::WsBool;
    default: return std::nullopt;
    }
}

bool validMargin(double inches) { return std::isfinite(inches) && inches >= 0 && inches < 100; }

// The rows, cells, columns, window and page setup of one worksheet substream, one handler
// per record group. The first record of a group the model owns leaves its placeholder in
// the sheet's records, where the writer puts the group back.
class WorksheetReader {
public:
    WorksheetReader(Book &book, Sheet &sheet, std::uint32_t sstCount, std::size_t &rowBudget, std::size_t &cellHint)
        : book_(book), sheet_(sheet), sstCount_(sstCount), rowBudget_(rowBudget), cellHint_(cellHint) {}

    void read(RecordStream &rs);

private:
    bool readCell(RecordStream &rs, const RecordRef &r);
    Cell &readOneCell(const RecordRef &r, std::size_t minimum);
    void readMulRk(const RecordRef &r);
    void readMulBlank(const RecordRef &r);
    void readRString(const RecordRef &r);
    void readLabelSst(const RecordRef &r);
    void readFormula(RecordStream &rs, const RecordRef &r);
    void readColumn(const RecordRef &r);
    bool readView(const RecordRef &r);
    bool readPage(const RecordRef &r);
    void readSetup(const RecordRef &r);

    Row &rowAt(std::uint32_t row, const RecordRef &r);
    Cell &addCell(const RecordRef &r, std::uint32_t row, std::uint16_t col, std::uint16_t xf);
    Cell &insertCell(std::vector<Cell> &cells, std::uint16_t col, std::uint16_t xf);
    void placeOnce(bool &placed, RawRecord placeholder);
    void placePage(PageSlot slot, const RecordRef &r, bool keepBody);

    Book &book_;
    Sheet &sheet_;
    std::uint32_t sstCount_;
    std::size_t &rowBudget_;
    std::size_t &cellHint_;
    bool placedDims_ = false, placedCols_ = false, placedWindow_ = false;
    bool placedPage_[static_cast<int>(PageSlot::Count)] = {};
    bool frozen_ = false;
    std::uint8_t activePane_ = 3;
    // The cells of the row the last cell went to: cells come row by row.
    std::uint32_t lastRow_ = 0;
    std::vector<Cell> *lastCells_ = nullptr;
};

void WorksheetReader::read(RecordStream &rs)
{
    int depth = 0; // inside an embedded substream (a chart), kept as read
    for (;;) {
        if (rs.atEnd())
            missingEof(sheet_.name, rs.pos());
        const RecordRef r = rs.next();
        if (depth > 0 || r.type == rec::Bof) {
            sheet_.records.push_back(raw(r));
            depth += r.type == rec::Bof ? 1 : (r.type == rec::Eof ? -1 : 0);
            continue;
        }
        if (r.type == rec::Eof) {
            sheet_.records.push_back(raw(r));
            sheet_.readWindow = sheet_.window;
            return;
        }
        if (r.type == rec::ColInfo)
            readColumn(r);
        else if (!readCell(rs, r) && !readView(r) && !readPage(r))
            sheet_.records.push_back(raw(r));
    }
}

void WorksheetReader::placeOnce(bool &placed, RawRecord placeholder)
{
    if (!placed)
        sheet_.records.push_back(std::move(placeholder));
    placed = true;
}

Row &WorksheetReader::rowAt(std::uint32_t row, const RecordRef &r)
{
    if (row >= sheet_.rows.size()) {
        const std::size_t grow = row + 1 - sheet_.rows.size();
        if (grow > rowBudget_)
            throwDamaged(r.type, r.offset, "troppe righe rispetto alla dimensione del file");
        rowBudget_ -= grow;
        sheet_.rows.resize(row + 1);
        lastCells_ = nullptr; // the rows moved
    }
    return sheet_.rows[row];
}

Cell &WorksheetReader::addCell(const RecordRef &r, std::uint32_t row, std::uint16_t col, std::uint16_t xf)
{
    if (col > 255)
        offTheSheet(r, col);
    if (!lastCells_ || row != lastRow_) {
        std::vector<Cell> &cells = rowAt(row, r).cells;
        lastCells_ = &cells;
        lastRow_ = row;
    }
    std::vector<Cell> &cells = *lastCells_;
    if (!sheet_.formulas.empty() && r.type != rec::Formula)
        sheet_.formulas.erase(formulaKey(row, col));
    if (cells.empty())
        cells.reserve(cellHint_);
    else if (cells.back().col >= col)
        return insertCell(cells, col, xf);
    Cell &c = cells.emplace_back();
    c.col = col;
    c.xf = xf;
    cellHint_ = std::clamp<std::size_t>(cells.size(), 4, 256);
    return c;
}

// A cell out of column order: it takes its place, or the place of one read before.
Cell &WorksheetReader::insertCell(std::vector<Cell> &cells, std::uint16_t col, std::uint16_t xf)
{
    Cell c;
    c.col = col;
    c.xf = xf;
    auto it = std::lower_bound(cells.begin(), cells.end(), col, [](const Cell &a, std::uint16_t v) { return a.col < v; });
    if (it != cells.end() && it->col == col) {
        *it = c;
        return *it;
    }
    return *cells.insert(it, c);
}

// A one-cell record: checked, then its row, column and XF name the cell it fills; its own
// fields start at offset 6.
Cell &WorksheetReader::readOneCell(const RecordRef &r, std::size_t minimum)
{
    needSize(r, minimum);
    const std::uint8_t *b = r.body.data();
    return addCell(r, le16(b), le16(b + 2), le16(b + 4));
}

// Cells, rows and the DIMENSIONS, INDEX and DBCELL records the writer rebuilds.
bool WorksheetReader::readCell(RecordStream &rs, const RecordRef &r)
{
    switch (r.type) {
    case rec::Number: {
        Cell &c = readOneCell(r, 14);
        c.kind = CellKind::Number;
        std::memcpy(&c.number, r.body.data() + 6, 8);
        break;
    }
    case rec::Rk: {
        Cell &c = readOneCell(r, 10);
        c.kind = CellKind::Number;
        c.number = rkValue(le32(r.body.data() + 6));
        break;
    }
    case rec::Label: {
        Cell &c = readOneCell(r, 9);
        ByteReader br(r.body, r.type, r.offset);
        br.skip(6);
        c.kind = CellKind::Text;
        c.text = book_.strings.add(br.unicodeString());
        break;
    }
    case rec::BoolErr: {
        Cell &c = readOneCell(r, 8);
        const std::uint8_t value = r.body[6], isError = r.body[7];
        c.kind = isError ? CellKind::Error : CellKind::Bool;
        c.code = isError ? value : (value ? 1 : 0);
        break;
    }
    case rec::Blank: readOneCell(r, 6); break;
    case rec::MulRk: readMulRk(r); break;
    case rec::MulBlank: readMulBlank(r); break;
    case rec::RString: readRString(r); break;
    case rec::LabelSst: readLabelSst(r); break;
    case rec::Formula: readFormula(rs, r); break;
    case rec::Row:
        needSize(r, 16);
        rowAt(le16(r.body.data()), r).record = raw(r);
        break;
    case rec::Dimensions: break;
    case rec::Index:
    case rec::DbCell: return true; // offsets of the file as read: the writer makes none
    default: return false;
    }
    placeOnce(placedDims_, RawRecord{rec::Dimensions, {}});
    return true;
}

void WorksheetReader::readMulRk(const RecordRef &r)
{
    needSize(r, 12);
    if ((r.body.size() - 6) % 6 != 0)
        throwDamaged(r.type, r.offset, "lunghezza " + std::to_string(r.body.size()) + " non valida per MULRK");
    ByteReader br(r.body, r.type, r.offset);
    const std::uint16_t row = br.u16(), first = br.u16();
    const std::size_t count = (r.body.size() - 6) / 6;
    checkSpan(r, first, count, "valori");
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t xf = br.u16();
        Cell &c = addCell(r, row, static_cast<std::uint16_t>(first + i), xf);
        c.kind = CellKind::Number;
        c.number = rkValue(br.u32());
    }
}

void WorksheetReader::readMulBlank(const RecordRef &r)
{
    needSize(r, 8);
    if (r.body.size() % 2 != 0)
        throwDamaged(r.type, r.offset, "lunghezza " + std::to_string(r.body.size()) + " non valida per MULBLANK");
    ByteReader br(r.body, r.type, r.offset);
    const std::uint16_t row = br.u16(), first = br.u16();
    const std::size_t count = (r.body.size() - 6) / 2;
    checkSpan(r, first, count, "celle");
    for (std::size_t i = 0; i < count; ++i)
        addCell(r, row, static_cast<std::uint16_t>(first + i), br.u16());
}

void WorksheetReader::readRString(const RecordRef &r)
{
    Cell &c = readOneCell(r, 11);
    ByteReader br(r.body, r.type, r.offset);
    br.skip(6);
    const std::u16string text = br.unicodeString();
    StringPool::Rich rich;
    rich.runCount = br.u16();
    const std::uint8_t *runs = br.take(rich.runCount * std::size_t{4});
    rich.runs.assign(runs, runs + rich.runCount * std::size_t{4});
    c.kind = CellKind::Text;
    c.text = book_.strings.add(text);
    if (rich.runCount)
        book_.strings.rich.emplace(c.text, std::move(rich));
}

void WorksheetReader::readLabelSst(const RecordRef &r)
{
    Cell &c = readOneCell(r, 10);
    const std::uint32_t isst = le32(r.body.data() + 6);
    if (isst >= sstCount_)
        pastTheTable(r, isst, sstCount_);
    c.kind = CellKind::Text;
    c.text = isst;
}

// FORMULA with its cached value, kept as read with the SHRFMLA, ARRAY, TABLE and STRING
// records that follow it.
void WorksheetReader::readFormula(RecordStream &rs, const RecordRef &r)
{
    Cell &cell = readOneCell(r, 20);
    const std::uint8_t *value = r.body.data() + 6;
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
    std::vector<RawRecord> records{raw(r)};
    std::uint16_t t;
    while (rs.peek(t) && (t == rec::ShrFmla || t == rec::Array || t == rec::Table || t == rec::Continue))
        records.push_back(raw(rs.next()));
    std::u16string text;
    if (rs.peek(t) && t == rec::String) {
        std::vector<RecordRef> segments{rs.next()};
        while (rs.peek(t) && t == rec::Continue)
            segments.push_back(rs.next());
        for (const auto &s : segments)
            records.push_back(raw(s));
        text = SstReader(segments).plainString();
    }
    if (cell.kind == CellKind::Text)
        cell.text = book_.strings.add(stringResult ? text : std::u16string());
    sheet_.formulas[formulaKey(le16(r.body.data()), cell.col)] = std::move(records);
}

void WorksheetReader::readColumn(const RecordRef &r)
{
    needSize(r, 10);
    placeOnce(placedCols_, RawRecord{rec::ColInfo, {}});
    ByteReader br(r.body, r.type, r.offset);
    ColumnInfo ci;
    const std::uint16_t first = br.u16(), last = br.u16();
    ci.width = br.u16();
    ci.xf = br.u16();
    ci.options = br.u16();
    if (first > 255 || first > last)
        return; // nothing of it lies on the grid
    ci.first = first;
    ci.last = std::min<std::uint16_t>(last, 255);
    sheet_.columns.push_back(ci);
}

// WINDOW2, then PANE and the SELECTION of each pane; the active pane's selection is the
// active cell. PANE and SELECTION stay as read, for a view the host leaves unchanged.
bool WorksheetReader::readView(const RecordRef &r)
{
    ByteReader br(r.body, r.type, r.offset);
    Window &window = sheet_.window;
    switch (r.type) {
    case rec::Window2: {
        needSize(r, 10);
        const std::uint16_t grbit = br.u16();
        window.topRow = br.u16();
        window.leftCol = br.u16();
        window.selected = grbit & 0x0200;
        frozen_ = grbit & 0x0008;
        placeOnce(placedWindow_, raw(r));
        return true;
    }
    case rec::Pane: {
        needSize(r, 9);
        const std::uint16_t x = br.u16(), y = br.u16();
        br.skip(4);
        activePane_ = br.u8();
        if (frozen_) {
            window.frozenCols = x;
            window.frozenRows = y;
        }
        break;
    }
    case rec::Selection: {
        needSize(r, 9);
        const std::uint8_t pane = br.u8();
        const std::uint16_t row = br.u16(), col = br.u16();
        if (pane == activePane_) {
            window.activeRow = row;
            window.activeCol = std::min<std::uint16_t>(col, 255);
        }
        break;
    }
    default:
        return false;
    }
    sheet_.records.push_back(raw(r));
    return true;
}

// A page-setup record leaves an empty placeholder, except SETUP and WSBOOL, whose fields the
// model does not own are written back as read (the last record read wins).
void WorksheetReader::placePage(PageSlot slot, const RecordRef &r, bool keepBody)
{
    bool &placed = placedPage_[static_cast<int>(slot)];
    if (!placed)
        sheet_.records.push_back(keepBody ? raw(r) : RawRecord{r.type, {}});
    else if (keepBody)
        for (RawRecord &kept : sheet_.records)
            if (kept.type == r.type)
                kept.body.assign(r.body.begin(), r.body.end());
    placed = true;
}

bool WorksheetReader::readPage(const RecordRef &r)
{
    const auto slot = pageSlot(r.type);
    if (!slot)
        return false;
    PageSetup &page = sheet_.page;
    ByteReader br(r.body, r.type, r.offset);
    switch (*slot) {
    case PageSlot::Header:
    case PageSlot::Footer:
        (*slot == PageSlot::Header ? page.header : page.footer) = r.body.empty() ? std::u16string() : br.unicodeString();
        break;
    case PageSlot::LeftMargin:
    case PageSlot::RightMargin:
    case PageSlot::TopMargin:
    case PageSlot::BottomMargin: {
        needSize(r, 8);
        double *margins[] = {&page.leftMargin, &page.rightMargin, &page.topMargin, &page.bottomMargin};
        const double inches = br.f64();
        if (validMargin(inches))
            *margins[static_cast<int>(*slot) - static_cast<int>(PageSlot::LeftMargin)] = inches;
        break;
    }
    case PageSlot::Setup:
        readSetup(r);
        break;
    case PageSlot::WsBool:
        needSize(r, 2);
        page.fitToPages = r.body[1] & 0x01;
        break;
    case PageSlot::Count:
        break;
    }
    placePage(*slot, r, *slot == PageSlot::Setup || *slot == PageSlot::WsBool);
    return true;
}

void WorksheetReader::readSetup(const RecordRef &r)
{
    needSize(r, setup::Size);
    PageSetup &page = sheet_.page;
    ByteReader br(r.body, r.type, r.offset);
    const std::uint16_t paper = br.u16(), scale = br.u16();
    br.skip(2);
    const std::uint16_t wide = br.u16(), tall = br.u16(), flags = br.u16();
    br.skip(4);
    const double header = br.f64(), footer = br.f64();
    if (!(flags & setup::NoPls)) {
        page.paperSize = paper;
        page.zoom = std::clamp<std::uint16_t>(scale, 10, 400);
        page.landscape = !(flags & setup::Portrait) && !(flags & setup::NoOrient);
    }
    page.fitWide = wide;
    page.fitTall = tall;
    if (validMargin(header))
        page.headerMargin = header;
    if (validMargin(footer))
        page.footerMargin = footer;
    page.hasSetup = true;
}

struct SheetEntry {
    std::size_t recordOffset = 0;   // of the BOUNDSHEET record, for errors
    std::uint32_t position = 0;     // lbPlyPos
    std::size_t index = 0;          // in Book::sheets
};

class Parser {
public:
    Parser(std::span<const std::uint8_t> stream, StreamCrypt *crypt)
        : s_(stream), crypt_(crypt), rowBudget_((std::size_t{1} << 20) + stream.size() / 4) {}

    Book run();

private:
    void readGlobals(RecordStream &rs);
    bool readModelGlobal(RecordStream &rs, const RecordRef &r);
    void readBoundSheet(const RecordRef &r);
    void readSst(RecordStream &rs, const RecordRef &r);
    void readPrintAreas();
    void checkSheetPositions(std::size_t globalsEnd) const;
    void readSubstream(const SheetEntry &entry, std::size_t limit);

    std::span<const std::uint8_t> s_;
    StreamCrypt *crypt_;
    Book book_;
    std::vector<SheetEntry> entries_;
    std::uint32_t sstCount_ = 0;
    bool sstSeen_ = false;
    bool placedFormat_ = false, placedXf_ = false, placedDate_ = false, placedSheets_ = false;
    std::size_t rowBudget_;
    std::size_t cellHint_ = 4;
};

Book Parser::run()
{
    if (s_.size() < 4)
        throw Error(ErrorKind::NotAWorkbook, "flusso Workbook vuoto o troppo corto ("
                                                 + std::to_string(s_.size()) + " byte)");
    if (crypt_)
        crypt_->require(0, 2);
    const std::uint16_t first = le16(s_.data());
    if (first != rec::Bof && !isOldBof(first))
        throw Error(ErrorKind::NotAWorkbook, first, 0, "il flusso non inizia con un record BOF");
    RecordStream rs(s_, 0, s_.size(), crypt_);
    readGlobals(rs);
    readPrintAreas();
    checkSheetPositions(rs.pos());

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

void Parser::checkSheetPositions(std::size_t globalsEnd) const
{
    for (const auto &e : entries_) {
        if (e.position < globalsEnd)
            throwDamaged(rec::BoundSheet, e.recordOffset,
                         "il foglio inizia all'offset " + std::to_string(e.position) + ", dentro il foglio globale");
        if (e.position >= s_.size())
            throwDamaged(rec::BoundSheet, e.recordOffset,
                         "il foglio inizia all'offset " + std::to_string(e.position) + ", oltre la fine del flusso");
    }
}

void Parser::readGlobals(RecordStream &rs)
{
    const RecordRef bof = rs.next();
    checkBof(bof, true);
    book_.globals.push_back(raw(bof));
    for (;;) {
        if (rs.atEnd())
            throwDamaged(rec::Eof, rs.pos(), "il foglio globale non termina con un record EOF");
        const RecordRef r = rs.next();
        if (r.type == rec::Bof)
            throwDamaged(r.type, r.offset, "record BOF dentro il foglio globale (manca EOF)");
        if (readModelGlobal(rs, r))
            continue;
        book_.globals.push_back(raw(r));
        if (r.type == rec::Eof)
            return;
    }
}

// The globals the model owns: sheets, strings, number formats, XFs and the date system.
// Their first record leaves a placeholder for the writer; FILEPASS and EXTSST are dropped.
bool Parser::readModelGlobal(RecordStream &rs, const RecordRef &r)
{
    const auto placeOnce = [&](bool &placed) {
        if (!placed)
            book_.globals.push_back(RawRecord{r.type, {}});
        placed = true;
    };
    std::uint16_t next;
    switch (r.type) {
    case rec::FilePass: return true;
    case rec::BoundSheet: readBoundSheet(r); placeOnce(placedSheets_); return true;
    case rec::Sst: readSst(rs, r); return true;
    case rec::ExtSst:
        while (rs.peek(next) && next == rec::Continue)
            rs.next();
        return true;
    case rec::Format: {
        needSize(r, 5);
        ByteReader br(r.body, r.type, r.offset);
        const std::uint16_t ifmt = br.u16();
        book_.formats[ifmt] = br.unicodeString();
        placeOnce(placedFormat_);
        return true;
    }
    case rec::Xf:
        needSize(r, 20);
        book_.xfs.push_back(Xf{Bytes(r.body.begin(), r.body.end())});
        placeOnce(placedXf_);
        return true;
    case rec::DateMode:
        needSize(r, 2);
        book_.date1904 = (r.body[0] & 0x01) != 0;
        placeOnce(placedDate_);
        return true;
    default:
        return false;
    }
}

void Parser::readBoundSheet(const RecordRef &r)
{
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
}

void Parser::readSst(RecordStream &rs, const RecordRef &r)
{
    if (sstSeen_)
        throwDamaged(r.type, r.offset, "tabella delle stringhe ripetuta");
    sstSeen_ = true;
    std::vector<RecordRef> segments{r};
    std::uint16_t next;
    while (rs.peek(next) && next == rec::Continue)
        segments.push_back(rs.next());
    sstCount_ = SstReader::readSst(std::move(segments), book_.strings);
    book_.globals.push_back(RawRecord{rec::Sst, {}});
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

void Parser::readSubstream(const SheetEntry &entry, std::size_t limit)
{
    Sheet &sheet = book_.sheets[entry.index];
    RecordStream rs(s_, entry.position, limit, crypt_);
    const RecordRef bof = rs.next();
    checkBof(bof, false);
    sheet.records.push_back(raw(bof));
    if (le16(bof.body.data() + 2) == rec::BofWorksheet) {
        sheet.kind = SheetKind::Worksheet;
        WorksheetReader(book_, sheet, sstCount_, rowBudget_, cellHint_).read(rs);
        return;
    }
    sheet.kind = SheetKind::Other;
    for (int depth = 0;;) {
        if (rs.atEnd())
            missingEof(sheet.name, rs.pos());
        const RecordRef r = rs.next();
        sheet.records.push_back(raw(r));
        if (r.type == rec::Bof)
            ++depth;
        else if (r.type == rec::Eof && depth-- == 0)
            return;
    }
}

} // namespace

Book readWorkbookStream(std::span<const std::uint8_t> stream, StreamCrypt *crypt)
{
    return Parser(stream, crypt).run();
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
