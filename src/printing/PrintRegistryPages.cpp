#include "PrintRegistryPages.h"

#include "archive/Archive.h"
#include "kit/ArchiveSession.h"
#include "kit/Context.h"
#include "kit/Product.h"
#include "kit/Services.h"
#include "model/IgnoringErrors.h"
#include "spreadsheet/Application.h"
#include "spreadsheet/HostErrors.h"

#include <QDate>
#include <cmath>
#include <limits>
#include <optional>

namespace printing {

namespace {

using model::ignoringErrors;
using platform::Dialogs;

const QString kZoomPrompt =
    QStringLiteral("Digita la percentuale di Zoom della Stampa 80-90-100..................");
const QString kOrientationQuestion = QStringLiteral(
    " Vuoi la Stampa Verticale ?.........................................................");
const QString kPageTitle = QStringLiteral("Stampa Risultato ");
constexpr double kSideInches = 0.21;
constexpr double kTopInches = 0.5;
constexpr int kA4 = 9;

// The answer as a whole number in the user's locale, a half going to the even neighbour.
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
    if (const auto zoom = wholeNumber(answer, context_.services.regional))
        zoom_ = *zoom;
}

void PrintRegistryPages::setUpPages(bool portrait)
{
    QString columnCorner, rowCorner;
    ignoringErrors([&] { columnCorner = cell(portrait ? "R1" : "N1").address(); });
    // The rows down to the last identifier above the first empty A. With nothing below A1 the
    // jump lands on the sheet's empty last row, so an empty registry prints its header row alone.
    ignoringErrors([&] {
        const host::Range jump = cell("A1").end(host::Direction::Down);
        rowCorner = (jump.isEmpty() ? cell("A1") : jump).address();
    });
    ignoringErrors([&] { sheet().pageSetup().setPrintArea(columnCorner + QLatin1Char(':') + rowCorner); });

    std::optional<host::PageSetup> setup;
    ignoringErrors([&] { setup = sheet().pageSetup(); });
    const auto set = [&](auto change) {
        ignoringErrors([&] {
            if (!setup)
                throw host::noWorkbook();
            change(*setup);
        });
    };
    const double side = host::Application::inchesToPoints(kSideInches);
    set([&](host::PageSetup &page) { page.setCenterHeader(centerHeader(portrait, context_.services.regional)); });
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
    set([&](host::PageSetup &page) { page.setZoom(zoom_); });
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
