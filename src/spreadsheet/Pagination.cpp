#include "Pagination.h"

#include "spreadsheet/detail/CellText.h"
#include "spreadsheet/detail/Engine.h"
#include "HostErrors.h"
#include "PageHeader.h"
#include "PageSetup.h"
#include "Worksheet.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace host {
namespace {

constexpr double kSlack = 1e-6; // points: a row that fits exactly stays on its page
constexpr int kMinPercent = 10;

// Paper sizes by the host's PaperSize number, portrait, in points; anything else is A4.
QSizeF paperPoints(int paperSize)
{
    switch (paperSize) {
    case 1: return {612, 792};          // Letter
    case 5: return {612, 1008};         // Legal
    case 8: return {841.89, 1190.55};   // A3
    case 11: return {419.53, 595.28};   // A5
    default: return {595.28, 841.89};   // A4 (9)
    }
}

// Starts of the bands that fill `room` in turn, at least one line per band; a band starts
// on a line that takes room, never on a hidden one.
template <typename Size>
std::vector<int> bands(int first, int last, double room, double scale, Size size)
{
    std::vector<int> starts{first};
    double used = 0;
    for (int i = first; i <= last; ++i) {
        const double extent = size(i) * scale;
        if (extent > 0 && used > 0 && used + extent > room + kSlack) {
            starts.push_back(i);
            used = 0;
        }
        used += extent;
    }
    return starts;
}

// The cells with a value: the whole print when no print area is set.
std::vector<Area> usedArea(const xls::Sheet &sheet)
{
    int lastRow = 0, lastColumn = 0;
    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
        for (const xls::Cell &cell : sheet.rows[r].cells) {
            if (cell.kind == xls::CellKind::Blank)
                continue;
            lastRow = int(r) + 1;
            lastColumn = std::max(lastColumn, cell.col + 1);
        }
    }
    if (lastRow == 0)
        return {};
    return {Area{1, 1, lastRow, lastColumn}};
}

std::vector<Area> printAreas(const Worksheet &sheet)
{
    const QString text = sheet.pageSetup().printArea();
    if (text.isEmpty())
        return usedArea(detail::Engine::sheet(sheet));
    std::vector<Area> areas;
    for (const QString &part : text.split(QLatin1Char(','))) {
        if (const auto area = Area::parse(part))
            areas.push_back(*area);
    }
    return areas;
}

// General alignment puts numbers right, texts left, booleans and errors in the middle.
Qt::Alignment alignmentOf(const xls::Book &book, const xls::Cell &cell)
{
    // A cell's XF index is not checked on reading; an XF body always has its 20 bytes.
    const std::uint8_t horizontal = cell.xf < book.xfs.size() ? book.xfs[cell.xf].raw[6] & 0x07 : 0;
    switch (horizontal) {
    case 1: return Qt::AlignLeft;
    case 2: case 6: return Qt::AlignHCenter;
    case 3: return Qt::AlignRight;
    case 0: break;
    default: return Qt::AlignLeft;
    }
    switch (cell.kind) {
    case xls::CellKind::Number: return Qt::AlignRight;
    case xls::CellKind::Bool: case xls::CellKind::Error: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}

HostError noRoom()
{
    return invalidArgument(QStringLiteral("Impossibile impaginare il foglio: i margini non lasciano spazio "
                                          "per le celle sulla carta scelta."));
}

} // namespace

Pagination::Pagination(const Worksheet &sheet) : sheet_(sheet), geometry_(sheet)
{
    const PageSetup setup = sheet.pageSetup();
    paper_ = paperPoints(setup.paperSize());
    if (setup.orientation() == Orientation::Landscape)
        paper_.transpose();
    origin_ = {setup.leftMargin(), setup.topMargin()};
    room_ = {paper_.width() - setup.leftMargin() - setup.rightMargin(),
             paper_.height() - setup.topMargin() - setup.bottomMargin()};
    if (room_.width() <= 0 || room_.height() <= 0)
        throw noRoom();
    headerTop_ = setup.headerMargin();
    for (const Area &area : printAreas(sheet))
        blocks_.push_back({area, {}, {}});
    scale_ = setup.zoom() > 0 ? setup.zoom() / 100.0 : fitScale(setup.fitToPagesWide(), setup.fitToPagesTall());
    split(scale_);
}

