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

void PrinterTarget::print(const QString &printer, int copies, const std::vector<PrintedPage> &pages)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
    if (info.isNull())
        throw printFailed(QStringLiteral("La stampante \"%1\" non è tra le stampanti installate.").arg(printer));
    if (pages.empty())
        return;
    QPrinter device(info, QPrinter::HighResolution);
    device.setDocName(QStringLiteral("Velmoro"));
    device.setFullPage(true);
    device.setCopyCount(copies);
    device.setPageLayout(layoutOf(pages.front()));
    QPainter painter;
    if (!painter.begin(&device))
        throw printFailed(QStringLiteral("La stampante \"%1\" non accetta la stampa.").arg(printer));
    const double dotsPerPoint = device.resolution() / 72.0;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            device.setPageLayout(layoutOf(pages[i]));
            device.newPage();
        }
        paintPage(painter, pages[i], dotsPerPoint);
    }
    if (!painter.end() || device.printerState() == QPrinter::Error)
        throw printFailed(QStringLiteral("La stampa sulla stampante \"%1\" non è riuscita.").arg(printer));
}

} // namespace host
