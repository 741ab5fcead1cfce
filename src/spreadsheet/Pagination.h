#pragma once

#include "Area.h"
#include "PrintedPage.h"
#include "SheetGeometry.h"

#include <vector>

namespace host {

class Worksheet;

// How the host cuts a sheet into pages, the way spreadsheet users know it: the print area
// (the used range when there is none) is split into bands of rows by their heights and bands
// of columns by their widths, at the zoom or, with the zoom off, at the largest scale that
// fits the pages wide and tall asked for, inside the paper less its margins. Pages run down
// first, then across; each area of the print area starts a page of its own.
class Pagination {
public:
    explicit Pagination(const Worksheet &sheet); // HostError when the margins leave no room

    // The first row of every band of rows after the first: the sheet's HPageBreaks.
    std::vector<int> rowBreaks() const;
    int pageCount() const;
    PrintedPage page(int number) const; // 1..pageCount(); HostError otherwise

private:
    struct Block {
        Area area;
        std::vector<int> rowStarts, columnStarts; // first row and column of each band
        int pages() const { return int(rowStarts.size() * columnStarts.size()); }
    };

    void split(double scale);
    double fitScale(int wide, int tall);
    std::vector<PrintedCell> cellsOf(const Area &part) const;

    const Worksheet &sheet_;
    SheetGeometry geometry_;
    QSizeF paper_;
    QPointF origin_;
    QSizeF room_;
    double headerTop_ = 0;
    double scale_ = 1;
    std::vector<Block> blocks_;
};

} // namespace host
