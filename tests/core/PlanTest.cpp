// SPDX-License-Identifier: GPL-3.0-or-later
// Plans of the fill and rename jobs on real folders: their rows, and
// carrying out exactly the ticked ones, taken back afterwards.
#include "ApplyPlan.h"
#include "FillRun.h"
#include "HookedTag.h"
#include "Journal.h"
#include "PlanJobs.h"
#include "ScriptedDialogs.h"
#include "TagObjects.h"
#include "TakeBack.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

using namespace testing_support;
using Core::RowState;

namespace {

class PlanTest : public ::testing::Test {
protected:
    TempDir dir;
    StateHome state;
    ScriptedDialogs dialogs;
    std::unique_ptr<Quenlar::_TMP3Tag> tag = Core::NewTagObject();

    std::string Mp3(const std::string& name, const std::string& record, mode_t mode = 0644)
    {
        return dir.Mp3(name, record, mode);
    }
    std::unique_ptr<Core::Plan> Make(Core::PlanJob& job)
    {
        auto plan = Core::MakePlan(dialogs, dir.Path(), job, *tag);
        EXPECT_TRUE(plan);
        return plan;
    }
    const Core::PlanRow& Row(const Core::Plan& plan, const std::string& name)
    {
        for (const Core::PlanRow& row : plan.rows)
            if (row.path == dir / name)
                return row;
        ADD_FAILURE() << "no row for " << name;
        return plan.rows.front();
    }
    void Apply(const Core::Plan& plan, Core::PlanJob& job)
    {
        const auto journal = Core::RunJournal::Begin(dialogs, state.Folder());
        ASSERT_TRUE(journal);
        EXPECT_EQ(Core::ApplyPlan(dialogs, plan, job, *tag, *journal), Core::ApplyEnd::Done);
    }
    std::map<std::string, std::string> Files()
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            files[entry.path().filename().string()] = ReadFile(entry.path().string());
        return files;
    }
};

TEST_F(PlanTest, ARenamePlanShowsEachRowInItsStateAndApplyDoesExactlyTheTickedOnes)
{
    Mp3("A.mp3", TagBytes("B"));   // a swap: A to B, B to A
    Mp3("B.mp3", TagBytes("A"));
    Mp3("1.mp3", TagBytes("2"));   // a chain: 1 to 2, 2 to 3, 3 to 4 (free)
    Mp3("2.mp3", TagBytes("3"));
    Mp3("3.mp3", TagBytes("4"));
    for (const char* name : {"x.mp3", "y.mp3", "z.mp3"})
        Mp3(name, TagBytes("Same")); // three to one name
    dir.Write("Taken.mp3", Audio(300)); // no tag: it stays, and holds its name
    Mp3("t.mp3", TagBytes("Taken"));
    Mp3("Named.mp3", TagBytes("Named")); // already named after its tag
    Mp3("plain.mp3", TagBytes("Plain"));
    const auto before = Files();
    const auto job = Core::NewRenamePlanJob("%1");
    const auto plan = Make(*job);
    ASSERT_EQ(plan->rows.size(), 12u);
    EXPECT_EQ(Files(), before) << "a plan changes nothing";

    for (const char* name : {"A.mp3", "B.mp3", "1.mp3", "2.mp3"})
        EXPECT_EQ(Row(*plan, name).state, RowState::Chain) << name;
    EXPECT_EQ(Row(*plan, "3.mp3").state, RowState::Change);
    for (const char* name : {"x.mp3", "y.mp3", "z.mp3"}) {
        EXPECT_EQ(Row(*plan, name).state, RowState::SameTarget) << name;
        EXPECT_FALSE(Row(*plan, name).ticked);
    }
    EXPECT_EQ(Row(*plan, "t.mp3").StateText(), "имя занято: файл Taken.mp3 остаётся на месте");
    EXPECT_EQ(Row(*plan, "Taken.mp3").StateText(), "нельзя изменить: в файле нет тега");
    EXPECT_EQ(Row(*plan, "Named.mp3").state, RowState::Unchanged);
    EXPECT_EQ(Row(*plan, "plain.mp3").state, RowState::Change);
    EXPECT_EQ(Row(*plan, "plain.mp3").target, dir / "Plain.mp3");
    const Core::PlanCounts counts = Core::CountRows(*plan);
    EXPECT_EQ(counts.ticked, 6u);
    EXPECT_EQ(counts.unchanged, 1u);
    EXPECT_EQ(counts.left, 5u);
    // Problems first, then the changes, then the rest.
    const auto order = Core::ShowingOrder(*plan);
    for (std::size_t i = 0; i < counts.left; ++i)
        EXPECT_FALSE(plan->rows[order[i]].ticked) << i;
    EXPECT_TRUE(plan->rows[order[counts.left]].ticked);
    EXPECT_EQ(plan->rows[order.back()].state, RowState::Unchanged);

    Apply(*plan, *job);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Процесс переименования завершен.");
    EXPECT_EQ(ReadFile(dir / "A.mp3"), before.at("B.mp3"));
    EXPECT_EQ(ReadFile(dir / "B.mp3"), before.at("A.mp3"));
    for (const char* name : {"2.mp3", "3.mp3", "4.mp3"})
        EXPECT_EQ(LastRecord(dir / name), TagBytes(std::string(1, name[0]))) << name;
    EXPECT_EQ(LastRecord(dir / "Plain.mp3"), TagBytes("Plain"));
    for (const char* name : {"x.mp3", "y.mp3", "z.mp3", "t.mp3", "Named.mp3"})
        EXPECT_EQ(ReadFile(dir / name), before.at(name)) << name;
    EXPECT_EQ(Files().size(), before.size());

    ScriptedDialogs told;
    EXPECT_EQ(Core::TakeBackLastRun(told, state.Folder()), Core::TakeBackEnd::Done);
    EXPECT_EQ(Files(), before);
}

