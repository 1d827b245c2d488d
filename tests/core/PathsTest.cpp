// SPDX-License-Identifier: GPL-3.0-or-later
#include "Paths.h"

#include <gtest/gtest.h>

using namespace Core;

TEST(GetFolder, KeepsThePathUpToItsLastSeparator)
{
    EXPECT_EQ(GetFolder("/music/a.mp3"), "/music/");
    EXPECT_EQ(GetFolder("/a.mp3"), "/");
    EXPECT_EQ(GetFolder("/music/sub/"), "/music/sub/");
    EXPECT_EQ(GetFolder("a.mp3"), "");
    EXPECT_EQ(GetFolder(""), "");
}

TEST(Paths, SplitAndJoinNamesAsTheSystemGivesThem)
{
    EXPECT_EQ(FileName("/music/a.mp3"), "a.mp3");
    EXPECT_EQ(FileName("/music/sub/"), "sub");
    EXPECT_EQ(FileName("a.mp3"), "a.mp3");
    EXPECT_EQ(FileName("/"), "");
    EXPECT_EQ(JoinPath("/music", "a.mp3"), "/music/a.mp3");
    EXPECT_EQ(JoinPath("/music/", "a.mp3"), "/music/a.mp3");
    EXPECT_EQ(JoinPath("/", "a.mp3"), "/a.mp3");
    EXPECT_EQ(JoinPath("", "a.mp3"), "a.mp3");
}

TEST(Paths, TellMp3AndHiddenNames)
{
    EXPECT_TRUE(HasMp3Extension("a.mp3"));
    EXPECT_TRUE(HasMp3Extension("A.Mp3"));
    EXPECT_TRUE(HasMp3Extension("\xcf\xe5\xf1\xed\xff.MP3"));
    EXPECT_FALSE(HasMp3Extension("amp3"));
    EXPECT_FALSE(HasMp3Extension("a.mp4"));
    EXPECT_FALSE(HasMp3Extension("a.mp3 "));
    EXPECT_FALSE(HasMp3Extension("mp3"));
    EXPECT_TRUE(IsHiddenName(".a.mp3"));
    EXPECT_FALSE(IsHiddenName("a.mp3"));
    EXPECT_FALSE(IsHiddenName(""));
}

TEST(Paths, StepsInsideAFolderTakeDotsAndNeverClimbOut)
{
    using Steps = std::vector<std::string>;
    EXPECT_EQ(StepsInside("/m/", "a.mp3"), Steps{"a.mp3"});
    EXPECT_EQ(StepsInside("/m/", "./sub//x/../a.mp3"), (Steps{"sub", "a.mp3"}));
    EXPECT_EQ(StepsInside("/m/", "/m//sub/./a.mp3"), (Steps{"sub", "a.mp3"}));
    EXPECT_EQ(StepsInside("/a/../m/", "/m/a.mp3"), Steps{"a.mp3"});
    EXPECT_EQ(StepsInside("", "a.mp3"), Steps{"a.mp3"});
    for (const char* out : {"../a.mp3", "sub/../../a.mp3", "/m/../a.mp3", "/mm/a.mp3", "/a.mp3", "/m", "sub/..", ""})
        EXPECT_EQ(StepsInside("/m/", out), std::nullopt) << out;
    EXPECT_EQ(StepsInside("m/", "/m/a.mp3"), std::nullopt); // no folder to compare with
}
