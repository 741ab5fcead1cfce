#include "ArchiveTool.h"

#include "spreadsheet/Application.h"
#include "archive/Archive.h"
#include "archive/ArchiveLock.h"
#include "archive/Backups.h"
#include "archive/Columns.h"
#include "spreadsheet/HostError.h"
#include "archive/RegistryCsv.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

const QString kToolName = QStringLiteral("archive-tool");
const QStringList kCommands = {QStringLiteral("make"), QStringLiteral("dump"), QStringLiteral("set"),
                               QStringLiteral("backups"), QStringLiteral("restore"), QStringLiteral("export-csv")};

const QString kHelp = QStringLiteral(
    "Uso:\n"
    "  archive-tool make FILE\n"
    "      crea un archivio nuovo come lo distribuisce il programma (foglio \"Velmoro\" preparato,\n"
    "      cifrato con la password dell'archivio); non sovrascrive un file esistente\n"
    "  archive-tool dump FILE [--password P] [--sheet NOME]\n"
    "      una riga per ogni cella non vuota: FOGLIO<TAB>INDIRIZZO<TAB>TIPO<TAB>TESTO\n"
    "      (TIPO: text, number, date, bool, error; \\t, \\n e \\\\ nel testo)\n"
    "  archive-tool set FILE INDIRIZZO TESTO [--sheet NOME] [--password P]\n"
    "      scrive TESTO nella cella come lo scrive il programma e salva il file\n"
    "      (foglio predefinito: \"Velmoro\"); il file sostituito è conservato come copia di sicurezza\n"
    "  archive-tool backups FILE\n"
    "      elenca le copie di sicurezza dell'archivio (cartella \"Backup\" accanto al file),\n"
    "      dalla più recente: nome, data del salvataggio, dimensione, numero dei soggetti\n"
    "  archive-tool restore FILE COPIA\n"
    "      rimette al posto dell'archivio la COPIA (un nome dell'elenco, o il percorso di un file);\n"
    "      l'archivio attuale è conservato prima come copia di sicurezza\n"
    "  archive-tool export-csv FILE USCITA.csv [--password P]\n"
    "      scrive l'anagrafica in CSV per il commercialista (separatore \";\", UTF-8);\n"
    "      non sovrascrive un file esistente\n"
    "\n"
    "La password predefinita è quella dell'archivio. Numeri e date sono letti e scritti\n"
    "sempre con le impostazioni internazionali italiane (per esempio 1234,5 e 05/12/2026),\n"
    "qualunque sia la lingua del sistema.\n"
    "make, set e restore non scrivono un archivio che Velmoro (o un altro archive-tool) tiene aperto.\n"
    "Codici di uscita: 0 riuscito, 2 errore (nessun file scritto).\n");

// "1 soggetto", "32.767 soggetti".
QString subjects(qsizetype count)
{
    return QLocale(QLocale::Italian, QLocale::Italy).toString(count)
           + (count == 1 ? QStringLiteral(" soggetto") : QStringLiteral(" soggetti"));
}

QString typeName(host::ValueType type)
{
    switch (type) {
    case host::ValueType::Text: return QStringLiteral("text");
    case host::ValueType::Number: return QStringLiteral("number");
    case host::ValueType::Date: return QStringLiteral("date");
    case host::ValueType::Bool: return QStringLiteral("bool");
    case host::ValueType::Error: return QStringLiteral("error");
    case host::ValueType::Empty: break;
    }
    return {};
}

struct Arguments {
    QStringList positional;
    QString password = archive::kPassword;
    QString sheet;
    bool help = false;
    QString problem;
};

Arguments parse(const QStringList &arguments)
{
    Arguments parsed;
    bool optionsEnded = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (optionsEnded || !argument.startsWith(QLatin1String("--"))) {
            parsed.positional << argument;
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("--help")) {
            parsed.help = true;
        } else if (argument == QLatin1String("--password") || argument == QLatin1String("--sheet")) {
            if (i + 1 >= arguments.size()) {
                parsed.problem = QStringLiteral("manca il valore di %1").arg(argument);
                return parsed;
            }
            (argument == QLatin1String("--password") ? parsed.password : parsed.sheet) = arguments[++i];
        } else {
            parsed.problem = QStringLiteral("opzione sconosciuta: %1").arg(argument);
            return parsed;
        }
    }
    return parsed;
}

} // namespace

