// The print job's steps that need no window: the zoom as typed, and the registry sheet's
// pages set up for it.
#include "model/PrintPlan.h"
#include "spreadsheet/Application.h"
#include "spreadsheet/PageSetup.h"
#include "spreadsheet/Regional.h"
#include "spreadsheet/Workbook.h"
#include "spreadsheet/Worksheet.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const Regional italian(QLocale(QLocale::Italian, QLocale::Italy));

TEST(PrintPlan, TheZoomIsTheTypedNumberRoundedHalfToEvenOrNothing)
{
    const struct {
        const char *typed;
        std::optional<std::int32_t> zoom;
    } cases[] = {{"110", 110}, {"90,5", 90}, {"91,5", 92}, {"-3", -3}, {"abc", std::nullopt}, {"", std::nullopt},
                 {"2147483647", 2147483647}, {"2147483648", std::nullopt}, {"-2147483649", std::nullopt}};
    for (const auto &c : cases)
        EXPECT_EQ(model::wholeNumber(QString::fromLatin1(c.typed), italian), c.zoom) << c.typed;
}

TEST(PrintPlan, PagesRunFromA1ToTheOrientationsLastColumnDownToTheLastIdentifier)
{
    QTemporaryDir dir;
    host::Application app(italian);
    host::Worksheet &sheet = app.create(dir.filePath(QStringLiteral("a.xls")), QString(), QStringLiteral("S")).sheets(QStringLiteral("S"));
    const auto pages = [&](bool portrait, int zoom) {
        model::setUpRegistryPages(sheet, portrait, zoom, italian);
        const host::PageSetup page = sheet.pageSetup();
        return page.printArea() + u' ' + QString::number(page.zoom()) +
               (page.orientation() == host::Orientation::Portrait ? u" P"_qs : u" L"_qs) +
               QStringLiteral(" paper %1 margins %2/%3").arg(page.paperSize()).arg(page.leftMargin()).arg(page.topMargin());
    };
    sheet.range(QStringLiteral("A1")).setValue(QStringLiteral("ID"));
    EXPECT_EQ(pages(true, 110), u"$A$1:$R$1 110 P paper 9 margins 15.12/36"_qs) << "an empty registry: the header row alone";
    for (int row = 2; row <= 4; ++row)
        sheet.cells(row, 1).setValue(double(row - 1));
    sheet.cells(6, 1).setValue(5.0);
    EXPECT_EQ(pages(true, 90), u"$A$1:$R$4 90 P paper 9 margins 15.12/36"_qs);
    EXPECT_EQ(pages(false, 80), u"$A$1:$N$4 80 L paper 9 margins 15.12/36"_qs);
    EXPECT_EQ(pages(true, 5), u"$A$1:$R$4 80 P paper 9 margins 15.12/36"_qs) << "a zoom the sheet refuses keeps the last one";
    EXPECT_TRUE(sheet.pageSetup().centerHeader().startsWith(u"Stampa   Registrazioni   ------ del     "_qs));
}

} // namespace
