// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Recoding a tag written in KOI8-R or CP866 into Windows-1251, the page
// Morvik reads and writes, byte for byte: each text field's bytes up to its
// first NUL are read in the old page and stored as Windows-1251. Every other
// byte of the record (the marker, what lies behind a field's end, the year,
// the genre, a v1.1 track number) stays as it is, so a recoded record can
// be told from the old one, and taken back, by its text fields alone.
#include "CodepageGuess.h"

#include <array>
#include <optional>
#include <string>

namespace Core {

struct RecodedField {
    std::string oldText; // UTF-8: as Morvik shows it now, read as Windows-1251
    std::string newText; // UTF-8: as it reads in the old page, and will read once recoded
    bool changed = false; // its bytes differ; a field of ASCII never does
};

struct Recoding {
    std::array<char, 128> record{};     // the record to write: the old one, its text fields recoded
    std::array<RecodedField, 4> fields; // title, artist, album, comment
    std::u32string lost;                // characters Windows-1251 has no place for, stored as "?"
    bool changed = false;               // some byte differs: there is something to write
};

// The record recoded from page. 128 bytes without the "TAG" marker are no
// tag: they come back unchanged, with no fields.
Recoding Recode(const std::array<char, 128>& record, Quenlar::Codepage::Page from);

// What the recode tool does with a record: it recodes from the page the
// user chose, or, without one, from the guessed page when that is KOI8-R
// or CP866. Any other guess (Windows-1251, Latin-1, none) leaves the record
// as it is.
struct RecodePlan {
    CodepageGuess guess;                          // made either way, for the preview
    std::optional<Quenlar::Codepage::Page> from; // the page recoded from; none when the record stays
    Recoding recoding;                            // when from is none: the record as it is, each field's
                                                  // text the same before and after (none without a tag)
};
RecodePlan PlanRecode(const std::array<char, 128>& record, std::optional<Quenlar::Codepage::Page> chosen);

} // namespace Core
