#include <QApplication>

#include <gtest/gtest.h>

// The fields are widgets: one application object for every test.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
