#include "DesktopShell.h"

#include <QDesktopServices>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

namespace platform {

bool DesktopShell::open(const QUrl &url)
{
    // The desktop's opener reports success as soon as it starts, even when nothing handles
    // the type and it falls back to a browser or a pager; so a file needs its application first.
    if (url.isLocalFile() && applicationFor(url.toLocalFile()).isEmpty())
        return false;
    return QDesktopServices::openUrl(url);
}

QString DesktopShell::applicationFor(const QString &path)
{
    const QString type =
        QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit ||
        query.exitCode() != 0)
        return {};
    const QString entry = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
    if (entry.isEmpty() || QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry).isEmpty())
        return {};
    return entry;
}

} // namespace platform
