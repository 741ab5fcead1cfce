#include "ArchiveSession.h"

#include "ErrorText.h"
#include "Product.h"
#include "Services.h"

#include "archive/Archive.h"
#include "archive/ArchiveLock.h"
#include "handover/OfficeLock.h"
#include "model/IgnoringErrors.h"
#include "spreadsheet/Application.h"
#include "spreadsheet/HostError.h"
#include "spreadsheet/HostErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kit {

namespace {

using platform::Dialogs;
using model::ignoringErrors;

const QString kStatusText = QStringLiteral("Archivio in uso da ") + kManagementTitle;

} // namespace

ArchiveSession::ArchiveSession(Services &services) : services_(services) {}

ArchiveSession::~ArchiveSession() = default;

bool ArchiveSession::open()
{
    if (!claim())
        return false;
    app_ = std::make_unique<host::Application>(services_.regional);
    app_->setPresenter([this](host::Workbook &book) { handedOver_ = services_.presenter(book) || handedOver_; });
    app_->setPrintTarget(&services_.printTarget);
    book_ = &archive::OpenArchive(*app_, services_.archivePath);
    app_->setVisible(false);
    app_->setStatusBar(kStatusText);
    archive::PrepareArchiveSheet(*app_);
    ready_ = true;
    return true;
}

bool ArchiveSession::claim()
{
    const QString &path = services_.archivePath;
    const QString name = QFileInfo(path).fileName();
    lock_ = std::make_unique<archive::ArchiveLock>(path, kProductName);
    const archive::ArchiveLock::Result claimed = lock_->acquire();
    // Without the lock another copy could overwrite what this one saves: the archive is not
    // opened, as when the host cannot open it.
    if (claimed == archive::ArchiveLock::Result::Unavailable)
        throw host::HostError(host::ErrorKind::SaveFailed, host::kApplicationDefined,
                              QStringLiteral("Impossibile riservare l'archivio '%1' a questa copia di Velmoro: "
                                             "%2.\nL'archivio non viene aperto: senza la riserva un'altra copia "
                                             "potrebbe sovrascriverne le modifiche.")
                                  .arg(QDir::toNativeSeparators(path), lock_->problem()));
    if (claimed == archive::ArchiveLock::Result::Acquired)
        archive::RemoveLeftovers(path);
    if (claimed == archive::ArchiveLock::Result::HeldByAnotherCopy) {
        services_.dialogs.messageBox(
            QStringLiteral("L'archivio %1 è già aperto da un'altra copia di Velmoro.\n"
                           "Chiudere l'altra copia (pulsante \"Esci\") e riavviare il programma.")
                .arg(name),
            kDefaultTitle, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
        services_.program.end(1);
        return false;
    }
    if (const auto office = handover::OfficeLock::read(QFile::encodeName(path).toStdString())) {
        const auto answer = services_.dialogs.messageBox(
            QStringLiteral("L'archivio %1 risulta aperto in LibreOffice da %2.\n\n"
                           "Se è ancora aperto, le modifiche salvate da LibreOffice e quelle "
                           "salvate da Velmoro si sovrascrivono a vicenda.\n"
                           "Se LibreOffice è stato chiuso in modo anomalo, si può proseguire.\n\n"
                           "Proseguire comunque?")
                .arg(name, QString::fromStdString(office->holder())),
            kDefaultTitle, Dialogs::Buttons::YesNoDefaultNo, Dialogs::Icon::Exclamation);
        if (answer != Dialogs::Answer::Yes) {
            services_.program.end(0);
            return false;
        }
    }
    return true;
}

host::Application &ArchiveSession::host() const
{
    if (!app_)
        throw host::hostGone();
    return *app_;
}

bool ArchiveSession::hostRunning() const
{
    return app_ && !app_->hasQuit();
}

bool ArchiveSession::save()
{
    try {
        const QString backupProblem = archive::SaveArchive(host());
        if (!backupProblem.isEmpty())
            services_.dialogs.messageBox(backupProblem + QStringLiteral("\n\nL'archivio è stato salvato comunque."),
                                         kDefaultTitle, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
        return true;
    } catch (const std::exception &error) {
        services_.dialogs.messageBox(failedSaveText(error), kDefaultTitle, Dialogs::Buttons::Ok,
                                     Dialogs::Icon::Exclamation);
        return false;
    }
}

bool ArchiveSession::saveBeforeEnding()
{
    return !ready_ || !hostRunning() || save();
}

bool ArchiveSession::handOver()
{
    // Shown first, so that when nothing can show the archive everything stays as it was.
    handedOver_ = false;
    app_->setVisible(true);
    if (!handedOver_)
        app_->setVisible(false);
    return handedOver_;
}

void ArchiveSession::close(bool saved)
{
    if (hostRunning()) {
        if (saved)
            ignoringErrors([&] { book_->saveAs(); });
        ignoringErrors([&] { book_->close(false); });
        ignoringErrors([&] { app_->quit(); });
    }
    ready_ = false;
    book_ = nullptr;
    app_.reset();
    lock_.reset();
}

} // namespace kit
