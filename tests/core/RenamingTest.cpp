// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSystem.h"
#include "Paths.h"
#include "Renaming.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Core;
using Core::Platform::ListMp3Files;
using namespace testing_support;

namespace {

// What the prompts were asked, as "path -> proposal".
std::vector<std::string> Asked(const ScriptedDialogs& dialogs)
{
    std::vector<std::string> asked;
    for (const PromptShown& p : dialogs.prompts)
        asked.push_back(p.path + " -> " + p.proposal);
    return asked;
}

} // namespace

TEST(NameFromTemplate, FillsPlaceholdersInOrderAndAddsTheExtension)
{
    EXPECT_EQ(NameFromTemplate("%2 - %1", "Song", "Band", "", "", ""), "Band - Song.mp3");
    EXPECT_EQ(NameFromTemplate("%1.mp3", "Song", "", "", "", ""), "Song.mp3");
    EXPECT_EQ(NameFromTemplate("%1.MP3", "Song", "", "", "", ""), "Song.MP3.mp3");
    EXPECT_EQ(NameFromTemplate("%1", "", "", "", "", ""), ".mp3");
    EXPECT_EQ(NameFromTemplate("%3 (%4) %5", "", "", "Album", "2003", "Rock"), "Album (2003) Rock.mp3");
    // A title holding a later placeholder has it replaced too.
    EXPECT_EQ(NameFromTemplate("%1", "x%2", "Band", "", "", ""), "xBand.mp3");
    // A value holding its own placeholder ends.
    EXPECT_EQ(NameFromTemplate("%1", "%1", "", "", "", ""), "%1.mp3");
    // A "/" of a value is no folder separator; one of the template is.
    EXPECT_EQ(NameFromTemplate("%2 - %1", "Song", "AC/DC", "", "", ""), "AC-DC - Song.mp3");
    EXPECT_EQ(NameFromTemplate("%3/%1", "/../../x", "", "A/B", "", "Pop/Funk"), "A-B/-..-..-x.mp3");
    EXPECT_EQ(NameFromTemplate("%5", "", "", "", "", "Pop/Funk"), "Pop-Funk.mp3");
    // Nor is a value of dots a folder step; control characters become spaces.
    EXPECT_EQ(NameFromTemplate("%2/%3/%1", "Escaped", "..", ".", "", ""), "--/-/Escaped.mp3");
    EXPECT_EQ(NameFromTemplate("%2 - %1", "Tab\there\nnl\x01\x7f", "...", "", "", ""), "... - Tab here nl  .mp3");
}

TEST(RenameAskingForFreeName, RenamesAtOnceWhenTheTargetIsFree)
{
    TempDir dir;
    const std::string from = dir.Write("a.mp3", "x");
    ScriptedDialogs dialogs;
    const auto prompt = dialogs.NewPrompt();
    const auto r = RenameAskingForFreeName(from, dir / "b.mp3", *prompt);
    EXPECT_EQ(r.kind, RenameOutcome::Renamed);
    EXPECT_EQ(r.target, dir / "b.mp3");
    EXPECT_TRUE(dialogs.prompts.empty());
    EXPECT_TRUE(Exists(dir / "b.mp3"));
}

TEST(RenameAskingForFreeName, AsksUntilAFreeNameIsGiven)
{
    TempDir dir;
    const std::string from = dir.Write("a.mp3", "x");
    dir.Write("b.mp3", "taken");
    dir.Write("c.mp3", "taken");
    // The same taken path again, then another taken one, then a free one.
    ScriptedDialogs dialogs;
    dialogs.promptAnswers = {dir / "b.mp3", dir / "c.mp3", dir / "d.mp3"};
    const auto prompt = dialogs.NewPrompt();
    const auto r = RenameAskingForFreeName(from, dir / "b.mp3", *prompt);
    EXPECT_EQ(r.kind, RenameOutcome::Renamed);
    EXPECT_EQ(Asked(dialogs), (std::vector<std::string>{from + " -> " + (dir / "b.mp3"),
                                                      from + " -> " + (dir / "b.mp3"),
                                                      from + " -> " + (dir / "c.mp3")}));
    EXPECT_EQ(ReadFile(dir / "d.mp3"), "x");
    EXPECT_EQ(ReadFile(dir / "b.mp3"), "taken");
}

TEST(RenameAskingForFreeName, CancelLeavesTheFileAlone)
{
    TempDir dir;
    const std::string from = dir.Write("a.mp3", "x");
    dir.Write("b.mp3", "taken");
    ScriptedDialogs dialogs;
    dialogs.promptAnswers = {""};
    const auto prompt = dialogs.NewPrompt();
    const auto r = RenameAskingForFreeName(from, "b.mp3", *prompt);
    EXPECT_EQ(r.kind, RenameOutcome::Cancelled);
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(ReadFile(from), "x");
}

