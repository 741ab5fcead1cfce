// Draws the program's logo, as its windows show it, into a square PNG for the desktop's menu.
// Usage: velmoro-icon SIZE FILE
#include "kit/Logo.h"

#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Drawing needs no screen: an install may run where there is none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    bool isNumber = false;
    const int size = arguments.size() == 3 ? arguments[1].toInt(&isNumber) : 0;
    if (!isNumber || size < 16 || size > 1024) {
        std::fputs("Uso: velmoro-icon DIMENSIONE FILE (DIMENSIONE da 16 a 1024 pixel)\n", stderr);
        return 2;
    }
    if (!kit::logoPixmap(size).save(arguments[2], "PNG")) {
        std::fprintf(stderr, "velmoro-icon: impossibile scrivere %s\n", arguments[2].toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
