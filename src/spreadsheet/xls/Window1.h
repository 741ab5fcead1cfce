#pragma once

#include "ByteWriter.h"
#include "spreadsheet/xls/container/LittleEndian.h"

#include <cstdint>

namespace xls {

// WINDOW1, the book window: the active tab (itabCur) at offset 10 and the first tab shown
// (itabFirst) at 12, which may not come after the active one. The body holds at least 14 bytes.
constexpr std::size_t kWindow1ActiveTab = 10;
inline void setActiveTab(std::uint8_t *window1, std::uint16_t tab)
{
    ByteWriter::put16(window1 + kWindow1ActiveTab, tab);
    if (le16(window1 + 12) > tab)
        ByteWriter::put16(window1 + 12, tab);
}

} // namespace xls
