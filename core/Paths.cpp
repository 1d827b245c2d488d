// SPDX-License-Identifier: GPL-3.0-or-later
#include "Paths.h"

#include <algorithm>

namespace Core {

namespace {

// Adds the steps of path to steps: "." and empty steps are none, ".." takes
// the last one back. False when a ".." finds nothing to take back.
bool AddSteps(std::string_view path, std::vector<std::string>& steps)
{
    for (std::size_t begin = 0; begin <= path.size();) {
        const std::size_t end = std::min(path.find('/', begin), path.size());
        const std::string_view step = path.substr(begin, end - begin);
        if (step == "..") {
            if (steps.empty())
                return false;
            steps.pop_back();
        } else if (!step.empty() && step != ".") {
            steps.emplace_back(step);
        }
        begin = end + 1;
    }
    return true;
}

} // namespace

std::string GetFolder(const std::string& path)
{
    const std::size_t i = path.rfind('/');
    return i == std::string::npos ? std::string() : path.substr(0, i + 1);
}

std::string FileName(const std::string& path)
{
    const std::size_t end = path.find_last_not_of('/');
    if (end == std::string::npos)
        return std::string();
    const std::size_t slash = path.rfind('/', end);
    const std::size_t begin = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(begin, end + 1 - begin);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder.ends_with('/') ? folder + name : folder + '/' + name;
}

bool HasMp3Extension(std::string_view name)
{
    // Bytes of other characters in UTF-8 are never ASCII, so this holds for
    // any name the system gives.
    const std::size_t n = name.size();
    return n >= 4 && name[n - 4] == '.' && (name[n - 3] | 0x20) == 'm' && (name[n - 2] | 0x20) == 'p'
        && name[n - 1] == '3';
}

bool IsHiddenName(std::string_view name)
{
    return name.starts_with('.');
}

std::optional<std::vector<std::string>> StepsInside(const std::string& folder, const std::string& target)
{
    std::vector<std::string> steps;
    if (!target.starts_with('/')) {
        if (!AddSteps(target, steps) || steps.empty())
            return std::nullopt;
        return steps;
    }
    // A folder given relative cannot be compared with an absolute target.
    std::vector<std::string> base;
    if (!folder.starts_with('/') || !AddSteps(folder, base) || !AddSteps(target, steps)
        || steps.size() <= base.size() || !std::equal(base.begin(), base.end(), steps.begin()))
        return std::nullopt;
    steps.erase(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(base.size()));
    return steps;
}

std::string JoinSteps(const std::string& folder, const std::vector<std::string>& steps)
{
    std::string path = folder;
    for (const std::string& step : steps)
        path += step + '/';
    path.pop_back();
    return path;
}

} // namespace Core
