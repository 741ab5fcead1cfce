#include "HostError.h"
#include "HostFixture.h"
#include "PageHeader.h"
#include "Pagination.h"
#include "RecordTypes.h"

#include <QDate>
#include <vector>

namespace {

using host::Orientation;

// Hand-computed pages: A4 is 595.28 x 841.89 points; with 36-point margins all round a
// portrait page has 769.89 points of rows and 523.28 of columns. Default rows are 12.75
// points, default columns 48 (64 pixels of Arial 10).
class PaginationTest : public HostFixture {
protected:
    void SetUp() override
    {
        host::PageSetup page = sheet.pageSetup();
        for (auto set : {&host::PageSetup::setLeftMargin, &host::PageSetup::setRightMargin,
                         &host::PageSetup::setTopMargin, &host::PageSetup::setBottomMargin})
            (page.*set)(36);
    }
    void setRowHeight(int row, int twips, bool hidden = false)
    {
        xls::Bytes body(16, 0);
        body[6] = std::uint8_t(twips);
        body[7] = std::uint8_t(twips >> 8);
        body[12] = hidden ? 0x20 : 0x00;
        body[13] = 0x01;
        data().touch(std::uint32_t(row - 1), 0);
        data().rows[std::size_t(row - 1)].record = xls::RawRecord{xls::rec::Row, body};
    }
    std::vector<int> breaks(const char *area, int zoom, Orientation orientation = Orientation::Portrait)
    {
        host::PageSetup page = sheet.pageSetup();
        page.setPrintArea(QString::fromLatin1(area));
        page.setZoom(zoom);
        page.setOrientation(orientation);
        return sheet.hPageBreaks();
    }
    std::vector<QString> texts(const host::PrintedPage &page)
    {
        std::vector<QString> all;
        for (const host::PrintedCell &cell : page.cells)
            all.push_back(cell.text);
        return all;
    }
};

TEST_F(PaginationTest, RowsFillEachPageAtTheZoomAndOrientation)
{
    const struct {
        int zoom;
        Orientation orientation;
        std::vector<int> breaks;
    } cases[] = {
        {100, Orientation::Portrait, {61, 121}},       // 60 rows of 12.75 in 769.89
        {50, Orientation::Portrait, {121}},            // 120 rows of 6.375
        {200, Orientation::Portrait, {31, 61, 91, 121}},
        {100, Orientation::Landscape, {42, 83, 124}},  // 41 rows in 523.28
        {110, Orientation::Landscape, {38, 75, 112, 149}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.zoom);
        EXPECT_EQ(breaks("A1:R150", c.zoom, c.orientation), c.breaks);
    }
}

TEST_F(PaginationTest, TallAndHiddenRowsMoveTheBreaks)
{
    setRowHeight(5, 6000);            // 300 points: rows 1..37 make 759 points
    EXPECT_EQ(breaks("A1:A100", 100), std::vector<int>({38, 98}));
    setRowHeight(5, 255);
    for (int row = 2; row <= 11; ++row)
        setRowHeight(row, 255, true); // ten rows take no room
    EXPECT_EQ(breaks("A1:A100", 100), std::vector<int>({71}));
    setRowHeight(3, 20000, false);    // taller than the page: a page of its own
    EXPECT_EQ(breaks("A1:A100", 100), std::vector<int>({3, 12, 72}));
}

TEST_F(PaginationTest, WithTheZoomOffTheLargestScaleThatFitsIsUsed)
{
    host::PageSetup page = sheet.pageSetup();
    page.setPrintArea(QStringLiteral("A1:B150"));
    page.setZoomOff();
    page.setFitToPagesWide(1);
    page.setFitToPagesTall(1);
    EXPECT_TRUE(sheet.hPageBreaks().empty());
    EXPECT_DOUBLE_EQ(host::Pagination(sheet).scale(), 0.40); // 150 rows of 5.1 points
    page.setFitToPagesTall(2);
    EXPECT_EQ(sheet.hPageBreaks().size(), 1u);
    EXPECT_DOUBLE_EQ(host::Pagination(sheet).scale(), 0.80);
    page.setFitToPagesTall(0);                                // any number of pages down
    EXPECT_DOUBLE_EQ(host::Pagination(sheet).scale(), 1.0);
    page.setZoom(100);                                        // a zoom wins over fitting
    EXPECT_EQ(sheet.hPageBreaks(), std::vector<int>({61, 121}));
}

TEST_F(PaginationTest, PagesGoDownFirstThenAcross)
{
    EXPECT_EQ(breaks("A1:Z70", 100), std::vector<int>({61}));
    for (const char *address : {"A1", "J1", "K1", "A61", "K61", "Z70"})
        at(address).setValue(QString::fromLatin1(address));
    const host::Pagination pages(sheet);
    ASSERT_EQ(pages.pageCount(), 6); // 10 columns of 48 points across 523.28: A-J, K-T, U-Z
    const std::vector<std::vector<QString>> expected = {
        {"A1", "J1"}, {"A61"}, {"K1"}, {"K61"}, {}, {"Z70"}};
    for (int number = 1; number <= 6; ++number)
        EXPECT_EQ(texts(pages.page(number)), expected[std::size_t(number - 1)]) << number;
    EXPECT_EQ(pages.page(3).cells[0].box, QRectF(0, 0, 48, 12.75));
    EXPECT_EQ(pages.page(6).cells[0].box, QRectF(5 * 48, 9 * 12.75, 48, 12.75));
    EXPECT_THROW(pages.page(7), host::HostError);
    EXPECT_THROW(pages.page(0), host::HostError);
}

TEST_F(PaginationTest, EachAreaStartsItsOwnPagesAndWithoutAreaTheUsedRangePrints)
{
    EXPECT_EQ(breaks("A1:B70,D5:E10", 100), std::vector<int>({61, 5}));
    EXPECT_EQ(host::Pagination(sheet).pageCount(), 3);

    sheet.pageSetup().setPrintArea(QString());
    EXPECT_EQ(host::Pagination(sheet).pageCount(), 0);
    at("C130").setValue(QStringLiteral("ultima"));
    EXPECT_EQ(sheet.hPageBreaks(), std::vector<int>({61, 121}));
    EXPECT_EQ(texts(host::Pagination(sheet).page(3)), std::vector<QString>({QStringLiteral("ultima")}));
}

TEST_F(PaginationTest, MarginsThatLeaveNoRoomCannotBePaginated)
{
    sheet.pageSetup().setPrintArea(QStringLiteral("A1:A10"));
    sheet.pageSetup().setTopMargin(420);
    sheet.pageSetup().setBottomMargin(422);
    EXPECT_THROW(sheet.hPageBreaks(), host::HostError);
}

TEST_F(PaginationTest, APageCarriesItsSetupAndCellsAsTheSheetShowsThem)
{
    host::PageSetup setup = sheet.pageSetup();
    setup.setPrintArea(QStringLiteral("A1:C2"));
    setup.setZoom(90);
    setup.setOrientation(Orientation::Landscape);
    setup.setHeaderMargin(15.12);
    setup.setLeftMargin(20);
    setup.setCenterHeader(QStringLiteral("Pagina &P di &N && oltre"));
    put("A1", QStringLiteral("ROSSI"));
    at("B1").setValue(1234.5);
    at("C1").setValue(QDate(2026, 3, 7));

    const host::PrintedPage page = host::Pagination(sheet).page(1);
    EXPECT_EQ(page.paper, QSizeF(841.89, 595.28));
    EXPECT_EQ(page.origin, QPointF(20, 36));
    EXPECT_DOUBLE_EQ(page.scale, 0.9);
    EXPECT_DOUBLE_EQ(page.headerTop, 15.12);
    EXPECT_EQ(page.header, QStringLiteral("Pagina 1 di 1 & oltre"));
    EXPECT_EQ(page.fontFamily, QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(page.fontPoints, 10);
    ASSERT_EQ(page.cells.size(), 3u);
    const struct {
        QString text;
        Qt::Alignment alignment;
        bool number;
        double left;
    } expected[] = {{QStringLiteral("ROSSI"), Qt::AlignLeft, false, 0},
                    {QStringLiteral("1234,5"), Qt::AlignRight, true, 48},
                    {QStringLiteral("07/03/2026"), Qt::AlignRight, true, 96}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(page.cells[i].text, expected[i].text);
        EXPECT_EQ(page.cells[i].alignment, expected[i].alignment) << i;
        EXPECT_EQ(page.cells[i].number, expected[i].number) << i;
        EXPECT_EQ(page.cells[i].box, QRectF(expected[i].left, 0, 48, 12.75)) << i;
    }
}

TEST_F(PaginationTest, HeaderCodesArePrintedAsTheirValues)
{
    const struct {
        const char *section;
        QString printed;
    } cases[] = {
        {"Pagina &P di &N", QStringLiteral("Pagina 4 di 9")},
        {"A && B &A", QStringLiteral("A & B Velmoro")},
        {"&\"Arial,Grassetto\"&14Titolo&B&I", QStringLiteral("Titolo")},
        {"&F del &D", QStringLiteral("test.xls del ") + sheet.regional().dateText(QDate::currentDate())},
        {"fine &", QStringLiteral("fine &")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(host::pageHeader(QString::fromLatin1(c.section), {4, 9, sheet}), c.printed) << c.section;
}

} // namespace
