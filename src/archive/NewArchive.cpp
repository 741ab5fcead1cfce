// Makes a fresh archive at the path given, never over an existing file: the program's build
// places its first Archivio.xls next to it with this. Usage: velmoro-new-archive FILE
#include "Archive.h"
#include "spreadsheet/HostError.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fputs("Uso: velmoro-new-archive FILE\n", stderr);
        return 2;
    }
    try {
        archive::CreateArchive(arguments[1]);
    } catch (const host::HostError &error) {
        std::fprintf(stderr, "velmoro-new-archive: %s\n", error.description().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
