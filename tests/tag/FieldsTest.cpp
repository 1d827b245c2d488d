// SPDX-License-Identifier: GPL-3.0-or-later
// Field values, year rules, the name test and the genre table: no file needed.
#include "TagTesting.h"

using namespace Quenlar;
using namespace tag_testing;

TEST(Fields, FreshObjectHoldsNulsAndGenreZero)
{
    auto tag = CreateTMP3Tag();
    EXPECT_FALSE(tag->ValidTag());
    ExpectEmptyRecord(*tag, 0);
}

TEST(Fields, SettersPadWithNulsCutAtWidthAndGettersTrimOnlySpaces)
{
    auto tag = CreateTMP3Tag();
    const std::string thirtyOne = "abcdefghijklmnopqrstuvwxyz01234";
    tag->SetTitle("ab");
    tag->SetArtist("  ab  ");
    tag->SetAlbum(thirtyOne);
    tag->SetComment(std::string("a\0b\t ", 5));
    EXPECT_EQ(tag->Title(), "ab" + Nuls(28));
    EXPECT_EQ(tag->Artist(), "ab  " + Nuls(24));
    EXPECT_EQ(tag->Album(), thirtyOne.substr(0, 30));
    EXPECT_EQ(tag->Comment(), std::string("a\0b\t ", 5) + Nuls(25));
    tag->SetAlbum(std::string(30, ' ') + "x");
    EXPECT_EQ(tag->Album(), "");
    tag->SetTitle("");
    EXPECT_EQ(tag->Title(), Nuls(30));
}

TEST(Fields, TrackNumberLivesInTheCommentsLastTwoBytes)
{
    auto tag = CreateTMP3Tag();
    EXPECT_EQ(Track(*tag), 0);
    tag->SetComment("Nice");
    SetTrack(*tag, 7);
    EXPECT_EQ(Track(*tag), 7);
    EXPECT_EQ(tag->Comment(), "Nice" + Nuls(25) + "\x07");
    // A track number of 32 is a space that the getter trims, and still a track.
    SetTrack(*tag, 32);
    EXPECT_EQ(Track(*tag), 32);
    EXPECT_EQ(tag->Comment(), "Nice" + Nuls(25));
    // A comment that fills its 29th byte has no track.
    tag->SetComment(std::string(29, 'c') + "\x07");
    EXPECT_EQ(Track(*tag), 0);
    SetTrack(*tag, 0);
    EXPECT_EQ(tag->Comment(), std::string(28, 'c') + Nuls(2));
}

TEST(Fields, WidthsCountCharactersOfTheCodePage)
{
    auto tag = CreateTMP3Tag();
    std::string cyrillic;
    for (int i = 0; i < 31; ++i)
        cyrillic += "Ж";
    tag->SetTitle(cyrillic);
    EXPECT_EQ(tag->Title(), cyrillic.substr(0, 60));
    tag->SetArtist("Ёё №€ 日本 \xff!");
    EXPECT_EQ(tag->Artist(), "Ёё №€ ?? ?!" + Nuls(19));
    tag->SetAlbum("\xC2\x98"); // U+0098 has the byte nobody else uses
    EXPECT_EQ(tag->Album(), "\xC2\x98" + Nuls(29));
}

TEST(Fields, GenreTakesAnyByte)
{
    auto tag = CreateTMP3Tag();
    tag->SetGenre(200);
    EXPECT_EQ(tag->Genre(), 200);
    EXPECT_EQ(tag->GenreIDToName(200), "");
}

TEST(Year, AcceptedTextsAreStoredAsTyped)
{
    auto tag = CreateTMP3Tag();
    const std::pair<const char*, std::string> cases[] = {
        {"2003", "2003"},         {"99", "99" + Nuls(2)}, {"12345", "1234"}, {" 2003", "200"},
        {"+7 ", "+7 " + Nuls(1)}, {"1.5", "1.5" + Nuls(1)}, {"0.51", "0.51"}, {"32766.5", "3276"},
    };
    for (const auto& [text, stored] : cases) {
        EXPECT_EQ(ErrorOf([&] { tag->SetYear(text); }), 0) << text;
        EXPECT_EQ(tag->Year(), stored) << text;
    }
    tag->SetYear("");
    EXPECT_EQ(tag->Year(), Nuls(4));
}

