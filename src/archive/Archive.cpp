#include "Archive.h"

#include "Backups.h"
#include "Columns.h"
#include "spreadsheet/HostErrors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace archive {

QString archivePath()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + kFileName;
}

QString realArchivePath(const QString &path)
{
    const QFileInfo archive(path);
    const QString real = archive.canonicalFilePath();
    if (!real.isEmpty())
        return real;
    const QString folder = archive.absoluteDir().canonicalPath();
    return (folder.isEmpty() ? archive.absolutePath() : folder) + QLatin1Char('/') + archive.fileName();
}

host::Workbook &OpenArchive(host::Application &app, const QString &path)
{
    return app.open(path, kPassword);
}

host::Worksheet &RegistrySheet(host::Application &app)
{
    host::Workbook *book = app.activeWorkbook();
    if (!book)
        throw host::noWorkbook();
    return book->sheets(kSheetName);
}

void PrepareArchiveSheet(host::Application &app)
{
    app.setScreenUpdating(false);
    host::Workbook *book = app.activeWorkbook();
    if (!book)
        throw host::noWorkbook();
    book->sheets(kSheetName).select();

    app.activeSheet().rows(QStringLiteral("2:2")).select();
    book->setFreezePanes(true);

    host::Worksheet &registry = book->sheets(kSheetName);
    for (int column = 1; column <= kFieldCount; ++column)
        registry.range(host::columnLetters(column) + QLatin1Char('1')).setValue(kHeaders[std::size_t(column - 1)]);

    book->sheets(kSheetName).select();
    for (int column = 1; column <= kFieldCount; ++column) {
        if (!kFields[std::size_t(column - 1)].text)
            continue;
        const QString letters = host::columnLetters(column);
        app.activeSheet().columns(letters + u':' + letters).select();
        app.selection().setNumberFormat(QStringLiteral("@"));
    }
    app.activeSheet().range(QStringLiteral("A2")).select();
    registry.setScrollArea(kScrollArea);
    app.setScreenUpdating(true);
}

QString SaveArchive(host::Application &app)
{
    app.setDisplayAlerts(false);
    host::Workbook *book = app.activeWorkbook();
    if (!book)
        throw host::noWorkbook();
    PendingBackup backup(book->fullName());
    book->save();
    backup.keep();
    return backup.problem();
}

QList<int> subjectRows(const host::Worksheet &registry)
{
    QList<int> rows;
    const int last = registry.usedRange().lastRow();
    for (int row = 2; row <= last; ++row) {
        for (int column = 1; column <= kFieldCount; ++column) {
            if (!registry.cells(row, column).isEmpty()) {
                rows.append(row);
                break;
            }
        }
    }
    return rows;
}

void CreateArchive(const QString &path)
{
    host::Application app(Regional::italian());
    app.create(path, kPassword, kSheetName);
    PrepareArchiveSheet(app);
    host::Worksheet &registry = RegistrySheet(app);
    for (int column = 1; column <= kFieldCount; ++column)
        registry.cells(1, column).entireColumn().setColumnWidth(kColumnWidths[std::size_t(column - 1)]);
    SaveArchive(app);
}

int RemoveLeftovers(const QString &path)
{
    return host::Workbook::removeAbandonedSaves(path);
}

} // namespace archive
