// SPDX-License-Identifier: GPL-3.0-or-later
// Taking one file's name apart by a pattern, and setting what it gave.
#include "NamePattern.h"

#include "Codepage.h"
#include "FileNames.h"
#include "Paths.h"
#include "TagObjects.h"
#include "TextHelpers.h"

#include <algorithm>
#include <string_view>

namespace Core {

namespace {

using Slots = std::vector<std::string_view>;

// The texts the placeholders of part take in name, or nothing when name does
// not fit. Placeholders take any text, so placing each literal at its first
// occurrence (or, for the longest split, each from the right at its last)
// finds a split whenever there is one, and that split is the one where each
// placeholder in turn takes the shortest (longest) text: no backtracking,
// however hostile the name.
std::optional<Slots> Split(const PatternPart& part, std::string_view name, bool longest)
{
    const std::vector<std::string>& literals = part.literals;
    const std::string& head = literals.front();
    const std::string& tail = literals.back();
    if (part.placeholders.empty()) {
        if (name != head)
            return std::nullopt;
        return Slots{};
    }
    if (name.size() < head.size() + tail.size() || !name.starts_with(head) || !name.ends_with(tail))
        return std::nullopt;
    const std::size_t begin = head.size();
    const std::size_t end = name.size() - tail.size();
    const std::size_t count = part.placeholders.size();
    Slots taken(count);
    if (!longest) {
        std::size_t at = begin;
        for (std::size_t i = 1; i < count; ++i) {
            const std::string& literal = literals[i];
            const std::size_t found = name.find(literal, at);
            if (found == std::string_view::npos || found + literal.size() > end)
                return std::nullopt;
            taken[i - 1] = name.substr(at, found - at);
            at = found + literal.size();
        }
        taken[count - 1] = name.substr(at, end - at);
        return taken;
    }
    std::size_t at = end;
    for (std::size_t i = count - 1; i >= 1; --i) {
        const std::string& literal = literals[i];
        if (at < begin + literal.size())
            return std::nullopt;
        const std::size_t found = name.rfind(literal, at - literal.size());
        if (found == std::string_view::npos || found < begin)
            return std::nullopt;
        taken[i] = name.substr(found + literal.size(), at - found - literal.size());
        at = found;
    }
    taken[0] = name.substr(begin, at - begin);
    return taken;
}

std::string_view TrimSpaces(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

// The field values of a split of all parts against their names, or nothing.
std::optional<FieldValues> SplitAll(const NamePattern& pattern, const std::vector<std::string>& names, bool longest)
{
    FieldValues values;
    for (std::size_t p = 0; p < pattern.parts.size(); ++p) {
        const PatternPart& part = pattern.parts[p];
        const auto taken = Split(part, names[p], longest);
        if (!taken)
            return std::nullopt;
        for (std::size_t i = 0; i < part.placeholders.size(); ++i)
            if (part.placeholders[i] != kSkipSlot)
                values[static_cast<std::size_t>(part.placeholders[i] - 1)] = std::string(TrimSpaces((*taken)[i]));
    }
    return values;
}

// The names the parts of a pattern with count parts are matched against, in
// the order of the parts: the folders above the file and its name's stem,
// as the user sees them. Nothing when the path shows fewer folders.
std::optional<std::vector<std::string>> NamesOf(const std::string& path, std::size_t count, bool underscores)
{
    // The path's steps once "." and ".." are taken; a relative path that
    // climbs out above its start still shows its file's name.
    std::vector<std::string> steps = StepsInside("/", path).value_or(std::vector<std::string>{FileName(path)});
    if (steps.size() < count || steps.back().empty())
        return std::nullopt;
    std::vector<std::string> names(steps.end() - static_cast<std::ptrdiff_t>(count), steps.end());
    for (std::size_t i = 0; i + 1 < names.size(); ++i)
        names[i] = Readable(names[i]);
    names.back() = NameStem(names.back());
    if (underscores)
        for (std::string& name : names)
            std::replace(name.begin(), name.end(), '_', ' ');
    return names;
}

NameMatch Refused(NameMatch match, NameMatch::State state, const char* reason, std::optional<TagField> field = {})
{
    match.state = state;
    match.reason = reason;
    match.field = field;
    match.ambiguous = false;
    return match;
}

// Whether the tag object takes text as a year and keeps all of it: the
// field holds four characters, and a longer year would be stored cut.
bool YearAccepted(const std::string& text)
{
    if (Quenlar::Codepage::CountCharacters(text) > 4)
        return false;
    try {
        NewTagObject()->SetYear(text);
        return true;
    } catch (const Quenlar::LibraryError& error) {
        if (error.Number() != Quenlar::errInvalidYear)
            throw;
        return false;
    }
}

} // namespace

NameMatch MatchName(const NamePattern& pattern, const std::string& path, const ParseOptions& options,
                    const Quenlar::_TMP3Tag& genres)
{
    NameMatch match;
    const NamePattern* used = &pattern;
    NamePattern spaced;
    if (options.underscores) {
        // Under the option "_" and " " are one character, in the pattern too:
        // else a "_" the user typed could never match.
        spaced = pattern;
        for (PatternPart& part : spaced.parts)
            for (std::string& literal : part.literals)
                std::replace(literal.begin(), literal.end(), '_', ' ');
        used = &spaced;
    }
    const auto names = NamesOf(path, used->parts.size(), options.underscores);
    const auto values = names ? SplitAll(*used, *names, options.lastSeparator) : std::nullopt;
    if (!values)
        return Refused(match, NameMatch::NoMatch, "не подходит к шаблону");
    match.values = *values;
    // Whenever one way of splitting exists, so does the other.
    match.other = *SplitAll(*used, *names, !options.lastSeparator);
    for (const TagField field : pattern.fields)
        if (ValueOf(match.values, field)->empty())
            return Refused(match, NameMatch::EmptyField, "пустое поле", field);
    if (const auto& genre = ValueOf(match.values, TagField::Genre); genre && genres.GenreNameToID(*genre) == 255)
        return Refused(match, NameMatch::UnknownGenre, "нет такого жанра", TagField::Genre);
    if (const auto& year = ValueOf(match.values, TagField::Year); year && !YearAccepted(*year))
        return Refused(match, NameMatch::BadYear, "неверный год", TagField::Year);
    match.state = NameMatch::Matched;
    match.ambiguous = match.other != match.values;
    match.reason = match.ambiguous ? "неоднозначно" : "";
    return match;
}

std::optional<FieldValues> ApplyNameMatch(Quenlar::_TMP3Tag& tag, const NameMatch& match, const ParseOptions& options)
{
    if (match.state != NameMatch::Matched)
        return std::nullopt;
    FieldValues set;
    const auto text = [&](TagField field, std::string (Quenlar::_TMP3Tag::*getter)() const,
                          void (Quenlar::_TMP3Tag::*setter)(const std::string&)) {
        const auto& value = ValueOf(match.values, field);
        if (!value || (options.onlyEmpty && !CutAtNull((tag.*getter)()).empty()))
            return;
        (tag.*setter)(*value);
        ValueOf(set, field) = *value;
    };
    text(TagField::Year, &Quenlar::_TMP3Tag::Year, &Quenlar::_TMP3Tag::SetYear);
    text(TagField::Title, &Quenlar::_TMP3Tag::Title, &Quenlar::_TMP3Tag::SetTitle);
    text(TagField::Artist, &Quenlar::_TMP3Tag::Artist, &Quenlar::_TMP3Tag::SetArtist);
    text(TagField::Album, &Quenlar::_TMP3Tag::Album, &Quenlar::_TMP3Tag::SetAlbum);
    if (const auto& genre = ValueOf(match.values, TagField::Genre);
        genre && !(options.onlyEmpty && !tag.GenreIDToName(tag.Genre()).empty())) {
        const std::uint8_t id = tag.GenreNameToID(*genre);
        tag.SetGenre(id);
        ValueOf(set, TagField::Genre) = tag.GenreIDToName(id);
    }
    text(TagField::Comment, &Quenlar::_TMP3Tag::Comment, &Quenlar::_TMP3Tag::SetComment);
    return set;
}

} // namespace Core
