#include "BiffRows.h"

#include "ByteWriter.h"
#include "spreadsheet/xls/container/Error.h"
#include "RecordTypes.h"
#include "SstReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace xls {

namespace {

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

// The records of the rows are many and small: they are gathered on the stack and appended to
// the stream in large pieces. A pointer from grow() is good until the next grow().
class RowsWriter {
public:
    explicit RowsWriter(Bytes &out) : out_(out) {}

    std::uint8_t *grow(std::size_t n)
    {
        if (n > sizeof buffer_ - used_) {
            flush();
            if (n > sizeof buffer_)
                return ByteWriter(out_).grow(n);
        }
        std::uint8_t *p = buffer_ + used_;
        used_ += n;
        return p;
    }
    void record(std::uint16_t type, const Bytes &body)
    {
        std::uint8_t *p = grow(4 + body.size());
        ByteWriter::put16(p, type);
        ByteWriter::put16(p + 2, static_cast<std::uint16_t>(body.size()));
        if (!body.empty())
            std::memcpy(p + 4, body.data(), body.size());
    }
    void flush()
    {
        out_.insert(out_.end(), buffer_, buffer_ + used_);
        used_ = 0;
    }

private:
    Bytes &out_;
    std::uint8_t buffer_[32 * 1024];
    std::size_t used_ = 0;
};

// Reserves a cell record and writes its header, row, column and XF; returns where the
// record's own fields start.
std::uint8_t *cellRecord(RowsWriter &w, std::uint16_t type, std::size_t bodySize, std::uint16_t row,
                         std::uint16_t col, std::uint16_t xf)
{
    std::uint8_t *p = w.grow(4 + bodySize);
    ByteWriter::put16(p, type);
    ByteWriter::put16(p + 2, static_cast<std::uint16_t>(bodySize));
    ByteWriter::put16(p + 4, row);
    ByteWriter::put16(p + 6, col);
    ByteWriter::put16(p + 8, xf);
    return p + 10;
}

// DIMENSIONS: first used row, last used row + 1, first used column, last used column + 1.
void writeDimensions(const Sheet &sheet, RowsWriter &w)
{
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
    std::uint8_t *p = w.grow(18);
    ByteWriter::put16(p, rec::Dimensions);
    ByteWriter::put16(p + 2, 14);
    ByteWriter::put32(p + 4, rowMin);
    ByteWriter::put32(p + 8, rowMax);
    ByteWriter::put16(p + 12, any ? colMin : 0);
    ByteWriter::put16(p + 14, colMax);
    ByteWriter::put16(p + 16, 0);
}

// ROW as read (its height and flags), or a default one, with its number and columns.
void writeRowRecord(const Row &row, std::size_t r, RowsWriter &w)
{
    std::uint8_t *p = w.grow(20);
    ByteWriter::put16(p, rec::Row);
    ByteWriter::put16(p + 2, 16);
    std::uint8_t *b = p + 4;
    if (row.record && row.record->body.size() >= 16) {
        std::memcpy(b, row.record->body.data(), 16);
    } else {
        std::memset(b, 0, 16);
        ByteWriter::put16(b + 6, 0x00FF); // default height
        ByteWriter::put16(b + 12, 0x0100);
        ByteWriter::put16(b + 14, 0x000F);
    }
    ByteWriter::put16(b, static_cast<std::uint16_t>(r));
    if (!row.cells.empty()) {
        ByteWriter::put16(b + 2, row.cells.front().col);
        ByteWriter::put16(b + 4, static_cast<std::uint16_t>(row.cells.back().col + 1));
    }
}

// The formula's records as read, the FORMULA moved to the cell's place and format.
void writeFormula(const std::vector<RawRecord> &records, std::uint16_t row, const Cell &c, RowsWriter &w)
{
    Bytes body = records.front().body;
    ByteWriter::put16(&body[0], row);
    ByteWriter::put16(&body[2], c.col);
    ByteWriter::put16(&body[4], c.xf);
    w.record(records.front().type, body);
    for (std::size_t k = 1; k < records.size(); ++k)
        w.record(records[k].type, records[k].body);
}

// A run of formatted blanks from cells[i]: one BLANK, or one MULBLANK of up to 1000 cells.
// Returns the index of the last cell written.
std::size_t writeBlanks(const std::vector<Cell> &cells, std::size_t i, std::uint16_t row, RowsWriter &w)
{
    std::size_t j = i + 1;
    while (j < cells.size() && cells[j].kind == CellKind::Blank && cells[j].col == cells[j - 1].col + 1 && j - i < 1000)
        ++j;
    const Cell &c = cells[i];
    if (j - i == 1) {
        cellRecord(w, rec::Blank, 6, row, c.col, c.xf);
        return i;
    }
    const std::size_t n = j - i;
    std::uint8_t *p = cellRecord(w, rec::MulBlank, 6 + 2 * n, row, c.col, c.xf);
    for (std::size_t k = 1; k < n; ++k)
        ByteWriter::put16(p + 2 * (k - 1), cells[i + k].xf);
    ByteWriter::put16(p + 2 * (n - 1), cells[j - 1].col);
    return j - 1;
}

void writeValue(const Cell &c, std::uint16_t row, const StringPool &strings, const SstWriter &sst, RowsWriter &w)
{
    switch (c.kind) {
    case CellKind::Blank:
        break;
    case CellKind::Number: {
        std::uint32_t rk;
        if (toRk(c.number, rk))
            ByteWriter::put32(cellRecord(w, rec::Rk, 10, row, c.col, c.xf), rk);
        else
            std::memcpy(cellRecord(w, rec::Number, 14, row, c.col, c.xf), &c.number, 8);
        break;
    }
    case CellKind::Text:
        if (c.text < strings.size()) {
            ByteWriter::put32(cellRecord(w, rec::LabelSst, 10, row, c.col, c.xf), sst.indexOf(c.text));
            break;
        }
        std::memset(cellRecord(w, rec::Label, 9, row, c.col, c.xf), 0, 3); // an empty text: cch 0, 8-bit
        break;
    case CellKind::Bool:
    case CellKind::Error: {
        std::uint8_t *p = cellRecord(w, rec::BoolErr, 8, row, c.col, c.xf);
        p[0] = c.code;
        p[1] = c.kind == CellKind::Error ? 1 : 0;
        break;
    }
    }
}

} // namespace

