#pragma once

#include "PageSetup.h"
#include "PrintedPage.h"
#include "Range.h"

#include <QString>
#include <vector>

class Regional;

namespace host {

class Workbook;

class Worksheet {
public:
    Worksheet(Workbook &book, std::size_t index);

    Workbook &workbook() const { return book_; }
    std::size_t index() const { return index_; } // in the book's sheets, charts included
    QString name() const;
    const Regional &regional() const;

    // "A1", "$A$1", "A2:S65536", "I:I", "2:2"; HostError 1004 for anything else.
    Range range(const QString &address) const;
    Range range(const Range &first, const Range &last) const;
    Range cells(int row, int column) const;
    Range rows(const QString &rows) const;               // "2:2" or "2"
    Range columns(const QString &columns) const;         // "I:I" or "I"

    void select();    // becomes the workbook's active sheet
    void activate() { select(); }
    PageSetup pageSetup() const;
    // The first row of every printed page after the first, down the print area
    // (HPageBreaks); HostError when the page setup leaves no room for cells.
    std::vector<int> hPageBreaks() const;
    // Pages from..to, numbered down first, then across, on the named printer; HostError
    // when the printer is unknown or the job cannot be sent.
    void printOut(int from, int to, int copies, const QString &printer) const;
    // The pages printOut(from, to, ...) sends, ready for a painter; HostError as hPageBreaks.
    std::vector<PrintedPage> printedPages(int from, int to) const;
    QString scrollArea() const;                 // kept in memory only; "" when none
    void setScrollArea(const QString &address); // validated; "" removes it
    Range selection() const;
    void setSelection(const Area &area);        // the active cell is its top-left cell
    // The smallest rectangle holding every cell with a value or a format of its own; A1 on
    // an empty sheet.
    Range usedRange() const;

private:
    Range make(const Area &area) const;

    Workbook &book_;
    std::size_t index_;
    QString scrollArea_;
    Area selection_;
};

} // namespace host
