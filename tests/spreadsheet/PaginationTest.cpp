#include "spreadsheet/HostError.h"
#include "HostFixture.h"
#include "spreadsheet/PageHeader.h"
#include "spreadsheet/Pagination.h"
#include "spreadsheet/xls/RecordTypes.h"

#include <QDate>

namespace {

using host::Orientation;
using Breaks = std::vector<int>;

// Pages by hand: with 36-point margins an A4 portrait page (595.28 x 841.89 points) has 769.89
// points for rows and 523.28 for columns. Rows are 12.75 points, columns 48 (64 pixels of Arial 10).
class PaginationTest : public HostFixture {
protected:
    void SetUp() override
    {
        for (auto set : {&host::PageSetup::setLeftMargin, &host::PageSetup::setRightMargin,
                         &host::PageSetup::setTopMargin, &host::PageSetup::setBottomMargin})
            (page.*set)(36);
    }
    void setRowHeight(int row, int twips, std::uint8_t flags = 0)
    {
        xls::Bytes body(16, 0);
        body[6] = std::uint8_t(twips);
        body[7] = std::uint8_t(twips >> 8);
        body[12] = flags; // 0x20: hidden
        data().touch(std::uint32_t(row - 1), 0);
        data().rows[std::size_t(row - 1)].record = xls::RawRecord{xls::rec::Row, body};
    }
    Breaks breaks(const char *area, int zoom, Orientation orientation = Orientation::Portrait)
    {
        page.setPrintArea(QString::fromLatin1(area));
        page.setZoom(zoom);
        page.setOrientation(orientation);
        return sheet.hPageBreaks();
    }
    static std::vector<QString> texts(const host::PrintedPage &printed)
    {
        std::vector<QString> all;
        for (const host::PrintedCell &cell : printed.cells)
            all.push_back(cell.text);
        return all;
    }

