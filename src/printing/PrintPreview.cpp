#include "PrintPreview.h"

#include "Archive.h"
#include "Form1.h"
#include "Forms.h"
#include "HostError.h"
#include "HostErrors.h"
#include "PrintRegistryPages.h"
#include "PrinterTarget.h"
#include "Product.h"
#include "StampaP.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace printing {

namespace {

using platform::Dialogs;

void say(app::Forms &forms, const QString &text)
{
    forms.services().dialogs.messageBox(text, app::kDefaultTitle, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
}

} // namespace

void previewRegistryPages(app::Forms &forms, StampaP &window)
{
    const int count = PrintRegistryPages(forms, window).setUp();
    std::vector<host::PrintedPage> pages;
    try {
        host::Application *application = forms.form1()->application();
        if (!application)
            throw host::hostGone();
        pages = archive::RegistrySheet(*application).printedPages(1, count);
    } catch (const host::HostError &) {
    }
    if (pages.empty()) {
        say(forms, QStringLiteral("Nessuna pagina da mostrare: con la percentuale di Zoom scelta il registro "
                                  "non si può impaginare."));
        return;
    }
    const QString name = window.printerName().trimmed();
    QPrinter printer(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
    printer.setDocName(app::kProductName);
    QPrintPreviewDialog preview(&printer, &window);
    preview.setWindowTitle(QStringLiteral("Anteprima di stampa - %1").arg(app::kProductName));
    preview.resize(900, 700);
    QString failure;
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter *device) {
        try {
            host::paintPages(*device, pages, name);
        } catch (const host::HostError &error) {
            failure = error.description();
        }
    });
    forms.services().dialogs.printPreview(preview);
    if (!failure.isEmpty())
        say(forms, failure);
}

} // namespace printing
