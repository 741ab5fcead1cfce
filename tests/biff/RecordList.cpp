#include "RecordList.h"

#include <stdexcept>

namespace biff_test {

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

} // namespace biff_test
