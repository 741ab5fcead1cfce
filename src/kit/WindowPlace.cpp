#include "WindowPlace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kit {

void centreOnScreen(QWidget &window)
{
    window.adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

void bringForward(QWidget &window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace kit
