#include "BiffNames.h"

#include "ByteWriter.h"
#include "spreadsheet/xls/container/LittleEndian.h"
#include "RecordTypes.h"

#include <algorithm>
#include <string>

namespace xls {

namespace {

std::uint16_t u16At(const Bytes &b, std::size_t at) { return le16(b.data() + at); }

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
        const std::uint16_t ixti = le16(rgce.data() + 1);
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

namespace {

// Rewrites the globals so that each sheet's Print_Area name says what its page setup says,
// adding the self-referencing SUPBOOK and the EXTERNSHEET entries the names refer to.
class PrintAreaNames {
public:
    PrintAreaNames(const std::vector<RawRecord> &globals, const std::vector<Sheet> &sheets);
    std::vector<RawRecord> apply();

private:
    struct Rewrite {
        std::size_t index;
        std::uint16_t sheet;
        bool legacy;
    };
    void findNames();
    void planReferences();
    void copyRecord(std::size_t i);
    void copyRewritten(const Rewrite &rewrite);
    void addSupBookAtEnd();
    void insertNewNames();
    RawRecord selfSupBook() const;
    RawRecord externSheet() const;
    bool needsSelf() const { return !added_.empty() && !self_; }

    const std::vector<RawRecord> &g_;
    std::size_t sheetCount_;
    std::vector<std::optional<CellArea>> wanted_;  // per sheet, from its page setup
    std::vector<Xti> xtis_;
    std::vector<bool> named_;                      // a builtin name exists for the sheet
    std::vector<Rewrite> toRewrite_;               // rewritten, or dropped when cleared
    std::optional<std::uint16_t> self_;            // index of the self-referencing SUPBOOK
    std::uint16_t supBooks_ = 0;
    std::size_t lastSupBook_;
    std::size_t anchor_;                           // without SUPBOOKs: the new one goes after this
    std::vector<std::uint16_t> ixti_;              // EXTERNSHEET entry of each sheet's name
    std::vector<Xti> added_;
    bool hasExternSheet_ = false;
    std::vector<RawRecord> out_;
    std::size_t nameInsertAt_ = std::string::npos;
    bool supBookAdded_ = false, externWritten_ = false;
};

PrintAreaNames::PrintAreaNames(const std::vector<RawRecord> &globals, const std::vector<Sheet> &sheets)
    : g_(globals), sheetCount_(sheets.size()), wanted_(sheets.size()), xtis_(externSheets(globals)),
      named_(sheets.size(), false), lastSupBook_(globals.size()), anchor_(globals.size()), ixti_(sheets.size(), 0)
{
    for (std::size_t i = 0; i < sheetCount_; ++i)
        if (sheets[i].page.printArea)
            wanted_[i] = parseArea(*sheets[i].page.printArea);
    hasExternSheet_ = std::any_of(g_.begin(), g_.end(), [](const RawRecord &r) { return r.type == rec::ExternSheet; });
}

std::vector<RawRecord> PrintAreaNames::apply()
{
    findNames();
    const bool anyWanted = std::any_of(wanted_.begin(), wanted_.end(), [](const auto &a) { return a.has_value(); });
    if (!anyWanted && toRewrite_.empty())
        return g_;
    planReferences();
    out_.reserve(g_.size() + sheetCount_ + 3);
    for (std::size_t i = 0; i < g_.size(); ++i)
        copyRecord(i);
    if (needsSelf() && !supBookAdded_)
        addSupBookAtEnd();
    insertNewNames();
    return std::move(out_);
}

void PrintAreaNames::findNames()
{
    for (std::size_t i = 0; i < g_.size(); ++i) {
        const auto name = printAreaName(g_[i], xtis_);
        if (!name || name->sheet >= sheetCount_)
            continue;
        if (wanted_[name->sheet] || name->area)
            toRewrite_.push_back({i, name->sheet, name->legacy});
        if (!name->legacy)
            named_[name->sheet] = true;
    }
}

// Which SUPBOOK refers to this workbook and which EXTERNSHEET entry each wanted area uses,
// appending an entry where none refers to the sheet alone.
void PrintAreaNames::planReferences()
{
    for (std::size_t i = 0; i < g_.size(); ++i)
        if (g_[i].type == rec::SupBook) {
            if (isSelfSupBook(g_[i]) && !self_)
                self_ = supBooks_;
            ++supBooks_;
            lastSupBook_ = i;
        }
    for (std::size_t s = 0; s < sheetCount_; ++s) {
        if (!wanted_[s])
            continue;
        const auto own = std::find_if(xtis_.begin(), xtis_.end(), [&](const Xti &x) {
            return self_ && x.supBook == *self_ && x.first == s && x.last == s;
        });
        if (own != xtis_.end()) {
            ixti_[s] = static_cast<std::uint16_t>(own - xtis_.begin());
            continue;
        }
        ixti_[s] = static_cast<std::uint16_t>(xtis_.size() + added_.size());
        added_.push_back({0, static_cast<std::uint16_t>(s), static_cast<std::uint16_t>(s)});
    }
    for (auto &x : added_)
        x.supBook = self_ ? *self_ : supBooks_;
    // Without any SUPBOOK, the new pair goes after COUNTRY (or the sheets) and before NAMEs.
    if (needsSelf() && supBooks_ == 0)
        for (std::size_t i = 0; i < g_.size(); ++i)
            if (g_[i].type == rec::BoundSheet || g_[i].type == rec::Country)
                anchor_ = i;
}

void PrintAreaNames::copyRecord(std::size_t i)
{
    const auto rewrite = std::find_if(toRewrite_.begin(), toRewrite_.end(), [&](const Rewrite &r) { return r.index == i; });
    if (rewrite != toRewrite_.end()) {
        copyRewritten(*rewrite);
        return;
    }
    if (g_[i].type == rec::ExternSheet && !externWritten_ && !added_.empty()) {
        out_.push_back(externSheet());
        externWritten_ = true;
        nameInsertAt_ = out_.size();
        return;
    }
    out_.push_back(g_[i]);
    if (g_[i].type == rec::Name)
        nameInsertAt_ = out_.size();
    if (needsSelf() && (i == lastSupBook_ || (i == anchor_ && supBooks_ == 0))) {
        out_.push_back(selfSupBook());
        supBookAdded_ = true;
        if (!hasExternSheet_) {
            out_.push_back(externSheet());
            externWritten_ = true;
            nameInsertAt_ = out_.size();
        }
    }
}

void PrintAreaNames::copyRewritten(const Rewrite &rewrite)
{
    const std::uint16_t s = rewrite.sheet;
    if (wanted_[s] && rewrite.legacy)
        out_.push_back(withFormula(g_[rewrite.index], area3dFormula(ixti_[s], *wanted_[s])));
    else if (wanted_[s])
        out_.push_back(makePrintAreaName(s, ixti_[s], *wanted_[s]));
    nameInsertAt_ = out_.size();
}

// No anchor found: keep the required order SUPBOOK, EXTERNSHEET, NAME before EOF.
void PrintAreaNames::addSupBookAtEnd()
{
    const std::size_t at = !out_.empty() && out_.back().type == rec::Eof ? out_.size() - 1 : out_.size();
    out_.insert(out_.begin() + static_cast<std::ptrdiff_t>(at), selfSupBook());
    if (!hasExternSheet_) {
        out_.insert(out_.begin() + static_cast<std::ptrdiff_t>(at + 1), externSheet());
        externWritten_ = true;
    }
    nameInsertAt_ = at + (hasExternSheet_ ? 1 : 2);
}

void PrintAreaNames::insertNewNames()
{
    std::vector<RawRecord> names;
    for (std::size_t s = 0; s < sheetCount_; ++s)
        if (wanted_[s] && !named_[s])
            names.push_back(makePrintAreaName(static_cast<std::uint16_t>(s), ixti_[s], *wanted_[s]));
    if (names.empty())
        return;
    if (nameInsertAt_ == std::string::npos)
        for (std::size_t i = 0; i < out_.size(); ++i)
            if (out_[i].type == rec::ExternSheet)
                nameInsertAt_ = i + 1;
    if (nameInsertAt_ == std::string::npos)
        nameInsertAt_ = !out_.empty() && out_.back().type == rec::Eof ? out_.size() - 1 : out_.size();
    out_.insert(out_.begin() + static_cast<std::ptrdiff_t>(nameInsertAt_), names.begin(), names.end());
}

RawRecord PrintAreaNames::selfSupBook() const
{
    Bytes b;
    ByteWriter w(b);
    w.u16(static_cast<std::uint16_t>(sheetCount_));
    w.u16(0x0401);
    return RawRecord{rec::SupBook, b};
}

RawRecord PrintAreaNames::externSheet() const
{
    Bytes b;
    ByteWriter w(b);
    w.u16(static_cast<std::uint16_t>(xtis_.size() + added_.size()));
    for (const std::vector<Xti> *list : {&xtis_, &added_})
        for (const auto &x : *list) {
            w.u16(x.supBook);
            w.u16(x.first);
            w.u16(x.last);
        }
    return RawRecord{rec::ExternSheet, b};
}

} // namespace

std::vector<RawRecord> withPrintAreaNames(const std::vector<RawRecord> &globals, const std::vector<Sheet> &sheets)
{
    return PrintAreaNames(globals, sheets).apply();
}

} // namespace xls
