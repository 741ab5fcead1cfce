#pragma once

#include <QString>

// The product's name, version and the fixed texts its windows share.
namespace kit {

inline const QString kProductName = QStringLiteral("Velmoro");
// The title the windows of the registry and the main window carry.
inline const QString kManagementTitle = QStringLiteral("Gestione ") + kProductName;
// Title of every box whose text names no other.
inline const QString kDefaultTitle = kProductName;
inline const QString kVersion = QStringLiteral(VELMORO_VERSION);
inline const QString kReleaseDate = QStringLiteral("06/12/2026");
inline const QString kWebAddress = QStringLiteral("https://www.example.org/velmoro/");
inline const QString kPictureTip = QStringLiteral("Via il mio sito !");
inline const QString kOffer = QStringLiteral("Se di interesse si realizzano applicazioni o personalizzazioni  ");

inline QString versionText()
{
    return QStringLiteral("Versione %1 del %2").arg(kVersion, kReleaseDate);
}

inline QString mainTitle()
{
    return QStringLiteral("%1 %2 del %3").arg(kManagementTitle, kVersion, kReleaseDate);
}

} // namespace kit
