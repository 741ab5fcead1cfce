#pragma once

#include "Book.h"

#include <optional>
#include <span>
#include <string_view>

namespace xls {

struct CellArea {
    std::uint16_t rowFirst = 0, rowLast = 0; // 0-based, inclusive
    std::uint16_t colFirst = 0, colLast = 0;
};

// "$A$1:$R$40", "A1:R40", "B7", "$A:$R", "1:3" -> area; nullopt when not an area of the grid.
std::optional<CellArea> parseArea(std::u16string_view text);
// Absolute A1 text as the host shows it: "$A$1:$R$40", "$B$7", "$A:$R", "$1:$3".
std::u16string formatArea(const CellArea &area);

// The area of a Print_Area formula holding one ptgArea3d/ptgRef3d/ptgArea/ptgRef;
// nullopt for anything else (unions, names, functions), which is then kept as read.
std::optional<CellArea> areaOfFormula(std::span<const std::uint8_t> rgce);
// A ptgArea3d formula on EXTERNSHEET entry ixti.
Bytes area3dFormula(std::uint16_t ixti, const CellArea &area);

} // namespace xls
