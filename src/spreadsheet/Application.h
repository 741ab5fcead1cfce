#pragma once

#include "Regional.h"
#include "Workbook.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace host {

class PrintTarget;

// The host's application object: its workbooks and the settings the windows use. It has
// no window of its own; "visible" hands the open workbooks to whoever shows them.
// After quit() every call raises HostError.
class Application {
public:
    explicit Application(Regional regional = Regional::system());
    ~Application();

    const Regional &regional() const { return regional_; }

    // Workbooks.Open(path, Password:=password). HostError when the file is missing, the
    // password is wrong or the file is damaged or no workbook. A workbook already open
    // under that path is returned as it is.
    Workbook &open(const QString &path, const QString &password);
    // Workbooks.Add: a new workbook in memory with one empty worksheet, saved to `path` with
    // `password` (none when empty). Its first save never replaces a file already there.
    Workbook &create(const QString &path, const QString &password, const QString &sheetName);
    Workbook *activeWorkbook();            // null when none is open
    Worksheet &activeSheet();              // HostError when no workbook is open
    Range selection();

    bool visible() const { return visible_; }
    // Becoming visible calls the presenter with every open workbook (the hand-over).
    void setVisible(bool visible);
    using Presenter = std::function<void(Workbook &)>;
    void setPresenter(Presenter presenter) { presenter_ = std::move(presenter); }

    // Where PrintOut sends its pages; not owned. Without one PrintOut raises HostError.
    PrintTarget *printTarget() const { return printTarget_; }
    void setPrintTarget(PrintTarget *target) { printTarget_ = target; }

    QString statusBar() const { return statusBar_; }
    void setStatusBar(const QString &text);
    bool displayAlerts() const { return displayAlerts_; }
    void setDisplayAlerts(bool on);
    bool screenUpdating() const { return screenUpdating_; }
    void setScreenUpdating(bool on);
    static double inchesToPoints(double inches) { return inches * 72.0; }

    // Closes every workbook without saving; any later call raises HostError.
    void quit();
    bool hasQuit() const { return quit_; }

private:
    void checkRunning() const;
    Workbook &add(const QString &path, std::unique_ptr<detail::WorkbookFile> file, bool isNew);

    Regional regional_;
    std::vector<std::unique_ptr<Workbook>> workbooks_;
    Presenter presenter_;
    PrintTarget *printTarget_ = nullptr;
    QString statusBar_;
    bool visible_ = false, displayAlerts_ = true, screenUpdating_ = true, quit_ = false;
};

} // namespace host
