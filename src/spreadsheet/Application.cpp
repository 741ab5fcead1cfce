#include "Application.h"

#include "HostErrors.h"
#include "spreadsheet/detail/Engine.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>

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
        throw info.isDir() ? cannotOpen(path, EISDIR) : fileNotFound(path);
    try {
        auto file = std::make_unique<detail::WorkbookFile>(detail::WorkbookFile{
            xls::openXlsFile(QFile::encodeName(info.absoluteFilePath()).toStdString(), password.toStdU16String())});
        return add(info.absoluteFilePath(), std::move(file), false);
    } catch (const xls::Error &error) {
        throw detail::openError(error, path);
    } catch (const std::bad_alloc &) {
        throw HostError(ErrorKind::Damaged, kApplicationDefined,
                        QStringLiteral("Memoria insufficiente per aprire il file '%1'.").arg(path));
    }
}

Workbook &Application::create(const QString &path, const QString &password, const QString &sheetName)
{
    checkRunning();
    auto file = std::make_unique<detail::WorkbookFile>(detail::WorkbookFile{
        xls::newXlsFile(xls::newBook(sheetName.toStdU16String()), password.toStdU16String())});
    return add(path, std::move(file), true);
}

Workbook &Application::add(const QString &path, std::unique_ptr<detail::WorkbookFile> file, bool isNew)
{
    workbooks_.push_back(std::make_unique<Workbook>(*this, path, std::move(file), isNew));
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
