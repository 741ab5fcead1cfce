#include "model/Counter.h"

#include "archive/Archive.h"
#include "archive/Columns.h"
#include "spreadsheet/Area.h"
#include "model/Registry.h"
#include "spreadsheet/Application.h"
#include "spreadsheet/Worksheet.h"

#include <algorithm>
#include <cmath>

namespace model {

namespace {

using archive::kIdColumn;

} // namespace

Counter::Counter(host::Application &app) : app_(app) {}

host::Worksheet &Counter::sheet() const
{
    return archive::RegistrySheet(app_);
}

QString Counter::text() const
{
    return sheet().range(archive::kCounterCell).text();
}

std::optional<double> Counter::set(const QString &typed) const
{
    const auto value = Registry(app_).counterOf(typed);
    if (!value || *value < 0)
        return std::nullopt;
    host::Range cell = sheet().range(archive::kCounterCell);
    if (typed.isEmpty())
        cell.setValue(QString());
    else
        cell.setValue(*value);
    return value;
}

double Counter::highestId() const
{
    const host::Worksheet &registry = sheet();
    // Rows whose identifier was emptied by hand do not hide the ones below them.
    const int last = registry.cells(host::kMaxRows, kIdColumn).end(host::Direction::Up).row();
    double highest = 0;
    for (int row = 2; row <= last; ++row) {
        const auto id = app_.regional().parseNumber(registry.cells(row, kIdColumn).text());
        if (id && std::floor(*id) == *id)
            highest = std::max(highest, *id);
    }
    return highest;
}

} // namespace model
