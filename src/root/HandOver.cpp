#include "HandOver.h"

#include "handover/ExitCode.h"
#include "kit/Product.h"
#include "spreadsheet/Workbook.h"

#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QUrl>

namespace root {

HandOver::HandOver(platform::Dialogs &dialogs, platform::Shell &shell, QString helperPath,
                   QString password, QStringList helperOptions, int timeoutMs)
    : dialogs_(&dialogs), shell_(&shell), helperPath_(std::move(helperPath)),
      password_(std::move(password)), helperOptions_(std::move(helperOptions)),
      timeoutMs_(timeoutMs)
{
}

bool HandOver::operator()(host::Workbook &book)
{
    return present(book.fullName()) != Route::Failed;
}

HandOver::Route HandOver::present(const QString &path)
{
    if (!QFileInfo(helperPath_).isExecutable())
        return openWithDesktop(path);

    QProcess helper;
    helper.start(helperPath_, QStringList(helperOptions_) << path);
    if (!helper.waitForStarted())
        return openWithDesktop(path);
    // The password goes through a pipe, never on a command line others can read.
    helper.write((password_ + u'\n').toUtf8());
    helper.closeWriteChannel();

    if (QGuiApplication::instance())
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    const bool finished = helper.waitForFinished(timeoutMs_);
    if (QGuiApplication::instance())
        QGuiApplication::restoreOverrideCursor();
    if (!finished) {
        helper.kill();
        helper.waitForFinished();
        return fail(QStringLiteral("LibreOffice non ha aperto l'archivio entro il tempo previsto."));
    }
    if (helper.exitStatus() == QProcess::NormalExit) {
        if (helper.exitCode() == handover::Loaded)
            return Route::LibreOffice;
        if (helper.exitCode() == handover::NotLoaded) {
            const QString message = QString::fromUtf8(helper.readAllStandardError()).trimmed();
            return fail(message.isEmpty()
                            ? QStringLiteral("LibreOffice non ha potuto aprire l'archivio.")
                            : message);
        }
        if (helper.exitCode() != handover::OfficeUnavailable)
            return fail(QStringLiteral("Apertura dell'archivio in LibreOffice non riuscita."));
    }
    return openWithDesktop(path);
}

HandOver::Route HandOver::openWithDesktop(const QString &path)
{
    if (shell_->open(QUrl::fromLocalFile(path)))
        return Route::DesktopDefault;
    return fail(QStringLiteral("Nessun programma disponibile per aprire l'archivio %1.\n"
                               "L'archivio è salvato: lo si può aprire a mano.")
                    .arg(QFileInfo(path).fileName()));
}

HandOver::Route HandOver::fail(const QString &message)
{
    dialogs_->messageBox(message, kit::kDefaultTitle, platform::Dialogs::Buttons::Ok,
                         platform::Dialogs::Icon::Exclamation);
    return Route::Failed;
}

} // namespace root
