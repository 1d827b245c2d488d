// SPDX-License-Identifier: GPL-3.0-or-later
// How the command line is sorted into Morvik's options, Qt's and files.
#include "CommandLine.h"

#include <gtest/gtest.h>

using Program::SortArguments;
using Args = std::vector<std::string>;

namespace {
bool NoFiles(const std::string&)
{
    return false;
}
} // namespace

TEST(CommandLineTest, QtsOptionsAndTheirValuesAreLeftOutAndTheRestAreFiles)
{
    const auto sorted = SortArguments({"-platform", "offscreen", "a.mp3", "--style", "fusion", "-style=fusion",
                                       "-reverse", "-qwindowtitle", "-x.mp3", "/m/b.mp3", "-", "--version"},
                                      NoFiles);
    EXPECT_EQ(sorted.files, Args({"a.mp3", "/m/b.mp3", "-"}));
    EXPECT_EQ(sorted.unknown, "");
}

TEST(CommandLineTest, AnUnknownOptionIsNamedUnlessItIsAFileOrComesAfterTwoDashes)
{
    EXPECT_EQ(SortArguments({"a.mp3", "--bogus", "-x"}, NoFiles).unknown, "--bogus");
    EXPECT_EQ(SortArguments({"-platform=xcb"}, NoFiles).unknown, "-platform=xcb") << "Qt takes no '=' there";
    const auto existing = SortArguments({"-v.mp3", "--", "--bogus"}, [](const std::string& p) { return p == "-v.mp3"; });
    EXPECT_EQ(existing.files, Args({"-v.mp3", "--bogus"}));
    EXPECT_EQ(existing.unknown, "");
}
