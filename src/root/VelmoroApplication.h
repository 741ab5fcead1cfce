#pragma once

#include <QApplication>
#include <exception>
#include <functional>

namespace root {

// The Qt application of the program: Calibri everywhere (Carlito where Calibri is missing),
// Qt's own strings in Italian, every window announced as a window to screen readers, and one
// place where errors no handler caught end up.
class VelmoroApplication : public QApplication {
    Q_OBJECT

public:
    using ErrorHandler = std::function<void(const std::exception &)>;

    VelmoroApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
    void setErrorHandler(ErrorHandler handler) { errorHandler_ = std::move(handler); }

    static bool installItalianQtStrings(QCoreApplication &app);

private:
    ErrorHandler errorHandler_;
};

} // namespace root
