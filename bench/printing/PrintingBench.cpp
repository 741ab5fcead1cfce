// Printing a full registry (32,767 subjects, 18 columns): counting its pages as the print job
// does after its page setup, and rendering one page as PrintOut sends it to a printer (a PDF
// at the printer's resolution). Each figure is the median of several runs against its target.
#include "Application.h"
#include "Archive.h"
#include "Columns.h"
#include "PagePainter.h"
#include "Pagination.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kSubjects = 32767;
constexpr int kRuns = 15;
constexpr double kCountTargetMs = 100.0;
constexpr double kRenderTargetMs = 50.0;

void fill(host::Worksheet &sheet)
{
    for (int i = 1; i <= kSubjects; ++i) {
        const QString n = QString::number(i).rightJustified(5, u'0');
        const QString fields[archive::kFieldCount] = {
            QString::number(i), QStringLiteral("COGNOME%1 NOME%1").arg(n), QStringLiteral("C") + n,
            QStringLiteral("12/03/2024"), QStringLiteral("VIA ROMA %1").arg(i % 300 + 1), QStringLiteral("00184"),
            QStringLiteral("ROMA"), QStringLiteral("RM"), QStringLiteral("06") + n + QStringLiteral("123"),
            QStringLiteral("06") + n + QStringLiteral("124"), QStringLiteral("333") + n + QStringLiteral("12"),
            QStringLiteral("posta%1@example.org").arg(n), QStringLiteral("RSSMRA80A01H%1U").arg(n.right(3)),
            QStringLiteral("012345") + n, QStringLiteral("REFERENTE %1").arg(n), QStringLiteral("BANCA %1").arg(i % 50),
            QStringLiteral("INTESTATARIO %1").arg(n), QStringLiteral("IT60X05428111010000001") + n};
        for (int column = 0; column < archive::kFieldCount; ++column)
            sheet.cells(i + 1, column + 1).setValue(fields[column]);
    }
}

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

double medianMs(const std::function<void()> &work)
{
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer clock;
        clock.start();
        work();
        runs.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

void report(const char *what, double ms, double target)
{
    std::printf("  %-40s %7.2f ms   target %5.0f ms   ratio %5.2f  (%s)\n", what, ms, target, ms / target,
                ms < target ? "within target" : "OVER TARGET");
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
    fill(sheet);
    setUp(sheet);

    std::size_t breaks = 0;
    const double count = medianMs([&] { breaks = sheet.hPageBreaks().size(); });
    QByteArray pdf;
    const double render = medianMs([&] {
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
    report("counting the pages (HPageBreaks):", count, kCountTargetMs);
    report("rendering page 1 (PDF at 1200 dpi):", render, kRenderTargetMs);
    std::printf("  one page's PDF: %.1f kB\n", pdf.size() / 1024.0);
    QDir(folder).removeRecursively();
    return 0;
}
