#include "Error.h"

#include <cstdio>

namespace xls {

namespace {

std::string message(std::optional<std::uint16_t> record, std::optional<std::size_t> offset, const std::string &what)
{
    char text[64] = "";
    if (record && offset)
        std::snprintf(text, sizeof text, "record 0x%04X all'offset %zu: ", unsigned{*record}, *offset);
    else if (record)
        std::snprintf(text, sizeof text, "record 0x%04X: ", unsigned{*record});
    else if (offset)
        std::snprintf(text, sizeof text, "all'offset %zu: ", *offset);
    std::string result = text;
    result += what;
    return result;
}

} // namespace

Error::Error(ErrorKind kind, std::optional<std::uint16_t> record, std::optional<std::size_t> offset,
             const std::string &what)
    : std::runtime_error(message(record, offset, what)), kind_(kind), record_(record), offset_(offset)
{
}

} // namespace xls
