#include "RecordList.h"

#include "spreadsheet/xls/ByteWriter.h"
#include "spreadsheet/xls/container/LittleEndian.h"

#include <stdexcept>

namespace biff_test {

std::vector<Rec> splitRecords(const xls::Bytes &s)
{
    std::vector<Rec> out;
    for (std::size_t pos = 0; pos + 4 <= s.size();) {
        const std::size_t size = std::min<std::size_t>(le16(s, pos + 2), s.size() - pos - 4);
        out.push_back({le16(s, pos), xls::Bytes(s.begin() + pos + 4, s.begin() + pos + 4 + size), pos});
        pos += 4 + size;
    }
    return out;
}

xls::Bytes joinRecords(const std::vector<Rec> &records, bool fixSheets)
{
    xls::Bytes out;
    xls::ByteWriter w(out);
    std::vector<std::size_t> sheetFields, bofs;
    for (const auto &r : records) {
        if (r.type == 0x0809)
            bofs.push_back(out.size());
        if (r.type == 0x0085)
            sheetFields.push_back(out.size() + 4);
        w.record(r.type, r.body);
    }
    for (std::size_t i = 0; fixSheets && i < sheetFields.size() && i + 1 < bofs.size(); ++i)
        put32(out, sheetFields[i], static_cast<std::uint32_t>(bofs[i + 1]));
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
    std::vector<Rec> out;
    for (std::size_t i = findRecord(records, 0x0809, n + 1); i < records.size(); ++i) {
        out.push_back(records[i]);
        if (records[i].type == 0x000A)
            break;
    }
    return out;
}

std::uint16_t le16(const xls::Bytes &b, std::size_t at) { return xls::le16(&b.at(at + 1) - 1); }
std::uint32_t le32(const xls::Bytes &b, std::size_t at) { return xls::le32(&b.at(at + 3) - 3); }
void put16(xls::Bytes &b, std::size_t at, std::uint16_t v) { xls::ByteWriter::put16(&b.at(at + 1) - 1, v); }
void put32(xls::Bytes &b, std::size_t at, std::uint32_t v) { xls::ByteWriter::put32(&b.at(at + 3) - 3, v); }

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

} // namespace biff_test
