#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

namespace archive { class ArchiveLock; }

// The archive-tool commands: make a fresh archive, dump the cells of a workbook, write one
// cell, list and restore the archive's backups, export the registry as CSV; those that write
// the archive hold its lock as the program does. Texts follow the
// host's rules under a fixed Italian regional setting, so that the output does not depend on
// the machine. Exit codes: 0 done, 2 refused or failed (nothing written).
class ArchiveTool {
public:
    explicit ArchiveTool(std::FILE *out = stdout, std::FILE *err = stderr) : out_(out), err_(err) {}

    int run(const QStringList &arguments);

    // Tab, newline and backslash as \t, \n and \\, one cell per line.
    static QString escaped(const QString &text);

private:
    int make(const QString &path);
    int dump(const QString &path, const QString &password, const QString &sheet);
    int set(const QString &path, const QString &address, const QString &text, const QString &sheet,
            const QString &password);
    int backups(const QString &path);
    int restore(const QString &path, const QString &backup);
    int exportCsv(const QString &path, const QString &csvPath, const QString &password);
    // Why `lock` cannot be taken for writing `path`, naming its holder; "" once it is held.
    static QString lockRefusal(archive::ArchiveLock &lock, const QString &path);
    int fail(const QString &message);
    int usage(const QString &problem);
    void print(std::FILE *stream, const QString &text);

    std::FILE *out_;
    std::FILE *err_;
};
