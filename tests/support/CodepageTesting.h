// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text as a program of another code page would have stored it: the tests
// and the code page benchmark write their Russian strings as UTF-8 and make
// the bytes here.
#include "Codepage.h"
#include "RussianCodepages.h"

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

namespace testing_support {

enum class StoredAs { Windows1251, Koi8R, Cp866, Latin1 };

// The character byte b stands for in page.
inline char32_t CharacterIn(StoredAs page, unsigned char b)
{
    switch (page) {
    case StoredAs::Koi8R: return Quenlar::Codepage::Character(Quenlar::Codepage::Page::Koi8R, b);
    case StoredAs::Cp866: return Quenlar::Codepage::Character(Quenlar::Codepage::Page::Cp866, b);
    default: return b; // Latin-1
    }
}

// The bytes of utf8 in the code page; throws for a character it lacks.
inline std::string StoreIn(StoredAs page, std::string_view utf8)
{
    if (page == StoredAs::Windows1251) {
        if (!Quenlar::Codepage::CharactersNotHeld(utf8).empty())
            throw std::invalid_argument("not in the code page: " + std::string(utf8));
        return Quenlar::Codepage::Encode(utf8);
    }
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = n == 1 ? lead : lead & (0x7F >> n);
        for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += n;
        int byte = 0;
        while (byte < 256 && CharacterIn(page, static_cast<unsigned char>(byte)) != c)
            ++byte;
        if (byte == 256)
            throw std::invalid_argument("not in the code page: " + std::string(utf8));
        out.push_back(static_cast<char>(byte));
    }
    return out;
}

// A tagged record with the four text fields (bytes, cut to 30) and the rest zero.
inline std::array<char, 128> RecordOf(std::string_view title, std::string_view artist, std::string_view album = {},
                                      std::string_view comment = {})
{
    std::array<char, 128> record{};
    record[0] = 'T', record[1] = 'A', record[2] = 'G';
    std::size_t offset = 3;
    for (const std::string_view text : {title, artist, album, comment}) {
        text.substr(0, 30).copy(record.data() + offset, 30);
        offset += offset == 63 ? 34 : 30;
    }
    return record;
}

} // namespace testing_support
