#include "Book.h"

#include "spreadsheet/xls/container/HugePages.h"
#include "spreadsheet/xls/container/LittleEndian.h"
#include "RecordTypes.h"

#include <algorithm>
#include <cstring>

namespace xls {

// ---- StringPool ------------------------------------------------------------------------

std::uint32_t StringPool::add(std::u16string_view s)
{
    end_ = committed_; // pieces appended but never committed are dropped
    std::copy(s.begin(), s.end(), extend(s.size()));
    return commitAppended();
}

void StringPool::reserve(std::size_t strings, std::size_t chars)
{
    offsets_.reserve(strings);
    chars_.reserve(chars);
    preferHugePages(offsets_.data(), offsets_.capacity() * sizeof(std::uint32_t));
    preferHugePages(chars_.data(), chars_.capacity() * sizeof(char16_t));
}

void StringPool::grow(std::size_t n)
{
    constexpr std::size_t step = 64 * 1024;
    chars_.resize(std::max(end_ + n, std::min(chars_.size() + step, chars_.capacity())));
}

// ---- Sheet -----------------------------------------------------------------------------

namespace {

std::vector<Cell>::iterator findCol(std::vector<Cell> &cells, std::uint16_t col)
{
    return std::lower_bound(cells.begin(), cells.end(), col,
                            [](const Cell &c, std::uint16_t v) { return c.col < v; });
}

} // namespace

const Cell *Sheet::cell(std::uint32_t row, std::uint16_t col) const
{
    if (row >= rows.size())
        return nullptr;
    const auto &cells = rows[row].cells;
    auto it = std::lower_bound(cells.begin(), cells.end(), col,
                               [](const Cell &c, std::uint16_t v) { return c.col < v; });
    return it != cells.end() && it->col == col ? &*it : nullptr;
}

Cell &Sheet::touch(std::uint32_t row, std::uint16_t col)
{
    if (row >= rows.size())
        rows.resize(row + 1);
    auto &cells = rows[row].cells;
    auto it = findCol(cells, col);
    if (it != cells.end() && it->col == col)
        return *it;
    Cell c;
    c.col = col;
    return *cells.insert(it, c);
}

void Sheet::erase(std::uint32_t row, std::uint16_t col)
{
    formulas.erase(formulaKey(row, col));
    if (row >= rows.size())
        return;
    auto &cells = rows[row].cells;
    auto it = findCol(cells, col);
    if (it != cells.end() && it->col == col)
        cells.erase(it);
}

void Sheet::deleteRow(std::uint32_t row)
{
    if (row < rows.size())
        rows.erase(rows.begin() + row);
    if (formulas.empty())
        return;
    std::map<std::uint32_t, std::vector<RawRecord>> moved;
    for (auto &[key, recs] : formulas) {
        const std::uint32_t r = formulaRow(key);
        if (r == row)
            continue;
        moved.emplace(r > row ? formulaKey(r - 1, formulaColumn(key)) : key, std::move(recs));
    }
    formulas = std::move(moved);
}

// ---- Xf --------------------------------------------------------------------------------

std::uint16_t Xf::format() const
{
    if (raw.size() < 4)
        return 0;
    return le16(raw.data() + 2);
}

void Xf::setFormat(std::uint16_t ifmt)
{
    if (raw.size() < 20)
        raw.resize(20, 0);
    raw[2] = static_cast<std::uint8_t>(ifmt);
    raw[3] = static_cast<std::uint8_t>(ifmt >> 8);
}

// ---- Book ------------------------------------------------------------------------------

std::u16string_view builtinFormatCode(std::uint16_t ifmt)
{
    switch (ifmt) {
    case 0: return u"General";
    case 1: return u"0";
    case 2: return u"0.00";
    case 3: return u"#,##0";
    case 4: return u"#,##0.00";
    case 5: return u"\"$\"#,##0_);(\"$\"#,##0)";
    case 6: return u"\"$\"#,##0_);[Red](\"$\"#,##0)";
    case 7: return u"\"$\"#,##0.00_);(\"$\"#,##0.00)";
    case 8: return u"\"$\"#,##0.00_);[Red](\"$\"#,##0.00)";
    case 9: return u"0%";
    case 10: return u"0.00%";
    case 11: return u"0.00E+00";
    case 12: return u"# ?/?";
    case 13: return u"# ?\?/??";
    case 14: return u"m/d/yyyy";
    case 15: return u"d-mmm-yy";
    case 16: return u"d-mmm";
    case 17: return u"mmm-yy";
    case 18: return u"h:mm AM/PM";
    case 19: return u"h:mm:ss AM/PM";
    case 20: return u"h:mm";
    case 21: return u"h:mm:ss";
    case 22: return u"m/d/yyyy h:mm";
    case 37: return u"#,##0_);(#,##0)";
    case 38: return u"#,##0_);[Red](#,##0)";
    case 39: return u"#,##0.00_);(#,##0.00)";
    case 40: return u"#,##0.00_);[Red](#,##0.00)";
    case 41: return u"_(* #,##0_);_(* (#,##0);_(* \"-\"_);_(@_)";
    case 42: return u"_(\"$\"* #,##0_);_(\"$\"* (#,##0);_(\"$\"* \"-\"_);_(@_)";
    case 43: return u"_(* #,##0.00_);_(* (#,##0.00);_(* \"-\"?\?_);_(@_)";
    case 44: return u"_(\"$\"* #,##0.00_);_(\"$\"* (#,##0.00);_(\"$\"* \"-\"?\?_);_(@_)";
    case 45: return u"mm:ss";
    case 46: return u"[h]:mm:ss";
    case 47: return u"mm:ss.0";
    case 48: return u"##0.0E+0";
    case 49: return u"@";
    default: return u"General";
    }
}

bool isDateFormatCode(std::u16string_view code)
{
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char16_t c = code[i];
        switch (c) {
        case u'"': {
            const auto close = code.find(u'"', i + 1);
            if (close == std::u16string_view::npos)
                return false;
            i = close;
            break;
        }
        case u'[': {
            const auto close = code.find(u']', i + 1);
            if (close == std::u16string_view::npos)
                return false;
            i = close;
            break;
        }
        case u'\\': case u'_': case u'*':
            ++i; // the next character is literal or a fill/padding character
            break;
        case u'd': case u'D': case u'm': case u'M': case u'y': case u'Y':
        case u'h': case u'H': case u's': case u'S':
            return true;
        default:
            break;
        }
    }
    return false;
}

