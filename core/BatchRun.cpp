#include "BatchRun.h"

#include "FillRun.h"
#include "Journal.h"
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

class TakeBackJob final : public BatchRun {
public:
    void Run(UserDialogs& dialogs) override { TakeBackLastRun(dialogs); }
};

} // namespace

std::unique_ptr<BatchRun> NewFillRun(std::string folder, FillSettings settings, std::unique_ptr<Quenlar::_TMP3Tag> tag)
{
    return std::make_unique<FillJob>(std::move(folder), std::move(settings), std::move(tag));
}

std::unique_ptr<BatchRun> NewRenameRun(std::string folder, std::string templ, std::unique_ptr<Quenlar::_TMP3Tag> tag)
{
    return std::make_unique<RenameJob>(std::move(folder), std::move(templ), std::move(tag));
}

std::unique_ptr<BatchRun> NewTakeBack()
{
    return std::make_unique<TakeBackJob>();
}

} // namespace Core
