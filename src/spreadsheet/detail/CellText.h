#pragma once

#include "spreadsheet/xls/Book.h"
#include "spreadsheet/Range.h"

#include <QDate>
#include <QString>

class Regional;

// How the host turns cells into texts and written texts into cells. Rows and columns here
// are 0-based, as in the file.
namespace host {

ValueType valueType(const xls::Book &book, const xls::Cell *cell);
// Texts as they are, numbers without grouping in the regional format, dates as the
// regional short date, booleans and errors by their Italian names, "" when empty.
QString cellText(const xls::Book &book, const xls::Cell *cell, const Regional &regional);

// The format a cell has, or would have if it were created now: its own XF, else its column's.
std::uint16_t effectiveXf(const xls::Sheet &sheet, std::uint32_t row, std::uint16_t column);
std::uint16_t columnXf(const xls::Sheet &sheet, std::uint16_t column);

// A written text: stays text in a "@" cell; "" empties the cell; elsewhere it becomes a
// number (or a date in a date-formatted cell) only when that value reads back as the very
// same text. Never a formula. HostError 1004 for texts longer than a cell holds.
void writeText(xls::Book &book, xls::Sheet &sheet, std::uint32_t row, std::uint16_t column,
               const QString &text, const Regional &regional);
void writeNumber(xls::Book &book, xls::Sheet &sheet, std::uint32_t row, std::uint16_t column, double value);
// Stores the date's serial and gives the cell the regional short date format unless it
// already has a date format.
void writeDate(xls::Book &book, xls::Sheet &sheet, std::uint32_t row, std::uint16_t column,
               QDate date, const Regional &regional);
// The value (and formula) goes, the format stays.
void clearValue(xls::Sheet &sheet, std::uint32_t row, std::uint16_t column);

// The regional short date as a number format code: "dd/mm/yyyy" for Italian.
std::u16string dateFormatCode(const Regional &regional);

} // namespace host
