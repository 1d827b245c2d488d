// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which code page the text of a tag was written in. Morvik reads and writes
// tags as Windows-1251; tags from DOS and early Unix programs hold KOI8-R or
// CP866, and West-European names arrive as Latin-1. The guess only tells:
// what is done with it is the caller's, and it is never applied by itself.
#include "RussianCodepages.h"

#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace Core {

enum class TextCodepage { None, Windows1251, Koi8R, Cp866, Latin1 };

struct CodepageGuess {
    TextCodepage codepage = TextCodepage::None; // None: plain ASCII, too little text, or no Russian reading
    bool unsure = false;                        // another reading came close: worth a look, not a tick
};

// The text bytes of a record's title, artist, album and comment, each up to
// its first NUL: what the tag shows, without the bytes behind a field's end
// or a v1.1 track number.
std::array<std::string_view, 4> RecordTexts(const std::array<char, 128>& record);

// The guess for texts taken together; more text makes a surer guess.
CodepageGuess GuessCodepage(std::span<const std::string_view> texts);

// The guess for the four text fields of a record; None for 128 bytes
// without the "TAG" marker.
CodepageGuess GuessRecordCodepage(const std::array<char, 128>& record);

// The page a tag so guessed is recoded from: KOI8-R and CP866 only.
std::optional<Quenlar::Codepage::Page> PageToRecode(TextCodepage codepage);

// "Windows-1251", "KOI8-R", "CP866", "Latin-1"; empty for None.
std::string_view CodepageName(TextCodepage codepage);

} // namespace Core
