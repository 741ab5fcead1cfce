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

namespace {

constexpr std::u16string_view LegacyName = u"Excel_BuiltIn_Print_Area";

// Where the name's characters end (its formula starts), or 0 when the record is too short.
std::size_t nameEnd(const Bytes &b)
{
    if (b.size() < 15)
        return 0;
    const std::size_t end = 15 + std::size_t{b[3]} * ((b[14] & 0x01) ? 2u : 1u);
    return b.size() >= end ? end : 0;
}

bool isLegacyPrintArea(const Bytes &b, std::size_t end)
{
    if (b[3] != LegacyName.size())
        return false;
    const bool highByte = b[14] & 0x01;
    for (std::size_t i = 0; i < LegacyName.size(); ++i) {
        char16_t c = highByte ? static_cast<char16_t>(u16At(b, 15 + 2 * i)) : b[15 + i];
        char16_t want = LegacyName[i];
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - 0x20);
        if (want >= u'a' && want <= u'z')
            want = static_cast<char16_t>(want - 0x20);
        if (c != want)
            return false;
    }
    return end != 0;
}

} // namespace

std::optional<PrintAreaName> printAreaName(const RawRecord &r, const std::vector<Xti> &xtis)
{
    if (r.type != rec::Name)
        return std::nullopt;
    const auto &b = r.body;
    const std::size_t end = nameEnd(b);
    if (end == 0)
        return std::nullopt;
    const std::uint16_t grbit = u16At(b, 0);
    const std::uint16_t cce = u16At(b, 4);
    const std::uint16_t itab = u16At(b, 8);
    if (itab == 0)
        return std::nullopt;
    PrintAreaName result;
    if (grbit & BuiltinName) {
        const char16_t id = (b[14] & 0x01) ? static_cast<char16_t>(u16At(b, 15)) : b[15];
        if (b[3] != 1 || id != PrintAreaId)
            return std::nullopt;
    } else if (isLegacyPrintArea(b, end)) {
        result.legacy = true;
    } else {
        return std::nullopt;
    }
    result.sheet = static_cast<std::uint16_t>(itab - 1);
    if (b.size() < end + cce)
        return result;
    const std::span<const std::uint8_t> rgce(b.data() + end, cce);
    auto area = areaOfFormula(rgce);
    if (area && (rgce[0] & 0x1F) >= 0x1A) { // a 3-D reference must point at the name's own sheet
        const std::uint16_t ixti = static_cast<std::uint16_t>(rgce[1] | rgce[2] << 8);
        if (ixti >= xtis.size() || xtis[ixti].first != result.sheet || xtis[ixti].last != result.sheet)
            area.reset();
    }
    result.area = area;
    return result;
}

RawRecord withFormula(const RawRecord &name, const Bytes &rgce)
{
    const std::size_t end = nameEnd(name.body);
    RawRecord out{name.type, Bytes(name.body.begin(), name.body.begin() + static_cast<std::ptrdiff_t>(end))};
    out.body[4] = static_cast<std::uint8_t>(rgce.size());
    out.body[5] = static_cast<std::uint8_t>(rgce.size() >> 8);
    out.body.insert(out.body.end(), rgce.begin(), rgce.end());
    return out;
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
