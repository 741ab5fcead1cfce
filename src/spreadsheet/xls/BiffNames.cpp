#include "BiffNames.h"

#include "ByteWriter.h"
#include "RecordTypes.h"

#include <algorithm>
#include <string>

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
        // A built-in name is one character long; nameEnd() has checked that it is there.
        if (b[3] != 1)
            return std::nullopt;
        const char16_t id = (b[14] & 0x01) ? static_cast<char16_t>(u16At(b, 15)) : b[15];
        if (id != PrintAreaId)
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

// The globals with each sheet's Print_Area name as the model has it, plus the SUPBOOK and
// EXTERNSHEET entries those names refer to.
std::vector<RawRecord> withPrintAreaNames(const std::vector<RawRecord> &globals, const std::vector<Sheet> &sheets)
{
    std::vector<RawRecord> g = globals;
    const std::size_t sheetCount = sheets.size();
    std::vector<std::optional<CellArea>> wanted(sheetCount);
    for (std::size_t i = 0; i < sheetCount; ++i)
        if (sheets[i].page.printArea)
            wanted[i] = parseArea(*sheets[i].page.printArea);

    auto xtis = externSheets(g);
    std::vector<bool> named(sheetCount, false);
    struct Rewrite { std::size_t index; std::uint16_t sheet; bool legacy; };
    std::vector<Rewrite> toRewrite; // rewritten, or dropped when cleared
    for (std::size_t i = 0; i < g.size(); ++i) {
        const auto name = printAreaName(g[i], xtis);
        if (!name || name->sheet >= sheetCount)
            continue;
        if (wanted[name->sheet] || name->area)
            toRewrite.push_back({i, name->sheet, name->legacy});
        if (!name->legacy)
            named[name->sheet] = true;
    }
    const bool anyWanted = std::any_of(wanted.begin(), wanted.end(), [](const auto &a) { return a.has_value(); });
    if (!anyWanted && toRewrite.empty())
        return g;

    // The self-referencing SUPBOOK, added after the last SUPBOOK when absent.
    std::optional<std::uint16_t> self;
    std::uint16_t supBooks = 0;
    std::size_t lastSupBook = g.size();
    for (std::size_t i = 0; i < g.size(); ++i)
        if (g[i].type == rec::SupBook) {
            if (isSelfSupBook(g[i]) && !self)
                self = supBooks;
            ++supBooks;
            lastSupBook = i;
        }
    std::vector<std::uint16_t> ixti(sheetCount, 0);
    std::vector<Xti> added;
    if (anyWanted) {
        for (std::size_t s = 0; s < sheetCount; ++s) {
            if (!wanted[s])
                continue;
            bool found = false;
            for (std::size_t k = 0; k < xtis.size() && !found; ++k)
                if (self && xtis[k].supBook == *self && xtis[k].first == s && xtis[k].last == s) {
                    ixti[s] = static_cast<std::uint16_t>(k);
                    found = true;
                }
            if (!found) {
                ixti[s] = static_cast<std::uint16_t>(xtis.size() + added.size());
                added.push_back({0, static_cast<std::uint16_t>(s), static_cast<std::uint16_t>(s)});
            }
        }
    }
    std::vector<RawRecord> out;
    out.reserve(g.size() + sheetCount + 3);
    std::size_t nameInsertAt = std::string::npos;
    bool supBookAdded = false;
    auto selfSupBook = [&] {
        Bytes b;
        ByteWriter w(b);
        w.u16(static_cast<std::uint16_t>(sheetCount));
        w.u16(0x0401);
        return RawRecord{rec::SupBook, b};
    };
    const bool needSelf = !added.empty() && !self;
    const std::uint16_t selfIndex = self ? *self : supBooks;
    for (auto &x : added)
        x.supBook = selfIndex;
    auto externSheet = [&] {
        std::vector<Xti> all = xtis;
        all.insert(all.end(), added.begin(), added.end());
        Bytes b;
        ByteWriter w(b);
        w.u16(static_cast<std::uint16_t>(all.size()));
        for (const auto &x : all) {
            w.u16(x.supBook);
            w.u16(x.first);
            w.u16(x.last);
        }
        return RawRecord{rec::ExternSheet, b};
    };
    const bool hasExternSheet = std::any_of(g.begin(), g.end(), [](const RawRecord &r) { return r.type == rec::ExternSheet; });
    // Without any SUPBOOK, the new pair goes after COUNTRY (or the sheets) and before NAMEs.
    std::size_t anchor = g.size();
    if (needSelf && supBooks == 0) {
        for (std::size_t i = 0; i < g.size(); ++i)
            if (g[i].type == rec::BoundSheet || g[i].type == rec::Country)
                anchor = i;
    }
    bool externWritten = false;
    for (std::size_t i = 0; i < g.size(); ++i) {
        const auto rw = std::find_if(toRewrite.begin(), toRewrite.end(), [&](const Rewrite &p) { return p.index == i; });
        if (rw != toRewrite.end()) {
            const std::uint16_t s = rw->sheet;
            if (wanted[s] && rw->legacy)
                out.push_back(withFormula(g[i], area3dFormula(ixti[s], *wanted[s])));
            else if (wanted[s])
                out.push_back(makePrintAreaName(s, ixti[s], *wanted[s]));
            nameInsertAt = out.size();
            continue;
        }
        if (g[i].type == rec::ExternSheet && !externWritten && !added.empty()) {
            out.push_back(externSheet());
            externWritten = true;
            nameInsertAt = out.size();
            continue;
        }
        out.push_back(g[i]);
        if (g[i].type == rec::Name)
            nameInsertAt = out.size();
        if ((i == lastSupBook && needSelf) || (i == anchor && needSelf && supBooks == 0)) {
            out.push_back(selfSupBook());
            supBookAdded = true;
            if (!hasExternSheet) {
                out.push_back(externSheet());
                externWritten = true;
                nameInsertAt = out.size();
            }
        }
    }
    if (needSelf && !supBookAdded) {
        // No anchor found: keep the required order SUPBOOK, EXTERNSHEET, NAME before EOF.
        std::size_t at = out.size() && out.back().type == rec::Eof ? out.size() - 1 : out.size();
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), selfSupBook());
        if (!hasExternSheet) {
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(at + 1), externSheet());
            externWritten = true;
        }
        nameInsertAt = at + (hasExternSheet ? 1 : 2);
    }
    std::vector<RawRecord> newNames;
    for (std::size_t s = 0; s < sheetCount; ++s)
        if (wanted[s] && !named[s])
            newNames.push_back(makePrintAreaName(static_cast<std::uint16_t>(s), ixti[s], *wanted[s]));
    if (!newNames.empty()) {
        if (nameInsertAt == std::string::npos) {
            for (std::size_t i = 0; i < out.size(); ++i)
                if (out[i].type == rec::ExternSheet)
                    nameInsertAt = i + 1;
        }
        if (nameInsertAt == std::string::npos)
            nameInsertAt = out.size() && out.back().type == rec::Eof ? out.size() - 1 : out.size();
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(nameInsertAt), newNames.begin(), newNames.end());
    }
    return out;
}

} // namespace xls
