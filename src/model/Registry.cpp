#include "model/Registry.h"

#include "archive/Archive.h"
#include "spreadsheet/Application.h"
#include "spreadsheet/Range.h"
#include "spreadsheet/Worksheet.h"

#include <cmath>

namespace model {

namespace {

using host::Direction;

using archive::kDateColumn;
using archive::kIdColumn;
using archive::kLastRow;
using archive::kLargestCounter;
using archive::kNameColumn;

// The last row of the block the host's jump goes down to from row 2 of `column`.
int lastRowFromRow2(const host::Worksheet &sheet, int column)
{
    return sheet.cells(2, column).end(Direction::Down).row();
}

} // namespace

Registry::Registry(host::Application &app) : app_(app) {}

host::Worksheet &Registry::sheet() const
{
    return archive::RegistrySheet(app_);
}

void Registry::select() const
{
    sheet().select();
}

bool Registry::isEmpty() const
{
    return sheet().cells(2, kNameColumn).text().isEmpty();
}

QStringList Registry::names() const
{
    host::Worksheet &registry = sheet();
    registry.select();
    QStringList names;
    const int last = lastRowFromRow2(registry, kNameColumn);
    for (int row = 2; row <= last; ++row) {
        QString name = registry.cells(row, kNameColumn).text();
        if (name.isEmpty())
            break;
        names.append(std::move(name));
    }
    return names;
}

std::optional<Fields> Registry::find(const QString &name) const
{
    host::Worksheet &registry = sheet();
    const int last = lastRowFromRow2(registry, kNameColumn);
    for (int row = 2; row <= last; ++row) {
        if (registry.cells(row, kNameColumn).text() != name)
            continue;
        Fields fields;
        for (int column = 1; column <= archive::kFieldCount; ++column)
            fields[std::size_t(column - 1)] = registry.cells(row, column).text();
        return fields;
    }
    return std::nullopt;
}

std::optional<double> Registry::counter() const
{
    return counterOf(sheet().range(archive::kCounterCell).text());
}

std::optional<double> Registry::counterOf(const QString &text) const
{
    if (text.isEmpty())
        return 0.0;
    const auto value = app_.regional().parseNumber(text);
    if (!value || std::floor(*value) != *value || std::fabs(*value) >= kLargestCounter)
        return std::nullopt;
    return value;
}

std::optional<int> Registry::freeRow() const
{
    // A row whose A was emptied by hand may still hold a subject: only a row with nothing in
    // A to R is free.
    const host::Worksheet &registry = sheet();
    const auto isFree = [&](int row) {
        for (int column = 1; column <= archive::kFieldCount; ++column) {
            if (!registry.cells(row, column).isEmpty())
                return false;
        }
        return true;
    };
    for (int row = 2; row <= kLastRow; ++row) {
        if (isFree(row))
            return row;
    }
    return std::nullopt;
}

std::optional<QDate> Registry::dateOf(const QString &text) const
{
    // The 1900 date system of the archive starts on 1 January 1900.
    const auto date = app_.regional().parseDate(text);
    if (!date || date->year() < 1900 || date->year() > 9999)
        return std::nullopt;
    return date;
}

std::optional<Refusal> Registry::add(Fields &fields) const
{
    const auto last = counter();
    if (!last)
        return Refusal::CounterNotWhole;
    const auto row = freeRow();
    if (!row)
        return Refusal::RegistryFull;
    const auto date = dateOf(fields[kDateColumn - 1]);
    if (!fields[kDateColumn - 1].isEmpty() && !date)
        return Refusal::DateNotADate;

    fields[0] = app_.regional().numberText(*last + 1);
    write(*row, fields, date);
    sheet().range(archive::kCounterCell).setValue(fields[0]);
    return std::nullopt;
}

void Registry::write(int row, const Fields &fields, const std::optional<QDate> &date) const
{
    host::Worksheet &registry = sheet();
    for (int column = 1; column <= archive::kFieldCount; ++column) {
        host::Range cell = registry.cells(row, column);
        if (column != kDateColumn)
            cell.setValue(fields[std::size_t(column - 1)]);
        else if (date)
            cell.setValue(*date);
        else
            cell.clearContents();
    }
}

std::optional<int> Registry::rowOf(const QString &id) const
{
    host::Worksheet &registry = sheet();
    registry.activate();
    const int last = lastRowFromRow2(registry, kIdColumn);
    for (int row = 2; row <= last; ++row) {
        if (registry.cells(row, kIdColumn).text() == id)
            return row;
    }
    return std::nullopt;
}

std::optional<Refusal> Registry::modify(const Fields &fields) const
{
    const auto date = dateOf(fields[kDateColumn - 1]);
    if (!fields[kDateColumn - 1].isEmpty() && !date)
        return Refusal::DateNotADate;
    const auto row = rowOf(fields[0]);
    if (!row)
        return Refusal::UnknownId;
    write(*row, fields, date);
    return std::nullopt;
}

std::optional<QString> Registry::remove(const QString &id) const
{
    const auto row = rowOf(id);
    if (!row)
        return std::nullopt;
    host::Range key = sheet().cells(*row, kIdColumn);
    const QString name = key.offset(0, 1).text();
    key.select();
    app_.selection().entireRow().deleteRows();
    return name;
}

} // namespace model
