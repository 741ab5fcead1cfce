#include "HostError.h"
#include "HostFixture.h"

namespace {

class PageSetupTest : public HostFixture {};

TEST_F(PageSetupTest, ZoomOutsideTenToFourHundredIsRefusedAndKeepsTheOldValue)
{
    host::PageSetup page = sheet.pageSetup();
    const std::tuple<int, bool, int> steps[] = {
        // set, accepted, zoom afterwards
        {50, true, 50}, {9, false, 50}, {10, true, 10}, {400, true, 400}, {401, false, 400}, {0, false, 400},
    };
    for (const auto &[percent, accepted, after] : steps) {
        SCOPED_TRACE(percent);
        if (accepted) {
            EXPECT_NO_THROW(page.setZoom(percent));
        } else {
            const host::HostError error = raised([&] { page.setZoom(percent); });
            EXPECT_EQ(error.number(), 1004);
            EXPECT_EQ(error.description(),
                      QStringLiteral("Impossibile impostare la proprietà Zoom per la classe PageSetup"));
        }
        EXPECT_EQ(page.zoom(), after);
    }
    page.setZoomOff();
    EXPECT_EQ(page.zoom(), 0);
    page.setZoom(75);
    EXPECT_EQ(page.zoom(), 75);
}

TEST_F(PageSetupTest, MarginsAreGivenInPointsAndStoredInInches)
{
    host::PageSetup page = sheet.pageSetup();
    page.setLeftMargin(host::Application::inchesToPoints(0.5));
    page.setTopMargin(host::Application::inchesToPoints(1));
    page.setFooterMargin(0);
    EXPECT_DOUBLE_EQ(data().page.leftMargin, 0.5) << "inches in the file";
    EXPECT_DOUBLE_EQ(page.leftMargin(), 36);
    EXPECT_DOUBLE_EQ(page.topMargin(), 72);
    EXPECT_DOUBLE_EQ(page.footerMargin(), 0);
    EXPECT_THROW(page.setRightMargin(-1), host::HostError);
    EXPECT_DOUBLE_EQ(page.rightMargin(), 0.7 * 72);
}

TEST_F(PageSetupTest, CenterHeaderIsTheMiddleSectionAndKeepsTheOthers)
{
    host::PageSetup page = sheet.pageSetup();
    data().page.header = u"&LSinistra&CCentro&RDestra";
    EXPECT_EQ(page.centerHeader(), QStringLiteral("Centro"));
    page.setCenterHeader(QStringLiteral("Anagrafe && Pagina &P"));
    EXPECT_EQ(QString::fromStdU16String(data().page.header),
              QStringLiteral("&LSinistra&CAnagrafe && Pagina &P&RDestra"));
    EXPECT_EQ(page.centerHeader(), QStringLiteral("Anagrafe && Pagina &P"));
    data().page.header = u"Titolo";
    EXPECT_EQ(page.centerHeader(), QStringLiteral("Titolo"));
    page.setCenterHeader(QString());
    EXPECT_EQ(QString::fromStdU16String(data().page.header), QString());
    EXPECT_THROW(page.setCenterHeader(QString(300, QLatin1Char('x'))), host::HostError);
}

TEST_F(PageSetupTest, PrintAreaIsStoredAbsoluteAndABadOneIsRefused)
{
    host::PageSetup page = sheet.pageSetup();
    EXPECT_EQ(page.printArea(), QString());
    page.setPrintArea(QStringLiteral("a1:r40"));
    EXPECT_EQ(page.printArea(), QStringLiteral("$A$1:$R$40"));
    EXPECT_THROW(page.setPrintArea(QStringLiteral("A1:R70000")), host::HostError);
    EXPECT_EQ(page.printArea(), QStringLiteral("$A$1:$R$40"));
    page.setPrintArea(QString());
    EXPECT_EQ(page.printArea(), QString());
}

TEST_F(PageSetupTest, OrientationPaperAndFitToPagesAreStored)
{
    host::PageSetup page = sheet.pageSetup();
    page.setOrientation(host::Orientation::Landscape);
    page.setPaperSize(8);
    page.setFitToPagesWide(1);
    page.setFitToPagesTall(3);
    EXPECT_EQ(page.orientation(), host::Orientation::Landscape);
    EXPECT_EQ(page.paperSize(), 8);
    EXPECT_EQ(std::make_pair(page.fitToPagesWide(), page.fitToPagesTall()), std::make_pair(1, 3));
    EXPECT_TRUE(data().page.hasSetup);
    EXPECT_THROW(page.setPaperSize(0), host::HostError);
    EXPECT_THROW(page.setFitToPagesTall(-1), host::HostError);
    EXPECT_EQ(page.paperSize(), 8);
}

} // namespace
