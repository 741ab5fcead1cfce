#include "spreadsheet/xls/BiffReader.h"
#include "RecordList.h"

#include <gtest/gtest.h>

using namespace xls;

// The cells of every kind in the workbook LibreOffice wrote (the whole sheet is compared with
// small.json through the host by the interoperability tests), its "@" columns, panes and page.
TEST(BiffFixtureRead, LibreOfficeWorkbookReadsWithItsCellsColumnsPanesAndPage)
{
    const Book book = readWorkbookStream(biff_test::readWorkbookStream(biff_test::fixture("small_plain.xls")));
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_EQ(book.sheets[1].name, u"Other");
    EXPECT_FALSE(book.date1904);
    const Sheet &reg = book.sheets[0];
    struct Case { std::uint32_t row; std::uint16_t col; const char16_t *text; double number; const char16_t *format; };
    const Case cases[] = {
        {1, 5, u"00184", 0, nullptr}, {2, 2, u"Bianchi S.p.A. – Perù “quoted” €", 0, nullptr}, {2, 15, u"multi\nline", 0, nullptr},
        {0, 255, nullptr, 41, u"General"}, {1, 3, nullptr, 46361, u"dd/mm/yyyy"}, {3, 3, nullptr, 61, u"dd/mm/yyyy"},
        {3, 16, nullptr, 1234.5, u"#,##0.00"},
    };
    for (const Case &c : cases) {
        const Cell *cell = reg.cell(c.row, c.col);
        ASSERT_NE(cell, nullptr) << c.row << "," << c.col;
        if (c.text) {
            EXPECT_EQ(std::make_tuple(cell->kind, book.strings.at(cell->text)), std::make_tuple(CellKind::Text, c.text));
        } else {
            EXPECT_EQ(std::make_tuple(cell->kind, cell->number, book.formatCode(cell->xf)), std::make_tuple(CellKind::Number, c.number, c.format));
        }
    }
    EXPECT_EQ(book.sheets[1].cell(1, 1)->number, 3.25);
    std::vector<std::uint16_t> textColumns;
    for (const auto &ci : reg.columns)
        for (std::uint32_t col = ci.first; book.isTextFormat(ci.xf) && col <= ci.last; ++col)
            textColumns.push_back(static_cast<std::uint16_t>(col));
    EXPECT_EQ(textColumns, (std::vector<std::uint16_t>{8, 9, 10, 13, 17}));
    EXPECT_EQ(reg.columns.back().last, 255) << "a range ending past IV is clamped";
    const Window &w = reg.window;
    EXPECT_EQ(std::make_tuple(w.frozenRows, w.frozenCols, w.activeRow, w.selected, book.sheets[1].window.selected),
              std::make_tuple(1, 0, 1, true, false));
    const PageSetup &p = reg.page;
    EXPECT_EQ(std::make_tuple(p.header, p.footer, p.paperSize, p.zoom, p.landscape, p.leftMargin, p.headerMargin),
              std::make_tuple(u"&C&P", u"&C&F", 9, 100, false, 0.3, 0.1));
}
