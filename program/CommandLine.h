// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line after the program's name: Morvik's own options, the
// standard options of Qt programs, and the files to open.
#include <functional>
#include <string>
#include <vector>

namespace Program {

struct Arguments {
    std::vector<std::string> files; // in order, as given
    std::string unknown;            // the first option neither Morvik nor Qt knows; empty when none
};

// Sorts arguments: "--help", "-h", "--version" and "-v" are Morvik's, Qt's
// standard options (-platform NAME, -style NAME or -style=NAME, -reverse,
// ..., also with two dashes) are Qt's and left out, and everything else
// that starts with "-" is an option nobody knows, unless isFile says it
// names a file. After "--", and for an argument "-" or one not starting
// with "-", a file.
Arguments SortArguments(const std::vector<std::string>& arguments,
                        const std::function<bool(const std::string&)>& isFile);

} // namespace Program
