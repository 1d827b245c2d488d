// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliProcess.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string Slurp(std::FILE* file)
{
    std::string text;
    std::rewind(file);
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, file))
        text.append(buffer, n);
    return text;
}

} // namespace

CliResult RunCli(const std::vector<std::string>& args, const std::string& input)
{
    // Files, not pipes: nothing to drain while the child runs.
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), in);
    std::fflush(in);
    std::rewind(in);
    std::vector<char*> argv;
    std::string program = MORVIK_CLI;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    CliResult result;
    const pid_t child = fork();
    if (child == 0) {
        dup2(fileno(in), 0);
        dup2(fileno(out), 1);
        dup2(fileno(err), 2);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = Slurp(out);
    result.err = Slurp(err);
    std::fclose(in);
    std::fclose(out);
    std::fclose(err);
    return result;
}
