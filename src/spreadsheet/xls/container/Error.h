#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

// Errors of the file layers. Messages are Italian (UTF-8) and say what and where. An error
// about a record also carries the record's id and the offset of its header in the Workbook
// stream, e.g. record 0x00FC at 1234: "record 0x00FC all'offset 1234: lunghezza 2 inferiore
// al minimo 8". The host turns them into HostError with a number.
namespace xls {

enum class ErrorKind { NotAWorkbook, Damaged, WrongPassword, Unsupported, Io };

class Error : public std::runtime_error {
public:
    Error(ErrorKind kind, const std::string &message) : std::runtime_error(message), kind_(kind) {}
    // The message names the record and the offset that are known, then says what is wrong.
    Error(ErrorKind kind, std::optional<std::uint16_t> record, std::optional<std::size_t> offset,
          const std::string &what);

    ErrorKind kind() const { return kind_; }
    std::optional<std::uint16_t> record() const { return record_; }
    std::optional<std::size_t> offset() const { return offset_; }

private:
    ErrorKind kind_;
    std::optional<std::uint16_t> record_;
    std::optional<std::size_t> offset_;
};

} // namespace xls
