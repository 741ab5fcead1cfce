#pragma once

#include "spreadsheet/xls/Book.h"

#include <string_view>

// Number formats and widths of whole columns, as the host sets them in the columns' COLINFO
// (split and merged as needed); a format also goes to every existing cell of those columns.
namespace host {

// Columns are 0-based and inclusive.
void setColumnFormat(xls::Book &book, xls::Sheet &sheet, std::uint16_t first, std::uint16_t last,
                     std::u16string_view code);
// `width` in 1/256 of a digit, the cell padding included, marked as set by the user.
void setColumnWidth(xls::Sheet &sheet, std::uint16_t first, std::uint16_t last, std::uint16_t width);

} // namespace host
