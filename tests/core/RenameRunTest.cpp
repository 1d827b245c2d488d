// SPDX-License-Identifier: GPL-3.0-or-later
#include "RenameRun.h"

#include "FileSystem.h"
#include "HookedTag.h"
#include "Paths.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace testing_support;
using Core::GetFolder;

namespace {

const std::string kDone = "Процесс переименования завершен.";

class RenameRun : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedDialogs dialogs;
    HookedTag tag;

    Core::RenameEnd Run(const std::string& templ) { return Core::RunRename(dir.Path(), templ, tag, dialogs); }
    std::string Mp3(const std::string& name, const std::string& title, const std::string& artist = "",
                    std::uint8_t genre = 255)
    {
        return dir.Write(name, Audio(64) + TagBytes(title, artist, "", "", "", genre));
    }
    // Names in the folder, sorted, hidden ones included.
    std::vector<std::string> Names(const std::string& folder = "") const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path() + folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // The critical report on one file: its path and a reason after it.
    void ExpectReport(const Message& m, const std::string& path) const
    {
        EXPECT_EQ(m.style, Core::vbCritical);
        EXPECT_EQ(m.title, "Morvik");
        EXPECT_NE(m.text.find(path), std::string::npos) << m.text;
        EXPECT_GT(m.text.size(), path.size() + 1) << "no reason given: " << m.text;
    }
};

TEST_F(RenameRun, ABlankTemplateDoesNotStartAndAnEmptyFolderOnlyEnds)
{
    Mp3("a.mp3", "T");
    Run("   ");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Шаблон имени не задан");
    EXPECT_EQ(dialogs.messages[0].style, Core::vbCritical);
    EXPECT_EQ(Names(), std::vector<std::string>{"a.mp3"});

    TempDir empty;
    empty.Write("a.txt", "x");
    ScriptedDialogs other;
    Core::RunRename(empty.Path(), "%1", tag, other);
    ASSERT_EQ(other.messages.size(), 1u);
    EXPECT_EQ(other.messages[0].text, kDone);
    EXPECT_EQ(other.messages[0].style, Core::vbInformation);
}

TEST_F(RenameRun, NamesFollowTheTemplateRules)
{
    Mp3("a.mp3", "T", "A");
    Mp3("b.mp3", "B%2", "x");  // a title holding "%2" gets the artist there
    Mp3("c.mp3", "C", "", 200); // a genre without a name disappears
    Mp3("d.mp3", "D", "", 17);
    Run("%2 - %1%5");
    EXPECT_EQ(Names(), (std::vector<std::string>{" - C.mp3", " - D" + tag.GenreIDToName(17) + ".mp3", "A - T.mp3",
                                                 "x - Bx.mp3"}));
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{kDone});
    EXPECT_EQ(dialogs.promptsMade, 0);
    EXPECT_EQ(ReadFile(dir / "A - T.mp3"), Audio(64) + TagBytes("T", "A"));
}

TEST_F(RenameRun, TheExtensionIsAppendedUnlessTheNameEndsInExactlyDotMp3)
{
    Mp3("a.mp3", "one");
    Mp3("b.mp3", "two");
    Run("%1.mp3");
    EXPECT_EQ(Names(), (std::vector<std::string>{"one.mp3", "two.mp3"}));

    Run("%1.MP3");
    EXPECT_EQ(Names(), (std::vector<std::string>{"one.MP3.mp3", "two.MP3.mp3"}));
}

TEST_F(RenameRun, AFileWithoutATagOrGoneBeforeItsTurnIsReportedAndTheRunGoesOn)
{
    const std::string untagged = dir.Write("untagged.mp3", Audio(300));
    const std::string first = Mp3("first.mp3", "x");
    const std::string second = Mp3("second.mp3", "y");
    // Whichever tagged file comes first takes the other one away.
    tag.beforeRead = [&](const std::string& path) {
        if (path == first)
            std::filesystem::remove(second);
        if (path == second)
            std::filesystem::remove(first);
    };
    Run("%1");
    const std::vector<std::string> texts = dialogs.Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Неверный формат тегов в файле " + untagged), texts.end());
    const bool firstWent = std::find(texts.begin(), texts.end(), "Файл " + first + " отсутствует.") != texts.end();
    const bool secondWent = std::find(texts.begin(), texts.end(), "Файл " + second + " отсутствует.") != texts.end();
    EXPECT_NE(firstWent, secondWent);
    EXPECT_EQ(texts.back(), kDone);
    EXPECT_EQ(Names(), (std::vector<std::string>{"untagged.mp3", firstWent ? "y.mp3" : "x.mp3"}));
}