bool keepsFormula(const Cell &cell, const std::vector<RawRecord> &records, const StringPool &strings)
{
    if (records.empty() || records.front().type != rec::Formula || records.front().body.size() < 20)
        return false;
    const std::uint8_t *v = records.front().body.data() + 6;
    if (v[6] != 0xFF || v[7] != 0xFF) {
        double cached;
        std::memcpy(&cached, v, 8);
        return cell.kind == CellKind::Number && std::memcmp(&cached, &cell.number, 8) == 0;
    }
    switch (v[0]) {
    case 0: {
        if (cell.kind != CellKind::Text)
            return false;
        std::vector<RecordRef> segments;
        for (const auto &r : records) {
            if (r.type == rec::String || (r.type == rec::Continue && !segments.empty()))
                segments.push_back(RecordRef{r.type, 0, r.body});
            else if (!segments.empty())
                break;
        }
        if (segments.empty())
            return strings.at(cell.text).empty();
        try {
            return SstReader(segments).plainString() == strings.at(cell.text);
        } catch (const Error &) {
            return false;
        }
    }
    case 1:
        return cell.kind == CellKind::Bool && cell.code == (v[2] ? 1 : 0);
    case 2:
        return cell.kind == CellKind::Error && cell.code == v[2];
    default:
        return cell.kind == CellKind::Text && strings.at(cell.text).empty();
    }
}

void writeRows(const Sheet &sheet, const StringPool &strings, const SstWriter &sst, Bytes &out)
{
    RowsWriter w(out);
    writeDimensions(sheet, w);
    auto formula = sheet.formulas.begin();
    const std::size_t rowCount = std::min<std::size_t>(sheet.rows.size(), 65536);
    for (std::size_t block = 0; block < rowCount; block += 32) {
        const std::size_t end = std::min(rowCount, block + 32);
        for (std::size_t r = block; r < end; ++r) {
            if (!sheet.rows[r].cells.empty() || sheet.rows[r].record)
                writeRowRecord(sheet.rows[r], r, w);
        }
        for (std::size_t r = block; r < end; ++r) {
            const auto &cells = sheet.rows[r].cells;
            const auto row = static_cast<std::uint16_t>(r);
            for (std::size_t i = 0; i < cells.size(); ++i) {
                const Cell &c = cells[i];
                const std::uint32_t key = formulaKey(row, c.col);
                while (formula != sheet.formulas.end() && formula->first < key)
                    ++formula;
                if (formula != sheet.formulas.end() && formula->first == key && keepsFormula(c, formula->second, strings))
                    writeFormula(formula->second, row, c, w);
                else if (c.kind == CellKind::Blank)
                    i = writeBlanks(cells, i, row, w);
                else
                    writeValue(c, row, strings, sst, w);
            }
        }
    }
    w.flush();
}

} // namespace xls
