#pragma once

#include "HostError.h"

#include <QString>

// The host's errors as users see them: Italian descriptions with the numbers users know.
namespace host {

HostError fileNotFound(const QString &path);
// The file is there but the system refuses it (`err`, e.g. EISDIR for a folder of that name).
HostError cannotOpen(const QString &path, int err);
HostError saveFailed(const QString &path, const QString &reason);
HostError sheetNotFound();
HostError invalidArgument(const QString &description);
HostError applicationDefined(); // 1004 with the host's own words for a call it cannot do
HostError badProperty(const QString &property, const QString &className);
HostError methodFailed(const QString &method, const QString &className);
HostError noWorkbook();
HostError hostGone();
HostError workbookClosed();

} // namespace host
