#include "SheetGeometry.h"

#include "spreadsheet/detail/Engine.h"
#include "spreadsheet/xls/ByteReader.h"
#include "spreadsheet/xls/container/Error.h"
#include "spreadsheet/xls/RecordTypes.h"
#include "Worksheet.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace host {
namespace {

constexpr double kPointsPerTwip = 1.0 / 20.0;
constexpr double kPointsPerPixel = 0.75; // 96 pixels to the inch
constexpr std::uint16_t kRowHidden = 0x0020;
constexpr std::uint16_t kDefaultRowHidden = 0x0002;
constexpr std::uint16_t kColumnHidden = 0x0001;

std::uint16_t u16At(const xls::Bytes &body, std::size_t offset)
{
    return body.size() >= offset + 2 ? std::uint16_t(body[offset] | body[offset + 1] << 8) : 0;
}

const xls::RawRecord *findRecord(const std::vector<xls::RawRecord> &records, std::uint16_t type)
{
    const auto it = std::find_if(records.begin(), records.end(),
                                 [type](const xls::RawRecord &r) { return r.type == type && r.body.size() >= 2; });
    return it == records.end() ? nullptr : &*it;
}

// A ROW record: its height in twips unless the row is hidden.
double rowPoints(const xls::RawRecord &row)
{
    if (u16At(row.body, 12) & kRowHidden)
        return 0;
    return (u16At(row.body, 6) & 0x7FFF) * kPointsPerTwip;
}

struct Font {
    QString family;
    double points = 0;
};

// The first FONT record; a short one from a foreign file leaves the usual font.
std::optional<Font> readFont(const xls::RawRecord &record)
{
    try {
        xls::ByteReader reader(record.body, record.type, 0);
        Font font;
        font.points = reader.u16() * kPointsPerTwip;
        reader.skip(12);
        font.family = QString::fromStdU16String(reader.shortUnicodeString());
        if (font.points > 0 && !font.family.isEmpty())
            return font;
    } catch (const xls::Error &) {
    }
    return std::nullopt;
}

constexpr int kCellPadding = 5; // pixels a column adds to its digits

// The workbook's default font, the first FONT record; a short one from a foreign file leaves
// the usual font.
Font defaultFont(const Worksheet &sheet)
{
    if (const xls::RawRecord *record = findRecord(detail::Engine::book(sheet).globals, xls::rec::Font)) {
        if (const auto font = readFont(*record))
            return *font;
    }
    return {QStringLiteral("Arial"), 10};
}

// Widths count the default font's digit width, about half its height in pixels.
int digitPixels(double fontPoints)
{
    return std::max(1, int(std::lround(fontPoints / kPointsPerPixel * 0.5)));
}

// COLINFO units to whole pixels, rounding as Excel does.
int columnPixels(std::uint16_t width, int digit)
{
    return (width + 128 / digit) * digit / 256;
}

} // namespace

std::uint16_t columnWidthUnits(const Worksheet &sheet, double characters)
{
    const int digit = digitPixels(defaultFont(sheet).points);
    const long pixels = characters > 0 ? std::lround(characters * digit) + kCellPadding : 0;
    return std::uint16_t(std::min<long>(0xFFFF, (pixels * 256 + digit - 1) / digit));
}

SheetGeometry::SheetGeometry(const Worksheet &sheet)
{
    const xls::Sheet &data = detail::Engine::sheet(sheet);
    const Font font = defaultFont(sheet);
    fontFamily_ = font.family;
    fontPoints_ = font.points;
    if (const xls::RawRecord *row = findRecord(data.records, xls::rec::DefaultRowHeight); row && row->body.size() >= 4)
        defaultRow_ = (u16At(row->body, 0) & kDefaultRowHidden) ? 0 : u16At(row->body, 2) * kPointsPerTwip;

    rows_.assign(data.rows.size(), defaultRow_);
    for (std::size_t r = 0; r < data.rows.size(); ++r) {
        if (data.rows[r].record)
            rows_[r] = rowPoints(*data.rows[r].record);
    }

    // A default width adds the cell padding and rounds up to 8 pixels.
    const int digit = digitPixels(fontPoints_);
    double standard = 0;
    if (const xls::RawRecord *width = findRecord(data.records, xls::rec::StandardWidth)) {
        standard = columnPixels(u16At(width->body, 0), digit);
    } else {
        const xls::RawRecord *chars = findRecord(data.records, xls::rec::DefColWidth);
        standard = std::ceil(((chars ? u16At(chars->body, 0) : 8) * digit + kCellPadding) / 8.0) * 8;
    }
    columns_.fill(standard * kPointsPerPixel);
    for (const xls::ColumnInfo &info : data.columns) {
        const double points = (info.options & kColumnHidden) ? 0 : columnPixels(info.width, digit) * kPointsPerPixel;
        for (int c = info.first; c <= std::min<int>(info.last, kMaxColumns - 1); ++c)
            columns_[std::size_t(c)] = points;
    }
}

double SheetGeometry::rowHeight(int row) const
{
    return std::size_t(row) <= rows_.size() ? rows_[std::size_t(row - 1)] : defaultRow_;
}

double SheetGeometry::columnWidth(int column) const
{
    return columns_[std::size_t(column - 1)];
}

} // namespace host
