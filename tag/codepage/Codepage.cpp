// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Codepage.h"

#include <array>
#include <cstdint>

namespace Quenlar::Codepage {
namespace {

// 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order.
constexpr std::array<char16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

char32_t ToUnicode(unsigned char b)
{
    if (b < 0x80)
        return b;
    if (b >= 0xC0)
        return 0x0410 + (b - 0xC0);
    return kHigh[b - 0x80];
}

char ToByte(char32_t c)
{
    if (c < 0x80)
        return static_cast<char>(c);
    if (c >= 0x0410 && c <= 0x044F)
        return static_cast<char>(0xC0 + (c - 0x0410));
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

constexpr char32_t kMalformed = 0xFFFFFFFF;

// Decodes the character at s[i] and advances i; a malformed sequence
// (bad lead or continuation, overlong form, surrogate, beyond U+10FFFF)
// consumes one byte and yields kMalformed.
char32_t NextCharacter(std::string_view s, std::size_t& i)
{
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    // The continuation bytes a lead announces, and the least value that needs them.
    std::size_t extra = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        minimum = 0x10000;
    } else {
        ++i;
        return kMalformed;
    }
    char32_t c = lead & (0x3F >> extra);
    if (i + extra >= s.size()) {
        ++i;
        return kMalformed;
    }
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kMalformed;
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return kMalformed;
    }
    i += extra + 1;
    return c;
}

} // namespace

std::string Decode(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes)
        AppendUtf8(out, ToUnicode(static_cast<unsigned char>(b)));
    return out;
}

std::string Encode(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = NextCharacter(utf8, i);
        out.push_back(c == kMalformed ? '?' : ToByte(c));
    }
    return out;
}

std::size_t CountCharacters(std::string_view utf8)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < utf8.size(); ++n)
        NextCharacter(utf8, i);
    return n;
}

std::string_view FirstCharacters(std::string_view utf8, std::size_t n)
{
    std::size_t i = 0;
    for (; i < utf8.size() && n > 0; --n)
        NextCharacter(utf8, i);
    return utf8.substr(0, i);
}

std::u32string CharactersNotHeld(std::string_view utf8)
{
    std::u32string found;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = NextCharacter(utf8, i);
        if (c == kMalformed)
            c = 0xFFFD;
        else if (c == '?' || ToByte(c) != '?')
            continue;
        if (found.find(c) == std::u32string::npos)
            found.push_back(c);
    }
    return found;
}

std::string Utf8(char32_t c)
{
    std::string out;
    AppendUtf8(out, c);
    return out;
}

bool WellFormedUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();)
        if (NextCharacter(text, i) == kMalformed)
            return false;
    return true;
}

} // namespace Quenlar::Codepage
