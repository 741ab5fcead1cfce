#include "RegistryCsv.h"

#include "Archive.h"
#include "Columns.h"
#include "spreadsheet/xls/container/ContainerTempFile.h"
#include "spreadsheet/xls/container/Error.h"
#include "spreadsheet/HostError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>

namespace archive {

namespace {

// What Excel and LibreOffice read as a number, a percentage or a date rather than as text.
bool looksNumeric(const QString &text)
{
    static const QRegularExpression numeric(QStringLiteral("^[0-9.,/:%+-]*[0-9][0-9.,/:%+-]*([eE][+-]?[0-9]+)?$"));
    return numeric.match(text).hasMatch();
}

// A lone sign is text everywhere; anything longer after one of these is read as a formula.
bool looksLikeFormula(const QString &text)
{
    return text.startsWith(QLatin1Char('='))
           || (text.size() > 1 && QStringView(u"+-@").contains(text.front()));
}

QString csvLine(const host::Worksheet &registry, int row)
{
    QString line;
    for (int column = 1; column <= kFieldCount; ++column) {
        const host::Range cell = registry.cells(row, column);
        if (column > 1)
            line += QLatin1Char(';');
        line += csvField(cell.text(), cell.valueType());
    }
    return line + QStringLiteral("\r\n");
}

} // namespace

QString csvField(const QString &text, host::ValueType type)
{
    QString field = text;
    if (type == host::ValueType::Text && (looksNumeric(text) || looksLikeFormula(text)))
        field = QStringLiteral("=\"%1\"").arg(QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")));
    static const QRegularExpression special(QStringLiteral("[;,\"\r\n]"));
    if (field.contains(special))
        field = QLatin1Char('"') + field.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    return field;
}

CsvExport ExportRegistryCsv(host::Application &app, const QString &path, bool replace)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo target(path);
    if (!replace && (target.exists() || target.isSymLink()))
        return {0, QStringLiteral("Il file '%1' esiste già: non viene sovrascritto.").arg(shown)};
    try {
        const host::Worksheet &registry = RegistrySheet(app);
        const QList<int> rows = subjectRows(registry);
        QString csv = csvLine(registry, 1);
        for (const int row : rows)
            csv += csvLine(registry, row);
        const QByteArray bytes = "\xEF\xBB\xBF" + csv.toUtf8();

        xls::ContainerTempFile file(QFile::encodeName(path).toStdString());
        std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), file.file());
        file.commit(replace ? xls::SaveMode::Replace : xls::SaveMode::CreateOnly);
        return {int(rows.size()), {}};
    } catch (const host::HostError &error) {
        return {0, QStringLiteral("Esportazione non riuscita: %1").arg(error.description())};
    } catch (const xls::Error &error) {
        return {0, QStringLiteral("Impossibile scrivere il file '%1': %2.").arg(shown, QString::fromUtf8(error.what()))};
    }
}

} // namespace archive
