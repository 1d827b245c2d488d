// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once
// The two older Russian code pages that tags written by DOS and early Unix
// programs hold: KOI8-R and CP866. Decoding only: the tags themselves stay
// Windows-1251 (Codepage.h). A unit of its own, so that libQuenlar.so, which
// never reads these pages, does not carry their tables.
#include <string>
#include <string_view>

namespace Quenlar::Codepage {

enum class Page { Koi8R, Cp866 };

// The character a byte stands for; bytes below 0x80 are ASCII in both.
char32_t Character(Page page, unsigned char byte);

// Every byte becomes one character, as UTF-8.
std::string Decode(Page page, std::string_view bytes);

// "KOI8-R" or "CP866", as the user knows them.
std::string_view Name(Page page);

} // namespace Quenlar::Codepage