TEST(RenameAskingForFreeName, TypedAnswersMeanTheFilesFolderAndGetTheExtension)
{
    TempDir dir;
    const std::string from = dir.Write("a.mp3", "x");
    dir.Write("b.mp3", "taken");
    dir.Write("c.mp3", "taken");
    dir.MakeFolder("sub");
    ScriptedDialogs dialogs;
    dialogs.promptAnswers = {"c", "sub/../T (2)"};
    const auto prompt = dialogs.NewPrompt();
    const auto r = RenameAskingForFreeName(from, "b.mp3", *prompt);
    EXPECT_EQ(r.kind, RenameOutcome::Renamed);
    EXPECT_EQ(r.target, dir / "T (2).mp3");
    EXPECT_EQ(Asked(dialogs), (std::vector<std::string>{from + " -> " + (dir / "b.mp3"),
                                                      from + " -> " + (dir / "c.mp3")}));
    EXPECT_EQ(ReadFile(dir / "T (2).mp3"), "x");

    // An extension in any letter case is kept.
    dialogs.promptAnswers = {"sub/Upper.MP3"};
    EXPECT_EQ(RenameAskingForFreeName(r.target, "c.mp3", *prompt).target, dir / "sub/Upper.MP3");
    EXPECT_EQ(ReadFile(dir / "sub/Upper.MP3"), "x");
}

TEST(RenameAskingForFreeName, NoTargetLeavesTheFolder)
{
    TempDir dir, outside;
    const std::string from = dir.Write("a.mp3", "x");
    dir.Write("b.mp3", "taken");
    dir.MakeFolder("sub");
    ASSERT_EQ(::symlink(outside.Path().c_str(), (dir / "away").c_str()), 0);
    ASSERT_EQ(::symlink((dir / "sub").c_str(), (dir / "near").c_str()), 0);
    ScriptedDialogs dialogs;
    const auto prompt = dialogs.NewPrompt();
    // The steps of a name are Paths' business; here the text, a linked
    // sub-folder and an answer.
    for (const std::string& target : {std::string("sub/../../x.mp3"), dir / "away/x.mp3"}) {
        const auto r = RenameAskingForFreeName(from, target, *prompt);
        EXPECT_EQ(r.kind, RenameOutcome::Outside) << target;
        EXPECT_NE(RenameFailedText(from, r).find(from), std::string::npos);
    }
    dialogs.promptAnswers = {"../x"};
    EXPECT_EQ(RenameAskingForFreeName(from, "b.mp3", *prompt).kind, RenameOutcome::Outside);
    EXPECT_EQ(ReadFile(from), "x");
    EXPECT_FALSE(Exists(outside / "x.mp3"));
    // A link to a folder inside is inside.
    EXPECT_EQ(RenameAskingForFreeName(from, dir / "near/./x.mp3", *prompt).kind, RenameOutcome::Renamed);
    EXPECT_EQ(ReadFile(dir / "sub/x.mp3"), "x");
}

TEST(RenameAskingForFreeName, TheFileItselfNeedsNothing)
{
    TempDir dir;
    const std::string from = dir.Write("a.mp3", "x");
    dir.MakeFolder("sub");
    ScriptedDialogs dialogs;
    const auto prompt = dialogs.NewPrompt();
    for (const std::string& target : {std::string("a.mp3"), std::string("sub/../a.mp3"), from}) {
        const auto r = RenameAskingForFreeName(from, target, *prompt);
        EXPECT_EQ(r.kind, RenameOutcome::Unchanged) << target;
        EXPECT_EQ(r.target, from);
    }
    EXPECT_TRUE(dialogs.prompts.empty());
    EXPECT_EQ(ReadFile(from), "x");
}

// Another name that leads to the same file is what a volume that ignores
// letter case shows for "Song.mp3" beside "song.mp3"; here a hard link plays
// it. The way through a free name finds the other name still there: it is
// asked about, and both names keep the file.
TEST(RenameAskingForFreeName, AnotherNameOfTheSameFileGoesThroughAFreeNameAndReplacesNothing)
{
    TempDir dir;
    const std::string from = dir.Write("song.mp3", "x");
    ASSERT_EQ(::link(from.c_str(), (dir / "Song.mp3").c_str()), 0);
    ScriptedDialogs dialogs;
    dialogs.promptAnswers = {""};
    const auto prompt = dialogs.NewPrompt();
    EXPECT_EQ(RenameAskingForFreeName(from, "Song.mp3", *prompt).kind, RenameOutcome::Cancelled);
    EXPECT_EQ(Asked(dialogs), std::vector<std::string>{from + " -> " + (dir / "Song.mp3")});
    EXPECT_EQ(ListMp3Files(dir.Path()).size(), 2u);
    EXPECT_EQ(ReadFile(from), "x");
    EXPECT_EQ(ReadFile(dir / "Song.mp3"), "x");
}

