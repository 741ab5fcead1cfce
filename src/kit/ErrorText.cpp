#include "ErrorText.h"

#include "spreadsheet/HostError.h"

namespace kit {

namespace {

int numberOf(const std::exception &error)
{
    if (const auto *hostError = dynamic_cast<const host::HostError *>(&error))
        return hostError->number();
    return host::kApplicationDefined;
}

} // namespace

QString errorDescription(const std::exception &error)
{
    if (const auto *hostError = dynamic_cast<const host::HostError *>(&error))
        return hostError->description();
    return QString::fromLocal8Bit(error.what());
}

QString unhandledErrorText(const std::exception &error)
{
    return QStringLiteral("Errore di run-time '%1':\n\n%2")
        .arg(numberOf(error))
        .arg(errorDescription(error));
}

QString failedSaveText(const std::exception &error)
{
    return QStringLiteral("Salvataggio dell'archivio non riuscito (errore %1):\n\n%2\n\n"
                          "Le modifiche restano aperte nel programma: risolvere il problema "
                          "e riprovare.")
        .arg(numberOf(error))
        .arg(errorDescription(error));
}

} // namespace kit
