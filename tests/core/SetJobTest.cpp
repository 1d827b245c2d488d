// SPDX-License-Identifier: GPL-3.0-or-later
// The set-fields job: only the fields given change, in the record the file
// holds, and a plan over named files decides each as a folder's plan does.
#include "ApplyPlan.h"
#include "Journal.h"
#include "ScriptedDialogs.h"
#include "SetJob.h"
#include "TagObjects.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace testing_support;
using Core::RowState;

namespace {

class SetJobTest : public ::testing::Test {
protected:
    TempDir dir;
    StateHome state;
    ScriptedDialogs dialogs;
    std::unique_ptr<Quenlar::_TMP3Tag> tag = Core::NewTagObject();

    std::unique_ptr<Core::Plan> PlanOf(Core::PlanJob& job, const std::vector<std::string>& paths)
    {
        auto plan = Core::MakePlanOf(dialogs, paths, job, *tag);
        EXPECT_TRUE(plan);
        return plan;
    }
    void Apply(const Core::Plan& plan, Core::PlanJob& job)
    {
        const auto journal = Core::RunJournal::Begin(dialogs, state.Folder());
        ASSERT_TRUE(journal);
        EXPECT_EQ(Core::ApplyPlan(dialogs, plan, job, *tag, *journal), Core::ApplyEnd::Done);
    }
};

TEST_F(SetJobTest, OnlyTheGivenFieldsChangeAndTheTrackStaysWhileTheCommentLeavesRoom)
{
    // Bytes behind the title's end and a v1.1 track number (7).
    std::string record = TagBytes(std::string("Old\0junk", 8), "Artist", "Album", "1999",
                                  std::string(28, 'c') + std::string("\0\x07", 2), 17);
    const std::string path = dir.Write("a.mp3", Audio(50) + record);
    Core::SetFields fields;
    fields.title = "New";
    fields.comment = "short";
    const auto job = Core::NewSetPlanJob(fields);
    const auto plan = PlanOf(*job, {path});
    ASSERT_EQ(plan->rows.size(), 1u);
    EXPECT_EQ(plan->rows[0].state, RowState::Change);
    EXPECT_EQ(LastRecord(path), record) << "a plan reads only";
    Apply(*plan, *job);

    std::string expected = TagBytes("New", "Artist", "Album", "1999", std::string("short") + std::string(23, '\0')
                                                                          + std::string("\0\x07", 2), 17);
    EXPECT_EQ(LastRecord(path), expected);
}

TEST_F(SetJobTest, RowsTellWhatKeepsAFileBack)
{
    const std::string same = dir.Write("same.mp3", Audio(50) + TagBytes("T"));
    const std::string untagged = dir.Write("new.mp3", Audio(200));
    const std::string readOnly = dir.Write("ro.mp3", Audio(50) + TagBytes("x"));
    SetMode(readOnly, 0444);
    const std::string tiny = dir.Write("tiny.mp3", "ab");
    Core::SetFields fields;
    fields.title = "T";
    const auto job = Core::NewSetPlanJob(fields);
    const auto plan = PlanOf(*job, {same, untagged, readOnly, tiny});
    ASSERT_EQ(plan->rows.size(), 4u);
    EXPECT_EQ(plan->rows[0].state, RowState::Unchanged);
    EXPECT_EQ(plan->rows[1].state, RowState::Change);
    EXPECT_TRUE(plan->rows[1].appends);
    EXPECT_EQ(plan->rows[2].state, RowState::ReadOnly);
    EXPECT_EQ(plan->rows[3].state, RowState::Unchangeable);

    Core::SetFields lost;
    lost.artist = "ő";
    const auto notHeld = Core::NewSetPlanJob(lost);
    EXPECT_EQ(PlanOf(*notHeld, {same})->rows[0].state, RowState::NotHeld);
    Core::SetFields longTitle;
    longTitle.title = std::string(31, 'x');
    const auto cut = Core::NewSetPlanJob(longTitle);
    EXPECT_EQ(PlanOf(*cut, {same})->rows[0].state, RowState::Cut);
}

} // namespace
