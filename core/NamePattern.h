// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Name patterns of the tags-from-names tool: the rename tool's placeholders
// read the other way, taking a file's name (and the names of its folders)
// apart into tag fields. A name either fits the pattern as a whole or is
// refused with its reason; nothing is guessed.
#include "TMP3Tag.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace Core {

// The fields a pattern fills; each is its placeholder's digit less one.
enum class TagField { Title, Artist, Album, Year, Genre, Comment };
inline constexpr std::size_t kTagFieldCount = 6;

// "название", "исполнитель", ...: a field as the messages name it.
const char* TagFieldName(TagField field);

// A value for each field the pattern names; the others have none.
using FieldValues = std::array<std::optional<std::string>, kTagFieldCount>;

inline std::optional<std::string>& ValueOf(FieldValues& values, TagField field)
{
    return values[static_cast<std::size_t>(field)];
}
inline const std::optional<std::string>& ValueOf(const FieldValues& values, TagField field)
{
    return values[static_cast<std::size_t>(field)];
}

// The placeholder that takes text and throws it away.
inline constexpr int kSkipSlot = 9;

// One "/"-separated part of a pattern: literal texts with one placeholder
// between each two of them (1 to 6 name a field, 9 skips text). The outer
// literals may be empty, the inner ones never are. (Not "slots": Qt makes
// that word a macro in every window that includes this.)
struct PatternPart {
    std::vector<std::string> literals; // always one more than placeholders
    std::vector<int> placeholders;
};

struct NamePattern {
    std::vector<PatternPart> parts; // the last one is the file name's
    std::vector<TagField> fields;   // the fields the pattern names, in field order
};

// Reads a pattern: "%1" title, "%2" artist, "%3" album, "%4" year, "%5"
// genre, "%6" comment, "%9" skipped text, "%%" a "%", "/" a folder level;
// anything else is literal. A final ".mp3" is dropped, as the rename tool
// adds one to a template that lacks it. Refused, with the Russian reason in
// error: no field named, "%0", "%7", "%8" or a "%" before anything else (or
// at the end), a field twice, two placeholders with nothing between them,
// an empty folder level, text that is not UTF-8.
std::optional<NamePattern> ParseNamePattern(const std::string& text, std::string& error);

// The tool's tick boxes.
struct ParseOptions {
    bool onlyEmpty = false;     // set a field only where the tag has it empty
    bool underscores = false;   // "_" is a space, in the names and the pattern alike
    bool lastSeparator = false; // each placeholder takes the longest text, not the shortest
};

struct NameMatch {
    enum State {
        Matched,
        NoMatch,      // the name (or a folder) does not fit the pattern
        EmptyField,   // a field would take empty text
        UnknownGenre, // "%5" takes no name of the genre list
        BadYear,      // the tag object refuses "%4" as a year
    } state = NoMatch;
    std::string reason;                // "" or "неоднозначно" for a match; else why not, in Russian
    std::optional<TagField> field;     // the field an EmptyField, UnknownGenre or BadYear is about
    FieldValues values;                // what the placeholders took, trimmed (nothing for NoMatch)
    bool ambiguous = false;            // a match the other way of splitting takes apart differently
    FieldValues other;                 // the values of that other way (with values, whenever they exist)
};

// Takes the file at path (bytes as the system gives them) apart: the last
// part of the pattern against its name less the last four characters, each
// earlier part against one folder above it, every name as Readable shows it.
// Anchored at both ends of each name; values trimmed of spaces; letter case
// kept. genres answers which genre names exist; the year is checked on a
// tag object of the program's own (NewTagObject), never on one that holds a
// file's tag, since the library clears a year it refuses.
NameMatch MatchName(const NamePattern& pattern, const std::string& path, const ParseOptions& options,
                    const Quenlar::_TMP3Tag& genres);

// Sets the fields a Matched match names in tag, which has just read the
// file: the year first (the one setter that can refuse), then title, artist,
// album, genre, comment; with onlyEmpty, only those empty today (for the
// genre: 255 or a number without a name). A match in any other state leaves
// tag untouched and gives nothing. Gives the fields it set, the genre by its
// list name, for a look at their characters before the tag is written.
std::optional<FieldValues> ApplyNameMatch(Quenlar::_TMP3Tag& tag, const NameMatch& match, const ParseOptions& options);

} // namespace Core