TEST(Year, ZeroOrNegativeClearsThenFails)
{
    auto tag = CreateTMP3Tag();
    for (const char* text : {"0", "-5", "-0", "0.4", "0.5", "-0.5", " -32768 ", "-32768.5"}) {
        tag->SetYear("1999");
        EXPECT_EQ(ErrorOf([&] { tag->SetYear(text); }), errInvalidYear) << text;
        EXPECT_EQ(tag->Year(), Nuls(4)) << text;
    }
}

TEST(Year, UnconvertibleTextFailsAndKeepsTheOldYear)
{
    auto tag = CreateTMP3Tag();
    tag->SetYear("1999");
    for (const char* text : {"abc", "40000", "32767.5", "-32769", "1e3", "12 34", "--5", "+", ".", "   ",
                             "2,5", "0x10"}) {
        EXPECT_EQ(ErrorOf([&] { tag->SetYear(text); }), errInvalidYear) << text;
        EXPECT_EQ(tag->Year(), "1999") << text;
    }
    EXPECT_EQ(ErrorOf([&] { tag->SetYear(std::string("1999\0", 5)); }), errInvalidYear);
    EXPECT_EQ(ErrorOf([&] { tag->SetYear(std::string(400, '0') + "7"); }), 0);
}

TEST(FileNames, OnlyNamesEndingInMp3WithFiveCharactersPass)
{
    auto tag = CreateTMP3Tag();
    // A passing name reaches the file system and finds nothing there.
    for (const char* name : {"/nonexistent-q/song.MP3", "a.mp3", "abcmp3", " a.mP3 ", "яя.mp3", "яmmp3"})
        EXPECT_NE(ErrorOf([&] { tag->TagRead(name); }), errInvalidFilename) << name;
    for (const char* name : {".mp3", "x.mp4", "track.wav", "  .mp3  ", "яmp3", "", "a.mp3x"}) {
        EXPECT_EQ(ErrorOf([&] { tag->TagRead(name); }), errInvalidFilename) << name;
        EXPECT_EQ(ErrorOf([&] { tag->TagWrite(name, false); }), errInvalidFilename) << name;
    }
    try {
        tag->TagRead("x.mp4");
        ADD_FAILURE() << "x.mp4 was read";
    } catch (const LibraryError& e) {
        EXPECT_EQ(e.Description(), "Invalid filename");
        EXPECT_STREQ(e.what(), "Invalid filename");
    }
}

TEST(Genres, TableBothWays)
{
    auto tag = CreateTMP3Tag();
    EXPECT_EQ(tag->GenreIDToName(0), "Blues");
    EXPECT_EQ(tag->GenreIDToName(4), "Disco");
    EXPECT_EQ(tag->GenreIDToName(67), "Psychadelic");
    EXPECT_EQ(tag->GenreIDToName(125), "Dance Hall");
    EXPECT_EQ(tag->GenreIDToName(126), "");
    EXPECT_EQ(tag->GenreIDToName(255), "");
    for (int n = 0; n <= 125; ++n) {
        const std::string name = tag->GenreIDToName(static_cast<std::uint8_t>(n));
        ASSERT_FALSE(name.empty()) << n;
        EXPECT_EQ(tag->GenreNameToID(name), n) << name;
    }
    EXPECT_EQ(tag->GenreNameToID("dance hall"), 125);
    EXPECT_EQ(tag->GenreNameToID("DANCE HALL"), 125);
    EXPECT_EQ(tag->GenreNameToID("Other"), 12);
    for (const char* name : {"", "Dance Hall ", "Death Metal", "Hip Hop", "Unknown"})
        EXPECT_EQ(tag->GenreNameToID(name), 255) << name;
}
