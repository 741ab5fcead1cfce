#include "RecordList.h"

#include "CompoundFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace biff_test {

std::string fixture(const std::string &name) { return std::string(BIFF_FIXTURES) + "/" + name; }

xls::Bytes readWorkbookStream(const std::string &xlsPath)
{
    std::ifstream in(xlsPath, std::ios::binary);
    const xls::Bytes bytes{std::istreambuf_iterator<char>(in), {}};
    return xls::readContainer(bytes).find("Workbook")->data;
}

std::vector<Rec> splitRecords(const xls::Bytes &s)
{
    std::vector<Rec> out;
    std::size_t pos = 0;
    while (pos + 4 <= s.size()) {
        const std::uint16_t type = static_cast<std::uint16_t>(s[pos] | s[pos + 1] << 8);
        const std::size_t size = static_cast<std::size_t>(s[pos + 2] | s[pos + 3] << 8);
        if (pos + 4 + size > s.size())
            throw std::runtime_error("record runs past the stream");
        out.push_back({type, xls::Bytes(s.begin() + pos + 4, s.begin() + pos + 4 + size), pos});
        pos += 4 + size;
    }
    return out;
}

xls::Bytes joinRecords(const std::vector<Rec> &records, bool fixSheets)
{
    xls::Bytes out;
    std::vector<std::size_t> sheetFields, bofs;
    for (const auto &r : records) {
        if (r.type == 0x0809)
            bofs.push_back(out.size());
        out.push_back(static_cast<std::uint8_t>(r.type));
        out.push_back(static_cast<std::uint8_t>(r.type >> 8));
        out.push_back(static_cast<std::uint8_t>(r.body.size()));
        out.push_back(static_cast<std::uint8_t>(r.body.size() >> 8));
        if (r.type == 0x0085)
            sheetFields.push_back(out.size());
        out.insert(out.end(), r.body.begin(), r.body.end());
    }
    if (fixSheets)
        for (std::size_t i = 0; i < sheetFields.size() && i + 1 < bofs.size(); ++i)
            for (int k = 0; k < 4; ++k)
                out[sheetFields[i] + k] = static_cast<std::uint8_t>(bofs[i + 1] >> (8 * k));
    return out;
}

std::size_t findRecord(const std::vector<Rec> &records, std::uint16_t type, std::size_t nth)
{
    for (std::size_t i = 0; i < records.size(); ++i)
        if (records[i].type == type && nth-- == 0)
            return i;
    throw std::runtime_error("record not found");
}

std::vector<Rec> substream(const std::vector<Rec> &records, std::size_t n)
{
    const std::size_t start = findRecord(records, 0x0809, n + 1);
    std::vector<Rec> out;
    for (std::size_t i = start; i < records.size(); ++i) {
        out.push_back(records[i]);
        if (records[i].type == 0x000A)
            break;
    }
    return out;
}

std::uint16_t le16(const xls::Bytes &b, std::size_t at) { return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8); }

std::uint32_t le32(const xls::Bytes &b, std::size_t at) { return le16(b, at) | static_cast<std::uint32_t>(le16(b, at + 2)) << 16; }

void put16(xls::Bytes &b, std::size_t at, std::uint16_t v)
{
    b.at(at) = static_cast<std::uint8_t>(v);
    b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}

void put32(xls::Bytes &b, std::size_t at, std::uint32_t v)
{
    put16(b, at, static_cast<std::uint16_t>(v));
    put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

xls::Cell &addText(xls::Book &b, xls::Sheet &s, std::uint32_t row, std::uint16_t col, std::u16string_view text)
{
    xls::Cell &c = s.touch(row, col);
    c.kind = xls::CellKind::Text;
    c.text = b.strings.add(text);
    return c;
}

xls::Cell &addNumber(xls::Sheet &s, std::uint32_t row, std::uint16_t col, double v, std::uint16_t xf)
{
    xls::Cell &c = s.touch(row, col);
    c.kind = xls::CellKind::Number;
    c.number = v;
    c.xf = xf;
    return c;
}

xls::Error thrown(const std::function<void()> &call)
{
    try {
        call();
    } catch (const xls::Error &error) {
        return error;
    }
    ADD_FAILURE() << "no error";
    return xls::Error(xls::ErrorKind::Io, "none");
}

} // namespace biff_test
