#include "Range.h"

#include "spreadsheet/detail/CellText.h"
#include "spreadsheet/detail/ColumnFormat.h"
#include "spreadsheet/detail/Engine.h"
#include "HostErrors.h"
#include "SheetGeometry.h"
#include "Workbook.h"
#include "Worksheet.h"

#include <algorithm>

namespace host {
namespace {

bool inGrid(int row, int column)
{
    return row >= 1 && row <= kMaxRows && column >= 1 && column <= kMaxColumns;
}

// Has a value: a formatted blank counts as empty, as for the host's jumps.
bool filled(const xls::Sheet &sheet, int row, int column)
{
    if (row < 1 || std::size_t(row) > sheet.rows.size())
        return false;
    const std::vector<xls::Cell> &cells = sheet.rows[std::size_t(row - 1)].cells;
    const auto col = std::uint16_t(column - 1);
    const auto it = std::lower_bound(cells.begin(), cells.end(), col,
                                     [](const xls::Cell &c, std::uint16_t v) { return c.col < v; });
    return it != cells.end() && it->col == col && it->kind != xls::CellKind::Blank;
}

// Ctrl+arrow along one line: `at` moves by `step` within [1, limit].
template <typename Filled>
int jump(int at, int step, int limit, Filled isFilled)
{
    const auto inside = [&](int i) { return step > 0 ? i <= limit : i >= 1; };
    const int next = at + step;
    if (!inside(next))
        return at;
    if (isFilled(at) && isFilled(next)) {
        int last = next;
        while (inside(last + step) && isFilled(last + step))
            last += step;
        return last;
    }
    for (int i = next; inside(i); i += step) {
        if (isFilled(i))
            return i;
    }
    return step > 0 ? limit : 1;
}

// Excel's adjustment of a reference when a row goes: rows below move up, a reference to
// the deleted row alone disappears.
std::optional<Area> afterRowDeleted(Area area, int deleted)
{
    if (area.wholeColumns() || deleted > area.lastRow)
        return area;
    if (deleted < area.row) {
        --area.row;
        --area.lastRow;
        return area;
    }
    if (area.row == area.lastRow)
        return std::nullopt;
    --area.lastRow;
    return area;
}

void adjustPrintArea(xls::Sheet &sheet, int deleted)
{
    if (!sheet.page.printArea)
        return;
    QStringList kept;
    const QString areas = QString::fromStdU16String(*sheet.page.printArea);
    for (const QString &text : areas.split(QLatin1Char(','))) {
        const auto area = Area::parse(text);
        if (!area) {
            kept << text;
            continue;
        }
        if (const auto moved = afterRowDeleted(*area, deleted))
            kept << moved->absolute();
    }
    if (kept.isEmpty())
        sheet.page.printArea.reset();
    else
        sheet.page.printArea = kept.join(QLatin1Char(',')).toStdU16String();
}

} // namespace

Range::Range(Worksheet *sheet, int row, int column, int lastRow, int lastColumn)
    : sheet_(sheet), area_{std::min(row, lastRow), std::min(column, lastColumn), std::max(row, lastRow),
                           std::max(column, lastColumn)}
{
    if (!inGrid(area_.row, area_.column) || !inGrid(area_.lastRow, area_.lastColumn))
        throw applicationDefined();
}

Range::Range(Worksheet *sheet, const Area &area)
    : Range(sheet, area.row, area.column, area.lastRow, area.lastColumn)
{
}

Worksheet &Range::worksheet() const
{
    return *sheet_;
}

QString Range::text() const
{
    const xls::Sheet &sheet = detail::Engine::sheet(*sheet_);
    return cellText(detail::Engine::book(*sheet_), sheet.cell(std::uint32_t(row() - 1), std::uint16_t(column() - 1)),
                    sheet_->regional());
}

ValueType Range::valueType() const
{
    const xls::Sheet &sheet = detail::Engine::sheet(*sheet_);
    return host::valueType(detail::Engine::book(*sheet_), sheet.cell(std::uint32_t(row() - 1), std::uint16_t(column() - 1)));
}

bool Range::isEmpty() const
{
    return valueType() == ValueType::Empty;
}

template <typename Write>
void Range::forEachCell(Write write)
{
    for (int r = area_.row; r <= area_.lastRow; ++r) {
        for (int c = area_.column; c <= area_.lastColumn; ++c)
            write(std::uint32_t(r - 1), std::uint16_t(c - 1));
    }
}

void Range::setValue(const QString &text)
{
    xls::Sheet &sheet = detail::Engine::sheet(*sheet_);
    xls::Book &book = detail::Engine::book(*sheet_);
    const Regional &regional = sheet_->regional();
    forEachCell([&](std::uint32_t r, std::uint16_t c) { writeText(book, sheet, r, c, text, regional); });
}

void Range::setValue(double number)
{
    xls::Sheet &sheet = detail::Engine::sheet(*sheet_);
    xls::Book &book = detail::Engine::book(*sheet_);
    forEachCell([&](std::uint32_t r, std::uint16_t c) { writeNumber(book, sheet, r, c, number); });
}

void Range::setValue(QDate date)
{
    xls::Sheet &sheet = detail::Engine::sheet(*sheet_);
    xls::Book &book = detail::Engine::book(*sheet_);
    const Regional &regional = sheet_->regional();
    forEachCell([&](std::uint32_t r, std::uint16_t c) { writeDate(book, sheet, r, c, date, regional); });
}

Range Range::cells(int row, int column) const
{
    return Range(sheet_, area_.row + row - 1, area_.column + column - 1, area_.row + row - 1,
                 area_.column + column - 1);
}

Range Range::offset(int rows, int columns) const
{
    return Range(sheet_, area_.row + rows, area_.column + columns, area_.lastRow + rows,
                 area_.lastColumn + columns);
}

Range Range::end(Direction direction) const
{
    const xls::Sheet &sheet = detail::Engine::sheet(*sheet_);
    const int r = row(), c = column();
    switch (direction) {
    case Direction::Down:
    case Direction::Up: {
        const int step = direction == Direction::Down ? 1 : -1;
        const int to = jump(r, step, kMaxRows, [&](int i) { return filled(sheet, i, c); });
        return Range(sheet_, to, c, to, c);
    }
    case Direction::ToRight:
    case Direction::ToLeft: {
        const int step = direction == Direction::ToRight ? 1 : -1;
        const int to = jump(c, step, kMaxColumns, [&](int i) { return filled(sheet, r, i); });
        return Range(sheet_, r, to, r, to);
    }
    }
    throw applicationDefined();
}

Range Range::entireRow() const
{
    return Range(sheet_, area_.row, 1, area_.lastRow, kMaxColumns);
}

Range Range::entireColumn() const
{
    return Range(sheet_, 1, area_.column, kMaxRows, area_.lastColumn);
}

QString Range::address() const
{
    return area_.absolute();
}

void Range::select()
{
    sheet_->select();
    sheet_->setSelection(area_);
}

void Range::clearContents()
{
    xls::Sheet &sheet = detail::Engine::sheet(*sheet_);
    const int lastRow = std::min<int>(area_.lastRow, int(sheet.rows.size()));
    for (int r = area_.row; r <= lastRow; ++r) {
        const std::vector<xls::Cell> &cells = sheet.rows[std::size_t(r - 1)].cells;
        // Collect first: clearing may erase cells from this very vector.
        std::vector<std::uint16_t> columns;
        for (const xls::Cell &cell : cells) {
            if (cell.col + 1 >= area_.column && cell.col + 1 <= area_.lastColumn)
                columns.push_back(cell.col);
        }
        for (std::uint16_t c : columns)
            clearValue(sheet, std::uint32_t(r - 1), c);
    }
    for (auto it = sheet.formulas.begin(); it != sheet.formulas.end();) {
        const int r = int(xls::formulaRow(it->first)) + 1, c = xls::formulaColumn(it->first) + 1;
        it = area_.contains(r, c) ? sheet.formulas.erase(it) : std::next(it);
    }
}

void Range::deleteRows()
{
    if (!area_.wholeRows())
        throw methodFailed(QStringLiteral("Delete"), QStringLiteral("Range"));
    xls::Sheet &sheet = detail::Engine::sheet(*sheet_);
    // From the bottom up, so each deletion leaves the rows still to delete in place.
    for (int r = area_.lastRow; r >= area_.row; --r) {
        if (std::size_t(r) <= sheet.rows.size())
            sheet.deleteRow(std::uint32_t(r - 1));
        adjustPrintArea(sheet, r);
    }
}

void Range::setNumberFormat(const QString &code)
{
    xls::Sheet &sheet = detail::Engine::sheet(*sheet_);
    xls::Book &book = detail::Engine::book(*sheet_);
    const std::u16string format = code.toStdU16String();
    if (area_.wholeColumns()) {
        setColumnFormat(book, sheet, std::uint16_t(area_.column - 1), std::uint16_t(area_.lastColumn - 1), format);
        return;
    }
    if (area_.wholeRows()) {
        // Only the cells that exist; later cells of these rows take their column's format.
        const int lastRow = std::min<int>(area_.lastRow, int(sheet.rows.size()));
        for (int r = area_.row; r <= lastRow; ++r) {
            for (xls::Cell &cell : sheet.rows[std::size_t(r - 1)].cells)
                cell.xf = book.xfWithFormat(cell.xf, format);
        }
        return;
    }
    forEachCell([&](std::uint32_t r, std::uint16_t c) {
        const std::uint16_t xf = book.xfWithFormat(effectiveXf(sheet, r, c), format);
        sheet.touch(r, c).xf = xf;
    });
}

void Range::setColumnWidth(double characters)
{
    if (!(characters >= 0 && characters <= 255))
        throw badProperty(QStringLiteral("ColumnWidth"), QStringLiteral("Range"));
    host::setColumnWidth(detail::Engine::sheet(*sheet_), std::uint16_t(area_.column - 1),
                         std::uint16_t(area_.lastColumn - 1),
                         columnWidthUnits(*sheet_, characters));
}

QString Range::numberFormat() const
{
    const xls::Sheet &sheet = detail::Engine::sheet(*sheet_);
    return QString::fromStdU16String(
        detail::Engine::book(*sheet_).formatCode(effectiveXf(sheet, std::uint32_t(row() - 1), std::uint16_t(column() - 1))));
}

} // namespace host
