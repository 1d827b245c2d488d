// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The genre drop-down lists of the document window and the fill-tags tool.
#include "TMP3Tag.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace Core {

// A list entry: the name shown and the genre number it carries.
using GenreEntry = std::pair<std::string, std::uint8_t>;

// The names of genres first..125 and the empty entry (255), in the order a
// sorted list shows them: letter case and hyphens do not count, so the empty
// entry comes first and "Euro-House" stands between "EuroDance" and
// "Euro-Techno".
std::vector<GenreEntry> SortedGenreList(const Quenlar::_TMP3Tag& tag, int first);

} // namespace Core
