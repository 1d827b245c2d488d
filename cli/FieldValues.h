// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tag values as typed on the command line, checked before anything is
// planned: a bad year or genre is a usage error, not a row per file.
#include <cstdint>
#include <optional>
#include <string>

namespace Cli {

// A genre by number (0 to 255; 255 is none) or by a name of the list, in
// any letter case; "" is none. Nothing, with error set, for anything else.
std::optional<std::uint8_t> GenreArgument(const std::string& text, std::string& error);

// Whether the tag takes year ("" clears it); error set when not.
bool YearArgument(const std::string& year, std::string& error);

// Whether text is UTF-8, as every argument must be; error names what.
bool Utf8Argument(const std::string& text, const std::string& what, std::string& error);

} // namespace Cli
