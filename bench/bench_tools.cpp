// SPDX-License-Identifier: GPL-3.0-or-later
// Times the fill run (title from "%0", the other fields kept) and the rename
// run ("%2 - %1") over a generated folder, answered by a script, beside the
// bare system-call floors, each with its journal as the program runs it; and
// what the journal costs, beside the same run without one. Prints figures;
// never fails on time.
#include "BenchSupport.h"
#include "FillRun.h"
#include "Journal.h"
#include "RenameRun.h"
#include "ScriptedDialogs.h"
#include "TagObjects.h"

#include <cstdio>

namespace {

// A run that met anything but its closing message did not do the measured job.
void Check(testing_support::ScriptedDialogs& dialogs, const char* job)
{
    if (dialogs.messages.size() != 1 || !dialogs.prompts.empty())
        std::printf("warning: the %s run showed %zu messages and %zu prompts\n", job, dialogs.messages.size(),
                    dialogs.prompts.size());
    dialogs.messages.clear();
}

} // namespace

int main(int argc, char** argv)
{
    const std::size_t count = bench::FileCount(argc, argv);
    constexpr int kRounds = 7;
    bench::BenchFolder folder(count);
    std::printf("%zu files in %s, best of %d rounds\n", count, folder.Path().c_str(), kRounds);

    auto tag = Core::NewTagObject();
    testing_support::ScriptedDialogs dialogs;
    // Hidden inside the folder: the runs' listings leave it out, and it goes with the folder.
    const std::string state = folder.Path() + ".state/";
    const auto journalled = [&](const auto& run) {
        const auto journal = Core::RunJournal::Begin(dialogs, state);
        run(journal.get());
    };

    Core::FillSettings fill;
    const auto fillRun = [&](Core::RunJournal* journal) {
        Core::RunFill(folder.Path(), fill, *tag, dialogs, journal);
        Check(dialogs, "fill");
    };
    fill.Title = {true, "%0"};
    const auto filled = bench::MicrosPerItem(
        count, kRounds, [&] { journalled(fillRun); }, [&] { bench::FloorFill(folder); });
    bench::Report("fill run", filled, 1.6);
    bench::ReportJournal("fill run",
                         bench::MicrosPerItem(count, kRounds, [&] { journalled(fillRun); }, [&] { fillRun(nullptr); }));

    // Each job renames every file away from the names the job before gave:
    // the templates take turns so that no target is ever taken.
    // The fill gave every file its name less ".mp3" as title.
    std::vector<std::string> artistFirst, titleFirst;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string artist = "Artist " + std::to_string(i);
        const std::string title = folder.Names()[i].substr(0, folder.Names()[i].size() - 4);
        artistFirst.push_back(folder.Path() + artist + " - " + title + ".mp3");
        titleFirst.push_back(folder.Path() + title + " - " + artist + ".mp3");
    }
    int job = 0;
    const auto renameRun = [&](Core::RunJournal* journal) {
        Core::RunRename(folder.Path(), job++ % 2 == 0 ? "%2 - %1" : "%1 - %2", *tag, dialogs, journal);
        Check(dialogs, "rename");
    };
    const auto renamed = bench::MicrosPerItem(
        count, kRounds, [&] { journalled(renameRun); },
        [&] {
            const auto& from = job % 2 == 0 ? titleFirst : artistFirst;
            bench::FloorRename(from, job++ % 2 == 0);
        });
    bench::Report("rename run", renamed, 1.3);
    bench::ReportJournal("rename run", bench::MicrosPerItem(
                                           count, kRounds, [&] { journalled(renameRun); },
                                           [&] { renameRun(nullptr); }));
    return 0;
}
