#pragma once

#include "Regional.h"
#include "Workbook.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace host {

// The host's application object: its workbooks and the settings the windows use. It has
// no window of its own; "visible" hands the open workbooks to whoever shows them.
class Application {
public:
    explicit Application(Regional regional = Regional::system());
    ~Application();

    const Regional &regional() const { return regional_; }

    // Workbooks.Open(path, Password:=password). HostError when the file is missing, the
    // password is wrong or the file is damaged or no workbook.
    Workbook &open(const QString &path, const QString &password);
    Workbook *activeWorkbook();            // null when none is open
    Worksheet &activeSheet();              // HostError when no workbook is open
    Range selection();

    bool visible() const { return visible_; }
    // Becoming visible calls the presenter with every open workbook (the hand-over).
    void setVisible(bool visible);
    using Presenter = std::function<void(Workbook &)>;
    void setPresenter(Presenter presenter) { presenter_ = std::move(presenter); }

    QString statusBar() const { return statusBar_; }
    void setStatusBar(const QString &text) { statusBar_ = text; }
    bool displayAlerts() const { return displayAlerts_; }
    void setDisplayAlerts(bool on) { displayAlerts_ = on; }
    bool screenUpdating() const { return screenUpdating_; }
    void setScreenUpdating(bool on) { screenUpdating_ = on; }
    static double inchesToPoints(double inches) { return inches * 72.0; }

    // Closes every workbook without saving; any later call raises HostError.
    void quit();
    bool hasQuit() const { return quit_; }

private:
    Regional regional_;
    std::vector<std::unique_ptr<Workbook>> workbooks_;
    Presenter presenter_;
    QString statusBar_;
    bool visible_ = false, displayAlerts_ = true, screenUpdating_ = true, quit_ = false;
};

} // namespace host
