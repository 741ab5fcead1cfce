#include "Launcher.h"
#include "VelmoroApplication.h"

#include "archive/Archive.h"

int main(int argc, char *argv[])
{
    root::VelmoroApplication qapp(argc, argv);
    return root::runVelmoro(qapp, archive::archivePath());
}
