#pragma once

#include "spreadsheet/xls/container/Bytes.h"
#include "spreadsheet/xls/container/Error.h"

#include <filesystem>
#include <functional>
#include <string>

// Shared helpers of the .xls layer tests: fixtures, whole-file reads, a scratch folder.
namespace xls::test {

std::string fixture(const std::string &name);   // shared .xls fixtures
Bytes readFile(const std::string &path);
void writeFile(const std::string &path, const Bytes &bytes);
Bytes workbookStream(const std::string &xlsPath); // the raw (still encrypted) Workbook stream

// The FILEPASS record of a stream, found by walking the records from the start.
struct FilepassAt {
    std::size_t offset = 0; // of the record header
    Bytes body;
};
FilepassAt findFilepassRecord(const Bytes &stream);

// The xls::Error `call` throws; a test failure when it throws none.
Error thrown(const std::function<void()> &call);

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    std::string path(const std::string &name) const { return (dir_ / name).string(); }
    const std::filesystem::path &dir() const { return dir_; }
    std::size_t entryCount() const;

private:
    std::filesystem::path dir_;
};

} // namespace xls::test
