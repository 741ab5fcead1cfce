#include "spreadsheet/detail/CellText.h"

#include "DateSerial.h"
#include "HostErrors.h"
#include "Regional.h"

#include <algorithm>
#include <cmath>

namespace host {
namespace {

constexpr int kMaxTextLength = 32767;

QString errorName(std::uint8_t code)
{
    switch (code) {
    case 0x00: return QStringLiteral("#NULLO!");
    case 0x07: return QStringLiteral("#DIV/0!");
    case 0x0F: return QStringLiteral("#VALORE!");
    case 0x17: return QStringLiteral("#RIF!");
    case 0x1D: return QStringLiteral("#NOME?");
    case 0x24: return QStringLiteral("#NUM!");
    case 0x2A: return QStringLiteral("#N/D");
    default: return QStringLiteral("#N/D");
    }
}

QString numberAsText(const xls::Book &book, std::uint16_t xf, double value, const Regional &regional)
{
    if (book.isDateFormat(xf)) {
        if (auto text = serialDateText(value, book.date1904, regional))
            return *text;
    }
    return regional.numberText(value);
}

// The cell a value goes into: created with its column's format, its formula dropped.
xls::Cell &valueCell(xls::Sheet &sheet, std::uint32_t row, std::uint16_t column)
{
    const std::uint16_t xf = effectiveXf(sheet, row, column);
    sheet.formulas.erase(xls::formulaKey(row, column));
    xls::Cell &cell = sheet.touch(row, column);
    cell.xf = xf;
    return cell;
}

} // namespace

std::uint16_t columnXf(const xls::Sheet &sheet, std::uint16_t column)
{
    for (const xls::ColumnInfo &info : sheet.columns) {
        if (column >= info.first && column <= info.last)
            return info.xf;
    }
    return 15;
}

std::uint16_t effectiveXf(const xls::Sheet &sheet, std::uint32_t row, std::uint16_t column)
{
    if (const xls::Cell *cell = sheet.cell(row, column))
        return cell->xf;
    return columnXf(sheet, column);
}

ValueType valueType(const xls::Book &book, const xls::Cell *cell)
{
    if (!cell)
        return ValueType::Empty;
    switch (cell->kind) {
    case xls::CellKind::Blank: return ValueType::Empty;
    case xls::CellKind::Text: return ValueType::Text;
    case xls::CellKind::Bool: return ValueType::Bool;
    case xls::CellKind::Error: return ValueType::Error;
    case xls::CellKind::Number:
        if (book.isDateFormat(cell->xf) && serialIsDate(cell->number, book.date1904))
            return ValueType::Date;
        return ValueType::Number;
    }
    return ValueType::Empty;
}

QString cellText(const xls::Book &book, const xls::Cell *cell, const Regional &regional)
{
    if (!cell)
        return {};
    switch (cell->kind) {
    case xls::CellKind::Blank: return {};
    case xls::CellKind::Text: {
        const std::u16string_view text = book.strings.at(cell->text);
        return QString::fromUtf16(text.data(), qsizetype(text.size()));
    }
    case xls::CellKind::Bool: return cell->code ? QStringLiteral("VERO") : QStringLiteral("FALSO");
    case xls::CellKind::Error: return errorName(cell->code);
    case xls::CellKind::Number: return numberAsText(book, cell->xf, cell->number, regional);
    }
    return {};
}

void writeText(xls::Book &book, xls::Sheet &sheet, std::uint32_t row, std::uint16_t column,
               const QString &text, const Regional &regional)
{
    if (text.isEmpty()) {
        clearValue(sheet, row, column);
        return;
    }
    if (text.size() > kMaxTextLength)
        throw invalidArgument(QStringLiteral("Il testo supera i %1 caratteri che una cella può contenere.")
                                  .arg(kMaxTextLength));
    const std::uint16_t xf = effectiveXf(sheet, row, column);
    if (!book.isTextFormat(xf)) {
        std::optional<double> value;
        if (book.isDateFormat(xf)) {
            if (auto date = regional.parseDate(text))
                value = dateSerial(*date, book.date1904);
        } else {
            value = regional.parseNumber(text);
        }
        if (value && numberAsText(book, xf, *value, regional) == text) {
            writeNumber(book, sheet, row, column, *value);
            return;
        }
    }
    const std::uint32_t index = book.strings.add(std::u16string_view(
        reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size())));
    xls::Cell &cell = valueCell(sheet, row, column);
    cell.kind = xls::CellKind::Text;
    cell.text = index;
}

void writeNumber(xls::Book &, xls::Sheet &sheet, std::uint32_t row, std::uint16_t column, double value)
{
    if (!std::isfinite(value))
        throw applicationDefined();
    xls::Cell &cell = valueCell(sheet, row, column);
    cell.kind = xls::CellKind::Number;
    cell.number = value == 0 ? 0.0 : value;
}

void writeDate(xls::Book &book, xls::Sheet &sheet, std::uint32_t row, std::uint16_t column,
               QDate date, const Regional &regional)
{
    const auto serial = dateSerial(date, book.date1904);
    if (!serial)
        throw invalidArgument(QStringLiteral("La data non può essere rappresentata in una cella."));
    const std::uint16_t xf = effectiveXf(sheet, row, column);
    const std::uint16_t dateXf = book.isDateFormat(xf) ? xf : book.xfWithFormat(xf, dateFormatCode(regional));
    writeNumber(book, sheet, row, column, *serial);
    sheet.touch(row, column).xf = dateXf;
}

void clearValue(xls::Sheet &sheet, std::uint32_t row, std::uint16_t column)
{
    sheet.formulas.erase(xls::formulaKey(row, column));
    const xls::Cell *existing = sheet.cell(row, column);
    if (!existing)
        return;
    if (existing->xf == columnXf(sheet, column)) {
        sheet.erase(row, column);
        return;
    }
    xls::Cell &cell = sheet.touch(row, column);
    cell.kind = xls::CellKind::Blank;
    cell.code = 0;
    cell.text = 0;
    cell.number = 0;
}

std::u16string dateFormatCode(const Regional &regional)
{
    QString code = regional.shortDateFormat();
    code.replace(QLatin1Char('M'), QLatin1Char('m'));
    return code.toStdU16String();
}

} // namespace host
