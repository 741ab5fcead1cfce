#pragma once

#include "Book.h"

#include <string_view>

// Number formats of whole columns, as the host sets them: the columns' default format
// (COLINFO, split and merged as needed) and every existing cell of those columns.
namespace host {

// Columns are 0-based and inclusive.
void setColumnFormat(xls::Book &book, xls::Sheet &sheet, std::uint16_t first, std::uint16_t last,
                     std::u16string_view code);

} // namespace host
