#include "PrintPreview.h"

#include "PrintRegistryPages.h"

#include "archive/Archive.h"
#include "kit/ArchiveSession.h"
#include "kit/Context.h"
#include "kit/ErrorText.h"
#include "kit/Product.h"
#include "kit/Services.h"
#include "spreadsheet/HostError.h"
#include "spreadsheet/print/PrinterTarget.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace printing {

namespace {

using platform::Dialogs;

void say(kit::Context &context, const QString &text)
{
    context.services.dialogs.messageBox(text, kit::kDefaultTitle, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
}

} // namespace

void previewRegistryPages(kit::Context &context, const QString &printer, QWidget &window)
{
    const int count = PrintRegistryPages(context, printer).setUp();
    std::vector<host::PrintedPage> pages;
    try {
        pages = archive::RegistrySheet(context.session.host()).printedPages(1, count);
    } catch (const host::HostError &) {
    }
    if (pages.empty()) {
        say(context, QStringLiteral("Nessuna pagina da mostrare: con la percentuale di Zoom scelta il registro "
                                    "non si può impaginare."));
        return;
    }
    const QString name = printer.trimmed();
    QPrinter device(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
    device.setDocName(kit::kProductName);
    QPrintPreviewDialog preview(&device, &window);
    preview.setWindowTitle(QStringLiteral("Anteprima di stampa - %1").arg(kit::kProductName));
    preview.resize(900, 700);
    QString failure;
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter *target) {
        context.guard.run([&] { host::paintPages(*target, pages, name); },
                          [&](const std::exception &error) { failure = kit::errorDescription(error); });
    });
    context.services.dialogs.printPreview(preview);
    if (!failure.isEmpty())
        say(context, failure);
}

} // namespace printing
