#include "Area.h"

#include <QStringList>
#include <utility>

namespace host {
namespace {

struct Part {
    int row = 0;    // 0: not given
    int column = 0; // 0: not given
};

// One side of an address: "A1", "$A$1", "A", "$A", "7", "$7".
std::optional<Part> parsePart(const QString &text)
{
    Part part;
    int i = 0;
    const int n = int(text.size());
    if (i < n && text[i] == QLatin1Char('$'))
        ++i;
    int letters = 0;
    int column = 0;
    while (i < n && text[i].isLetter() && text[i].unicode() < 128) {
        column = column * 26 + (text[i].toUpper().unicode() - 'A' + 1);
        ++i;
        if (++letters > 2)
            return std::nullopt;
    }
    if (letters > 0) {
        if (column > kMaxColumns)
            return std::nullopt;
        part.column = column;
        if (i < n && text[i] == QLatin1Char('$'))
            ++i;
    } else if (i > 0 && i < n && !text[i].isDigit()) {
        return std::nullopt;
    }
    int digits = 0;
    int row = 0;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        row = row * 10 + (text[i].unicode() - '0');
        ++i;
        if (++digits > 5)
            return std::nullopt;
    }
    if (i != n || (letters == 0 && digits == 0))
        return std::nullopt;
    if (digits > 0) {
        if (row < 1 || row > kMaxRows)
            return std::nullopt;
        part.row = row;
    }
    // "$A$" or "A$" without a row is no address
    if (digits == 0 && text.endsWith(QLatin1Char('$')))
        return std::nullopt;
    return part;
}

} // namespace

QString columnLetters(int column)
{
    QString letters;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        letters.prepend(QChar(u'A' + digit));
        column = (column - 1) / 26;
    }
    return letters;
}

std::optional<Area> Area::parse(const QString &text)
{
    const QString trimmed = text.trimmed();
    const QStringList sides = trimmed.split(QLatin1Char(':'));
    if (sides.size() > 2 || trimmed.isEmpty())
        return std::nullopt;
    const auto first = parsePart(sides.front());
    const auto last = parsePart(sides.back());
    if (!first || !last)
        return std::nullopt;
    const bool firstCell = first->row && first->column;
    const bool lastCell = last->row && last->column;
    Area area;
    if (firstCell && lastCell) {
        area = {first->row, first->column, last->row, last->column};
    } else if (sides.size() == 2 && !first->row && !last->row) {
        area = {1, first->column, kMaxRows, last->column};
    } else if (sides.size() == 2 && !first->column && !last->column) {
        area = {first->row, 1, last->row, kMaxColumns};
    } else {
        return std::nullopt;
    }
    if (area.row > area.lastRow)
        std::swap(area.row, area.lastRow);
    if (area.column > area.lastColumn)
        std::swap(area.column, area.lastColumn);
    return area;
}

QString Area::absolute() const
{
    const auto cell = [](int r, int c) {
        return QStringLiteral("$%1$%2").arg(columnLetters(c)).arg(r);
    };
    if (wholeColumns() && !wholeRows())
        return QStringLiteral("$%1:$%2").arg(columnLetters(column), columnLetters(lastColumn));
    if (wholeRows())
        return QStringLiteral("$%1:$%2").arg(row).arg(lastRow);
    if (row == lastRow && column == lastColumn)
        return cell(row, column);
    return cell(row, column) + QLatin1Char(':') + cell(lastRow, lastColumn);
}

QString Area::relative() const
{
    const QString first = columnLetters(column) + QString::number(row);
    if (row == lastRow && column == lastColumn)
        return first;
    return first + QLatin1Char(':') + columnLetters(lastColumn) + QString::number(lastRow);
}

} // namespace host
