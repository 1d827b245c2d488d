// SPDX-License-Identifier: GPL-3.0-or-later
#include "FieldValues.h"

#include "Codepage.h"
#include "TMP3Tag.h"

namespace Cli {

std::optional<std::uint8_t> GenreArgument(const std::string& text, std::string& error)
{
    if (text.empty())
        return std::uint8_t{255};
    if (text.find_first_not_of("0123456789") == std::string::npos) {
        if (text.size() <= 3 && std::stoi(text) <= 255)
            return static_cast<std::uint8_t>(std::stoi(text));
        error = "номер жанра — от 0 до 255: " + text;
        return std::nullopt;
    }
    const auto tag = Quenlar::CreateTMP3Tag();
    const std::uint8_t genre = tag->GenreNameToID(text);
    if (genre == 255) {
        error = "нет такого жанра: " + text;
        return std::nullopt;
    }
    return genre;
}

bool YearArgument(const std::string& year, std::string& error)
{
    try {
        Quenlar::CreateTMP3Tag()->SetYear(year);
        return true;
    } catch (const Quenlar::LibraryError&) {
        error = "неверный год: " + year;
        return false;
    }
}

bool Utf8Argument(const std::string& text, const std::string& what, std::string& error)
{
    if (Quenlar::Codepage::WellFormedUtf8(text))
        return true;
    error = what + " — не текст в UTF-8";
    return false;
}

} // namespace Cli
