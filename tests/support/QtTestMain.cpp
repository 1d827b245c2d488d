// SPDX-License-Identifier: GPL-3.0-or-later
// main() of the window tests: a QApplication set up as the program sets
// itself up (Tahoma, Russian button texts), then GoogleTest. The runs that
// windows start keep their journal in a temporary folder, also when a test
// program is started by hand.
#include "Application.h"
#include "TempDir.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    const testing_support::StateHome state;
    QApplication app(argc, argv);
    Shell::InstallResources(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