TEST_F(PlanTest, TickingTypedNamesAndTheCirclesOfAPlan)
{
    Mp3("A.mp3", TagBytes("B"));
    Mp3("B.mp3", TagBytes("A"));
    for (const char* name : {"x.mp3", "y.mp3"})
        Mp3(name, TagBytes("Same"));
    const auto job = Core::NewRenamePlanJob("%1");
    const auto plan = Make(*job);
    const auto index = [&](const char* name) {
        return static_cast<std::size_t>(&Row(*plan, name) - plan->rows.data());
    };
    // Unticking one rename of a swap unticks the other: neither could go alone.
    Core::SetTicked(*plan, index("A.mp3"), false);
    EXPECT_FALSE(Row(*plan, "A.mp3").ticked);
    EXPECT_FALSE(Row(*plan, "B.mp3").ticked);
    EXPECT_TRUE(Core::Tickable(Row(*plan, "B.mp3").state));
    Core::SetTicked(*plan, index("B.mp3"), true);
    EXPECT_TRUE(Row(*plan, "A.mp3").ticked && Row(*plan, "B.mp3").ticked);

    // A name typed for one of two files heading for one name: as the prompt takes it.
    Core::Retarget(*plan, index("y.mp3"), "Other");
    EXPECT_EQ(Row(*plan, "y.mp3").target, dir / "Other.mp3");
    EXPECT_EQ(Row(*plan, "y.mp3").state, RowState::Change);
    EXPECT_TRUE(Row(*plan, "y.mp3").ticked);
    EXPECT_EQ(Row(*plan, "x.mp3").state, RowState::Change) << "the other one's name is its own now";
    Core::Retarget(*plan, index("x.mp3"), "../out");
    EXPECT_EQ(Row(*plan, "x.mp3").StateText(), "нельзя изменить: новое имя вне папки");
    EXPECT_FALSE(Row(*plan, "x.mp3").ticked);
    Core::Retarget(*plan, index("x.mp3"), ".hidden.mp3");
    EXPECT_EQ(Row(*plan, "x.mp3").state, RowState::Unchangeable);
    Core::Retarget(*plan, index("x.mp3"), "B");
    EXPECT_EQ(Row(*plan, "x.mp3").state, RowState::SameTarget) << "A heads for B.mp3 too";
}

