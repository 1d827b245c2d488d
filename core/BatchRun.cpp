// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchRun.h"

#include "ApplyPlan.h"
#include "FillRun.h"
#include "Journal.h"
#include "RecodeJob.h"
#include "RenameRun.h"
#include "TakeBack.h"

namespace Core {

namespace {

class FillJob final : public BatchRun {
public:
    FillJob(std::string folder, FillSettings settings, std::unique_ptr<Quenlar::_TMP3Tag> tag)
        : folder_(std::move(folder)), settings_(std::move(settings)), tag_(std::move(tag))
    {
    }
    void Run(UserDialogs& dialogs) override
    {
        if (const auto journal = RunJournal::Begin(dialogs))
            RunFill(folder_, settings_, *tag_, dialogs, journal.get());
    }

private:
    const std::string folder_;
    const FillSettings settings_;
    const std::unique_ptr<Quenlar::_TMP3Tag> tag_;
};

class RenameJob final : public BatchRun {
public:
    RenameJob(std::string folder, std::string templ, std::unique_ptr<Quenlar::_TMP3Tag> tag)
        : folder_(std::move(folder)), templ_(std::move(templ)), tag_(std::move(tag))
    {
    }
    void Run(UserDialogs& dialogs) override
    {
        if (const auto journal = RunJournal::Begin(dialogs))
            RunRename(folder_, templ_, *tag_, dialogs, journal.get());
    }

private:
    const std::string folder_;
    const std::string templ_;
    const std::unique_ptr<Quenlar::_TMP3Tag> tag_;
};

class RecodeJob final : public BatchRun {
public:
    RecodeJob(std::string folder, std::optional<Quenlar::Codepage::Page> from, std::unique_ptr<Quenlar::_TMP3Tag> tag)
        : folder_(std::move(folder)), from_(from), tag_(std::move(tag))
    {
    }
    void Run(UserDialogs& dialogs) override
    {
        if (const auto journal = RunJournal::Begin(dialogs))
            RunRecode(folder_, from_, *tag_, dialogs, journal.get());
    }

private:
    const std::string folder_;
    const std::optional<Quenlar::Codepage::Page> from_;
    const std::unique_ptr<Quenlar::_TMP3Tag> tag_;
};

class TakeBackJob final : public BatchRun {
public:
    void Run(UserDialogs& dialogs) override { TakeBackLastRun(dialogs); }
};

class PlanJobRun final : public BatchRun {
public:
    PlanJobRun(std::string folder, std::shared_ptr<PlanJob> job, std::unique_ptr<Quenlar::_TMP3Tag> tag,
               std::shared_ptr<std::unique_ptr<Plan>> made)
        : folder_(std::move(folder)), job_(std::move(job)), tag_(std::move(tag)), made_(std::move(made))
    {
    }
    void Run(UserDialogs& dialogs) override { *made_ = MakePlan(dialogs, folder_, *job_, *tag_); }

private:
    const std::string folder_;
    const std::shared_ptr<PlanJob> job_;
    const std::unique_ptr<Quenlar::_TMP3Tag> tag_;
    const std::shared_ptr<std::unique_ptr<Plan>> made_;
};

class ApplyRun final : public BatchRun {
public:
    ApplyRun(std::shared_ptr<const Plan> plan, std::shared_ptr<PlanJob> job, std::unique_ptr<Quenlar::_TMP3Tag> tag)
        : plan_(std::move(plan)), job_(std::move(job)), tag_(std::move(tag))
    {
    }
    void Run(UserDialogs& dialogs) override
    {
        if (const auto journal = RunJournal::Begin(dialogs))
            ApplyPlan(dialogs, *plan_, *job_, *tag_, *journal);
    }

private:
    const std::shared_ptr<const Plan> plan_;
    const std::shared_ptr<PlanJob> job_;
    const std::unique_ptr<Quenlar::_TMP3Tag> tag_;
};

} // namespace

std::unique_ptr<BatchRun> NewPlanRun(std::string folder, std::shared_ptr<PlanJob> job,
                                     std::unique_ptr<Quenlar::_TMP3Tag> tag,
                                     std::shared_ptr<std::unique_ptr<Plan>> made)
{
    return std::make_unique<PlanJobRun>(std::move(folder), std::move(job), std::move(tag), std::move(made));
}

std::unique_ptr<BatchRun> NewApplyRun(std::shared_ptr<const Plan> plan, std::shared_ptr<PlanJob> job,
                                      std::unique_ptr<Quenlar::_TMP3Tag> tag)
{
    return std::make_unique<ApplyRun>(std::move(plan), std::move(job), std::move(tag));
}

std::unique_ptr<BatchRun> NewFillRun(std::string folder, FillSettings settings, std::unique_ptr<Quenlar::_TMP3Tag> tag)
{
    return std::make_unique<FillJob>(std::move(folder), std::move(settings), std::move(tag));
}

std::unique_ptr<BatchRun> NewRenameRun(std::string folder, std::string templ, std::unique_ptr<Quenlar::_TMP3Tag> tag)
{
    return std::make_unique<RenameJob>(std::move(folder), std::move(templ), std::move(tag));
}

std::unique_ptr<BatchRun> NewRecodeRun(std::string folder, std::optional<Quenlar::Codepage::Page> from,
                                       std::unique_ptr<Quenlar::_TMP3Tag> tag)
{
    return std::make_unique<RecodeJob>(std::move(folder), from, std::move(tag));
}

std::unique_ptr<BatchRun> NewTakeBack()
{
    return std::make_unique<TakeBackJob>();
}

} // namespace Core
