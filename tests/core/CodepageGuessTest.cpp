// SPDX-License-Identifier: GPL-3.0-or-later
#include "CodepageGuess.h"

#include "CodepageTesting.h"

#include <gtest/gtest.h>

#include <vector>

using Core::CodepageGuess;
using Core::TextCodepage;
using testing_support::RecordOf;
using testing_support::StoredAs;
using testing_support::StoreIn;

namespace {

CodepageGuess Guess(std::vector<std::string> texts)
{
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    return Core::GuessCodepage(views);
}

CodepageGuess GuessStored(StoredAs page, std::vector<std::string_view> texts)
{
    std::vector<std::string> bytes;
    for (const std::string_view text : texts)
        bytes.push_back(StoreIn(page, text));
    return Guess(bytes);
}

struct PageCase {
    StoredAs stored;
    TextCodepage expected;
};
constexpr PageCase kRussianPages[] = {
    {StoredAs::Windows1251, TextCodepage::Windows1251},
    {StoredAs::Koi8R, TextCodepage::Koi8R},
    {StoredAs::Cp866, TextCodepage::Cp866},
};

void ExpectSure(const CodepageGuess& guess, TextCodepage expected, std::string_view text)
{
    EXPECT_EQ(guess.codepage, expected) << text;
    EXPECT_FALSE(guess.unsure) << text;
}

TEST(CodepageGuess, ShortWordsAreToldApartInEachPage)
{
    // Four letters: the case of a capitalised word is enough to tell
    // KOI8-R ("лЙОП") from Windows-1251.
    for (const auto& page : kRussianPages)
        for (const std::string_view text : {"Кино", "Ночь", "Чайка", "Дорога домой", "Ёжик в тумане"})
            EXPECT_EQ(GuessStored(page.stored, {text}).codepage, page.expected) << text;
    EXPECT_EQ(Guess({"\xEB\xC9\xCE\xCF"}).codepage, TextCodepage::Koi8R);
}

TEST(CodepageGuess, LongTextIsSure)
{
    for (const auto& page : kRussianPages) {
        ExpectSure(GuessStored(page.stored, {"Весенний вечер над тихой рекой"}), page.expected, "field");
        ExpectSure(GuessStored(page.stored, {"Песня о друге", "Владимир Семёнович", "Вертикаль", "Из фильма"}),
                   page.expected, "record");
    }
}

TEST(CodepageGuess, CapitalsAndSmallLettersOnly)
{
    // No case pattern to lean on: the letters and their pairs decide.
    for (const auto& page : kRussianPages)
        for (const std::string_view text : {"КРАСНАЯ ПЛОЩАДЬ", "ГРУППА КРОВИ", "вечерний звон", "полёт шмеля"})
            ExpectSure(GuessStored(page.stored, {text}), page.expected, text);
}

TEST(CodepageGuess, LatinWordsBesideRussianOnes)
{
    for (const auto& page : kRussianPages)
        for (const std::string_view text : {"DJ Грув - Счастье есть", "Live in Москва", "Мы из Kazan 1999"})
            EXPECT_EQ(GuessStored(page.stored, {text}).codepage, page.expected) << text;
}

TEST(CodepageGuess, PlainAsciiOrTooLittleTextGivesNoGuess)
{
    EXPECT_EQ(Guess({}).codepage, TextCodepage::None);
    EXPECT_EQ(Guess({"", ""}).codepage, TextCodepage::None);
    EXPECT_EQ(Guess({"Yesterday", "The Beatles", "Help!"}).codepage, TextCodepage::None);
    for (const auto& page : kRussianPages) {
        EXPECT_EQ(GuessStored(page.stored, {"Ты"}).codepage, TextCodepage::None);
        EXPECT_EQ(GuessStored(page.stored, {"Я", "Song 2"}).codepage, TextCodepage::None);
    }
}

TEST(CodepageGuess, WestEuropeanNamesInLatin1)
{
    for (const std::string_view name : {"Björk", "Motörhead", "Sigur Rós", "Mötley Crüe", "Édith Piaf", "Beyoncé"})
        ExpectSure(GuessStored(StoredAs::Latin1, {name}), TextCodepage::Latin1, name);
    // With plain ASCII fields beside it.
    ExpectSure(GuessStored(StoredAs::Latin1, {"Männer", "Herbert Grönemeyer", "4630 Bochum"}), TextCodepage::Latin1,
               "record");
    // A Latin-1 name in a Russian record is outweighed.
    for (const auto& page : kRussianPages) {
        const std::string latin = StoreIn(StoredAs::Latin1, "Björk");
        EXPECT_EQ(Guess({latin, StoreIn(page.stored, "Ночная песня"), StoreIn(page.stored, "Сборник")}).codepage,
                  page.expected);
    }
}

TEST(CodepageGuess, UkrainianInWindows1251)
{
    ExpectSure(GuessStored(StoredAs::Windows1251, {"Океан Ельзи", "Він чекає на неї", "Україна"}),
               TextCodepage::Windows1251, "record");
}

TEST(CodepageGuess, CloseScoresAreUnsure)
{
    // Three capitals read as Russian in both Windows-1251 and KOI8-R.
    const CodepageGuess guess = GuessStored(StoredAs::Windows1251, {"ДДТ"});
    EXPECT_NE(guess.codepage, TextCodepage::None);
    EXPECT_TRUE(guess.unsure);
}

TEST(CodepageGuess, TextsOfDifferentPagesAreUnsure)
{
    // A title left in KOI8-R beside an artist and album retyped in Windows-1251.
    const CodepageGuess guess = Guess({StoreIn(StoredAs::Koi8R, "Звезда по имени Солнце"),
                                       StoreIn(StoredAs::Windows1251, "Кино"),
                                       StoreIn(StoredAs::Windows1251, "Последний герой")});
    EXPECT_TRUE(guess.unsure);
}

TEST(CodepageGuess, TextThatIsRussianInNoPageGivesNoGuess)
{
    // Cyrillic stored as UTF-8 by a newer program.
    EXPECT_EQ(Guess({"Кино", "Группа крови"}).codepage, TextCodepage::None);
    // Box drawing in all three readings.
    EXPECT_EQ(Guess({"\xB0\xB1\xB2\xBA\xBB\xBC\xBD"}).codepage, TextCodepage::None);
}

TEST(CodepageGuess, RecordTextsEndAtTheirFirstNul)
{
    std::array<char, 128> record = RecordOf("Song", "Band", "Album", "Comment");
    // KOI8-R bytes behind a field's end, and as a v1.1 track number, count for nothing.
    const std::string behind = StoreIn(StoredAs::Koi8R, "Группа крови");
    behind.copy(record.data() + 3 + 5, behind.size());
    record[97 + 28] = '\0';
    record[97 + 29] = static_cast<char>(0xEB);
    const auto texts = Core::RecordTexts(record);
    EXPECT_EQ(texts[0], "Song");
    EXPECT_EQ(texts[3], "Comment");
    EXPECT_EQ(Core::GuessRecordCodepage(record).codepage, TextCodepage::None);
}

TEST(CodepageGuess, RecordOfEachPage)
{
    for (const auto& page : kRussianPages) {
        const std::string title = StoreIn(page.stored, "Звезда по имени Солнце");
        const std::string artist = StoreIn(page.stored, "Кино");
        ExpectSure(Core::GuessRecordCodepage(RecordOf(title, artist)), page.expected, "record");
        // A full field of 30 bytes has no NUL: all of it is text.
        const std::string full = StoreIn(page.stored, "Тридцать букв в поле без конца");
        ASSERT_EQ(full.size(), 30u);
        EXPECT_EQ(Core::RecordTexts(RecordOf(full, ""))[0], full);
    }
    // 128 bytes without the marker are no tag.
    std::array<char, 128> untagged = RecordOf(StoreIn(StoredAs::Koi8R, "Группа крови"), "");
    untagged[0] = 'X';
    EXPECT_EQ(Core::GuessRecordCodepage(untagged).codepage, TextCodepage::None);
}

TEST(CodepageGuess, PagesToRecodeFrom)
{
    EXPECT_EQ(Core::PageToRecode(TextCodepage::Koi8R), Quenlar::Codepage::Page::Koi8R);
    EXPECT_EQ(Core::PageToRecode(TextCodepage::Cp866), Quenlar::Codepage::Page::Cp866);
    for (const auto page : {TextCodepage::None, TextCodepage::Windows1251, TextCodepage::Latin1})
        EXPECT_EQ(Core::PageToRecode(page), std::nullopt);
}

} // namespace
