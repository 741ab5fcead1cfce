#include "TestFiles.h"

#include "spreadsheet/xls/container/CompoundFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace xls::test {

std::string fixture(const std::string &name) { return std::string(XLS_FIXTURES) + "/" + name; }

Bytes readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return in ? Bytes(std::istreambuf_iterator<char>(in), {}) : throw std::runtime_error("cannot read " + path);
}

void writeFile(const std::string &path, const Bytes &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size())))
        throw std::runtime_error("cannot write " + path);
}

Bytes workbookStream(const std::string &xlsPath) { return readContainer(readFile(xlsPath)).find("Workbook")->data; }

FilepassAt findFilepassRecord(const Bytes &stream)
{
    for (std::size_t pos = 0; pos + 4 <= stream.size();) {
        const unsigned type = stream[pos] | stream[pos + 1] << 8, length = stream[pos + 2] | stream[pos + 3] << 8;
        if (type == 0x002F)
            return {pos, Bytes(stream.begin() + long(pos) + 4, stream.begin() + long(pos + 4 + length))};
        pos += 4 + length;
    }
    throw std::runtime_error("no FILEPASS record");
}

Error thrown(const std::function<void()> &call)
{
    try {
        call();
    } catch (const Error &error) {
        return error;
    }
    ADD_FAILURE() << "no error";
    return Error(ErrorKind::Io, "none");
}

ScratchDir::ScratchDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "xls-test-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data()) ? pattern : throw std::runtime_error("mkdtemp failed");
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

std::size_t ScratchDir::entryCount() const
{
    return std::size_t(std::distance(std::filesystem::directory_iterator(dir_), std::filesystem::directory_iterator()));
}

} // namespace xls::test
