#include "FullRegistry.h"

#include "spreadsheet/Application.h"
#include "archive/Archive.h"
#include "archive/Columns.h"
#include "spreadsheet/HostError.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace bench {

QStringList subjectTexts(int i)
{
    const QString n = QString::number(i).rightJustified(5, u'0');
    return {QString::number(i), QStringLiteral("COGNOME%1 NOME%1").arg(n), QStringLiteral("C") + n,
            QStringLiteral("12/03/2024"), QStringLiteral("VIA ROMA %1").arg(i % 300 + 1), QStringLiteral("00184"),
            QStringLiteral("ROMA"), QStringLiteral("RM"), QStringLiteral("06") + n + QStringLiteral("123"),
            QStringLiteral("06") + n + QStringLiteral("124"), QStringLiteral("333") + n + QStringLiteral("12"),
            QStringLiteral("posta%1@example.org").arg(n), QStringLiteral("RSSMRA80A01H%1U").arg(n.right(3)),
            QStringLiteral("012345") + n, QStringLiteral("REFERENTE %1").arg(n), QStringLiteral("BANCA %1").arg(i % 50),
            QStringLiteral("INTESTATARIO %1").arg(n), QStringLiteral("IT60X05428111010000001") + n};
}

void fillRegistry(host::Worksheet &sheet, int count)
{
    for (int i = 1; i <= count; ++i) {
        const QStringList texts = subjectTexts(i);
        for (int column = 1; column <= archive::kFieldCount; ++column)
            sheet.cells(i + 1, column).setValue(texts[column - 1]);
    }
    sheet.range(archive::kCounterCell).setValue(double(count));
}

bool makeArchive(const QString &path, int count)
{
    if (QFileInfo::exists(path))
        return true;
    try {
        QDir().mkpath(QFileInfo(path).path());
        archive::CreateArchive(path);
        if (count == 0)
            return true;
        host::Application app(Regional::italian());
        host::Workbook &book = app.open(path, archive::kPassword);
        fillRegistry(book.sheets(archive::kSheetName), count);
        book.save();
        return true;
    } catch (const host::HostError &error) {
        std::fprintf(stderr, "could not make %s: %s\n", qPrintable(path), qPrintable(error.description()));
        return false;
    }
}

} // namespace bench
