#include "model/PrintPlan.h"

#include "model/IgnoringErrors.h"
#include "spreadsheet/Application.h"
#include "spreadsheet/HostErrors.h"
#include "spreadsheet/Regional.h"
#include "spreadsheet/Worksheet.h"

#include <QDate>
#include <cmath>
#include <limits>

namespace model {

namespace {

constexpr double kSideInches = 0.21;
constexpr double kTopInches = 0.5;
constexpr int kA4 = 9;

} // namespace

std::optional<std::int32_t> wholeNumber(const QString &answer, const Regional &regional)
{
    const std::optional<double> number = regional.parseNumber(answer);
    if (!number)
        return std::nullopt;
    const double rounded = std::nearbyint(*number); // ties to even in the default rounding mode
    if (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return std::int32_t(rounded);
}

QString centerHeader(bool portrait, const Regional &regional)
{
    return (portrait ? QStringLiteral("Stampa   Registrazioni   ") : QStringLiteral("Stampa  Anagrafe Soggetti  ")) +
           QStringLiteral("------") + QStringLiteral(" del     ") + regional.dateText(QDate::currentDate());
}

void setUpRegistryPages(host::Worksheet &sheet, bool portrait, std::int32_t zoom, const Regional &regional)
{
    const auto cell = [&](const char *address) { return sheet.range(QString::fromLatin1(address)); };
    QString columnCorner, rowCorner;
    ignoringErrors([&] { columnCorner = cell(portrait ? "R1" : "N1").address(); });
    // The rows down to the last identifier above the first empty A. With nothing below A1 the
    // jump lands on the sheet's empty last row, so an empty registry prints its header row alone.
    ignoringErrors([&] {
        const host::Range jump = cell("A1").end(host::Direction::Down);
        rowCorner = (jump.isEmpty() ? cell("A1") : jump).address();
    });
    ignoringErrors([&] { sheet.pageSetup().setPrintArea(columnCorner + QLatin1Char(':') + rowCorner); });

    std::optional<host::PageSetup> setup;
    ignoringErrors([&] { setup = sheet.pageSetup(); });
    const auto set = [&](auto change) {
        ignoringErrors([&] {
            if (!setup)
                throw host::noWorkbook();
            change(*setup);
        });
    };
    const double side = host::Application::inchesToPoints(kSideInches);
    set([&](host::PageSetup &page) { page.setCenterHeader(centerHeader(portrait, regional)); });
    set([&](host::PageSetup &page) { page.setLeftMargin(side); });
    set([&](host::PageSetup &page) { page.setRightMargin(side); });
    set([&](host::PageSetup &page) { page.setTopMargin(host::Application::inchesToPoints(kTopInches)); });
    set([&](host::PageSetup &page) { page.setBottomMargin(side); });
    set([&](host::PageSetup &page) { page.setHeaderMargin(side); });
    set([&](host::PageSetup &page) { page.setFooterMargin(side); });
    set([&](host::PageSetup &page) { page.setFitToPagesWide(1); });
    set([&](host::PageSetup &page) { page.setFitToPagesTall(1); });
    set([&](host::PageSetup &page) {
        page.setOrientation(portrait ? host::Orientation::Portrait : host::Orientation::Landscape);
    });
    set([&](host::PageSetup &page) { page.setPaperSize(kA4); });
    set([&](host::PageSetup &page) { page.setZoom(zoom); });
}

} // namespace model
