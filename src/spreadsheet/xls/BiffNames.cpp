#include "BiffNames.h"

#include "ByteWriter.h"
#include "RecordTypes.h"

namespace xls {

namespace {

std::uint16_t u16At(const Bytes &b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8); }

constexpr std::uint16_t BuiltinName = 0x0020;
constexpr char16_t PrintAreaId = 0x06;

} // namespace

std::vector<Xti> externSheets(const std::vector<RawRecord> &globals)
{
    std::vector<Xti> xtis;
    for (const auto &r : globals) {
        if (r.type != rec::ExternSheet)
            continue;
        if (r.body.size() < 2)
            return xtis;
        const std::size_t count = std::min<std::size_t>(u16At(r.body, 0), (r.body.size() - 2) / 6);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t at = 2 + 6 * i;
            xtis.push_back({u16At(r.body, at), u16At(r.body, at + 2), u16At(r.body, at + 4)});
        }
        return xtis;
    }
    return xtis;
}

bool isSelfSupBook(const RawRecord &r)
{
    return r.type == rec::SupBook && r.body.size() == 4 && u16At(r.body, 2) == 0x0401;
}

std::optional<PrintAreaName> printAreaName(const RawRecord &r, const std::vector<Xti> &xtis)
{
    if (r.type != rec::Name || r.body.size() < 16)
        return std::nullopt;
    const auto &b = r.body;
    const std::uint16_t grbit = u16At(b, 0);
    const std::uint8_t cch = b[3];
    const std::uint16_t cce = u16At(b, 4);
    const std::uint16_t itab = u16At(b, 8);
    if (!(grbit & BuiltinName) || cch != 1 || itab == 0)
        return std::nullopt;
    const bool highByte = b[14] & 0x01;
    const std::size_t nameEnd = 15 + (highByte ? 2 : 1);
    if (b.size() < nameEnd)
        return std::nullopt;
    const char16_t id = highByte ? static_cast<char16_t>(u16At(b, 15)) : b[15];
    if (id != PrintAreaId)
        return std::nullopt;
    PrintAreaName result;
    result.sheet = static_cast<std::uint16_t>(itab - 1);
    if (b.size() < nameEnd + cce)
        return result;
    const std::span<const std::uint8_t> rgce(b.data() + nameEnd, cce);
    auto area = areaOfFormula(rgce);
    if (area && (rgce[0] & 0x1F) >= 0x1A) { // a 3-D reference must point at the name's own sheet
        const std::uint16_t ixti = static_cast<std::uint16_t>(rgce[1] | rgce[2] << 8);
        if (ixti >= xtis.size() || xtis[ixti].first != result.sheet || xtis[ixti].last != result.sheet)
            area.reset();
    }
    result.area = area;
    return result;
}

RawRecord makePrintAreaName(std::uint16_t sheet, std::uint16_t ixti, const CellArea &area)
{
    const Bytes rgce = area3dFormula(ixti, area);
    Bytes b;
    ByteWriter w(b);
    w.u16(BuiltinName);
    w.u8(0);                                      // no shortcut key
    w.u8(1);                                      // one character: the builtin id
    w.u16(static_cast<std::uint16_t>(rgce.size()));
    w.u16(0);
    w.u16(static_cast<std::uint16_t>(sheet + 1)); // local to its sheet, 1-based
    w.u32(0);                                     // no menu, description, help, status texts
    w.u8(0);                                      // 8-bit name
    w.u8(static_cast<std::uint8_t>(PrintAreaId));
    w.bytes(rgce);
    return RawRecord{rec::Name, b};
}

} // namespace xls