    host::PageSetup page = sheet.pageSetup();
};

TEST_F(PaginationTest, RowsFillEachPageAtTheZoomAndOrientation)
{
    EXPECT_EQ(breaks("A1:R121", 100), Breaks({61, 121})); // 60 rows in 769.89
    EXPECT_EQ(breaks("A1:R150", 50), Breaks({121}));
    EXPECT_EQ(breaks("A1:R150", 200), Breaks({31, 61, 91, 121}));
    EXPECT_EQ(breaks("A1:R150", 110, Orientation::Landscape), Breaks({38, 75, 112, 149})); // 37 in 523.28
    setRowHeight(5, 6000);                                      // 300 points: rows 1..37 make 759
    EXPECT_EQ(breaks("A1:A100", 100), Breaks({38, 98}));
    for (int row = 2; row <= 11; ++row)
        setRowHeight(row, 255, 0x20);                           // hidden rows take no room
    setRowHeight(1, 20000);                                     // taller than a page: a page of its own
    EXPECT_EQ(breaks("A1:A100", 100), Breaks({12, 72}));
    at("A4").setValue(QStringLiteral("nascosta"));
    EXPECT_TRUE(texts(host::Pagination(sheet).page(1)).empty()) << "a hidden row prints nothing";
    page.setTopMargin(420);
    page.setBottomMargin(422);
    EXPECT_THROW(sheet.hPageBreaks(), host::HostError);        // no room left on the paper
}

TEST_F(PaginationTest, WithTheZoomOffTheLargestScaleThatFitsIsUsed)
{
    page.setPrintArea(QStringLiteral("A1:B150"));
    page.setZoomOff();
    const struct {
        int tall;
        double scale;
        std::size_t breaks;
    } fits[] = {{1, 0.40, 0}, {2, 0.80, 1}, {0, 1.0, 2}}; // 150 rows of 5.1 points at 40 %
    for (const auto &fit : fits) {
        page.setFitToPagesTall(fit.tall);
        EXPECT_DOUBLE_EQ(host::Pagination(sheet).page(1).scale, fit.scale) << fit.tall;
        EXPECT_EQ(sheet.hPageBreaks().size(), fit.breaks) << fit.tall;
    }
}

TEST_F(PaginationTest, PagesGoDownFirstThenAcrossAndEachAreaStartsAPage)
{
    EXPECT_EQ(breaks("A1:Z70", 100), Breaks({61})); // columns A-J, K-T, U-Z across
    for (const char *address : {"A1", "J1", "K1", "A61", "K61", "Z70"})
        at(address).setValue(QString::fromLatin1(address));
    const host::Pagination pages(sheet);
    const std::vector<std::vector<QString>> expected = {{"A1", "J1"}, {"A61"}, {"K1"}, {"K61"}, {}, {"Z70"}};
    ASSERT_EQ(pages.pageCount(), 6);
    for (int number = 1; number <= 6; ++number)
        EXPECT_EQ(texts(pages.page(number)), expected[std::size_t(number - 1)]) << number;
    EXPECT_EQ(pages.page(6).cells[0].box, QRectF(5 * 48, 9 * 12.75, 48, 12.75));
    EXPECT_THROW(pages.page(7), host::HostError);

    at("D5").setValue(QStringLiteral("D5"));
    EXPECT_EQ(breaks("A1:B70,D5:E10", 100), Breaks({61, 5}));
    EXPECT_EQ(texts(host::Pagination(sheet).page(3)), std::vector<QString>{"D5"});
    at("B120").setValue(QStringLiteral("B120"));
    page.setPrintArea(QString());                    // the used range: A1 to Z120
    EXPECT_EQ(sheet.hPageBreaks(), Breaks({61}));
}

TEST_F(PaginationTest, APageCarriesItsSetupAndItsCellsAsTheSheetShowsThem)
{
    page.setHeaderMargin(15.12);
    page.setCenterHeader(QStringLiteral("Pagina &P di &N && &A &\"Arial,Grassetto\"&14fine"));
    put("A1", QStringLiteral("ROSSI"));
    at("B1").setValue(1234.5);
    at("C1").setValue(QDate(2026, 3, 7));
    for (const auto &[address, alignment] : {std::pair{"D1", 3}, {"E1", 2}}) { // right, centre
        put(address, QString::fromLatin1(address));
        model().xfs.push_back(model().xfs[15]);
        model().xfs.back().raw[6] = std::uint8_t(alignment);
        data().touch(0, std::uint16_t(address[0] - 'A')).xf = std::uint16_t(model().xfs.size() - 1);
    }
    data().columns.push_back({2, 2, 0, 15, 1}); // column C hidden: its date does not print
    breaks("A1:E2", 90, Orientation::Landscape);

    const host::PrintedPage printed = host::Pagination(sheet).page(1);
    EXPECT_EQ(printed.paper, QSizeF(841.89, 595.28));
    EXPECT_EQ(printed.origin, QPointF(36, 36));
    EXPECT_DOUBLE_EQ(printed.scale, 0.9);
    EXPECT_DOUBLE_EQ(printed.headerTop, 15.12);
    EXPECT_EQ(printed.header, QStringLiteral("Pagina 1 di 1 & Velmoro fine"));
    EXPECT_EQ(printed.fontFamily + QString::number(printed.fontPoints), QStringLiteral("Arial10"));
    EXPECT_EQ(texts(printed), std::vector<QString>({"ROSSI", "1234,5", "D1", "E1"}));
    const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignRight, Qt::AlignHCenter};
    const double lefts[] = {0, 48, 96, 144};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(printed.cells[i].box, QRectF(lefts[i], 0, 48, 12.75)) << i;
        EXPECT_EQ(printed.cells[i].alignment, alignments[i]) << i;
        EXPECT_EQ(printed.cells[i].number, i == 1) << i;
    }
    for (const auto &[paper, size] : {std::pair{1, QSizeF(792, 612)}, {5, QSizeF(1008, 612)}}) { // Letter, Legal
        page.setPaperSize(paper);
        EXPECT_EQ(host::Pagination(sheet).page(1).paper, size) << paper;
    }
    EXPECT_EQ(host::pageHeader(QStringLiteral("&F del &D &"), {1, 1, sheet}),
              QStringLiteral("test.xls del ") + sheet.regional().dateText(QDate::currentDate()) + QStringLiteral(" &"));
}

TEST_F(PaginationTest, TheSheetsDefaultRowHeightColumnWidthAndFontCount)
{
    for (xls::RawRecord &record : data().records) {
        if (record.type == xls::rec::DefaultRowHeight)
            record.body = {0, 0, 0x2C, 0x01}; // 300 twips
        if (record.type == xls::rec::DefColWidth)
            record.body = {10, 0};            // 10 characters
    }
    xls::Bytes font(14, 0);
    font[0] = 220;                            // 11 points
    font.insert(font.end(), {7, 0, 'C', 'a', 'l', 'i', 'b', 'r', 'i'});
    std::find_if(model().globals.begin(), model().globals.end(), [](const xls::RawRecord &r) {
        return r.type == xls::rec::Font;
    })->body = font;
    at("B2").setValue(QStringLiteral("x"));
    breaks("A1:B2", 100);
    const host::PrintedPage printed = host::Pagination(sheet).page(1);
    EXPECT_EQ(printed.fontFamily + QString::number(printed.fontPoints), QStringLiteral("Calibri11"));
    EXPECT_EQ(printed.cells.at(0).box, QRectF(60, 15, 60, 15)); // 10 digits of 7 pixels and 5 more: 80 pixels
}

} // namespace
