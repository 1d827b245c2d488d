#include "FileSystem.h"
#include "Renaming.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace Core;
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
    ScriptedDialogs dialogs;
    dialogs.promptAnswers = {""};
    const auto prompt = dialogs.NewPrompt();
    const auto r = RenameAskingForFreeName(from, from, *prompt); // its own name is taken
    EXPECT_EQ(r.kind, RenameOutcome::Cancelled);
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(ReadFile(from), "x");
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
}
