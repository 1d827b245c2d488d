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
