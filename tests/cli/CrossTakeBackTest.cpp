// SPDX-License-Identifier: GPL-3.0-or-later
// One journal, one lock: a run the windows start is taken back by
// morvik-cli undo, and a run of morvik-cli --apply by the windows' taking
// back, byte for byte either way.
#include "BatchRun.h"
#include "CliProcess.h"
#include "JournalFolder.h"
#include "PlanJobs.h"
#include "ScriptedDialogs.h"
#include "TagObjects.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

using namespace testing_support;

namespace {

class CrossTakeBack : public ::testing::Test {
protected:
    TempDir dir;
    StateHome state;
    ScriptedDialogs dialogs;

    std::map<std::string, std::string> Files()
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            files[entry.path().filename().string()] = ReadFile(entry.path().string());
        return files;
    }
};

TEST_F(CrossTakeBack, TheCommandLineTakesBackWhatTheWindowsDid)
{
    dir.Write("a.mp3", Audio(100) + TagBytes("a", "x"));
    dir.Write("b.mp3", Audio(300));
    const auto before = Files();
    Core::FillSettings settings;
    settings.Title = {true, "%0!"};
    auto plan = std::make_shared<std::unique_ptr<Core::Plan>>();
    std::shared_ptr<Core::PlanJob> job = Core::NewFillPlanJob(settings);
    Core::NewPlanRun(dir.Path(), job, Core::NewTagObject(), plan)->Run(dialogs);
    ASSERT_TRUE(*plan);
    Core::NewApplyRun(std::shared_ptr<const Core::Plan>(std::move(*plan)), job, Core::NewTagObject())->Run(dialogs);
    ASSERT_NE(Files(), before);

    const CliResult undo = RunCli({"undo"});
    EXPECT_EQ(undo.status, 0) << undo.err;
    EXPECT_NE(undo.out.find("Возвращено файлов: 2."), std::string::npos) << undo.out;
    EXPECT_EQ(Files(), before);
}

TEST_F(CrossTakeBack, TheWindowsTakeBackWhatTheCommandLineDid)
{
    dir.Write("a.mp3", Audio(100) + TagBytes("one", "x"));
    dir.Write("b.mp3", Audio(100) + TagBytes("two", "y"));
    const auto before = Files();
    ASSERT_EQ(RunCli({"set", "--apply", "-c", "note", dir / "a.mp3", dir / "b.mp3"}).status, 0);
    ASSERT_EQ(RunCli({"rename", "--apply", "%2 %1", dir.Path()}).status, 0);
    ASSERT_TRUE(Exists(dir / "x one.mp3"));

    // Newest first: the names, then the tags.
    Core::NewTakeBack()->Run(dialogs);
    EXPECT_TRUE(Exists(dir / "a.mp3"));
    Core::NewTakeBack()->Run(dialogs);
    EXPECT_EQ(Files(), before);
    EXPECT_TRUE(Core::Journals(state.Folder()).empty());
}

TEST_F(CrossTakeBack, ARunOfTheWindowsHoldsTheCommandLineOff)
{
    const std::string path = dir.Write("a.mp3", Audio(100) + TagBytes("one"));
    const auto lock = Core::JournalLock::Take(dialogs, state.Folder());
    ASSERT_TRUE(lock);
    const CliResult set = RunCli({"set", "--apply", "-t", "two", path});
    EXPECT_EQ(set.status, 1);
    EXPECT_NE(set.err.find(Core::AnotherRunText()), std::string::npos) << set.err;
    EXPECT_EQ(LastRecord(path), TagBytes("one"));
    EXPECT_EQ(RunCli({"undo"}).status, 1);
}

} // namespace
