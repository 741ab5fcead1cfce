// The host's page breaks against LibreOffice's, for the registry with the page setup the print
// job gives it, saved and paginated by LibreOffice through the oracle, which also reads that
// page setup back.
#include "spreadsheet/Application.h"
#include "archive/Archive.h"
#include "archive/Columns.h"
#include "Oracle.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The breaks and the page setup as LibreOffice reads them from the saved file.
QJsonObject libreOfficePages(const QString &path)
{
    QByteArray out, err;
    EXPECT_EQ(oracle::run("/usr/bin/python3", {ORACLE_SCRIPT, "pagebreaks", path, "--sheet", archive::kSheetName,
                                               "--password", archive::kPassword}, &out, &err), 0)
        << err.toStdString();
    return QJsonDocument::fromJson(out).object();
}

// LibreOffice scales the header with the zoom and starts the rows below it (some 22 points of
// the sheet), where the host, as Excel, keeps it in the top margin: a page whose last row fits
// by less than that differs. At 50 % a landscape page holds 85 rows here and 86 there. At 90 %
// in portrait the 69th row misses the host's page by 1.1 points and fills LibreOffice's to the
// twip, so the header's line height on LibreOffice's printer decides: 225 twips (15 pixels at
// 96 dpi) without a printer, as in libreoffice-calc-nogui, lets the row in; 226 (47 pixels on
// the 300 dpi Generic Printer of libreoffice-calc) keeps it out. No case sits on that edge.
TEST(PageCount, AgreesWithLibreOfficeForTheRegistryAsTheJobSetsItUp)
{
    const struct {
        int subjects, zoom, pages;
        host::Orientation orientation;
    } cases[] = {{30, 110, 1, host::Orientation::Portrait},   {100, 80, 2, host::Orientation::Portrait},
                 {120, 110, 3, host::Orientation::Portrait},  {2200, 110, 40, host::Orientation::Portrait},
                 {120, 110, 4, host::Orientation::Landscape}, {120, 90, 3, host::Orientation::Landscape},
                 {80, 50, 1, host::Orientation::Landscape}};
    QTemporaryDir folder;
    for (const auto &c : cases) {
        const QString path = folder.filePath(QStringLiteral("%1-%2-%3.xls").arg(c.pages).arg(c.zoom).arg(int(c.orientation)));
        SCOPED_TRACE(path.toStdString());
        archive::CreateArchive(path);
        host::Application app(Regional::italian());
        host::Workbook &book = app.open(path, archive::kPassword);
        host::Worksheet &sheet = book.sheets(archive::kSheetName);
        for (int row = 2; row <= c.subjects + 1; ++row)
            sheet.cells(row, 1).setValue(double(row - 1));
        host::PageSetup page = sheet.pageSetup();
        const bool portrait = c.orientation == host::Orientation::Portrait;
        page.setPrintArea((portrait ? "$R$1:$A$" : "$N$1:$A$") + QString::number(c.subjects + 1));
        page.setCenterHeader(QStringLiteral("Stampa   Registrazioni   ------ del     06/12/2026"));
        for (auto set : {&host::PageSetup::setLeftMargin, &host::PageSetup::setRightMargin,
                         &host::PageSetup::setBottomMargin, &host::PageSetup::setHeaderMargin})
            (page.*set)(15.12);
        page.setTopMargin(36);
        page.setOrientation(c.orientation);
        page.setZoom(c.zoom);
        book.save();
        const std::vector<int> ours = sheet.hPageBreaks();
        EXPECT_EQ(int(ours.size()) + 1, c.pages);
        const QJsonObject theirs = libreOfficePages(path);
        std::vector<int> rows;
        for (const QJsonValue &row : theirs["row_breaks"].toArray())
            rows.push_back(row.toInt());
        EXPECT_EQ(ours, rows);
        const QJsonObject setup = theirs["setup"].toObject();
        EXPECT_EQ(setup["print_area"].toString(), QStringLiteral("$A$1:$%1$%2").arg(portrait ? 'R' : 'N').arg(c.subjects + 1));
        EXPECT_EQ(setup["center_header"].toString(), QStringLiteral("Stampa   Registrazioni   ------ del     06/12/2026"));
        EXPECT_EQ(setup["landscape"].toBool(), !portrait);
        EXPECT_EQ(setup["zoom"].toInt(), c.zoom);
        const QJsonObject margins = setup["margins"].toObject();
        for (const auto &[side, points] : {std::pair{"Left", 15.1}, {"Right", 15.1}, {"Top", 36.0}, {"Bottom", 15.1}, {"Header", 15.1}})
            EXPECT_NEAR(margins[QLatin1String(side)].toDouble(), points, 0.5) << side; // LibreOffice keeps hundredths of a millimetre
    }
}

} // namespace
