// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Field templates of the fill-tags tool: "%0" is the file name less its
// extension, "%1" to "%6" the tag's current title, artist, album, year, genre
// name and comment; everything else is literal text.
#include "TMP3Tag.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Core {

struct TextSetting {
    bool Enabled = false;
    std::string Value; // a template, or the plain year text
};

struct FillSettings {
    TextSetting Title, Artist, Album, Comment;
    TextSetting Year;                 // set unchanged, never expanded
    bool GenreEnabled = false;
    std::uint8_t Genre = 255;         // 255 is "no genre"
};

// Expands strTemplate for the file strFileName (no folder part), reading each
// tag value from objTag at the moment its placeholder is replaced.
std::string ExpandTemplate(const std::string& strTemplate, const std::string& strFileName,
                           const Quenlar::_TMP3Tag& objTag);

// Sets the enabled fields of objTag, which has just read the file's tag, in
// the order title, artist, album, comment, year, genre, so that later
// templates see the values stored by earlier steps. Catches nothing: a year
// the tag object refuses propagates. Returns the texts it set, one after the
// other, for a look at their characters before anything is written.
std::string FillTagFields(Quenlar::_TMP3Tag& objTag, const std::string& strFileName, const FillSettings& settings);

// FillTagFields, telling also which fields got more than the tag keeps.
struct FilledFields {
    std::string texts;
    std::vector<std::string> cut; // the captions of the fields cut to 30 characters
};
FilledFields FillTagFieldsTelling(Quenlar::_TMP3Tag& objTag, const std::string& strFileName,
                                  const FillSettings& settings);

} // namespace Core
