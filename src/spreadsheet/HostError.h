#pragma once

#include <QString>
#include <stdexcept>

// The error every host operation raises: a number and an Italian description, as the
// windows show them to the user. The numbers follow the spreadsheet program users know.
namespace host {

enum class ErrorKind {
    FileNotFound,    // the archive or a file named by the caller is missing
    WrongPassword,   // the open password does not decrypt the file
    NotAWorkbook,    // not an OLE2 file, or no Workbook stream, or not BIFF8
    Damaged,         // a record or container structure is broken (what and where in the text)
    Unsupported,     // a scheme or version the engine does not read (e.g. XOR obfuscation)
    SheetNotFound,   // no sheet of that name
    InvalidArgument, // a bad address, an out-of-range property value
    SaveFailed,      // the file could not be written; the old file is untouched
    HostGone,        // the workbook or application was closed or quit
};

class HostError : public std::runtime_error {
public:
    HostError(ErrorKind kind, int number, const QString &description)
        : std::runtime_error(description.toStdString()), kind_(kind), number_(number),
          description_(description) {}

    ErrorKind kind() const { return kind_; }
    int number() const { return number_; }
    const QString &description() const { return description_; }

private:
    ErrorKind kind_;
    int number_;
    QString description_;
};

// Numbers as Excel raises them: 9 for a missing member of a collection, 1004 for the rest.
constexpr int kSubscriptOutOfRange = 9;
constexpr int kApplicationDefined = 1004;

} // namespace host
