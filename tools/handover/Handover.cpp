#include "Handover.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <unistd.h>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include "FileUrl.h"
#include "QuietInteractionHandler.h"

using namespace css;
using namespace handover;

namespace {

constexpr auto connectTimeout = std::chrono::seconds(30);
constexpr auto exitTimeout = std::chrono::seconds(10);
const char *const notOpened = "Impossibile aprire l'archivio in LibreOffice: ";
const char *const notStarted = "Impossibile avviare LibreOffice: ";

beans::PropertyValue property(const char *name, const uno::Any &value)
{
    beans::PropertyValue result;
    result.Name = rtl::OUString::createFromAscii(name);
    result.Value = value;
    return result;
}

// Without a screen LibreOffice still loads the archive, into a window nobody sees.
bool hasScreen()
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char *value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

} // namespace

Handover::Handover(CommandLine line, std::string password)
    : line_(std::move(line)), password_(std::move(password))
{
}

ExitCode Handover::run()
{
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(line_.file, error);
    if (error || !std::filesystem::is_regular_file(path, error))
        return fail(NotLoaded, std::string(notOpened) + "file non trovato (" + line_.file + ").");
    if (!line_.headless && !hasScreen())
        return fail(OfficeUnavailable, std::string(notStarted) + "nessuno schermo su cui mostrarlo.");
    lock_ = handover::OfficeLock::read(path.string());
    try {
        return startAndLoad(path.string());
    } catch (const uno::Exception &e) {
        stopStartedOffice();
        return fail(OfficeUnavailable, std::string(notStarted) + e.Message.toUtf8().getStr());
    }
}

ExitCode Handover::startAndLoad(const std::string &path)
{
    const std::optional<std::string> executable = OfficeProcess::findExecutable();
    if (!executable)
        return fail(OfficeUnavailable, std::string(notStarted) + "programma non trovato.");
    // Without it the UNO runtime cannot find its type libraries.
    setenv("URE_BOOTSTRAP", "vnd.sun.star.pathname:" LIBREOFFICE_PROGRAM_DIR "/fundamentalrc", 0);
    const std::string pipe = line_.pipeName.empty() ? defaultPipeName() : line_.pipeName;
    std::string profileUrl;
    if (!line_.profileDir.empty())
        profileUrl = fileUrl(std::filesystem::absolute(line_.profileDir).lexically_normal().string());
    if (!office_.start(*executable, line_.headless, profileUrl, pipe))
        return fail(OfficeUnavailable, std::string(notStarted) + "esecuzione di " + *executable + " non riuscita.");

    connection_.emplace();
    // A started soffice that finds LibreOffice already running hands its
    // arguments over and ends with status 0; that instance then answers.
    const bool connected = connection_->connect(pipe, std::chrono::steady_clock::now() + connectTimeout,
                                                [this] { return office_.running() || !office_.failed(); });
    if (!connected) {
        connection_.reset();
        const bool quit = !office_.running() && office_.failed();
        office_.killGroup();
        return fail(OfficeUnavailable, std::string(notStarted)
                        + (quit ? "si è chiuso all'avvio." : "nessuna risposta entro 30 secondi."));
    }
    // Whether the soffice started here serves the connection, rather than a
    // LibreOffice that was already running.
    const bool ownInstance = office_.running();
    if (!load(path)) {
        const bool lost = !connection_->responds();
        stopStartedOffice();
        if (lost || (ownInstance && office_.failed()))
            return officeLostDuringLoad(path);
        if (lock_)
            return fail(NotLoaded, notOpened + ("il file risulta aperto da " + lock_->holder() + "."));
        return fail(NotLoaded, std::string(notOpened) + "password errata o file danneggiato.");
    }
    connection_.reset();
    return Loaded;
}

bool Handover::load(const std::string &path)
{
    uno::Sequence<beans::PropertyValue> arguments(line_.headless ? 3 : 2);
    beans::PropertyValue *argument = arguments.getArray();
    const rtl::OUString password(password_.data(), password_.size(), RTL_TEXTENCODING_UTF8);
    argument[0] = property("Password", uno::Any(password));
    const uno::Reference<task::XInteractionHandler> handler(new QuietInteractionHandler);
    argument[1] = property("InteractionHandler", uno::Any(handler));
    if (line_.headless)
        argument[2] = property("Hidden", uno::Any(true));

    const std::string url = fileUrl(path);
    try {
        uno::Reference<lang::XComponent> document = connection_->desktop()->loadComponentFromURL(
            rtl::OUString::createFromAscii(url.c_str()), "_blank", 0, arguments);
        if (!document.is())
            return false;
        // Anything but a workbook (a damaged file read as text) is no archive.
        if (uno::Reference<sheet::XSpreadsheetDocument>(document, uno::UNO_QUERY).is())
            return true;
        uno::Reference<util::XCloseable> closeable(document, uno::UNO_QUERY);
        if (closeable.is())
            closeable->close(true);
        else
            document->dispose();
    } catch (const uno::Exception &) {
        // Type detection failed, I/O error, or soffice went away.
    }
    return false;
}

void Handover::stopStartedOffice()
{
    // Only the soffice this helper started, and only while it shows nothing
    // else: a LibreOffice the user already had open is left alone.
    if (!office_.running()) {
        connection_.reset();
        return;
    }
    if (connection_ && !connection_->hasOpenComponents()) {
        try {
            connection_->desktop()->terminate();
        } catch (const uno::Exception &) {
            // The bridge breaks while soffice shuts down.
        }
    }
    connection_.reset();
    if (!office_.waitForExit(exitTimeout))
        office_.killGroup();
}

ExitCode Handover::officeLostDuringLoad(const std::string &path)
{
    // The lock it took for this load is stale now; one that was there before is not ours.
    std::error_code ignored;
    if (!lock_)
        std::filesystem::remove(handover::OfficeLock::pathFor(path), ignored);
    // Typically the build without a user interface, which ends when a document
    // is shown: for the caller this LibreOffice is unusable, not the archive.
    return fail(OfficeUnavailable, std::string(notStarted)
                    + "si è chiuso durante il caricamento dell'archivio (serve il pacchetto "
                      "libreoffice-calc, non la versione senza interfaccia grafica).");
}

ExitCode Handover::fail(ExitCode code, const std::string &reason)
{
    std::cerr << reason << std::endl;
    return code;
}

std::string Handover::defaultPipeName() const
{
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return "velmoro_handover_" + std::to_string(getpid()) + "_" + std::to_string(ticks);
}
