// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// morvik-cli run as a shell runs it: arguments, standard input, and what
// it leaves on standard output and standard error, with its exit status.
#include <string>
#include <vector>

struct CliResult {
    int status = -1;
    std::string out, err;
};

CliResult RunCli(const std::vector<std::string>& args, const std::string& input = "");
