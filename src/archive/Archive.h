#pragma once

#include "Application.h"

#include <QString>

// The archive's open, preparation and save point, on the host.
namespace archive {

// The archive next to the executable.
QString archivePath();

// Opens the archive with its password; HostError when missing, wrong password or damaged.
host::Workbook &OpenArchive(host::Application &app, const QString &path = archivePath());
// The registry sheet of the active workbook; HostError when none is open or the sheet is missing.
host::Worksheet &RegistrySheet(host::Application &app);
// Header texts, text-format columns, frozen header row, scroll area; leaves "Velmoro"
// active with A2 selected. HostError 9 when the sheet is missing.
void PrepareArchiveSheet(host::Application &app);
// Alerts off, then the active workbook is saved in place (atomic).
void SaveArchive(host::Application &app);

// A fresh archive at `path`, as the program is shipped with it: the registry sheet prepared,
// its columns as wide as what they hold, encrypted with the archive's password. HostError, and nothing written, when a file is
// already there: an archive is never overwritten.
void CreateArchive(const QString &path);
// Removes the temporary files that saves killed half-way left beside the archive (a save
// still running keeps its own); for the holder of the archive lock. Returns how many.
int RemoveLeftovers(const QString &path = archivePath());

} // namespace archive
