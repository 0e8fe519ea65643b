#include <QCoreApplication>

#include <gtest/gtest.h>

// The mixer needs no window: a core application is all its thread asks for.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
