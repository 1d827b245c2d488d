// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files a command is given: named one by one, as a folder (its MP3
// files as the tools list them), or "-" for names read from standard input.
// Nothing given is passed over in silence: what cannot be looked at is named
// on standard error with why.
#include <optional>
#include <string>
#include <vector>

namespace Cli {

struct FileArguments {
    std::vector<std::string> files;
    bool problems = false;   // something named could not be taken: reported
    bool emptyFolder = false; // a folder held no MP3 file: reported
};

// args as given; nul: names on standard input end in NUL, not a newline.
FileArguments ExpandFiles(const std::vector<std::string>& args, bool nul);

// A folder argument, ending in "/"; nothing (reported) when it is not a
// folder that can be listed.
std::optional<std::string> FolderArgument(const std::string& arg);

// The status of a command that found no file to work on.
int NoFilesStatus(const FileArguments& found);

} // namespace Cli
