#include "Worksheet.h"

#include "Application.h"
#include "HostErrors.h"
#include "Pagination.h"
#include "PrintTarget.h"
#include "Workbook.h"
#include "spreadsheet/detail/Engine.h"

namespace host {
namespace {

HostError rangeFailed()
{
    return invalidArgument(QStringLiteral("Metodo 'Range' dell'oggetto '_Worksheet' non riuscito"));
}

} // namespace

xls::Sheet &detail::Engine::sheet(const Worksheet &sheet)
{
    return file(sheet.workbook()).book.sheets.at(sheet.index());
}

xls::Book &detail::Engine::book(const Worksheet &sheet)
{
    return file(sheet.workbook()).book;
}

Worksheet::Worksheet(Workbook &book, std::size_t index) : book_(book), index_(index)
{
    const xls::Window &window = detail::Engine::sheet(*this).window;
    const int row = std::min(window.activeRow + 1, kMaxRows);
    const int column = std::min(window.activeCol + 1, kMaxColumns);
    selection_ = {row, column, row, column};
}

QString Worksheet::name() const
{
    return QString::fromStdU16String(detail::Engine::sheet(*this).name);
}

const Regional &Worksheet::regional() const
{
    return book_.application().regional();
}

Range Worksheet::make(const Area &area) const
{
    detail::Engine::sheet(*this); // a closed workbook has no ranges
    return Range(const_cast<Worksheet *>(this), area);
}

Range Worksheet::range(const QString &address) const
{
    const auto area = Area::parse(address);
    if (!area)
        throw rangeFailed();
    return make(*area);
}

Range Worksheet::range(const Range &first, const Range &last) const
{
    if (&first.worksheet() != this || &last.worksheet() != this)
        throw rangeFailed();
    return make({std::min(first.row(), last.row()), std::min(first.column(), last.column()),
                 std::max(first.lastRow(), last.lastRow()), std::max(first.lastColumn(), last.lastColumn())});
}

Range Worksheet::cells(int row, int column) const
{
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        throw applicationDefined();
    return make({row, column, row, column});
}

Range Worksheet::rows(const QString &rows) const
{
    const QString text = rows.contains(QLatin1Char(':')) ? rows : rows + QLatin1Char(':') + rows;
    const auto area = Area::parse(text);
    if (!area || !area->wholeRows())
        throw rangeFailed();
    return make(*area);
}

Range Worksheet::columns(const QString &columns) const
{
    const QString text = columns.contains(QLatin1Char(':')) ? columns : columns + QLatin1Char(':') + columns;
    const auto area = Area::parse(text);
    if (!area || !area->wholeColumns())
        throw rangeFailed();
    return make(*area);
}

void Worksheet::select()
{
    book_.activate(index_);
}

PageSetup Worksheet::pageSetup() const
{
    detail::Engine::sheet(*this);
    return PageSetup(const_cast<Worksheet &>(*this));
}

QString Worksheet::scrollArea() const
{
    detail::Engine::sheet(*this);
    return scrollArea_;
}

void Worksheet::setScrollArea(const QString &address)
{
    detail::Engine::sheet(*this);
    if (address.isEmpty()) {
        scrollArea_.clear();
        return;
    }
    const auto area = Area::parse(address);
    if (!area)
        throw badProperty(QStringLiteral("ScrollArea"), QStringLiteral("Worksheet"));
    scrollArea_ = area->absolute();
}

Range Worksheet::selection() const
{
    return make(selection_);
}

void Worksheet::setSelection(const Area &area)
{
    xls::Window &window = detail::Engine::sheet(*this).window;
    selection_ = area;
    window.activeRow = std::uint16_t(area.row - 1);
    window.activeCol = std::uint16_t(area.column - 1);
}

Range Worksheet::usedRange() const
{
    const xls::Sheet &sheet = detail::Engine::sheet(*this);
    Area used{kMaxRows, kMaxColumns, 1, 1};
    for (std::size_t r = 0; r < sheet.rows.size() && int(r) < kMaxRows; ++r) {
        const std::vector<xls::Cell> &cells = sheet.rows[r].cells;
        if (cells.empty())
            continue;
        used.row = std::min(used.row, int(r) + 1);
        used.lastRow = int(r) + 1;
        used.column = std::min(used.column, cells.front().col + 1);
        used.lastColumn = std::max(used.lastColumn, cells.back().col + 1);
    }
    if (used.row > used.lastRow)
        used = {1, 1, 1, 1};
    return make(used);
}

std::vector<int> Worksheet::hPageBreaks() const
{
    return Pagination(*this).rowBreaks();
}

void Worksheet::printOut(int from, int to, int copies, const QString &printer) const
{
    PrintTarget *target = book_.application().printTarget();
    if (!target)
        throw methodFailed(QStringLiteral("PrintOut"), QStringLiteral("_Worksheet"));
    if (copies < 1)
        throw invalidArgument(QStringLiteral("Il numero di copie deve essere almeno 1."));
    target->print(printer, copies, printedPages(from, to));
}

std::vector<PrintedPage> Worksheet::printedPages(int from, int to) const
{
    const Pagination pagination(*this);
    std::vector<PrintedPage> pages;
    for (int number = std::max(from, 1); number <= std::min(to, pagination.pageCount()); ++number)
        pages.push_back(pagination.page(number));
    return pages;
}

} // namespace host
