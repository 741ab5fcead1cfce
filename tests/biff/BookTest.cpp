#include "spreadsheet/xls/BiffPrintArea.h"
#include "spreadsheet/xls/Book.h"
#include "RecordList.h"

#include <gtest/gtest.h>

using namespace xls;
using biff_test::addNumber;

// Rows below move up with their formulas; the deleted row's own formulas go.
TEST(BiffBook, DeletingARowMovesCellsAndFormulasUpAndDropsTheRowsOwn)
{
    Sheet s;
    for (std::uint32_t r = 0; r < 3; ++r)
        addNumber(s, r, 0, 10.0 * (r + 1));
    for (auto [key, tag] : {std::pair{formulaKey(1, 0), 0}, {formulaKey(2, 3), 1}, {formulaKey(0, 255), 2}})
        s.formulas[key] = {RawRecord{0x0006, Bytes(20, std::uint8_t(tag))}};
    s.deleteRow(1);
    EXPECT_EQ(std::make_tuple(s.cell(0, 0)->number, s.cell(1, 0)->number), std::make_tuple(10.0, 30.0));
    std::vector<std::pair<std::uint32_t, int>> formulas;
    for (const auto &[key, records] : s.formulas)
        formulas.emplace_back(key, records.front().body[0]);
    EXPECT_EQ(formulas, (std::vector<std::pair<std::uint32_t, int>>{{formulaKey(0, 255), 2}, {formulaKey(1, 3), 1}}));
    s.erase(1, 3);
    s.erase(1, 0);
    EXPECT_TRUE(s.formulas.size() == 1 && s.cell(1, 0) == nullptr);
}

TEST(BiffBook, DateFormatsAreRecognisedOutsideQuotesBracketsAndEscapes)
{
    struct Case { const char16_t *code; bool date; };
    const Case cases[] = {
        {u"dd/mm/yyyy", true},        {u"DD/MM/YYYY", true},   {u"d-mmm-yy", true},
        {u"h:mm:ss", true},           {u"[h]:mm:ss", true},    {u"yyyy-mm-dd\\ hh:mm", true},
        {u"[$-410]dd/mm/yyyy", true}, {u"General", false},     {u"@", false},
        {u"0.00", false},             {u"#,##0.00", false},    {u"0.00E+00", false},
        {u"\"days\" 0", false},       {u"[Red]0.00", false},   {u"0\\d", false},
        {u"_(* #,##0_)", false},      {u"0 \"ms\"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(isDateFormatCode(c.code), c.date) << std::string(c.code, c.code + std::char_traits<char16_t>::length(c.code));
}

// Asking again for a format reuses its XF; a format on a style XF gives a cell XF whose
// parent is that style; a custom FORMAT overriding a built-in id is what counts.
TEST(BiffBook, BuiltInAndCustomFormatsDecideDatesAndTexts)
{
    Book b = newBook(u"Velmoro");
    const std::uint16_t date = b.xfWithFormat(15, u"dd/mm/yyyy"), builtinDate = b.xfWithFormat(15, u"m/d/yyyy");
    const std::uint16_t text = b.xfWithFormat(15, u"@"), money = b.xfWithFormat(15, u"#,##0.00");
    EXPECT_EQ((std::vector<bool>{b.isDateFormat(date), b.isDateFormat(builtinDate), b.isDateFormat(money),
                                 b.isDateFormat(15), b.isTextFormat(text), b.isTextFormat(15)}),
              (std::vector<bool>{true, true, false, false, true, false}));
    EXPECT_EQ(std::make_tuple(b.xfs[builtinDate].format(), b.xfs[text].format()), std::make_tuple(14, 49));
    EXPECT_GE(b.xfs[date].format(), 164);
    EXPECT_EQ(b.formatCode(date), u"dd/mm/yyyy");
    const std::size_t count = b.xfs.size();
    EXPECT_EQ(std::make_tuple(b.xfWithFormat(15, u"dd/mm/yyyy"), b.xfWithFormat(date, u"dd/mm/yyyy")), std::make_tuple(date, date));
    EXPECT_EQ(b.xfs.size(), count);
    const std::uint16_t fromStyle = b.xfWithFormat(3, u"0.000");
    EXPECT_EQ(b.xfs[fromStyle].raw[4] & 0x04, 0);
    EXPECT_EQ((b.xfs[fromStyle].raw[4] | b.xfs[fromStyle].raw[5] << 8) >> 4, 3);
    b.formats[14] = u"0.00";
    EXPECT_FALSE(b.isDateFormat(builtinDate));
}

TEST(BiffBook, PrintAreaTextsParseAndFormatAsTheHostShowsThem)
{
    const std::pair<const char16_t *, const char16_t *> good[] = {
        {u"$A$1:$R$40", u"$A$1:$R$40"}, {u"a1:r40", u"$A$1:$R$40"}, {u"R40:A1", u"$A$1:$R$40"},
        {u"B7", u"$B$7"},               {u"$A:$R", u"$A:$R"},       {u"1:3", u"$1:$3"},
        {u"IV65536", u"$IV$65536"},     {u"A1:IV65536", u"$A$1:$IV$65536"},
    };
    for (const auto &[in, out] : good) {
        const auto area = parseArea(in);
        EXPECT_EQ(area ? formatArea(*area) : u"-", std::u16string(out));
    }
    for (const char16_t *bad : {u"", u"A", u"IW1", u"A0", u"A65537", u"A1:", u"$", u"A1B", u"1"})
        EXPECT_FALSE(parseArea(bad).has_value());
}
