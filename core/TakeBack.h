// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Taking back the last batch runs through their journals, newest first.
#include "UserDialogs.h"

#include <string>
#include <utility>
#include <vector>

namespace Core {

enum class TakeBackEnd {
    Done,      // every entry gone through; one box told how many files went back and which were left
    Stopped,   // the user stopped it between two files; told so, and the rest stays to go on later
    Nothing,   // there was no journal: said so
    Busy,      // a run holds the journal, or it cannot be opened: said so, nothing touched
    Refused,   // the journal is damaged, of another format or unreadable: said so, nothing touched
};

// Whether a run can be taken back: a journal lies in folder ("" for the
// program's own, JournalFolder()).
bool CanTakeBack(const std::string& folder = "");

// What taking back did, for a caller that reports it in its own way.
struct TakeBackReport {
    std::size_t back = 0;
    std::vector<std::pair<std::string, std::string>> left; // each file left, with why
};

// Goes through the newest run's journal from its last entry to its first. A
// file that holds exactly what the run left gets back what it held (an
// appended record is cut off again); one that holds what it held before
// needs nothing; one changed since is left and named. Those leave the
// journal. A file out of reach (its folder gone, a read error, a read-only
// file the user would not have changed) stays in it, to be taken back when
// chosen again, and so does everything after a stop; a journal with nothing
// left goes, and the run before it is the next to be taken back. A read-only
// file is asked about as the fill run asks. Never replaces a file. A damaged
// journal is kept aside and nothing is touched. Before each file it tells
// dialogs.Progress, and stops there when told to.
// report, when given, gets how many files went back and every file left,
// with why, for a caller that names them all.
TakeBackEnd TakeBackLastRun(UserDialogs& dialogs, const std::string& folder = "", TakeBackReport* report = nullptr);

} // namespace Core
