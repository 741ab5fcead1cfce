#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <functional>

namespace xls { struct XlsFile; }
namespace host { class Workbook; }

// Archives on disk for the window tests: fresh copies, edits below the windows, and
// snapshots that show whether a run touched a folder.
namespace archive_files {

// A file holding `bytes`, in a folder made if missing.
void write(const QString &path, const QByteArray &bytes);
// A fresh archive (made once with archive::CreateArchive) copied to `path`.
void makeFresh(const QString &path);
// Opens the file with the engine, lets `edit` change it and saves it in place.
void rewrite(const QString &path, const std::function<void(xls::XlsFile &)> &edit);
// Opens the file in a new host and hands its workbook to `read`.
void inspect(const QString &path, const std::function<void(host::Workbook &)> &read);
QString cellText(const QString &path, const QString &address);

struct Entry {
    QByteArray bytes;
    QDateTime modified;
    bool operator==(const Entry &) const = default;
};
// Every file of the folder, hidden ones included.
QMap<QString, Entry> snapshot(const QString &folder);

} // namespace archive_files
