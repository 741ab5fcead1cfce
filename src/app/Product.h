#pragma once

#include <QString>
#include <QUrl>

// The product's name, version and fixed texts shared by its windows.
namespace app {

inline const QString kProductName = QStringLiteral("Velmoro");
// Title of every box whose text names no other.
inline const QString kDefaultTitle = kProductName;
inline const QString kVersion = QStringLiteral(VELMORO_VERSION);
inline const QString kReleaseDate = QStringLiteral("06/12/2026");
inline const QString kWebAddress = QStringLiteral("https://www.example.org/velmoro/");
inline const QString kPictureTip = QStringLiteral("Via il mio sito !");

inline QString versionText()
{
    return QStringLiteral("Versione %1 del %2").arg(kVersion, kReleaseDate);
}

inline QString mainTitle()
{
    return QStringLiteral("Gestione %1 %2 del %3").arg(kProductName, kVersion, kReleaseDate);
}

} // namespace app
