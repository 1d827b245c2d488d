// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options of one subcommand: long English words, a few with a letter,
// some taking a value; everything else is an argument in its place.
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace Cli {

// Exit statuses, as the manual tells them.
enum Status : int { kDone = 0, kLeft = 1, kUsage = 2, kNoMp3 = 3 };

struct OptionSpec {
    std::string name;     // "title", given as --title
    char letter = 0;      // 't', given as -t; 0 for none
    bool takesValue = false;
};

struct Arguments {
    std::map<std::string, std::string> values; // options with a value, the last one given
    std::vector<std::string> flags;            // options without one
    std::vector<std::string> positional;       // in order; "-" stays one
    bool help = false;

    bool Has(const std::string& name) const;
    std::optional<std::string> Value(const std::string& name) const;
};

// Parses args (after the subcommand's name); "--" ends the options. Nothing,
// with error set in Russian, for an unknown option or a missing value.
std::optional<Arguments> Parse(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
                               std::string& error);

// Reports a usage error of command on standard error; returns kUsage.
int UsageError(const std::string& command, const std::string& error);

} // namespace Cli