// Set MORVIK_TEST_CASELESS_FOLDER to an empty folder on a volume that ignores
// letter case (FAT, exFAT) to try the change of case itself.
TEST(RenameAskingForFreeName, ALetterCaseChangeOnAVolumeThatIgnoresCase)
{
    const char* folder = std::getenv("MORVIK_TEST_CASELESS_FOLDER");
    if (!folder)
        GTEST_SKIP() << "no folder on a volume that ignores letter case";
    const std::string dir = JoinPath(folder, "");
    const std::string from = dir + "song.mp3", other = dir + "other.mp3";
    { std::ofstream(from) << "x"; std::ofstream(other) << "y"; }
    ScriptedDialogs dialogs;
    dialogs.promptAnswers = {""};
    const auto prompt = dialogs.NewPrompt();
    EXPECT_EQ(RenameAskingForFreeName(from, "Song.mp3", *prompt).kind, RenameOutcome::Renamed);
    EXPECT_EQ(RenameAskingForFreeName(dir + "Song.mp3", "Song.mp3", *prompt).kind, RenameOutcome::Unchanged);
    EXPECT_EQ(RenameAskingForFreeName(dir + "Song.mp3", "OTHER.mp3", *prompt).kind, RenameOutcome::Cancelled);
    std::vector<std::string> names = ListMp3Files(dir);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Song.mp3", "other.mp3"}));
    EXPECT_EQ(ReadFile(dir + "Song.mp3"), "x");
    EXPECT_EQ(ReadFile(other), "y");
    EXPECT_EQ(dialogs.prompts.size(), 1u);
    std::remove((dir + "Song.mp3").c_str());
    std::remove(other.c_str());
}

TEST(RenameAskingForFreeName, AHiddenTargetIsRefusedAndNothingIsReplaced)
{
    TempDir dir;
    const std::string from = dir.Write("a.mp3", "x");
    const std::string hidden = dir.Write(".b.mp3", "hidden");
    ScriptedDialogs dialogs;
    const auto prompt = dialogs.NewPrompt();
    for (const std::string& target : {hidden, dir / ".mp3"}) {
        const auto r = RenameAskingForFreeName(from, target, *prompt);
        EXPECT_EQ(r.kind, RenameOutcome::Refused) << target;
        EXPECT_NE(RenameFailedText(from, r).find(from), std::string::npos);
    }
    // Nor a hidden name given at the prompt for a taken one.
    dir.Write("c.mp3", "taken");
    dialogs.promptAnswers = {dir / ".c.mp3"};
    EXPECT_EQ(RenameAskingForFreeName(from, dir / "c.mp3", *prompt).kind, RenameOutcome::Refused);
    EXPECT_EQ(ReadFile(hidden), "hidden");
    EXPECT_EQ(ReadFile(from), "x");
    EXPECT_FALSE(Exists(dir / ".mp3"));
    EXPECT_FALSE(Exists(dir / ".c.mp3"));
    // Nor a name in a hidden folder.
    dir.MakeFolder(".hid");
    const auto inHidden = RenameAskingForFreeName(from, ".hid/b.mp3", *prompt);
    EXPECT_EQ(inHidden.kind, RenameOutcome::Refused);
    EXPECT_NE(RenameFailedText(from, inHidden).find("папки"), std::string::npos);
}

TEST(RenameFailedText, ANameTheVolumeRefusesIsSaidSoElseTheSystemsReason)
{
    TempDir dir;
    const std::string from = dir.Write("a.mp3", "x");
    const std::string notAllowed = "Имя a:b?.mp3 недопустимо на этом томе. Тома FAT, exFAT и NTFS не допускают в "
                                   "именах знаков «:», «?».";
    // FAT answers EINVAL; a FUSE exFAT answers ENOENT though file and folder are there.
    for (const int error : {EINVAL, ENOENT}) {
        const std::string text = RenameFailedText(from, {RenameOutcome::Failed, dir / "a:b?.mp3", error});
        EXPECT_EQ(text, "Не удалось переименовать файл " + from + "\rв " + (dir / "a:b?.mp3") + ".\r\r" + notAllowed);
    }
    const std::string missing = RenameFailedText(from, {RenameOutcome::Failed, dir / "no/a:b.mp3", ENOENT});
    EXPECT_TRUE(missing.ends_with("\r\rФайл или папка не найдены.")) << missing;
    const std::string taken = RenameFailedText(from, {RenameOutcome::Failed, dir / "b.mp3", EEXIST});
    EXPECT_TRUE(taken.ends_with("\r\rФайл с таким именем уже существует.")) << taken;
}
