// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Carrying out a plan: exactly its ticked rows, as a run (progress and a stop
// before each file, the journal ahead of each change), each only after a
// check that the file is still the one the plan saw. Asks nothing: a tick is
// the answer. A swap or a circle of renames goes through a free name in the
// same folder, and no rename ever replaces a file.
#include "Plan.h"

#include <string>
#include <utility>
#include <vector>

namespace Core {

enum class ApplyEnd {
    Done,    // every ticked row gone through; the closing box told what was done and what was skipped
    Stopped, // the user stopped it between two files; told so
    Broken,  // the journal could not be written: told so, nothing more changed
};

// What was done, for a caller that reports it in its own way (the command
// line names every skipped file, not only the first few).
struct ApplyReport {
    std::size_t done = 0;
    std::vector<std::pair<std::string, std::string>> skipped; // each file with why
};

ApplyEnd ApplyPlan(UserDialogs& dialogs, const Plan& plan, PlanJob& job, Quenlar::_TMP3Tag& tag,
                   RunJournal& journal, ApplyReport* report = nullptr);

} // namespace Core