// Untagged files are reported and never renamed: they hold names taken for
// the whole run, whatever order the folder lists its files in.
TEST_F(RenameRun, ATakenNameIsAskedForAgainUntilItIsFree)
{
    const std::string path = Mp3("a.mp3", "b");
    dir.Write("b.mp3", Audio(300));
    dir.Write("c.mp3", Audio(300));
    dialogs.promptAnswers = {dir / "c.mp3", dir / "d.mp3"};
    Run("%1");
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(dialogs.prompts[0].path, path);
    EXPECT_EQ(dialogs.prompts[0].proposal, dir / "b.mp3");
    EXPECT_EQ(dialogs.prompts[1].path, path);
    EXPECT_EQ(dialogs.prompts[1].proposal, dir / "c.mp3");
    EXPECT_EQ(dialogs.prompts[1].prompt, dialogs.prompts[0].prompt); // one prompt per file
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.mp3", "c.mp3", "d.mp3"}));
    EXPECT_EQ(ReadFile(dir / "d.mp3"), Audio(64) + TagBytes("b"));
    EXPECT_EQ(dialogs.messages.size(), 3u); // two untagged files and the end
}

TEST_F(RenameRun, AStopFromAPromptFinishesThatFileAndCountsTheRenamed)
{
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3"})
        Mp3(name, "Same");
    const std::vector<std::string> order = Core::Platform::ListMp3Files(dir.Path());
    // The first file takes the name; the second is asked about, and the user
    // gives another name and stops while the prompt is up.
    dialogs.promptAnswers = {dir / "Other.mp3"};
    dialogs.progress = [&](std::size_t, std::size_t total, const std::string&) {
        EXPECT_EQ(total, 4u);
        return dialogs.prompts.empty();
    };
    EXPECT_EQ(Run("%1"), Core::RenameEnd::Stopped);
    EXPECT_EQ(dialogs.prompts.size(), 1u);
    std::vector<std::string> expected{"Other.mp3", "Same.mp3", order[2], order[3]};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(), expected);
    EXPECT_EQ(dialogs.messages.back().text, "Переименование прервано. Переименовано файлов: 2 из 4.");
    EXPECT_EQ(dialogs.messages.back().style, Core::vbInformation);
}

TEST_F(RenameRun, CancelLeavesOnlyItsOwnFileAndAFreeTargetNeedsNoPrompt)
{
    const std::string blocked = Mp3("a.mp3", "b");
    const std::string other = Mp3("c.mp3", "d");
    dir.Write("b.mp3", Audio(300));
    dir.Write("d.mp3", Audio(300));
    Mp3("f.mp3", "Free");
    Run("%1");
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_NE(dialogs.prompts[0].prompt, dialogs.prompts[1].prompt);
    std::vector<std::string> asked;
    for (const PromptShown& p : dialogs.prompts)
        asked.push_back(p.path + " -> " + p.proposal);
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, (std::vector<std::string>{blocked + " -> " + (dir / "b.mp3"), other + " -> " + (dir / "d.mp3")}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Free.mp3", "a.mp3", "b.mp3", "c.mp3", "d.mp3"}));
}

TEST_F(RenameRun, FilesNamedAfterTheirTagsAreNotAskedAboutAgain)
{
    Mp3("a.mp3", "One");
    Mp3("b.mp3", "Two");
    Run("%1");
    dialogs.messages.clear();
    EXPECT_EQ(Run("%1"), Core::RenameEnd::Completed);
    EXPECT_EQ(dialogs.promptsMade, 0);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{kDone});
    EXPECT_EQ(Names(), (std::vector<std::string>{"One.mp3", "Two.mp3"}));
}

TEST_F(RenameRun, TwoFilesToOneNameRenameTheFirstAndAskForTheSecond)
{
    const std::string a = Mp3("a.mp3", "Same");
    const std::string b = dir.Write("b.mp3", Audio(99) + TagBytes("Same"));
    Run("%1");
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    const std::string second = dialogs.prompts[0].path;
    ASSERT_TRUE(second == a || second == b);
    EXPECT_EQ(dialogs.prompts[0].proposal, dir / "Same.mp3");
    EXPECT_TRUE(Exists(second));
    EXPECT_EQ(ReadFile(dir / "Same.mp3").size(), (second == a ? 99u : 64u) + 128u);
}

