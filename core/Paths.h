// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paths as the system gives them: bytes with "/" between the parts. The one
// place where a path is split into folder and name, put together again, and
// where a name is told to be an MP3 file or hidden.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Core {

// The folder part of a full path, up to and including its last "/"; "" when
// the path holds none.
std::string GetFolder(const std::string& path);

// The last part of a path: "a" for "/x/a" and for "/x/a/"; "" for "/".
std::string FileName(const std::string& path);

// folder and name with exactly one "/" between them; name alone when folder
// is "".
std::string JoinPath(const std::string& folder, const std::string& name);

// Whether name ends in ".mp3" in any letter case, as the listings take it.
bool HasMp3Extension(std::string_view name);

// Whether name (no folder part) is hidden: it starts with ".".
bool IsHiddenName(std::string_view name);

// The steps below folder that target names, once its "." and ".." steps are
// taken and empty ones dropped: a target that does not start with "/" starts
// at folder, an absolute one must lie below it. Nothing when target leaves
// folder or names folder itself. Only the text counts; links are not
// followed.
std::optional<std::vector<std::string>> StepsInside(const std::string& folder, const std::string& target);

// folder (ending in "/") followed by steps, one "/" between them.
std::string JoinSteps(const std::string& folder, const std::vector<std::string>& steps);

} // namespace Core
