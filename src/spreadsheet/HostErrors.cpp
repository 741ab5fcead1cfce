#include "HostErrors.h"

#include "spreadsheet/xls/container/SystemError.h"
#include "spreadsheet/detail/Engine.h"

#include <QDir>

namespace host {
namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

HostError detail::openError(const xls::Error &error, const QString &path)
{
    const QString detail = QString::fromUtf8(error.what());
    switch (error.kind()) {
    case xls::ErrorKind::WrongPassword:
        return HostError(ErrorKind::WrongPassword, kApplicationDefined,
                         QStringLiteral("La password specificata non è corretta. Verificare che il tasto "
                                        "BLOC MAIUSC non sia attivato e che venga utilizzata la combinazione "
                                        "corretta di lettere maiuscole e minuscole."));
    case xls::ErrorKind::NotAWorkbook:
        return HostError(ErrorKind::NotAWorkbook, kApplicationDefined,
                         QStringLiteral("Il file '%1' non è una cartella di lavoro nel formato .xls (%2).")
                             .arg(shown(path), detail));
    case xls::ErrorKind::Damaged:
        return HostError(ErrorKind::Damaged, kApplicationDefined,
                         QStringLiteral("Il file '%1' è danneggiato e non può essere aperto: %2.")
                             .arg(shown(path), detail));
    case xls::ErrorKind::Unsupported:
        return HostError(ErrorKind::Unsupported, kApplicationDefined,
                         QStringLiteral("Il file '%1' usa un formato o una protezione non supportati: %2.")
                             .arg(shown(path), detail));
    case xls::ErrorKind::Io:
        break;
    }
    return HostError(ErrorKind::FileNotFound, kApplicationDefined,
                     QStringLiteral("Impossibile accedere al file '%1': %2.").arg(shown(path), detail));
}

HostError fileNotFound(const QString &path)
{
    return HostError(ErrorKind::FileNotFound, kApplicationDefined,
                     QStringLiteral("Impossibile trovare il file '%1'. Verificare che il nome e il percorso "
                                    "del file siano corretti.")
                         .arg(shown(path)));
}

HostError cannotOpen(const QString &path, int err)
{
    return HostError(ErrorKind::FileNotFound, kApplicationDefined,
                     QStringLiteral("Impossibile aprire il file '%1': %2.")
                         .arg(shown(path), QString::fromStdString(xls::systemErrorText(err))));
}

HostError saveFailed(const QString &path, const QString &reason)
{
    return HostError(ErrorKind::SaveFailed, kApplicationDefined,
                     QStringLiteral("Impossibile salvare il file '%1': %2. Il file sul disco non è stato "
                                    "modificato.")
                         .arg(shown(path), reason));
}

HostError sheetNotFound()
{
    return HostError(ErrorKind::SheetNotFound, kSubscriptOutOfRange,
                     QStringLiteral("Indice non incluso nell'intervallo"));
}

HostError invalidArgument(const QString &description)
{
    return HostError(ErrorKind::InvalidArgument, kApplicationDefined, description);
}

HostError applicationDefined()
{
    return invalidArgument(QStringLiteral("Errore definito dall'applicazione o dall'oggetto."));
}

HostError badProperty(const QString &property, const QString &className)
{
    return invalidArgument(QStringLiteral("Impossibile impostare la proprietà %1 per la classe %2")
                               .arg(property, className));
}

HostError methodFailed(const QString &method, const QString &className)
{
    return invalidArgument(QStringLiteral("Metodo %1 della classe %2 non riuscito").arg(method, className));
}

HostError noWorkbook()
{
    return HostError(ErrorKind::InvalidArgument, 91,
                     QStringLiteral("Variabile oggetto o variabile del blocco With non impostata"));
}

HostError hostGone()
{
    return HostError(ErrorKind::HostGone, 462,
                     QStringLiteral("Il computer server remoto non esiste o non è disponibile"));
}

HostError workbookClosed()
{
    return HostError(ErrorKind::HostGone, 462,
                     QStringLiteral("La cartella di lavoro è stata chiusa e non è più disponibile"));
}

} // namespace host
