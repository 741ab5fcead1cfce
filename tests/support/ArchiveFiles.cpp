#include "ArchiveFiles.h"

#include "spreadsheet/Application.h"
#include "archive/Archive.h"
#include "archive/Columns.h"
#include "spreadsheet/xls/XlsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace archive_files {

namespace {

const QString &templateArchive()
{
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = folder.filePath(QStringLiteral("template.xls"));
        archive::CreateArchive(file);
        return file;
    }();
    return path;
}

} // namespace

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

void makeFresh(const QString &path)
{
    QFile::remove(path);
    ASSERT_TRUE(QFile::copy(templateArchive(), path));
}

void rewrite(const QString &path, const std::function<void(xls::XlsFile &)> &edit)
{
    const std::string native = QFile::encodeName(path).toStdString();
    xls::XlsFile file = xls::openXlsFile(native, archive::kPassword.toStdU16String());
    edit(file);
    xls::saveXlsFile(file, native);
}

void inspect(const QString &path, const std::function<void(host::Workbook &)> &read)
{
    host::Application app(Regional(QLocale(QLocale::Italian, QLocale::Italy)));
    read(app.open(path, archive::kPassword));
}

QString cellText(const QString &path, const QString &address)
{
    QString text;
    inspect(path, [&](host::Workbook &book) {
        text = book.sheets(archive::kSheetName).range(address).text();
    });
    return text;
}

QMap<QString, Entry> snapshot(const QString &folder)
{
    QMap<QString, Entry> entries;
    const QDir dir(folder);
    for (const QFileInfo &info :
         dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        QFile file(info.filePath());
        Entry entry{{}, info.lastModified()};
        if (file.open(QIODevice::ReadOnly))
            entry.bytes = file.readAll();
        entries.insert(info.fileName(), entry);
    }
    return entries;
}

} // namespace archive_files
