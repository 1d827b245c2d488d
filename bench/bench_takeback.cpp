// SPDX-License-Identifier: GPL-3.0-or-later
// Taking back a run of a million files: how long it takes and how much
// memory it needs at its peak, which must not grow with the number of files.
// The journal is written as a rename run writes it, for files of which half
// lie in a folder that is gone (they stay in the journal, out of reach) and
// half were removed from a folder that is there (they leave it); taking back
// then reads every entry and writes the journal anew with half of them.
// Prints figures; never fails on time.
#include "BenchSupport.h"
#include "Journal.h"
#include "JournalReader.h"
#include "ScriptedDialogs.h"
#include "TakeBack.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

} // namespace

int main(int argc, char** argv)
{
    const std::size_t count = bench::FileCount(argc, argv, 1000000);
    bench::BenchFolder folder(0);
    const std::string state = folder.Path() + ".state/";
    const std::string there = folder.Path(), gone = folder.Path() + "gone/";
    testing_support::ScriptedDialogs dialogs;
    auto start = std::chrono::steady_clock::now();
    {
        const auto journal = Core::RunJournal::Begin(dialogs, state);
        for (std::size_t i = 0; i < count; ++i) {
            const std::string name = "Artist " + std::to_string(i) + " - Title " + std::to_string(i);
            const std::string& base = i % 2 ? gone : there;
            journal->NoteRename(base + "track" + std::to_string(i) + ".mp3", base + name + ".mp3");
        }
    }
    std::printf("%zu entries journalled in %.2f s\n", count, Seconds(start));

    // In a child of its own, so that its peak is taking back's alone.
    start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        testing_support::ScriptedDialogs told;
        Core::TakeBackLastRun(told, state);
        ::_exit(told.messages.size() == 1 ? 0 : 1);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(child, &status, 0, &usage);
    std::printf("taken back in %.2f s, peak %.1f MB (ru_maxrss), status %d\n", Seconds(start),
                static_cast<double>(usage.ru_maxrss) / 1024.0, WEXITSTATUS(status));
    std::printf("entries left in the journal (out of reach): %zu\n", Core::ReadJournal(state).entries.size());
    std::system(("rm -rf '" + state + "'").c_str());
    return 0;
}
