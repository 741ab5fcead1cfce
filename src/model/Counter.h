#pragma once

#include <QString>
#include <optional>

namespace host {
class Application;
class Worksheet;
} // namespace host

namespace model {

// The registry's progressive counter, IV1: the identifier of the subject added last.
// Host errors are not caught here.
class Counter {
public:
    explicit Counter(host::Application &app);

    QString text() const; // as the cell reads; "" when empty
    // Empty empties the cell and a whole number of 0 or more is stored as that number: the
    // counter the add then counts on from (0 for empty). Anything else is refused (nullopt)
    // and nothing is written.
    std::optional<double> set(const QString &typed) const;
    // The largest whole identifier in column A below the header; 0 when there is none.
    double highestId() const;

private:
    host::Worksheet &sheet() const;

    host::Application &app_;
};

} // namespace model
