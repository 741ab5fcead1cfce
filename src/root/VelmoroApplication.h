#pragma once

#include <QApplication>

namespace root {

// The Qt application of the program: Calibri everywhere (Carlito where Calibri is missing),
// Qt's own strings in Italian, every window announced as a window to screen readers.
class VelmoroApplication : public QApplication {
    Q_OBJECT

public:
    VelmoroApplication(int &argc, char **argv);

    static bool installItalianQtStrings(QCoreApplication &app);
};

} // namespace root
