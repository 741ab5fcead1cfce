#include "PrinterTarget.h"

#include "spreadsheet/HostError.h"
#include "PagePainter.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace host {
namespace {

HostError printFailed(const QString &why)
{
    return HostError(ErrorKind::InvalidArgument, kApplicationDefined, why);
}

QPageLayout layoutOf(const PrintedPage &page)
{
    const QSizeF portrait(std::min(page.paper.width(), page.paper.height()),
                          std::max(page.paper.width(), page.paper.height()));
    const auto orientation = page.paper.width() > page.paper.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
    return QPageLayout(QPageSize(portrait, QPageSize::Point), orientation, QMarginsF());
}

} // namespace

void paintPages(QPrinter &device, const std::vector<PrintedPage> &pages, const QString &printer)
{
    if (pages.empty())
        return;
    device.setFullPage(true);
    device.setPageLayout(layoutOf(pages.front()));
    QPainter painter;
    if (!painter.begin(&device))
        throw printFailed(QStringLiteral("La stampante \"%1\" non accetta la stampa.").arg(printer));
    const double dotsPerPoint = device.resolution() / 72.0;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            // A preview takes no new layout once painting; the pages of one job share theirs.
            if (const QPageLayout layout = layoutOf(pages[i]); !layout.isEquivalentTo(device.pageLayout()))
                device.setPageLayout(layout);
            device.newPage();
        }
        paintPage(painter, pages[i], dotsPerPoint);
    }
    if (!painter.end() || device.printerState() == QPrinter::Error)
        throw printFailed(QStringLiteral("La stampa sulla stampante \"%1\" non è riuscita.").arg(printer));
}

void PrinterTarget::print(const QString &printer, int copies, const std::vector<PrintedPage> &pages)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
    if (info.isNull())
        throw printFailed(QStringLiteral("La stampante \"%1\" non è tra le stampanti installate.").arg(printer));
    QPrinter device(info, QPrinter::HighResolution);
    device.setDocName(QStringLiteral("Velmoro"));
    device.setCopyCount(copies);
    paintPages(device, pages, printer);
}

} // namespace host
