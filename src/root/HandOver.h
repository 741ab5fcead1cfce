#pragma once

#include "platform/Dialogs.h"
#include "platform/Shell.h"

#include <QString>
#include <QStringList>

namespace host { class Workbook; }

namespace root {

// Shows the archive to the user once the host becomes visible: LibreOffice loads it with its
// password through the velmoro-handover helper; without the helper or without LibreOffice the
// desktop's default application for .xls opens it.
class HandOver {
public:
    enum class Route { LibreOffice, DesktopDefault, Failed };

    HandOver(platform::Dialogs &dialogs, platform::Shell &shell, QString helperPath,
             QString password, QStringList helperOptions = {}, int timeoutMs = 120000);

    // True when LibreOffice or a desktop application shows the workbook.
    bool operator()(host::Workbook &book);
    Route present(const QString &path);

private:
    Route openWithDesktop(const QString &path);
    Route fail(const QString &message);

    platform::Dialogs *dialogs_;
    platform::Shell *shell_;
    QString helperPath_;
    QString password_;
    QStringList helperOptions_;
    int timeoutMs_;
};

} // namespace root
