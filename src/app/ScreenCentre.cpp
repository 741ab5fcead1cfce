#include "ScreenCentre.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace app {

void centreOnScreen(QWidget &window)
{
    window.adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

} // namespace app
