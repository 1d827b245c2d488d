// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every command that changes files shares: the plan, shown as the
// preview shows it, a dry run unless --apply is given, and then exactly the
// rows without a problem carried out, journalled, as "Применить" does.
#include "Args.h"
#include "Console.h"
#include "Plan.h"

#include <optional>
#include <utility>
#include <string>
#include <vector>

namespace Cli {

struct PlanOptions {
    bool apply = false;
    bool force = false;         // read-only files too (their attribute put back after)
    bool questionMarks = false; // characters Windows-1251 lacks stored as "?"
    Format format = Format::Text;
};

// The options all of them take.
std::vector<OptionSpec> PlanOptionSpecs();
// The help lines of those options.
extern const char kPlanOptionsHelp[];
// Reads them; false with error set for a format that does not exist.
bool ReadPlanOptions(const Arguments& args, PlanOptions& options, std::string& error);

// Parses a command's args with the plan options added to specs (every value
// checked to be UTF-8); nothing when the command is over: a usage error
// reported (status kUsage) or help shown (kDone).
std::optional<std::pair<Arguments, PlanOptions>> PreparePlanCommand(const std::string& command, const std::vector<std::string>& args,
                                                                    std::vector<OptionSpec> specs, const char* help,
                                                                    int& status);

// Plans job over the MP3 files of folder, or over files when folder is
// nothing, prints the plan and carries it out when options say so. The
// command's exit status; problemsBefore: a named file was already left.
int RunPlan(Core::PlanJob& job, const std::optional<std::string>& folder, const std::vector<std::string>& files,
            const PlanOptions& options, bool problemsBefore = false);

} // namespace Cli
