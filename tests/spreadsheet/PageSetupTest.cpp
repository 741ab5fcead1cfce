#include "spreadsheet/HostError.h"
#include "HostFixture.h"

namespace {

class PageSetupTest : public HostFixture {
protected:
    host::PageSetup page = sheet.pageSetup();
};

TEST_F(PageSetupTest, ZoomOutsideTenToFourHundredIsRefusedAndKeepsTheOldValue)
{
    const std::pair<int, int> steps[] = {{50, 50}, {9, 50}, {10, 10}, {400, 400}, {401, 400}, {0, 400}}; // set, after
    for (const auto &[percent, after] : steps) {
        try {
            page.setZoom(percent);
        } catch (const host::HostError &error) {
            EXPECT_EQ(error.description(), QStringLiteral("Impossibile impostare la proprietà Zoom per la classe PageSetup"));
            EXPECT_EQ(error.number() == 1004, percent != after);
        }
        EXPECT_EQ(page.zoom(), after) << percent;
    }
    page.setZoomOff();
    EXPECT_EQ(page.zoom(), 0);
}

TEST_F(PageSetupTest, CenterHeaderIsTheMiddleSectionAndKeepsTheOthers)
{
    data().page.header = u"&LSinistra&CCentro&RDestra";
    EXPECT_EQ(page.centerHeader(), QStringLiteral("Centro"));
    page.setCenterHeader(QStringLiteral("Anagrafe && Pagina &P"));
    EXPECT_EQ(QString::fromStdU16String(data().page.header), QStringLiteral("&LSinistra&CAnagrafe && Pagina &P&RDestra"));
    data().page.header = u"Titolo";
    EXPECT_EQ(page.centerHeader(), QStringLiteral("Titolo"));
    EXPECT_THROW(page.setCenterHeader(QString(300, QLatin1Char('x'))), host::HostError);
}

TEST_F(PageSetupTest, PrintAreaOrientationPaperAndFitAreStoredAndBadValuesKeepTheOldOnes)
{
    page.setPrintArea(QStringLiteral("a1:r40"));
    page.setOrientation(host::Orientation::Landscape);
    page.setPaperSize(8);
    page.setFitToPagesWide(1);
    page.setFitToPagesTall(3);
    EXPECT_TRUE(data().page.hasSetup);
    for (const auto &bad : std::initializer_list<std::function<void()>>{
             [&] { page.setPrintArea(QStringLiteral("A1:R70000")); }, [&] { page.setPaperSize(0); },
             [&] { page.setFitToPagesTall(-1); }, [&] { page.setRightMargin(-1); }})
        EXPECT_THROW(bad(), host::HostError);
    EXPECT_EQ(page.printArea(), QStringLiteral("$A$1:$R$40"));
    EXPECT_EQ(page.orientation(), host::Orientation::Landscape);
    EXPECT_EQ(page.paperSize(), 8);
    EXPECT_EQ(std::make_pair(page.fitToPagesWide(), page.fitToPagesTall()), std::make_pair(1, 3));
    EXPECT_DOUBLE_EQ(page.rightMargin(), 0.7 * 72);
    page.setPrintArea(QString());
    EXPECT_EQ(page.printArea(), QString());
}

} // namespace
