#include "Application.h"

#include "Error.h"
#include "HostErrors.h"
#include "XlsFile.h"

#include <QFile>
#include <QFileInfo>

namespace host {

Application::Application(Regional regional) : regional_(std::move(regional)) {}

Application::~Application() = default;

void Application::checkRunning() const
{
    if (quit_)
        throw hostGone();
}

Workbook &Application::open(const QString &path, const QString &password)
{
    checkRunning();
    const QFileInfo info(path);
    for (const auto &book : workbooks_) {
        if (!book->isClosed() && QFileInfo(book->fullName()) == info)
            return *book;
    }
    if (!info.isFile())
        throw fileNotFound(path);
    try {
        auto file = std::make_unique<xls::XlsFile>(
            xls::openXlsFile(QFile::encodeName(info.absoluteFilePath()).toStdString(), password.toStdU16String()));
        return adopt(info.absoluteFilePath(), std::move(file));
    } catch (const xls::Error &error) {
        throw openError(error, path);
    } catch (const std::bad_alloc &) {
        throw HostError(ErrorKind::Damaged, kApplicationDefined,
                        QStringLiteral("Memoria insufficiente per aprire il file '%1'.").arg(path));
    }
}

Workbook &Application::adopt(const QString &path, std::unique_ptr<xls::XlsFile> file)
{
    checkRunning();
    workbooks_.push_back(std::make_unique<Workbook>(*this, path, std::move(file)));
    return *workbooks_.back();
}

Workbook *Application::activeWorkbook()
{
    checkRunning();
    for (auto it = workbooks_.rbegin(); it != workbooks_.rend(); ++it) {
        if (!(*it)->isClosed())
            return it->get();
    }
    return nullptr;
}

Worksheet &Application::activeSheet()
{
    Workbook *book = activeWorkbook();
    if (!book)
        throw noWorkbook();
    return book->activeSheet();
}

Range Application::selection()
{
    return activeSheet().selection();
}

void Application::setVisible(bool visible)
{
    checkRunning();
    const bool shown = visible && !visible_;
    visible_ = visible;
    if (!shown || !presenter_)
        return;
    for (const auto &book : workbooks_) {
        if (!book->isClosed())
            presenter_(*book);
    }
}

void Application::setStatusBar(const QString &text)
{
    checkRunning();
    statusBar_ = text;
}

void Application::setDisplayAlerts(bool on)
{
    checkRunning();
    displayAlerts_ = on;
}

void Application::setScreenUpdating(bool on)
{
    checkRunning();
    screenUpdating_ = on;
}

void Application::quit()
{
    checkRunning();
    for (const auto &book : workbooks_) {
        if (!book->isClosed())
            book->close(false);
    }
    quit_ = true;
}

} // namespace host
