// Printing a full registry (32,767 subjects, 18 columns): counting its pages as the print job
// does after its page setup, and rendering one page as PrintOut sends it to a printer (a PDF
// at the printer's resolution). Each figure is the median of several runs against its target.
#include "spreadsheet/Application.h"
#include "archive/Archive.h"
#include "archive/Columns.h"
#include "FullRegistry.h"
#include "spreadsheet/print/PagePainter.h"
#include "spreadsheet/Pagination.h"
#include "Timing.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <cstdio>

namespace {

constexpr int kSubjects = bench::kFullRegistry;
constexpr int kRuns = 15;
constexpr double kCountTargetMs = 100.0;
constexpr double kRenderTargetMs = 50.0;

// The print job's page setup: portrait, 110 %, A4, its margins.
void setUp(host::Worksheet &sheet)
{
    host::PageSetup page = sheet.pageSetup();
    page.setPrintArea(QStringLiteral("$R$1:") + sheet.range(QStringLiteral("A1")).end(host::Direction::Down).address());
    for (auto set : {&host::PageSetup::setLeftMargin, &host::PageSetup::setRightMargin,
                     &host::PageSetup::setBottomMargin, &host::PageSetup::setHeaderMargin})
        (page.*set)(host::Application::inchesToPoints(0.21));
    page.setTopMargin(host::Application::inchesToPoints(0.5));
    page.setCenterHeader(QStringLiteral("Stampa   Registrazioni   ------ del     06/12/2026"));
    page.setPaperSize(9);
    page.setZoom(110);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication qapp(argc, argv);
    const QString folder = QDir::tempPath() + QStringLiteral("/velmoro-printing-bench");
    const QString path = folder + QStringLiteral("/Archivio.xls");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    archive::CreateArchive(path);
    host::Application app(Regional(QLocale(QLocale::Italian, QLocale::Italy)));
    host::Worksheet &sheet = app.open(path, archive::kPassword).sheets(archive::kSheetName);
    bench::fillRegistry(sheet, kSubjects);
    setUp(sheet);

    std::size_t breaks = 0;
    const double count = bench::medianMs(kRuns, [&] { breaks = sheet.hPageBreaks().size(); });
    QByteArray pdf;
    const double render = bench::medianMs(kRuns, [&] {
        const host::PrintedPage page = host::Pagination(sheet).page(1);
        QBuffer out(&pdf);
        out.open(QIODevice::WriteOnly);
        QPdfWriter writer(&out);
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins({});
        QPainter painter(&writer);
        host::paintPage(painter, page, writer.resolution() / 72.0);
    });

    std::printf("printing a registry of %d subjects (portrait, 110 %%, A4), median of %d runs:\n", kSubjects, kRuns);
    std::printf("  %zu pages down the print area\n", breaks + 1);
    bench::report("counting the pages (HPageBreaks):", count, kCountTargetMs);
    bench::report("rendering page 1 (PDF at 1200 dpi):", render, kRenderTargetMs);
    std::printf("  one page's PDF: %.1f kB\n", pdf.size() / 1024.0);
    QDir(folder).removeRecursively();
    return 0;
}