TEST_F(PlanTest, AFillPlanIsWhatTheRunWritesAndApplySkipsAFileChangedSince)
{
    const std::string ro = Mp3("ro.mp3", TagBytes("old"), 0444);
    const std::string lost = Mp3("lostő.mp3", TagBytes("old"));
    const std::string changed = Mp3("changed.mp3", TagBytes("old"));
    const std::string same = Mp3("same.mp3", TagBytes("same"));
    const std::string bare = dir.Write("bare.mp3", Audio(300));
    const std::string plain = Mp3("plain.mp3", TagBytes("old", "band"));
    Core::FillSettings settings;
    settings.Title = {true, "%0"};
    settings.Artist = {true, "%2"};
    const auto job = Core::NewFillPlanJob(settings);
    const auto plan = Make(*job);
    EXPECT_EQ(Row(*plan, "ro.mp3").state, RowState::ReadOnly);
    EXPECT_FALSE(Row(*plan, "ro.mp3").ticked);
    EXPECT_TRUE(Core::Tickable(RowState::ReadOnly));
    EXPECT_EQ(Row(*plan, "lostő.mp3").StateText(), "символ не в Windows-1251: «ő» станет «?»");
    EXPECT_FALSE(Row(*plan, "lostő.mp3").ticked);
    EXPECT_EQ(Row(*plan, "same.mp3").state, RowState::Unchanged);
    EXPECT_EQ(Row(*plan, "bare.mp3").state, RowState::Change);
    EXPECT_TRUE(Row(*plan, "bare.mp3").appends);

    // The same step as the run: the record the plan shows is what the run writes.
    {
        TempDir copy;
        const std::string path = copy.Write("plain.mp3", ReadFile(plain));
        ScriptedDialogs scripted;
        ASSERT_EQ(Core::RunFill(copy.Path(), settings, *tag, scripted), Core::FillEnd::Completed);
        const auto& record = Row(*plan, "plain.mp3").record;
        EXPECT_EQ(LastRecord(path), std::string(record.data(), record.size()));
    }

    dir.Write("changed.mp3", Audio(100) + TagBytes("theirs"));
    const std::string roBefore = ReadFile(ro), lostBefore = ReadFile(lost), bareBefore = ReadFile(bare);
    const std::string plainBefore = ReadFile(plain);
    const auto index = [&](const char* name) {
        return static_cast<std::size_t>(&Row(*plan, name) - plan->rows.data());
    };
    Core::SetTicked(*plan, index("ro.mp3"), true); // the answer Yes
    Apply(*plan, *job);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Заполнение тегов завершено. Изменено файлов: 3 из 4.\r\rПропущены:\r"
                                            + changed + " — изменён после просмотра");
    EXPECT_EQ(LastRecord(ro), TagBytes("ro"));
    EXPECT_EQ(ModeOf(ro), 0444u);
    EXPECT_EQ(ReadFile(lost), lostBefore);
    EXPECT_EQ(LastRecord(changed), TagBytes("theirs"));
    EXPECT_EQ(LastRecord(bare), TagBytes("bare"));
    EXPECT_EQ(LastRecord(plain), TagBytes("plain", "band"));

    ScriptedDialogs told;
    told.answer = [](const std::string&) { return Core::vbYes; };
    EXPECT_EQ(Core::TakeBackLastRun(told, state.Folder()), Core::TakeBackEnd::Done);
    EXPECT_EQ(ReadFile(ro), roBefore);
    EXPECT_EQ(ReadFile(bare), bareBefore);
    EXPECT_EQ(ReadFile(plain), plainBefore);
}

TEST_F(PlanTest, AFileThatVanishesWhileThePlanIsMadeCannotBeChanged)
{
    const std::string gone = Mp3("gone.mp3", TagBytes("T"));
    HookedTag hooked;
    hooked.beforeRead = [&](const std::string& path) {
        if (path == gone)
            std::filesystem::remove(gone);
    };
    const auto job = Core::NewRenamePlanJob("%1 x");
    const auto plan = Core::MakePlan(dialogs, dir.Path(), *job, hooked);
    ASSERT_TRUE(plan);
    ASSERT_EQ(plan->rows.size(), 1u);
    EXPECT_EQ(plan->rows[0].StateText(), "нельзя изменить: Файл не найден.");
    EXPECT_FALSE(plan->rows[0].ticked);
}

} // namespace
