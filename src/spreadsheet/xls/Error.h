#pragma once

#include <stdexcept>
#include <string>

// Errors of the file layers. Messages are Italian (UTF-8) and say what and where, e.g.
// "record 0x00FC all'offset 1234: lunghezza 2 inferiore al minimo 8". The host turns them
// into HostError with a number.
namespace xls {

enum class ErrorKind { NotAWorkbook, Damaged, WrongPassword, Unsupported, Io };

class Error : public std::runtime_error {
public:
    Error(ErrorKind kind, const std::string &message) : std::runtime_error(message), kind_(kind) {}
    ErrorKind kind() const { return kind_; }

private:
    ErrorKind kind_;
};

} // namespace xls