std::u16string Book::formatCode(std::uint16_t xf) const
{
    const std::uint16_t ifmt = xf < xfs.size() ? xfs[xf].format() : 0;
    if (auto it = formats.find(ifmt); it != formats.end())
        return it->second;
    return std::u16string(builtinFormatCode(ifmt));
}

bool Book::isDateFormat(std::uint16_t xf) const
{
    const std::uint16_t ifmt = xf < xfs.size() ? xfs[xf].format() : 0;
    auto it = formats.find(ifmt);
    if (it == formats.end())
        return (ifmt >= 14 && ifmt <= 22) || (ifmt >= 45 && ifmt <= 47);
    return isDateFormatCode(it->second);
}

bool Book::isTextFormat(std::uint16_t xf) const
{
    return formatCode(xf) == u"@";
}

std::uint16_t Book::xfWithFormat(std::uint16_t base, std::u16string_view code)
{
    if (base >= xfs.size())
        base = xfs.size() > 15 ? 15 : 0;
    std::optional<std::uint16_t> ifmt;
    for (const auto &[id, text] : formats)
        if (text == code) {
            ifmt = id;
            break;
        }
    if (!ifmt) {
        for (std::uint16_t id = 0; id <= 49 && !ifmt; ++id)
            if (!formats.count(id) && builtinFormatCode(id) == code
                && (id == 0 || code != u"General"))
                ifmt = id;
    }
    if (!ifmt) {
        std::uint16_t next = 164;
        if (!formats.empty())
            next = std::max<std::uint16_t>(next, static_cast<std::uint16_t>(formats.rbegin()->first + 1));
        formats[next] = std::u16string(code);
        ifmt = next;
    }
    if (xfs.empty()) {
        Xf x;
        x.setFormat(*ifmt);
        xfs.push_back(x);
        return 0;
    }
    if (xfs[base].format() == *ifmt)
        return base;
    Xf wanted = xfs[base];
    wanted.setFormat(*ifmt);
    if (wanted.raw.size() >= 10) {
        if (wanted.raw[4] & 0x04) { // from a style: a cell XF whose parent is that style
            const std::uint16_t flags = static_cast<std::uint16_t>((wanted.raw[4] & 0x03) | base << 4);
            wanted.raw[4] = static_cast<std::uint8_t>(flags);
            wanted.raw[5] = static_cast<std::uint8_t>(flags >> 8);
        }
        wanted.raw[9] |= 0x04; // fAtrNum: the number format is its own
    }
    for (std::size_t i = 0; i < xfs.size(); ++i)
        if (xfs[i].raw == wanted.raw)
            return static_cast<std::uint16_t>(i);
    if (xfs.size() >= 4050)
        return base; // the format's limit on XFs; keep the cell readable rather than fail
    xfs.push_back(std::move(wanted));
    return static_cast<std::uint16_t>(xfs.size() - 1);
}

} // namespace xls
