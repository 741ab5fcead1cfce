#include "Archive.h"
#include "Launcher.h"
#include "VelmoroApplication.h"

int main(int argc, char *argv[])
{
    app::VelmoroApplication qapp(argc, argv);
    return app::runVelmoro(qapp, archive::archivePath());
}
