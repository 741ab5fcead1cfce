#include "spreadsheet/detail/ColumnFormat.h"
#include "Area.h"

#include "spreadsheet/xls/container/LittleEndian.h"
#include "spreadsheet/xls/RecordTypes.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

namespace host {
namespace {

constexpr std::uint16_t kUserSetWidth = 0x0002;  // COLINFO fUserSet

std::uint16_t defaultWidth(const xls::Sheet &sheet)
{
    for (const xls::RawRecord &record : sheet.records) {
        if (record.type == xls::rec::StandardWidth && record.body.size() >= 2)
            return xls::le16(record.body.data());
    }
    return xls::ColumnInfo{}.width;
}

bool sameLook(const xls::ColumnInfo &a, const xls::ColumnInfo &b)
{
    return a.width == b.width && a.xf == b.xf && a.options == b.options;
}

// Applies `change` to the COLINFO of each column first..last (a column without one starts at
// the sheet's default width) and merges neighbours that look the same.
template <typename Change>
void changeColumns(xls::Sheet &sheet, std::uint16_t first, std::uint16_t last, Change change)
{
    std::array<std::optional<xls::ColumnInfo>, kMaxColumns> perColumn;
    for (const xls::ColumnInfo &info : sheet.columns) {
        for (int c = info.first; c <= info.last && c < kMaxColumns; ++c)
            perColumn[c] = info;
    }
    const std::uint16_t width = defaultWidth(sheet);
    for (int c = first; c <= last && c < kMaxColumns; ++c) {
        if (!perColumn[c]) {
            xls::ColumnInfo info;
            info.width = width;
            perColumn[c] = info;
        }
        change(*perColumn[c]);
    }
    std::vector<xls::ColumnInfo> merged;
    for (int c = 0; c < kMaxColumns; ++c) {
        if (!perColumn[c])
            continue;
        xls::ColumnInfo info = *perColumn[c];
        if (!merged.empty() && merged.back().last + 1 == c && sameLook(merged.back(), info)) {
            merged.back().last = std::uint16_t(c);
            continue;
        }
        info.first = info.last = std::uint16_t(c);
        merged.push_back(info);
    }
    sheet.columns = std::move(merged);
}

} // namespace

void setColumnFormat(xls::Book &book, xls::Sheet &sheet, std::uint16_t first, std::uint16_t last,
                     std::u16string_view code)
{
    std::map<std::uint16_t, std::uint16_t> derived; // old XF -> same XF with the new format
    auto recent = derived.end(); // a column's cells mostly share one XF
    const auto withFormat = [&](std::uint16_t xf) {
        if (recent == derived.end() || recent->first != xf) {
            recent = derived.find(xf);
            if (recent == derived.end())
                recent = derived.emplace(xf, book.xfWithFormat(xf, code)).first;
        }
        return recent->second;
    };
    changeColumns(sheet, first, last, [&](xls::ColumnInfo &info) { info.xf = withFormat(info.xf); });

    for (xls::Row &row : sheet.rows) {
        auto cell = std::lower_bound(row.cells.begin(), row.cells.end(), first,
                                     [](const xls::Cell &c, std::uint16_t col) { return c.col < col; });
        for (; cell != row.cells.end() && cell->col <= last; ++cell)
            cell->xf = withFormat(cell->xf);
    }
}

void setColumnWidth(xls::Sheet &sheet, std::uint16_t first, std::uint16_t last, std::uint16_t width)
{
    changeColumns(sheet, first, last, [&](xls::ColumnInfo &info) {
        info.width = width;
        info.options |= kUserSetWidth;
    });
}

} // namespace host
