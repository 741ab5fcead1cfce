#pragma once

#include "Area.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace host {

class Worksheet;

// What printing needs of a sheet's grid: row heights and column widths in points (0 when
// hidden), and the font of its cells, the workbook's default font.
class SheetGeometry {
public:
    explicit SheetGeometry(const Worksheet &sheet);

    double rowHeight(int row) const;       // 1-based
    double columnWidth(int column) const;  // 1-based
    const QString &fontFamily() const { return fontFamily_; }
    double fontPoints() const { return fontPoints_; }

private:
    std::vector<double> rows_;             // the rows the sheet keeps; later rows are default
    std::array<double, kMaxColumns> columns_{};
    double defaultRow_ = 12.75;
    QString fontFamily_ = QStringLiteral("Arial");
    double fontPoints_ = 10;
};

// A column's width in characters (digits of the default font, as a spreadsheet user gives it)
// in the units of the file's COLINFO: 1/256 of a digit, the cell padding included.
std::uint16_t columnWidthUnits(const Worksheet &sheet, double characters);

} // namespace host