void Pagination::split(double scale)
{
    for (Block &block : blocks_) {
        const Area &a = block.area;
        block.rowStarts = bands(a.row, a.lastRow, room_.height(), scale,
                                [this](int r) { return geometry_.rowHeight(r); });
        block.columnStarts = bands(a.column, a.lastColumn, room_.width(), scale,
                                   [this](int c) { return geometry_.columnWidth(c); });
    }
}

// The largest whole percentage at which every area fits `wide` pages across and `tall`
// down (0: any number), never above 100 % nor below 10 %.
double Pagination::fitScale(int wide, int tall)
{
    const auto fits = [&] {
        return std::all_of(blocks_.begin(), blocks_.end(), [&](const Block &b) {
            return (wide == 0 || int(b.columnStarts.size()) <= wide) && (tall == 0 || int(b.rowStarts.size()) <= tall);
        });
    };
    for (int percent = 100; percent > kMinPercent; --percent) {
        split(percent / 100.0);
        if (fits())
            return percent / 100.0;
    }
    return kMinPercent / 100.0;
}

std::vector<int> Pagination::rowBreaks() const
{
    std::vector<int> breaks;
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
        const std::vector<int> &starts = blocks_[b].rowStarts;
        breaks.insert(breaks.end(), starts.begin() + (b == 0 ? 1 : 0), starts.end());
    }
    return breaks;
}

int Pagination::pageCount() const
{
    int pages = 0;
    for (const Block &block : blocks_)
        pages += block.pages();
    return pages;
}

PrintedPage Pagination::page(int number) const
{
    if (number < 1 || number > pageCount())
        throw invalidArgument(QStringLiteral("Il foglio non ha una pagina %1.").arg(number));
    int index = number - 1;
    auto block = blocks_.begin();
    while (index >= block->pages())
        index -= (block++)->pages();
    const auto down = block->rowStarts.size(), across = block->columnStarts.size();
    const std::size_t rowBand = std::size_t(index) % down, columnBand = std::size_t(index) / down;
    const Area part{block->rowStarts[rowBand], block->columnStarts[columnBand],
                    rowBand + 1 < down ? block->rowStarts[rowBand + 1] - 1 : block->area.lastRow,
                    columnBand + 1 < across ? block->columnStarts[columnBand + 1] - 1 : block->area.lastColumn};

    PrintedPage page;
    page.number = number;
    page.paper = paper_;
    page.origin = origin_;
    page.scale = scale_;
    page.header = pageHeader(sheet_.pageSetup().centerHeader(), {number, pageCount(), sheet_});
    page.headerTop = headerTop_;
    page.fontFamily = geometry_.fontFamily();
    page.fontPoints = geometry_.fontPoints();
    page.cells = cellsOf(part);
    return page;
}

std::vector<PrintedCell> Pagination::cellsOf(const Area &part) const
{
    const xls::Sheet &data = detail::Engine::sheet(sheet_);
    const xls::Book &book = detail::Engine::book(sheet_);
    std::vector<double> left(std::size_t(part.lastColumn - part.column + 2), 0);
    for (int c = part.column; c <= part.lastColumn; ++c)
        left[std::size_t(c - part.column + 1)] = left[std::size_t(c - part.column)] + geometry_.columnWidth(c);

    std::vector<PrintedCell> cells;
    double top = 0;
    for (int r = part.row; r <= std::min<int>(part.lastRow, int(data.rows.size())); ++r) {
        const double height = geometry_.rowHeight(r);
        for (const xls::Cell &cell : data.rows[std::size_t(r - 1)].cells) {
            const int c = cell.col + 1;
            if (c < part.column || c > part.lastColumn || cell.kind == xls::CellKind::Blank || height == 0)
                continue;
            const std::size_t i = std::size_t(c - part.column);
            if (left[i + 1] == left[i])
                continue;
            cells.push_back({QRectF(left[i], top, left[i + 1] - left[i], height),
                             cellText(book, &cell, sheet_.regional()), alignmentOf(book, cell),
                             cell.kind == xls::CellKind::Number});
        }
        top += height;
    }
    return cells;
}

} // namespace host
