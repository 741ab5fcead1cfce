#include "root/VelmoroApplication.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // CTest sets the platform; listing the tests at build time runs without it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    root::VelmoroApplication qapp(argc, argv);
    return RUN_ALL_TESTS();
}
