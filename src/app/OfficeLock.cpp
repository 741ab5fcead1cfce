#include "OfficeLock.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>

namespace app {

QString OfficeLock::pathFor(const QString &documentPath)
{
    const QFileInfo document(documentPath);
    return document.dir().filePath(QStringLiteral(".~lock.%1#").arg(document.fileName()));
}

std::optional<OfficeLock> OfficeLock::read(const QString &documentPath)
{
    QFile file(pathFor(documentPath));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Only the first line matters; a lock is a few dozen bytes.
    const QStringList fields = QString::fromUtf8(file.readLine(4096)).trimmed().split(u',');
    auto field = [&](qsizetype i) { return i < fields.size() ? fields[i].trimmed() : QString(); };
    return OfficeLock{field(0), field(1), field(2), field(3)};
}

QString OfficeLock::holder() const
{
    QString who = name.isEmpty() ? user : name;
    if (!name.isEmpty() && !user.isEmpty() && user != name)
        who += QStringLiteral(" (%1)").arg(user);
    if (who.isEmpty())
        who = QStringLiteral("un utente sconosciuto");
    if (!host.isEmpty())
        who += QStringLiteral(" sul computer %1").arg(host);
    if (!since.isEmpty())
        who += QStringLiteral(" dal %1").arg(since);
    return who;
}

} // namespace app
