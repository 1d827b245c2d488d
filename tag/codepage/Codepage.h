// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once
// Windows-1251 <-> UTF-8, the one table of the project: the library converts
// the record's text bytes with it, the program shows file names with it.
// A small static library of its own, so that the program shares the table
// without the library exporting more than its interface.
#include <cstddef>
#include <string>
#include <string_view>

namespace Quenlar::Codepage {

// Every byte becomes one character; all 256 values survive a round trip
// (0x98, which the code page leaves undefined, stands for U+0098).
std::string Decode(std::string_view bytes);

// One byte per character, '?' for a character the code page cannot hold and
// for each byte of malformed UTF-8.
std::string Encode(std::string_view utf8);

// Number of characters in a UTF-8 text; a malformed byte counts as one.
std::size_t CountCharacters(std::string_view utf8);

// The first n characters of a UTF-8 text, counted as CountCharacters does.
std::string_view FirstCharacters(std::string_view utf8, std::size_t n);

// The distinct characters of a UTF-8 text that Encode would store as '?',
// in the order they first appear; U+FFFD stands for malformed bytes.
std::u32string CharactersNotHeld(std::string_view utf8);

// One character as UTF-8.
std::string Utf8(char32_t c);

// Whether text is well-formed UTF-8: no bad lead or continuation byte, no
// overlong form, no surrogate, nothing above U+10FFFF.
bool WellFormedUtf8(std::string_view text);

} // namespace Quenlar::Codepage