int ArchiveTool::run(const QStringList &arguments)
{
    const Arguments parsed = parse(arguments);
    if (parsed.help) {
        print(out_, kHelp);
        return 0;
    }
    if (!parsed.problem.isEmpty())
        return usage(parsed.problem);
    const QStringList &p = parsed.positional;
    if (p.isEmpty())
        return usage(QStringLiteral("manca il comando"));
    const QString &command = p.front();
    try {
        if (command == QLatin1String("make") && p.size() == 2)
            return make(p[1]);
        if (command == QLatin1String("dump") && p.size() == 2)
            return dump(p[1], parsed.password, parsed.sheet);
        if (command == QLatin1String("set") && p.size() == 4)
            return set(p[1], p[2], p[3], parsed.sheet.isEmpty() ? archive::kSheetName : parsed.sheet,
                       parsed.password);
        if (command == QLatin1String("backups") && p.size() == 2)
            return backups(p[1]);
        if (command == QLatin1String("restore") && p.size() == 3)
            return restore(p[1], p[2]);
        if (command == QLatin1String("export-csv") && p.size() == 3)
            return exportCsv(p[1], p[2], parsed.password);
    } catch (const host::HostError &error) {
        return fail(QStringLiteral("%1 (errore %2)").arg(error.description()).arg(error.number()));
    } catch (const std::exception &error) {
        return fail(QString::fromUtf8(error.what()));
    }
    if (!kCommands.contains(command))
        return usage(QStringLiteral("comando sconosciuto: %1").arg(command));
    return usage(QStringLiteral("numero di argomenti errato per %1").arg(command));
}

int ArchiveTool::make(const QString &path)
{
    const QFileInfo target(path);
    if (target.exists() || target.isSymLink())
        return fail(QStringLiteral("Il file '%1' esiste già: non viene sovrascritto.").arg(path));
    archive::ArchiveLock lock(path, kToolName);
    if (const QString refused = lockRefusal(lock, path); !refused.isEmpty())
        return fail(refused);
    archive::CreateArchive(path);
    return 0;
}

QString ArchiveTool::lockRefusal(archive::ArchiveLock &lock, const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    switch (lock.acquire()) {
    case archive::ArchiveLock::Result::Acquired:
        return {};
    case archive::ArchiveLock::Result::HeldByAnotherCopy:
        return QStringLiteral("L'archivio '%1' è aperto da %2: chiuderlo (in Velmoro con il pulsante \"Esci\") "
                              "e riprovare. Il file non è stato modificato.")
            .arg(shown, lock.holder().isEmpty() ? QStringLiteral("un'altra copia di Velmoro") : lock.holder());
    case archive::ArchiveLock::Result::Unavailable:
        break;
    }
    return QStringLiteral("Impossibile riservare l'archivio '%1' per scriverlo: %2. Il file non è stato modificato.")
        .arg(shown, lock.problem());
}

int ArchiveTool::dump(const QString &path, const QString &password, const QString &sheetName)
{
    host::Application app(Regional::italian());
    host::Workbook &book = app.open(path, password);
    QStringList names = book.sheetNames();
    if (!sheetName.isEmpty())
        names = {book.sheets(sheetName).name()};
    QString lines;
    for (const QString &name : names) {
        const host::Range used = book.sheets(name).usedRange();
        for (int row = 1; row <= used.lastRow() - used.row() + 1; ++row) {
            for (int column = 1; column <= used.lastColumn() - used.column() + 1; ++column) {
                const host::Range cell = used.cells(row, column);
                if (cell.valueType() == host::ValueType::Empty)
                    continue;
                lines += name + QLatin1Char('\t') + cell.area().relative() + QLatin1Char('\t')
                       + typeName(cell.valueType()) + QLatin1Char('\t') + escaped(cell.text()) + QLatin1Char('\n');
            }
        }
    }
    print(out_, lines);
    return 0;
}

