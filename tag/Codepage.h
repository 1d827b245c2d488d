#pragma once
// Windows-1251 <-> UTF-8 for the record's text bytes.
#include <cstddef>
#include <string>
#include <string_view>

namespace Quenlar::detail {

// Every byte becomes one character; all 256 values survive a round trip
// (0x98, which the code page leaves undefined, stands for U+0098).
std::string DecodeCp1251(std::string_view bytes);

// One byte per character, '?' for a character the code page cannot hold and
// for each byte of malformed UTF-8.
std::string EncodeCp1251(std::string_view utf8);

// Number of characters in a UTF-8 text; a malformed byte counts as one.
std::size_t CountCharacters(std::string_view utf8);

} // namespace Quenlar::detail