TEST_F(RenameRun, ANameThatWouldHideTheFileIsRefusedAndTheRunGoesOn)
{
    // "%1" of an empty title is ".mp3", a hidden name; so is a title ".x".
    const std::string a = Mp3("a.mp3", "");
    const std::string b = Mp3("b.mp3", ".x");
    Mp3("c.mp3", "C");
    Run("%1");
    EXPECT_EQ(dialogs.promptsMade, 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"C.mp3", "a.mp3", "b.mp3"}));
    ASSERT_EQ(dialogs.messages.size(), 3u);
    std::vector<std::string> reported;
    for (std::size_t i = 0; i < 2; ++i) {
        ExpectReport(dialogs.messages[i], dialogs.messages[i].text.find(a) != std::string::npos ? a : b);
        EXPECT_NE(dialogs.messages[i].text.find("точки"), std::string::npos) << dialogs.messages[i].text;
        reported.push_back(dialogs.messages[i].text.find(a) != std::string::npos ? a : b);
    }
    std::sort(reported.begin(), reported.end());
    EXPECT_EQ(reported, (std::vector<std::string>{a, b}));
    EXPECT_EQ(dialogs.messages[2].text, kDone);
}

TEST_F(RenameRun, ASlashInATagValueStaysInTheName)
{
    dir.MakeFolder("AC");
    Mp3("a.mp3", "Song", "AC/DC");
    Mp3("b.mp3", "/../../x");
    Run("%2 - %1");
    EXPECT_EQ(Names(), (std::vector<std::string>{" - -..-..-x.mp3", "AC", "AC-DC - Song.mp3"}));
    EXPECT_TRUE(Names("AC").empty());
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{kDone});
}

TEST_F(RenameRun, TagValuesOfDotsStayInTheName)
{
    const std::string dots = Mp3("a.mp3", "Escaped", "..");
    const std::string dot = Mp3("b.mp3", "Escaped", ".");
    const std::string parent = GetFolder(dir.Path().substr(0, dir.Path().size() - 1));
    Run("%2/%1");
    // "--/Escaped.mp3" and "-/Escaped.mp3" name folders that are not there.
    ASSERT_EQ(dialogs.messages.size(), 3u);
    std::vector<std::string> texts = dialogs.Texts();
    std::sort(texts.begin(), texts.begin() + 2);
    ExpectReport(dialogs.messages[0], dialogs.messages[0].text.find(dots) != std::string::npos ? dots : dot);
    EXPECT_NE(texts[0].find(dir / "--/Escaped.mp3"), std::string::npos) << texts[0];
    EXPECT_NE(texts[1].find(dir / "-/Escaped.mp3"), std::string::npos) << texts[1];
    EXPECT_EQ(texts[2], kDone);
    EXPECT_FALSE(Exists(parent + "Escaped.mp3"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.mp3", "b.mp3"}));
}

TEST_F(RenameRun, ATemplateThatLeavesTheFolderIsRefusedForEachFile)
{
    const std::string a = Mp3("a.mp3", "A");
    Mp3("b.mp3", "B");
    const std::string parent = GetFolder(dir.Path().substr(0, dir.Path().size() - 1));
    Run("../%1");
    ASSERT_EQ(dialogs.messages.size(), 3u);
    ExpectReport(dialogs.messages[0], dialogs.messages[0].text.find(a) != std::string::npos ? a : dir / "b.mp3");
    EXPECT_NE(dialogs.messages[0].text.find("за пределы папки " + dir.Path()), std::string::npos);
    EXPECT_EQ(dialogs.messages[2].text, kDone);
    EXPECT_FALSE(Exists(parent + "A.mp3"));
}

TEST_F(RenameRun, LinksAreLeftOut)
{
    TempDir outside;
    const std::string target = outside.Write("song.mp3", Audio(64) + TagBytes("Elsewhere"));
    ASSERT_EQ(::symlink(target.c_str(), (dir / "link.mp3").c_str()), 0);
    Run("%1");
    EXPECT_EQ(Names(), std::vector<std::string>{"link.mp3"});
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{kDone});
}

TEST_F(RenameRun, ASubFolderInTheTemplateMovesTheFileOrIsReported)
{
    dir.MakeFolder("sub");
    Mp3("a.mp3", "A");
    Run("sub/%1");
    EXPECT_EQ(Names("sub"), std::vector<std::string>{"A.mp3"});

    const std::string b = Mp3("b.mp3", "B");
    dialogs.messages.clear();
    Run("missing/%1");
    ASSERT_EQ(dialogs.messages.size(), 2u);
    ExpectReport(dialogs.messages[0], b);
    EXPECT_EQ(dialogs.messages[1].text, kDone);
    EXPECT_TRUE(Exists(b));
}

TEST_F(RenameRun, ATagObjectErrorIsReportedAndTheRunGoesOn)
{
    const std::string shortFile = dir.Write("short.mp3", Audio(100));
    Mp3("z.mp3", "renamed");
    Run("%1");
    ASSERT_EQ(dialogs.messages.size(), 2u);
    ExpectReport(dialogs.messages[0], shortFile);
    EXPECT_EQ(dialogs.messages[1].text, kDone);
    EXPECT_EQ(Names(), (std::vector<std::string>{"renamed.mp3", "short.mp3"}));
}

TEST_F(RenameRun, AFolderThatCannotBeListedIsNamedAndNoEndIsReported)
{
    const std::string removed = dir.MakeFolder("removed");
    std::filesystem::remove(removed);
    Core::RunRename(removed, "%1", tag, dialogs);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Не удалось прочитать папку " + removed + "\r\rФайл или папка не найдены.");
    EXPECT_EQ(dialogs.messages[0].style, Core::vbCritical);
}

TEST_F(RenameRun, AFileInAWindows1251FolderIsRenamedInPlace)
{
    // "Музыка/Ёлка.mp3" in Windows-1251 bytes.
    const std::string folder = dir.MakeFolder("\xcc\xf3\xe7\xfb\xea\xe0");
    dir.Write("\xcc\xf3\xe7\xfb\xea\xe0/\xa8\xeb\xea\xe0.mp3", Audio(64) + TagBytes("T", "A"));
    Core::RunRename(folder, "%2 - %1", tag, dialogs);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{kDone});
    EXPECT_EQ(Names("\xcc\xf3\xe7\xfb\xea\xe0"), std::vector<std::string>{"A - T.mp3"});
}

