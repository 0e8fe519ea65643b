#include "app/GuardedApplication.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// One application object for every test, the same kind the program runs, so
// that errors in handlers take the program's path. Test discovery runs this
// binary without the test environment: default to offscreen here as well.
int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    gasmixer::GuardedApplication app(argc, argv);
    // What the window remembers goes to a folder of the run's own.
    const QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
