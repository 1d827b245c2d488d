// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplyPlan.h"

#include "File.h"
#include "FileSystem.h"
#include "Journal.h"
#include "Paths.h"
#include "Reports.h"
#include "RunLoop.h"
#include "TagObjects.h"

#include <cerrno>
#include <deque>
#include <optional>
#include <unordered_map>

namespace Core {

namespace {

const char kChangedSince[] = "изменён после просмотра";

// The skipped files for the closing box, and each of them for a report.
class Skipped {
public:
    explicit Skipped(ApplyReport* report) : report_(report) {}
    void Add(const std::string& path, const std::string& why)
    {
        if (report_)
            report_->skipped.emplace_back(path, why);
        files_.Add(path, why);
    }
    const SkippedFiles& Files() const { return files_; }

private:
    ApplyReport* report_;
    SkippedFiles files_;
};

// Whether the file at path is the one the plan saw: the same file, length,
// change time and last 128 bytes. The reason when it is not.
std::optional<std::string> NotAsSeen(const PlanRow& row)
{
    int error = 0;
    const auto file = Platform::File::Open(row.path, Platform::File::Reading, error);
    if (!file)
        return error == ENOENT ? std::string("файл исчез") : Platform::ErrorText(error);
    std::array<char, 128> last{};
    if (file->Device() != row.seen.device || file->Inode() != row.seen.inode || file->Length() != row.seen.length
        || file->Changed() != row.seen.changed || file->ReadEnd(last) != 0 || last != row.seen.last)
        return std::string(kChangedSince);
    return std::nullopt;
}

std::string Closing(const PlanJob& job, bool stopped, std::size_t done, std::size_t total, const SkippedFiles& skipped)
{
    if (stopped)
        return StoppedText(job.What(), job.Counted(), done, total) + skipped.Text();
    if (skipped.Count() == 0)
        return job.DoneText();
    return job.DoneText() + " " + job.Counted() + ": " + std::to_string(done) + " из " + std::to_string(total) + "."
        + skipped.Text();
}

std::vector<std::size_t> Ticked(const Plan& plan)
{
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < plan.rows.size(); ++i)
        if (plan.rows[i].ticked)
            rows.push_back(i);
    return rows;
}

ApplyEnd ApplyRecords(UserDialogs& dialogs, const Plan& plan, PlanJob& job, Quenlar::_TMP3Tag& tag,
                      RunJournal& journal, ApplyReport* report)
{
    const std::vector<std::size_t> ticked = Ticked(plan);
    std::size_t done = 0;
    Skipped skipped(report);
    const LoopEnd loop = ForEachItem(
        dialogs, ticked.size(), [&](std::size_t i) -> const std::string& { return plan.rows[ticked[i]].path; },
        [&](std::size_t i) {
            const PlanRow& row = plan.rows[ticked[i]];
            if (const auto why = NotAsSeen(row)) {
                skipped.Add(row.path, *why);
                return ItemEnd::Next;
            }
            try {
                // The tick was the answer to the read-only question.
                std::optional<Platform::WritableScope> writable;
                const std::int32_t attributes = Platform::GetFileAttributesA(row.path);
                if (attributes != Platform::faInvalid && (attributes & Platform::faReadOnly))
                    writable.emplace(row.path, attributes);
                job.Remake(row.path, FileName(row.path), tag);
                std::array<char, 128> record{};
                if (!Quenlar::RecordOf(tag, record) || record != row.record) {
                    skipped.Add(row.path, kChangedSince);
                    return ItemEnd::Next;
                }
                journal.WriteTag(tag, row.path);
                if (writable)
                    if (const int error = writable->Restore())
                        skipped.Add(row.path, ReadOnlyNotRestoredText(row.path, error));
                ++done;
            } catch (const Quenlar::LibraryError& error) {
                skipped.Add(row.path, TagErrorReason(row.path, error));
            } catch (const JournalError& error) {
                dialogs.MsgBox(std::string("Ошибка при записи в файл") + CR + row.path + CR + CR + error.what() + CR
                                   + CR + job.What() + " прервано.",
                               vbCritical);
                return ItemEnd::Break;
            }
            return ItemEnd::Next;
        });
    if (report)
        report->done = done;
    if (loop.kind == LoopEnd::Broken)
        return ApplyEnd::Broken;
    dialogs.MsgBox(Closing(job, loop.kind == LoopEnd::Stopped, done, ticked.size(), skipped.Files()), vbInformation);
    return loop.kind == LoopEnd::Stopped ? ApplyEnd::Stopped : ApplyEnd::Done;
}

// A rename the plan decided: straight, or through a free name for another
// spelling of the file itself; never over another file.
int Move(RunJournal& journal, const std::string& from, const std::string& to)
{
    if (Platform::KindOf(to) != Platform::Kind::None && Platform::SameFile(from, to)) {
        journal.NoteRename(from, to);
        return Platform::RenameThroughFreeName(from, to, nullptr);
    }
    return journal.Rename(from, to);
}

// A free name beside path for the first rename of a circle.
std::string FreeNameBeside(const std::string& path)
{
    for (int n = 1;; ++n) {
        const std::string name = GetFolder(path) + "morvik-" + std::to_string(n) + ".mp3";
        if (Platform::KindOf(name) == Platform::Kind::None)
            return name;
    }
}

// Whether the file is still the one the plan saw under its name.
std::optional<std::string> NotAsSeenName(const PlanRow& row)
{
    const auto identity = Platform::IdentityOf(row.path);
    if (!identity)
        return std::string("файл исчез");
    if (identity->first != row.seen.device || identity->second != row.seen.inode)
        return std::string(kChangedSince);
    return std::nullopt;
}

// The ticked renames in the order they can go: runs in which each row's new
// name is the old name of the next, the last heading for a free name; or
// circles, which come round to their first row.
struct RenameRun {
    std::vector<std::size_t> rows;
    bool circle = false;
};

std::vector<RenameRun> InOrder(const Plan& plan, const std::vector<std::size_t>& ticked)
{
    std::unordered_map<std::string, std::size_t> byPath;
    for (const std::size_t i : ticked)
        byPath.emplace(plan.rows[i].path, i);
    std::unordered_map<std::size_t, std::size_t> next;
    std::vector<char> headed(plan.rows.size(), 0); // another row's new name is this one's old
    for (const std::size_t i : ticked)
        if (const auto it = byPath.find(plan.rows[i].target); it != byPath.end() && it->second != i) {
            next[i] = it->second;
            headed[it->second] = 1;
        }
    std::vector<RenameRun> runs;
    std::vector<char> taken(plan.rows.size(), 0);
    const auto follow = [&](std::size_t start) {
        RenameRun run;
        for (std::size_t at = start;;) {
            taken[at] = 1;
            run.rows.push_back(at);
            const auto it = next.find(at);
            if (it == next.end())
                break;
            if (it->second == start) {
                run.circle = true;
                break;
            }
            at = it->second;
        }
        runs.push_back(std::move(run));
    };
    for (const std::size_t i : ticked)
        if (!headed[i])
            follow(i);
    for (const std::size_t i : ticked)
        if (!taken[i])
            follow(i);
    return runs;
}

ApplyEnd ApplyNames(UserDialogs& dialogs, const Plan& plan, PlanJob& job, RunJournal& journal,
                    ApplyReport* report)
{
    const std::vector<std::size_t> ticked = Ticked(plan);
    Skipped skipped(report);
    std::size_t done = 0, tried = 0;
    bool stopped = false;
    for (const RenameRun& run : InOrder(plan, ticked)) {
        // A stop comes between two runs, never inside a circle.
        if (!dialogs.Progress(tried, ticked.size(), plan.rows[run.rows.back()].path)) {
            stopped = true;
            break;
        }
        tried += run.rows.size();
        std::vector<std::string> from(run.rows.size());
        for (std::size_t k = 0; k < run.rows.size(); ++k) {
            const PlanRow& row = plan.rows[run.rows[k]];
            if (const auto why = NotAsSeenName(row))
                skipped.Add(row.path, *why);
            else
                from[k] = row.path;
        }
        try {
            // A circle's first file waits under a free name until the others have moved.
            std::string parked;
            if (run.circle && !from[0].empty()) {
                parked = FreeNameBeside(from[0]);
                if (const int error = journal.Rename(from[0], parked)) {
                    skipped.Add(from[0], Platform::ErrorText(error));
                    from[0].clear();
                    parked.clear();
                } else {
                    from[0] = parked;
                }
            }
            // From the end of the run back to its start: each new name is free by then.
            for (std::size_t k = run.rows.size(); k-- > 0;) {
                const PlanRow& row = plan.rows[run.rows[k]];
                if (from[k].empty())
                    continue;
                const int error = Move(journal, from[k], row.target);
                if (error == 0) {
                    ++done;
                    continue;
                }
                skipped.Add(row.path, error == EEXIST ? "имя занято" : Platform::ErrorText(error));
                if (k == 0 && !parked.empty() && journal.Rename(parked, row.path) != 0)
                    skipped.Add(row.path, "файл остался под временным именем " + parked);
            }
        } catch (const JournalError& error) {
            dialogs.MsgBox(std::string("Ошибка при переименовании файла") + CR + plan.rows[run.rows.front()].path + CR
                               + CR + error.what() + CR + CR + "Переименование прервано.",
                           vbCritical);
            if (report)
                report->done = done;
            return ApplyEnd::Broken;
        }
    }
    if (report)
        report->done = done;
    dialogs.MsgBox(Closing(job, stopped, done, ticked.size(), skipped.Files()), vbInformation);
    return stopped ? ApplyEnd::Stopped : ApplyEnd::Done;
}

} // namespace

ApplyEnd ApplyPlan(UserDialogs& dialogs, const Plan& plan, PlanJob& job, Quenlar::_TMP3Tag& tag,
                   RunJournal& journal, ApplyReport* report)
{
    return job.Writes() == PlanJob::Records ? ApplyRecords(dialogs, plan, job, tag, journal, report)
                                            : ApplyNames(dialogs, plan, job, journal, report);
}

} // namespace Core
