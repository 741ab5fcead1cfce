#include "ExportForAccountant.h"

#include "archive/RegistryCsv.h"
#include "kit/Product.h"
#include "platform/Dialogs.h"

#include <QDate>
#include <QDir>
#include <QStandardPaths>

namespace app {

QString suggestedExportPath(const QDate &day)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return QDir(folder).filePath(QStringLiteral("Registro-%1.csv").arg(day.toString(QStringLiteral("yyyyMMdd"))));
}

void exportForAccountant(host::Application &app, platform::Dialogs &dialogs)
{
    using platform::Dialogs;
    const QString path = dialogs.saveFileName(QStringLiteral("Esporta CSV per il commercialista"),
                                              suggestedExportPath(QDate::currentDate()),
                                              QStringLiteral("File CSV (*.csv)"));
    if (path.isEmpty())
        return;
    // The question has asked before replacing a file.
    const archive::CsvExport done = archive::ExportRegistryCsv(app, path, true);
    if (!done.problem.isEmpty()) {
        dialogs.messageBox(done.problem, kit::kDefaultTitle, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
        return;
    }
    const QString subjects = done.subjects == 1 ? QStringLiteral("1 soggetto esportato")
                                                : QStringLiteral("%1 soggetti esportati").arg(done.subjects);
    dialogs.messageBox(QStringLiteral("%1 nel file:\n%2\n\nSi apre con Excel o LibreOffice Calc (separatore \";\").")
                           .arg(subjects, QDir::toNativeSeparators(path)),
                       kit::kDefaultTitle, Dialogs::Buttons::Ok, Dialogs::Icon::Information);
}

} // namespace app
