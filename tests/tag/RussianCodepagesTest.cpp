// SPDX-License-Identifier: GPL-3.0-or-later
#include "RussianCodepages.h"

#include <gtest/gtest.h>

using Quenlar::Codepage::Character;
using Quenlar::Codepage::Decode;
using Quenlar::Codepage::Page;

namespace {

// The bytes of "А".."Я" (without Ё) in each page, in alphabet order.
constexpr unsigned char kKoi8RCapitals[32] = {
    0xE1, 0xE2, 0xF7, 0xE7, 0xE4, 0xE5, 0xF6, 0xFA, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, 0xF0,
    0xF2, 0xF3, 0xF4, 0xF5, 0xE6, 0xE8, 0xE3, 0xFE, 0xFB, 0xFD, 0xFF, 0xF9, 0xF8, 0xFC, 0xE0, 0xF1,
};

TEST(RussianCodepages, Koi8RLettersSitWhereTheStandardPutsThem)
{
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(Character(Page::Koi8R, kKoi8RCapitals[i]), char32_t(0x0410 + i)) << i;
        // The small letters are the capitals less 0x20.
        EXPECT_EQ(Character(Page::Koi8R, kKoi8RCapitals[i] - 0x20), char32_t(0x0430 + i)) << i;
    }
    EXPECT_EQ(Character(Page::Koi8R, 0xB3), U'Ё');
    EXPECT_EQ(Character(Page::Koi8R, 0xA3), U'ё');
}

TEST(RussianCodepages, Cp866LettersRunInAlphabetOrder)
{
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(Character(Page::Cp866, 0x80 + i), char32_t(0x0410 + i)) << i;
        const unsigned char small = i < 16 ? 0xA0 + i : 0xE0 + (i - 16);
        EXPECT_EQ(Character(Page::Cp866, small), char32_t(0x0430 + i)) << i;
    }
    EXPECT_EQ(Character(Page::Cp866, 0xF0), U'Ё');
    EXPECT_EQ(Character(Page::Cp866, 0xF1), U'ё');
    EXPECT_EQ(Character(Page::Cp866, 0xF6), U'Ў');
    EXPECT_EQ(Character(Page::Cp866, 0xFC), U'№');
}

TEST(RussianCodepages, BoxDrawingAndSigns)
{
    EXPECT_EQ(Character(Page::Koi8R, 0x80), U'─');
    EXPECT_EQ(Character(Page::Koi8R, 0x81), U'│');
    EXPECT_EQ(Character(Page::Koi8R, 0x8A), U'┼');
    EXPECT_EQ(Character(Page::Koi8R, 0x8D), U'█');
    EXPECT_EQ(Character(Page::Koi8R, 0x9A), U'\u00A0');
    EXPECT_EQ(Character(Page::Koi8R, 0x9C), U'°');
    EXPECT_EQ(Character(Page::Koi8R, 0x9F), U'÷');
    EXPECT_EQ(Character(Page::Koi8R, 0xA0), U'═');
    EXPECT_EQ(Character(Page::Koi8R, 0xBE), U'╬');
    EXPECT_EQ(Character(Page::Koi8R, 0xBF), U'©');

    EXPECT_EQ(Character(Page::Cp866, 0xB0), U'░');
    EXPECT_EQ(Character(Page::Cp866, 0xB3), U'│');
    EXPECT_EQ(Character(Page::Cp866, 0xC4), U'─');
    EXPECT_EQ(Character(Page::Cp866, 0xC5), U'┼');
    EXPECT_EQ(Character(Page::Cp866, 0xC9), U'╔');
    EXPECT_EQ(Character(Page::Cp866, 0xCD), U'═');
    EXPECT_EQ(Character(Page::Cp866, 0xDB), U'█');
    EXPECT_EQ(Character(Page::Cp866, 0xDF), U'▀');
    EXPECT_EQ(Character(Page::Cp866, 0xFE), U'■');
    EXPECT_EQ(Character(Page::Cp866, 0xFF), U'\u00A0');
}

TEST(RussianCodepages, EveryByteIsOneDistinctCharacterAndAsciiStaysAscii)
{
    for (const Page page : {Page::Koi8R, Page::Cp866}) {
        std::u32string seen;
        for (int b = 0; b < 256; ++b) {
            const char32_t c = Character(page, static_cast<unsigned char>(b));
            if (b < 0x80)
                EXPECT_EQ(c, char32_t(b));
            else
                EXPECT_GE(c, char32_t(0xA0)) << b; // no C1 control character
            EXPECT_EQ(seen.find(c), std::u32string::npos) << b;
            seen.push_back(c);
        }
    }
}

TEST(RussianCodepages, DecodesTextAsUtf8)
{
    EXPECT_EQ(Decode(Page::Koi8R, "\xEB\xC9\xCE\xCF"), "Кино");
    EXPECT_EQ(Decode(Page::Koi8R, "\xE7\xD2\xD5\xD0\xD0\xC1 \xCB\xD2\xCF\xD7\xC9"), "Группа крови");
    EXPECT_EQ(Decode(Page::Cp866, "\x83\xE0\xE3\xAF\xAF\xA0 \xAA\xE0\xAE\xA2\xA8"), "Группа крови");
    EXPECT_EQ(Decode(Page::Cp866, "\xF0\xAB\xAA\xA0 1"), "Ёлка 1");
    EXPECT_EQ(Decode(Page::Koi8R, ""), "");
}

} // namespace
