// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSystem.h"
#include "TempDir.h"

#include <algorithm>
#include <cerrno>
#include <gtest/gtest.h>
#include <stdexcept>
#include <unistd.h>

using namespace Core::Platform;
using namespace testing_support;

TEST(FileAttributes, ReadOnlyIsTheOwnerWriteBit)
{
    TempDir dir;
    const std::string f = dir.Write("a.mp3", "x");
    SetMode(f, 0644);
    EXPECT_EQ(GetFileAttributesA(f), 0);
    SetMode(f, 0464);
    EXPECT_EQ(GetFileAttributesA(f), faReadOnly);
    EXPECT_EQ(GetFileAttributesA(dir.Write(".hidden.mp3", "x")) & faHidden, faHidden);
    EXPECT_EQ(GetFileAttributesA(dir.MakeFolder("sub")) & faDirectory, faDirectory);
    EXPECT_EQ(GetFileAttributesA(dir / "missing.mp3"), faInvalid);
}

TEST(FileAttributes, ClearAndRestoreGiveBackTheExactMode)
{
    TempDir dir;
    const std::string f = dir.Write("a.mp3", "x");
    SetMode(f, 0451);
    const std::int32_t a = GetFileAttributesA(f);
    ASSERT_TRUE(SetFileAttributesA(f, a - 1));
    EXPECT_EQ(ModeOf(f), 0651u);
    ASSERT_TRUE(SetFileAttributesA(f, a));
    EXPECT_EQ(ModeOf(f), 0451u);
}

TEST(FileAttributes, InvalidValuesChangeNothing)
{
    TempDir dir;
    const std::string f = dir.Write("a.mp3", "x");
    SetMode(f, 0444);
    EXPECT_FALSE(SetFileAttributesA(f, faInvalid));
    EXPECT_FALSE(SetFileAttributesA(f, faInvalid - 1));
    EXPECT_EQ(ModeOf(f), 0444u);
    EXPECT_FALSE(SetFileAttributesA(dir / "missing.mp3", 0));
}

TEST(WritableScope, RestoresTheAttributesAlsoWhenTheWriteThrows)
{
    TempDir dir;
    const std::string f = dir.Write("a.mp3", "x");
    SetMode(f, 0440);
    try {
        WritableScope scope(f, GetFileAttributesA(f));
        EXPECT_EQ(ModeOf(f), 0640u);
        throw std::runtime_error("write failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(ModeOf(f), 0440u);
}

TEST(FileExists, OnlyOrdinaryVisibleFilesExist)
{
    TempDir dir;
    EXPECT_TRUE(FileExists(dir.Write("a.mp3", "x")));
    EXPECT_FALSE(FileExists(dir.Write(".a.mp3", "x")));
    EXPECT_FALSE(FileExists(dir.MakeFolder("f.mp3")));
    EXPECT_FALSE(FileExists(dir / "missing.mp3"));
    ASSERT_EQ(::symlink((dir / "a.mp3").c_str(), (dir / "link.mp3").c_str()), 0);
    EXPECT_TRUE(FileExists(dir / "link.mp3"));
}

TEST(ListMp3Files, ListsOrdinaryVisibleMp3FilesInAnyCase)
{
    TempDir dir;
    for (const char* n : {"a.mp3", "B.MP3", "c.Mp3", "d.mp4", "e.mp3.txt", ".hidden.mp3", "mp3", "x.wav"})
        dir.Write(n, "x");
    dir.MakeFolder("folder.mp3");
    ASSERT_EQ(::symlink((dir / "a.mp3").c_str(), (dir / "link.mp3").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "gone").c_str(), (dir / "dangling.mp3").c_str()), 0);

    int error = -1;
    auto names = ListMp3Files(dir.Path(), &error, Links::Followed);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(error, 0);
    EXPECT_EQ(names, (std::vector<std::string>{"B.MP3", "a.mp3", "c.Mp3", "link.mp3"}));

    // The batch runs' listing leaves every link out.
    names = ListMp3Files(dir.Path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"B.MP3", "a.mp3", "c.Mp3"}));
}

TEST(ListMp3Files, GivesTheFoldersOfTheSameReadingWhenAsked)
{
    TempDir dir;
    for (const char* n : {"a.mp3", "notes.txt"})
        dir.Write(n, "x");
    for (const char* n : {"sub", "folder.mp3", ".git"})
        dir.MakeFolder(n);
    ASSERT_EQ(::symlink((dir / "sub").c_str(), (dir / "linked").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "a.mp3").c_str(), (dir / "link.mp3").c_str()), 0);
    const auto sorted = [](std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        return names;
    };

    std::vector<std::string> folders;
    const auto names = ListMp3Files(dir.Path(), nullptr, Links::Followed, &folders);
    EXPECT_EQ(sorted(names), (std::vector<std::string>{"a.mp3", "link.mp3"}));
    EXPECT_EQ(sorted(folders), (std::vector<std::string>{"folder.mp3", "linked", "sub"}));

    // Links left out are neither files nor folders.
    folders.clear();
    EXPECT_EQ(ListMp3Files(dir.Path(), nullptr, Links::Skipped, &folders), std::vector<std::string>{"a.mp3"});
    EXPECT_EQ(sorted(folders), (std::vector<std::string>{"folder.mp3", "sub"}));
}

TEST(ListMp3Files, AMissingFolderGivesNothingAndItsError)
{
    TempDir dir;
    int error = 0;
    EXPECT_TRUE(ListMp3Files(dir / "missing/", &error).empty());
    EXPECT_NE(error, 0);
}

TEST(RenameFile, MovesAndRenames)
{
    TempDir dir;
    const std::string from = dir.Write("a.mp3", "audio");
    const std::string sub = dir.MakeFolder("sub");
    ASSERT_EQ(RenameFile(from, sub + "b.mp3"), 0);
    EXPECT_FALSE(Exists(from));
    EXPECT_EQ(ReadFile(sub + "b.mp3"), "audio");
}

TEST(RenameFile, NeverReplacesAnExistingFile)
{
    TempDir dir;
    const std::string from = dir.Write("a.mp3", "mine");
    for (const char* taken : {"b.mp3", ".b.mp3"}) {
        const std::string to = dir.Write(taken, "theirs");
        EXPECT_NE(RenameFile(from, to), 0) << taken;
        EXPECT_EQ(ReadFile(to), "theirs");
        EXPECT_EQ(ReadFile(from), "mine");
    }
    EXPECT_NE(RenameFile(from, from), 0); // its own name is taken too
    EXPECT_EQ(ReadFile(from), "mine");
}

TEST(RenameFile, ReportsAMissingFolder)
{
    TempDir dir;
    const std::string from = dir.Write("a.mp3", "x");
    const int error = RenameFile(from, dir / "no/such/b.mp3");
    EXPECT_NE(error, 0);
    EXPECT_FALSE(ErrorText(error).empty());
    EXPECT_EQ(error, ENOENT);
    EXPECT_EQ(ErrorText(error), "Файл или папка не найдены.");
    EXPECT_TRUE(Exists(from));
}
