#pragma once

#include "Area.h"

#include <QDate>
#include <QString>

namespace host {

class Worksheet;

enum class ValueType { Empty, Text, Number, Date, Bool, Error };

enum class Direction { Down = -4121, Up = -4162, ToLeft = -4159, ToRight = -4161 };

// A rectangle of cells on one sheet, 1-based rows (1..65536) and columns (1..256), as the
// host's Range: cheap to copy, it refers to its sheet.
class Range {
public:
    Range(Worksheet *sheet, int row, int column, int lastRow, int lastColumn);
    Range(Worksheet *sheet, const Area &area);

    Worksheet &worksheet() const;
    int row() const { return area_.row; }
    int column() const { return area_.column; }
    int lastRow() const { return area_.lastRow; }
    int lastColumn() const { return area_.lastColumn; }
    const Area &area() const { return area_; }

    // The top-left cell read as text: texts as they are, numbers in the regional format
    // without thousands separators, dates as the regional short date with a 4-digit year.
    QString text() const;
    ValueType valueType() const; // of the top-left cell
    bool isEmpty() const;        // top-left cell has no value
    // Writes the text into every cell by the host's rules: text in "@" cells; elsewhere ""
    // empties the cell, and a text becomes a number only when it reads back identically.
    void setValue(const QString &text);
    void setValue(double number);
    void setValue(QDate date); // a date value, shown with the regional short date

    Range cells(int row, int column) const; // relative to the top-left cell, 1-based
    Range offset(int rows, int columns) const;
    Range end(Direction direction) const;   // the host's Ctrl+arrow jump from the top-left cell
    Range entireRow() const;
    Range entireColumn() const;
    QString address() const;                // absolute A1: "$B$7", "$A$2:$S$65536", "$I:$I", "$2:$2"

    void select();        // makes it the sheet's selection (and the sheet active)
    void clearContents(); // values and formulas go, formats stay
    void deleteRows();    // on an entire-row range: rows below move up
    // On whole columns: the columns' format and every cell in them; else each cell.
    void setNumberFormat(const QString &code);
    QString numberFormat() const;           // of the top-left cell
    // The width of the range's columns in characters of the default font (0..255, as the
    // host's ColumnWidth); HostError 1004 outside.
    void setColumnWidth(double characters);

    bool operator==(const Range &other) const = default;

private:
    template <typename Write> void forEachCell(Write write);

    Worksheet *sheet_;
    Area area_;
};

} // namespace host
