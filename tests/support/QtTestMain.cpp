// main() of the window tests: a QApplication set up as the program sets
// itself up (Tahoma, Russian button texts), then GoogleTest.
#include "Application.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Shell::InstallResources(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