TEST_F(RenameRun, EveryFileIsHandledBeyondASixteenBitCount)
{
    constexpr int count = 32768 + 2;
    for (int i = 0; i < count; ++i)
        dir.Write(std::to_string(i) + ".mp3", TagBytes("n" + std::to_string(i)));
    Run("%1");
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{kDone});
    const std::vector<std::string> names = Names();
    ASSERT_EQ(names.size(), static_cast<std::size_t>(count));
    EXPECT_TRUE(std::all_of(names.begin(), names.end(), [](const std::string& n) { return n[0] == 'n'; }));
}

} // namespace

namespace {

TEST_F(RenameRun, HostileTagValuesAndLongNamesCostEachFileLittleAndStopNothing)
{
    // Values that breed placeholders under "%2 - %1", and C1 controls.
    const std::string breeding = Mp3("breeding.mp3", "%22", "22%%");
    const std::string growing = Mp3("growing.mp3", std::string(30, '%').replace(1, 28, std::string(28, '1')),
                                    "%1%1%1%1%1%1%1%1%1%1%1%1%1%1%1");
    Mp3("control.mp3", "a\x98" "b", "x");
    ASSERT_EQ(Run("%2 - %1"), Core::RenameEnd::Completed);
    for (const std::string& name : Names()) {
        EXPECT_LT(name.size(), 300u) << name;
        EXPECT_EQ(name.find("\xc2\x98"), std::string::npos) << name;
    }
    EXPECT_TRUE(Exists(dir / "x - a b.mp3"));
    EXPECT_FALSE(Exists(breeding));

    // A template that gives names longer than the system takes: each file
    // is reported with the system's reason, and the run goes on.
    dialogs.messages.clear();
    ASSERT_EQ(Run(std::string(64 * 1024, 'n') + "%1"), Core::RenameEnd::Completed);
    ASSERT_EQ(dialogs.messages.size(), 4u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NE(dialogs.messages[i].text.find("Слишком длинное имя файла."), std::string::npos);
    EXPECT_EQ(dialogs.messages[3].text, kDone);
    EXPECT_EQ(Names().size(), 3u);
}

} // namespace
