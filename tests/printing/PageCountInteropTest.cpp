// The host's page breaks against LibreOffice's for the same registry sheet and page setup, as
// the print job leaves them: LibreOffice paginates the saved archive through the oracle.
#include "Application.h"
#include "Columns.h"
#include "Oracle.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Case {
    const char *name;
    int subjects;
    host::Orientation orientation;
    int zoom;
    int pages; // by hand: 790.77 points a portrait page, 544.16 a landscape one
};

// The saved archive's row breaks as LibreOffice computes them.
std::vector<int> libreOfficeBreaks(const QString &path)
{
    QByteArray out, err;
    const int rc = oracle::run(QStringLiteral("/usr/bin/python3"),
                               {QStringLiteral(ORACLE_SCRIPT), QStringLiteral("pagebreaks"), path,
                                QStringLiteral("--sheet"), archive::kSheetName, QStringLiteral("--password"),
                                archive::kPassword},
                               &out, &err);
    EXPECT_EQ(rc, 0) << err.toStdString();
    std::vector<int> rows;
    for (const QJsonValue &row : QJsonDocument::fromJson(out).object()[QStringLiteral("row_breaks")].toArray())
        rows.push_back(row.toInt());
    return rows;
}

// A registry of `subjects` with the page setup the print job gives it; the host's breaks.
std::vector<int> printedRegistry(const QString &path, const Case &c)
{
    EXPECT_EQ(oracle::run(QStringLiteral(ARCHIVE_TOOL), {QStringLiteral("make"), path}), 0);
    host::Application app(Regional(QLocale(QLocale::Italian, QLocale::Italy)));
    host::Workbook &book = app.open(path, archive::kPassword);
    host::Worksheet &sheet = book.sheets(archive::kSheetName);
    for (int subject = 1; subject <= c.subjects; ++subject) {
        sheet.cells(subject + 1, 1).setValue(double(subject));
        sheet.cells(subject + 1, 2).setValue(QStringLiteral("SOGGETTO %1").arg(subject));
    }
    const bool portrait = c.orientation == host::Orientation::Portrait;
    host::PageSetup page = sheet.pageSetup();
    page.setPrintArea(QString::fromLatin1(portrait ? "$R$1:" : "$N$1:") +
                      sheet.range(QStringLiteral("A1")).end(host::Direction::Down).address());
    page.setCenterHeader(QStringLiteral("Stampa   Registrazioni   ------ del     06/12/2026"));
    for (auto set : {&host::PageSetup::setLeftMargin, &host::PageSetup::setRightMargin,
                     &host::PageSetup::setBottomMargin, &host::PageSetup::setHeaderMargin,
                     &host::PageSetup::setFooterMargin})
        (page.*set)(host::Application::inchesToPoints(0.21));
    page.setTopMargin(host::Application::inchesToPoints(0.5));
    page.setFitToPagesWide(1);
    page.setFitToPagesTall(1);
    page.setOrientation(c.orientation);
    page.setPaperSize(9);
    page.setZoom(c.zoom);
    book.save();
    return sheet.hPageBreaks();
}

TEST(PageCount, AgreesWithLibreOfficeForTheRegistryAsTheJobSetsItUp)
{
    // LibreOffice differs where a page's last row fits by less than a tenth of a row: it
    // scales the header with the zoom and starts the rows below it (about 22 points of the
    // sheet), where the host, as Excel, keeps the header in the top margin. At 50 % a
    // landscape page holds 85 rows here and 86 there; at 100 % a portrait one 62 and 61.
    const Case cases[] = {
        {"1 page, portrait, 110 %", 30, host::Orientation::Portrait, 110, 1},
        {"2 pages, portrait, 90 %", 80, host::Orientation::Portrait, 90, 2},
        {"3 pages, portrait, 110 %", 120, host::Orientation::Portrait, 110, 3},
        {"40 pages, portrait, 110 %", 2200, host::Orientation::Portrait, 110, 40},
        {"4 pages, landscape, 110 %", 120, host::Orientation::Landscape, 110, 4},
        {"3 pages, landscape, 90 %", 120, host::Orientation::Landscape, 90, 3},
        {"1 page, landscape, 50 %", 80, host::Orientation::Landscape, 50, 1},
    };
    QTemporaryDir folder;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = folder.filePath(QString::fromLatin1(c.name).replace(u' ', u'_') + QStringLiteral(".xls"));
        const std::vector<int> ours = printedRegistry(path, c);
        EXPECT_EQ(int(ours.size()) + 1, c.pages);
        EXPECT_EQ(ours, libreOfficeBreaks(path));
    }
}

} // namespace
