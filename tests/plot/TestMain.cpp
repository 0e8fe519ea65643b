#include <QApplication>

#include <gtest/gtest.h>

// The plot is a widget: one application object for every test. Test
// discovery runs this binary without the test environment, so default to the
// offscreen platform here as well.
int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
