#include "PrintRegistryPages.h"

#include "archive/Archive.h"
#include "kit/ArchiveSession.h"
#include "kit/Context.h"
#include "kit/Product.h"
#include "kit/Services.h"
#include "model/IgnoringErrors.h"
#include "model/PrintPlan.h"
#include "spreadsheet/Application.h"
#include "spreadsheet/HostError.h"

#include <limits>

namespace printing {

namespace {

using model::ignoringErrors;
using platform::Dialogs;

const QString kZoomPrompt =
    QStringLiteral("Digita la percentuale di Zoom della Stampa 80-90-100..................");
const QString kOrientationQuestion = QStringLiteral(
    " Vuoi la Stampa Verticale ?.........................................................");
const QString kPageTitle = QStringLiteral("Stampa Risultato ");

} // namespace

PrintRegistryPages::PrintRegistryPages(kit::Context &context, QString printer)
    : context_(context), printer_(std::move(printer))
{
}

host::Application &PrintRegistryPages::host() const
{
    return context_.session.host();
}

host::Worksheet &PrintRegistryPages::sheet() const
{
    return host().activeSheet();
}

host::Range PrintRegistryPages::cell(const char *address) const
{
    return sheet().range(QString::fromLatin1(address));
}

bool PrintRegistryPages::run()
{
    setUp();
    if (!printPages())
        return false;
    ignoringErrors([&] { host().setScreenUpdating(true); });
    return true;
}

int PrintRegistryPages::setUp()
{
    ignoringErrors([&] { host().setScreenUpdating(false); });
    ignoringErrors([&] { archive::RegistrySheet(host()).select(); });
    ignoringErrors([&] { cell("AZ1").setValue(110.0); });
    ignoringErrors([&] { cell("AU1").clearContents(); });
    ignoringErrors([&] { cell("AV1").clearContents(); });
    askZoom();
    const Dialogs::Answer portrait = context_.services.dialogs.messageBox(
        kOrientationQuestion, kit::kDefaultTitle, Dialogs::Buttons::YesNo, Dialogs::Icon::None);
    setUpPages(portrait == Dialogs::Answer::Yes);
    ignoringErrors([&] {
        // A count beyond a 16-bit whole number is an overflow: the count stays 0.
        const std::size_t pages = sheet().hPageBreaks().size() + 1;
        if (pages <= std::size_t(std::numeric_limits<std::int16_t>::max()))
            pageCount_ = std::int16_t(pages);
    });
    return pageCount_;
}

void PrintRegistryPages::askZoom()
{
    const QString answer = context_.services.dialogs.inputBox(
        kZoomPrompt, kit::kManagementTitle, QStringLiteral("110"));
    if (const auto zoom = model::wholeNumber(answer, context_.services.regional))
        zoom_ = *zoom;
}

void PrintRegistryPages::setUpPages(bool portrait)
{
    model::setUpRegistryPages(sheet(), portrait, zoom_, context_.services.regional);
}

bool PrintRegistryPages::printPages()
{
    for (int page = 1; page <= pageCount_; ++page) {
        ignoringErrors([&] { cell("AU1").setValue(double(page)); });
        ignoringErrors([&] { cell("AV1").setValue(double(pageCount_)); });
        if (!confirmPage())
            return false;
        printPage(page);
    }
    return true;
}

bool PrintRegistryPages::confirmPage()
{
    QString page, pages;
    ignoringErrors([&] { page = cell("AU1").text(); });
    ignoringErrors([&] { pages = cell("AV1").text(); });
    const QString question = QStringLiteral("Vuoi Procedere alla stampa   ? ") + QStringLiteral(" Pagine     ") + page +
                             QStringLiteral("    di    ") + pages;
    return context_.services.dialogs.messageBox(question, kPageTitle, Dialogs::Buttons::YesNo,
                                                Dialogs::Icon::None) != Dialogs::Answer::No;
}

void PrintRegistryPages::printPage(int page)
{
    const QString &printer = printer_;
    QString why;
    try {
        sheet().printOut(page, page, 1, printer);
        return;
    } catch (const host::HostError &error) {
        why = error.description();
    } catch (const std::exception &error) {
        why = QString::fromLocal8Bit(error.what());
    }
    if (failureReported_)
        return;
    failureReported_ = true;
    context_.services.dialogs.messageBox(
        QStringLiteral("La pagina %1 non è stata stampata sulla stampante \"%2\":\n%3\n\n"
                       "Per stampare, rispondere No alle prossime domande, scegliere una stampante "
                       "dall'elenco e premere di nuovo \"Seleziona\".")
            .arg(page)
            .arg(printer, why),
        kit::kDefaultTitle, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
}

} // namespace printing
