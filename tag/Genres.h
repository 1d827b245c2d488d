// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once
// The fixed table of genre names, numbers 0 to 125.
#include <cstdint>
#include <string_view>

namespace Quenlar::detail {

inline constexpr std::uint8_t kNoGenre = 255;

// The table's name, or the empty text for 126 to 255.
std::string_view GenreLookup(std::uint8_t id);

// The number whose name equals the given one regardless of ASCII letter case,
// or kNoGenre.
std::uint8_t GenreByName(std::string_view name);

} // namespace Quenlar::detail
