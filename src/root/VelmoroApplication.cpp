#include "VelmoroApplication.h"

#include "WindowRole.h"

#include "kit/Look.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace root {

VelmoroApplication::VelmoroApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("velmoro"));
    // Only "Esci" and "Excel" end the program; hiding the main window must not.
    setQuitOnLastWindowClosed(false);
    kit::useWindowFont();
    installItalianQtStrings(*this);
    announceWindowsAsWindows();
}

bool VelmoroApplication::installItalianQtStrings(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_it"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace root
