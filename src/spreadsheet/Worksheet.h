#pragma once

#include "PageSetup.h"
#include "Range.h"

#include <QString>

namespace xls { struct Sheet; }

namespace host {

class Workbook;

class Worksheet {
public:
    Worksheet(Workbook &book, std::size_t index);

    Workbook &workbook() const { return book_; }
    QString name() const;
    xls::Sheet &data() const;

    Range range(const QString &address) const;          // "A1", "A2:S65536", "I:I", "2:2"
    Range range(const Range &first, const Range &last) const;
    Range cells(int row, int column) const;
    Range rows(const QString &rows) const;               // "2:2"
    Range columns(const QString &columns) const;         // "I:I"

    void select();    // becomes the workbook's active sheet
    void activate() { select(); }
    PageSetup pageSetup() const;
    QString scrollArea() const;                 // kept in memory only
    void setScrollArea(const QString &address); // validated; "" removes it
    Range selection() const;

private:
    Workbook &book_;
    std::size_t index_;
    QString scrollArea_;
};

} // namespace host
