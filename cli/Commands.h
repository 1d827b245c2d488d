// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The subcommands; each takes the arguments after its name and returns the
// exit status.
#include <string>
#include <vector>

namespace Cli {

using Args = std::vector<std::string>;

int Show(const Args& args);
int Set(const Args& args);
int Fill(const Args& args);
int Rename(const Args& args);
int Undo(const Args& args);
int Journal(const Args& args);
int ParseNames(const Args& args);
int Recode(const Args& args);

} // namespace Cli