int ArchiveTool::set(const QString &path, const QString &address, const QString &text, const QString &sheetName,
                     const QString &password)
{
    archive::ArchiveLock lock(path, kToolName);
    if (const QString refused = lockRefusal(lock, path); !refused.isEmpty())
        return fail(refused);
    host::Application app(Regional::italian());
    host::Workbook &book = app.open(path, password);
    const host::Range cell = book.sheets(sheetName).range(address);
    if (cell.row() != cell.lastRow() || cell.column() != cell.lastColumn())
        return fail(QStringLiteral("'%1' non è l'indirizzo di una sola cella.").arg(address));
    host::Range(cell).setValue(text);
    if (const QString problem = archive::SaveArchive(app); !problem.isEmpty())
        print(err_, QStringLiteral("archive-tool: %1. Il file è stato salvato.\n").arg(problem));
    return 0;
}

int ArchiveTool::backups(const QString &path)
{
    const QString folder = QDir::toNativeSeparators(archive::backupFolder(path));
    const QList<archive::Backup> found = archive::listBackups(path);
    if (found.isEmpty()) {
        print(out_, QStringLiteral("Nessuna copia di sicurezza di '%1' nella cartella '%2'.\n").arg(path, folder));
        return 0;
    }
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    print(out_, QStringLiteral("Copie di sicurezza di '%1' nella cartella '%2', dalla più recente:\n").arg(path, folder));
    for (const archive::Backup &backup : found) {
        const QFileInfo file(backup.path);
        QString line = file.fileName().leftJustified(34) + file.lastModified().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))
                       + QStringLiteral("  ") + (italian.toString(file.size()) + QStringLiteral(" byte")).rightJustified(16)
                       + QStringLiteral("  ");
        try {
            host::Application app(Regional::italian());
            line += subjects(archive::subjectRows(app.open(backup.path, archive::kPassword).sheets(archive::kSheetName)).size());
        } catch (const host::HostError &error) {
            line += QStringLiteral("non leggibile: %1 (errore %2)").arg(error.description()).arg(error.number());
        }
        print(out_, line + QLatin1Char('\n'));
    }
    return 0;
}

int ArchiveTool::restore(const QString &path, const QString &backup)
{
    const QString source = backup.contains(QLatin1Char('/')) ? backup : archive::backupFolder(path) + QLatin1Char('/') + backup;
    if (!QFileInfo(source).isFile())
        return fail(QStringLiteral("La copia '%1' non esiste. L'archivio non è stato modificato.").arg(QDir::toNativeSeparators(source)));
    archive::ArchiveLock lock(path, kToolName);
    if (const QString refused = lockRefusal(lock, path); !refused.isEmpty())
        return fail(refused);
    const QString kept = archive::RestoreBackup(path, source);
    QString done = QStringLiteral("Ripristinata la copia '%1' in '%2'.").arg(QDir::toNativeSeparators(source), path);
    if (!kept.isEmpty())
        done += QStringLiteral(" L'archivio sostituito è conservato come '%1'.").arg(QDir::toNativeSeparators(kept));
    print(out_, done + QLatin1Char('\n'));
    return 0;
}

int ArchiveTool::exportCsv(const QString &path, const QString &csvPath, const QString &password)
{
    host::Application app(Regional::italian());
    app.open(path, password);
    const archive::CsvExport exported = archive::ExportRegistryCsv(app, csvPath, false);
    if (!exported.problem.isEmpty())
        return fail(exported.problem);
    print(out_, QStringLiteral("Esportati in '%1': %2.\n").arg(csvPath, subjects(exported.subjects)));
    return 0;
}

QString ArchiveTool::escaped(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            result += QLatin1String("\\\\");
        else if (c == QLatin1Char('\t'))
            result += QLatin1String("\\t");
        else if (c == QLatin1Char('\n'))
            result += QLatin1String("\\n");
        else
            result += c;
    }
    return result;
}

int ArchiveTool::fail(const QString &message)
{
    print(err_, QStringLiteral("archive-tool: %1\n").arg(message));
    return 2;
}

int ArchiveTool::usage(const QString &problem)
{
    print(err_, QStringLiteral("archive-tool: %1\n\n").arg(problem) + kHelp);
    return 2;
}

void ArchiveTool::print(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}
