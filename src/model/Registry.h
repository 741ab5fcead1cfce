#pragma once

#include "archive/Columns.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace host {
class Application;
class Worksheet;
} // namespace host

namespace model {

// The texts of Text1..Text18: field N holds column N of a subject's row.
using Fields = std::array<QString, archive::kFieldCount>;

// Why an add or a modify was refused; nothing has been written then.
enum class Refusal { CounterNotWhole, RegistryFull, DateNotADate, UnknownId };

// The subjects on the registry sheet, read and written cell by cell through the host.
// Host errors are not caught here.
class Registry {
public:
    explicit Registry(host::Application &app);

    void select() const;  // the registry sheet becomes the active sheet
    bool isEmpty() const; // B2 reads as ""
    // Selects the sheet; the names from B2 down to the first empty cell, in sheet order.
    QStringList names() const;
    // The upper row whose name reads exactly `name`.
    std::optional<Fields> find(const QString &name) const;

    // The new subject goes into the first row with nothing in A to R, under the counter + 1,
    // and the counter follows. On success fields[0] holds the new identifier.
    std::optional<Refusal> add(Fields &fields) const;
    // Writes the fields over the upper row whose A reads fields[0].
    std::optional<Refusal> modify(const Fields &fields) const;
    // Deletes the upper row whose A reads `id`; the name it held, or nullopt when none does.
    std::optional<QString> remove(const QString &id) const;

    // The date the add writes for `text`: the regional short date, within the dates a cell
    // holds.
    std::optional<QDate> dateOf(const QString &text) const;
    // The whole number a counter text stands for (empty is 0); nullopt when the add could not
    // count on from it.
    std::optional<double> counterOf(const QString &text) const;

private:
    host::Worksheet &sheet() const;
    std::optional<double> counter() const;
    std::optional<int> freeRow() const;
    std::optional<int> rowOf(const QString &id) const;
    void write(int row, const Fields &fields, const std::optional<QDate> &date) const;

    host::Application &app_;
};

} // namespace model
