#include "Paths.h"

namespace Core {

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

} // namespace Core
