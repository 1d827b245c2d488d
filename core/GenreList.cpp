// SPDX-License-Identifier: GPL-3.0-or-later
#include "GenreList.h"

#include <algorithm>

namespace Core {

namespace {

std::string SortKey(const std::string& name)
{
    std::string key;
    for (const char c : name)
        if (c != '-')
            key += static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    return key;
}

} // namespace

std::vector<GenreEntry> SortedGenreList(const Quenlar::_TMP3Tag& tag, int first)
{
    std::vector<GenreEntry> entries;
    for (int n = first; n <= 125; ++n)
        entries.emplace_back(tag.GenreIDToName(static_cast<std::uint8_t>(n)), static_cast<std::uint8_t>(n));
    entries.emplace_back(std::string(), 255);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const GenreEntry& a, const GenreEntry& b) { return SortKey(a.first) < SortKey(b.first); });
    return entries;
}

} // namespace Core
