#pragma once

#include <QString>
#include <optional>

namespace host {

constexpr int kMaxRows = 65536;
constexpr int kMaxColumns = 256;

// A rectangle of the grid, 1-based and inclusive, in A1 notation.
struct Area {
    int row = 1, column = 1, lastRow = 1, lastColumn = 1;

    bool wholeColumns() const { return row == 1 && lastRow == kMaxRows; }
    bool wholeRows() const { return column == 1 && lastColumn == kMaxColumns; }
    bool contains(int r, int c) const { return r >= row && r <= lastRow && c >= column && c <= lastColumn; }

    // "A1", "$A$1", "A2:S65536", "I:I", "2:2", "A1:$B$3"; case and "$" are free.
    static std::optional<Area> parse(const QString &text);
    // Absolute: "$A$1", "$A$2:$S$65536", "$I:$I" for whole columns, "$2:$2" for whole rows.
    QString absolute() const;
    // Relative single cell or rectangle: "B7", "A2:S3".
    QString relative() const;

    bool operator==(const Area &) const = default;
};

QString columnLetters(int column); // 1 -> "A", 256 -> "IV"

} // namespace host
