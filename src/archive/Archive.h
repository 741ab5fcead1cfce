#pragma once

#include "spreadsheet/Application.h"

#include <QList>
#include <QString>

// The archive's open, preparation and save point, on the host.
namespace archive {

// The archive next to the executable.
QString archivePath();
// The archive's real file, links followed; for a file not there, the one its real folder
// would hold. Its lock and its backups live beside it.
QString realArchivePath(const QString &path);

// Opens the archive with its password; HostError when missing, wrong password or damaged.
host::Workbook &OpenArchive(host::Application &app, const QString &path = archivePath());
// The registry sheet of the active workbook; HostError when none is open or the sheet is missing.
host::Worksheet &RegistrySheet(host::Application &app);
// Header texts, text-format columns, frozen header row, scroll area; leaves "Velmoro"
// active with A2 selected. HostError 9 when the sheet is missing.
void PrepareArchiveSheet(host::Application &app);
// Alerts off, the file about to be replaced kept as a backup, then the active workbook saved
// in place (atomic). HostError when the save fails; the backup made for it is removed then.
// A backup that cannot be made does not stop the save: the reason, in Italian, is returned
// ("Copia di sicurezza non riuscita: ..."), "" when all went well.
QString SaveArchive(host::Application &app);
// The rows of the registry sheet that hold a subject: from row 2, each with a value in A..R.
QList<int> subjectRows(const host::Worksheet &registry);

// A fresh archive at `path`, as the program is shipped with it: the registry sheet prepared,
// its columns as wide as what they hold, encrypted with the archive's password. HostError, and nothing written, when a file is
// already there: an archive is never overwritten.
void CreateArchive(const QString &path);
// Removes the temporary files that saves killed half-way left beside the archive (a save
// still running keeps its own); for the holder of the archive lock. Returns how many.
int RemoveLeftovers(const QString &path = archivePath());

} // namespace archive
