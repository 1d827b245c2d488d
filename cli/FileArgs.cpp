// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileArgs.h"

#include "Args.h"
#include "Console.h"
#include "File.h"
#include "FileSystem.h"
#include "Paths.h"
#include "Reports.h"

#include <iostream>
#include <iterator>

namespace Cli {

namespace {

void Report(const std::string& text)
{
    std::cerr << Shown(text) << "\n";
}

bool IsFolder(const std::string& path)
{
    const std::int32_t attributes = Core::Platform::GetFileAttributesA(path);
    return attributes != Core::Platform::faInvalid && (attributes & Core::Platform::faDirectory);
}

std::string WithSlash(const std::string& folder)
{
    return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
}

// One name: a folder's MP3 files, or a file that can be read.
void Take(const std::string& arg, FileArguments& found)
{
    if (IsFolder(arg)) {
        const std::string folder = WithSlash(arg);
        int error = 0;
        const std::vector<std::string> names = Core::Platform::ListMp3Files(folder, &error);
        if (error) {
            Report("Не удалось прочитать папку " + folder + ": " + Core::Platform::ErrorText(error));
            found.problems = true;
            return;
        }
        if (names.empty()) {
            Report("В папке " + folder + " нет файлов MP3.");
            found.emptyFolder = true;
        }
        for (const std::string& name : names)
            found.files.push_back(folder + name);
        return;
    }
    int error = 0;
    if (!Core::Platform::File::Open(arg, Core::Platform::File::Reading, error)) {
        if (error == ENOENT)
            Report(Core::MissingFileText(arg));
        else
            Report("Файл " + arg + " пропущен: " + Core::Platform::ErrorText(error));
        found.problems = true;
        return;
    }
    found.files.push_back(arg);
}

} // namespace

FileArguments ExpandFiles(const std::vector<std::string>& args, bool nul)
{
    FileArguments found;
    for (const std::string& arg : args) {
        if (arg != "-") {
            Take(arg, found);
            continue;
        }
        const std::string input{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
        const char end = nul ? '\0' : '\n';
        std::size_t from = 0;
        while (from < input.size()) {
            std::size_t to = input.find(end, from);
            if (to == std::string::npos)
                to = input.size();
            if (to > from)
                Take(input.substr(from, to - from), found);
            from = to + 1;
        }
    }
    return found;
}

std::optional<std::string> FolderArgument(const std::string& arg)
{
    if (!IsFolder(arg)) {
        Report(Core::Platform::KindOf(arg) == Core::Platform::Kind::None ? "Папка " + arg + " не найдена."
                                                                         : arg + " — не папка.");
        return std::nullopt;
    }
    return WithSlash(arg);
}

int NoFilesStatus(const FileArguments& found)
{
    return found.emptyFolder && !found.problems ? kNoMp3 : kLeft;
}

} // namespace Cli
