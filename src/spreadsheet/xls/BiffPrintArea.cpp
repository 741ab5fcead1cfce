#include "BiffPrintArea.h"

#include "ByteWriter.h"
#include "spreadsheet/xls/container/LittleEndian.h"

namespace xls {

namespace {

constexpr std::uint32_t MaxRow = 65535;
constexpr std::uint32_t MaxCol = 255;

struct Ref {
    std::optional<std::uint32_t> row, col;
};

// One side of an area: "$A$1", "A1", "$A", "A", "$1", "1".
std::optional<Ref> parseRef(std::u16string_view s)
{
    std::size_t i = 0;
    Ref r;
    if (i < s.size() && s[i] == u'$')
        ++i;
    std::uint32_t col = 0;
    std::size_t letters = 0;
    while (i < s.size() && letters < 3) {
        char16_t c = s[i];
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - 0x20);
        if (c < u'A' || c > u'Z')
            break;
        col = col * 26 + (c - u'A' + 1);
        ++letters;
        ++i;
    }
    if (letters > 0) {
        if (col - 1 > MaxCol)
            return std::nullopt;
        r.col = col - 1;
        if (i < s.size() && s[i] == u'$')
            ++i;
    } else if (i > 0 && i == s.size()) {
        return std::nullopt;
    }
    std::uint32_t row = 0;
    std::size_t digits = 0;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9' && digits < 6) {
        row = row * 10 + (s[i] - u'0');
        ++digits;
        ++i;
    }
    if (i != s.size() || (letters == 0 && digits == 0))
        return std::nullopt;
    if (digits > 0) {
        if (row < 1 || row - 1 > MaxRow)
            return std::nullopt;
        r.row = row - 1;
    }
    return r;
}

std::u16string columnName(std::uint32_t col)
{
    std::u16string s;
    ++col;
    while (col > 0) {
        s.insert(s.begin(), static_cast<char16_t>(u'A' + (col - 1) % 26));
        col = (col - 1) / 26;
    }
    return s;
}

std::u16string number(std::uint32_t n)
{
    std::u16string s;
    do {
        s.insert(s.begin(), static_cast<char16_t>(u'0' + n % 10));
        n /= 10;
    } while (n > 0);
    return s;
}

} // namespace

std::optional<CellArea> parseArea(std::u16string_view text)
{
    const auto colon = text.find(u':');
    const auto a = parseRef(text.substr(0, colon));
    if (!a)
        return std::nullopt;
    Ref b = *a;
    if (colon != std::u16string_view::npos) {
        const auto r = parseRef(text.substr(colon + 1));
        if (!r)
            return std::nullopt;
        b = *r;
    }
    const bool cells = a->row && a->col && b.row && b.col;
    const bool columns = !a->row && !b.row && a->col && b.col && colon != std::u16string_view::npos;
    const bool rows = !a->col && !b.col && a->row && b.row && colon != std::u16string_view::npos;
    if (!cells && !columns && !rows)
        return std::nullopt;
    CellArea area;
    area.rowFirst = static_cast<std::uint16_t>(columns ? 0 : std::min(*a->row, *b.row));
    area.rowLast = static_cast<std::uint16_t>(columns ? MaxRow : std::max(*a->row, *b.row));
    area.colFirst = static_cast<std::uint16_t>(rows ? 0 : std::min(*a->col, *b.col));
    area.colLast = static_cast<std::uint16_t>(rows ? MaxCol : std::max(*a->col, *b.col));
    return area;
}

std::u16string formatArea(const CellArea &area)
{
    const bool allRows = area.rowFirst == 0 && area.rowLast == MaxRow;
    const bool allCols = area.colFirst == 0 && area.colLast == MaxCol;
    if (allRows && !allCols)
        return u"$" + columnName(area.colFirst) + u":$" + columnName(area.colLast);
    if (allCols && !allRows)
        return u"$" + number(area.rowFirst + 1u) + u":$" + number(area.rowLast + 1u);
    auto cell = [](std::uint32_t r, std::uint32_t c) { return u"$" + columnName(c) + u"$" + number(r + 1); };
    if (area.rowFirst == area.rowLast && area.colFirst == area.colLast)
        return cell(area.rowFirst, area.colFirst);
    return cell(area.rowFirst, area.colFirst) + u":" + cell(area.rowLast, area.colLast);
}

std::optional<CellArea> areaOfFormula(std::span<const std::uint8_t> f)
{
    if (f.empty())
        return std::nullopt;
    auto u16 = [&](std::size_t at) { return le16(f.data() + at); };
    const std::uint8_t ptg = f[0];
    const std::uint8_t base = ptg & 0x1F;          // the class bits (0x20, 0x40) do not matter here
    const bool hasSheet = base == 0x1B || base == 0x1A;
    const std::size_t at = hasSheet ? 3 : 1;
    CellArea a;
    if ((base == 0x1B || base == 0x05) && f.size() == at + 8) {           // area, area3d
        a.rowFirst = u16(at);
        a.rowLast = u16(at + 2);
        a.colFirst = u16(at + 4) & 0x3FFF;
        a.colLast = u16(at + 6) & 0x3FFF;
    } else if ((base == 0x1A || base == 0x04) && f.size() == at + 4) {    // ref, ref3d
        a.rowFirst = a.rowLast = u16(at);
        a.colFirst = a.colLast = u16(at + 2) & 0x3FFF;
    } else {
        return std::nullopt;
    }
    if (a.rowFirst > a.rowLast || a.colFirst > a.colLast || a.colLast > MaxCol)
        return std::nullopt;
    return a;
}

Bytes area3dFormula(std::uint16_t ixti, const CellArea &area)
{
    Bytes b;
    ByteWriter w(b);
    w.u8(0x3B);
    w.u16(ixti);
    w.u16(area.rowFirst);
    w.u16(area.rowLast);
    w.u16(area.colFirst);
    w.u16(area.colLast);
    return b;
}

} // namespace xls
