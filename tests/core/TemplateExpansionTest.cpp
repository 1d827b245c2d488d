// SPDX-License-Identifier: GPL-3.0-or-later
#include "TemplateExpansion.h"

#include "TagObjects.h"
#include "TempDir.h"
#include "TextHelpers.h"

#include <gtest/gtest.h>

using Core::ExpandTemplate;
using Core::FillSettings;
using Core::FillTagFields;

namespace {

class TemplateExpansion : public ::testing::Test {
protected:
    std::unique_ptr<Quenlar::_TMP3Tag> tag = Core::NewTagObject();

    void Tag(const std::string& title, const std::string& artist, const std::string& album = "",
             const std::string& year = "", const std::string& comment = "", std::uint8_t genre = 255)
    {
        tag->SetTitle(title);
        tag->SetArtist(artist);
        tag->SetAlbum(album);
        tag->SetYear(year);
        tag->SetComment(comment);
        tag->SetGenre(genre);
    }
    std::string Expand(const std::string& templ, const std::string& file = "file.mp3")
    {
        return ExpandTemplate(templ, file, *tag);
    }
    std::string Cut(const std::string& value) { return Core::CutAtNull(value); }
};

TEST_F(TemplateExpansion, PlaceholdersTakeTheNameAndTheCurrentValues)
{
    Tag("Song", "Band", "Disc", "1999", "Note", 17);
    EXPECT_EQ(Expand("%0", "Artist - Song.mp3"), "Artist - Song");
    EXPECT_EQ(Expand("%0", "SONG.MP3"), "SONG");
    EXPECT_EQ(Expand("%0", "Песня.mp3"), "Песня"); // characters, not bytes
    EXPECT_EQ(Expand("%2 - %1"), "Band - Song");
    EXPECT_EQ(Expand("%3|%4|%6"), "Disc|1999|Note");
    EXPECT_EQ(Expand("%5"), tag->GenreIDToName(17));
    EXPECT_FALSE(Expand("%5").empty());
    EXPECT_EQ(Expand("fixed text"), "fixed text");
    EXPECT_EQ(Expand(""), "");
}

TEST_F(TemplateExpansion, AnythingButAPlaceholderIsLiteral)
{
    Tag("T", "A");
    EXPECT_EQ(Expand("x%7y"), "x%7y");
    EXPECT_EQ(Expand("%10"), "T0");
    EXPECT_EQ(Expand("%%1%"), "%T%");
    EXPECT_EQ(Expand("%a %"), "%a %");
}

TEST_F(TemplateExpansion, GenresWithoutANameAndUntaggedFilesInsertNothing)
{
    Tag("T", "A", "", "", "", 255);
    EXPECT_EQ(Expand("[%5]"), "[]");
    tag->SetGenre(126);
    EXPECT_EQ(Expand("[%5]"), "[]");

    testing_support::TempDir dir;
    const std::string path = dir.Write("untagged.mp3", testing_support::Audio(500));
    tag->TagRead(path);
    ASSERT_FALSE(tag->ValidTag());
    EXPECT_EQ(Expand("%0:%1%2%3%4%5%6", "untagged.mp3"), "untagged:");
}

TEST_F(TemplateExpansion, InsertedTextIsSearchedByTheLaterSteps)
{
    Tag("a%6b", "Band", "", "", "x%1y%5", 0);
    // The file name goes in first, so its "%2" becomes the artist.
    EXPECT_EQ(Expand("%0", "50%2off.mp3"), "50Bandoff");
    // The title's "%6" is replaced by the comment; the comment comes after
    // "%1" (which it keeps) and before "%5" (which it loses).
    EXPECT_EQ(Expand("%1"), "ax%1y" + tag->GenreIDToName(0) + "b");
    // A value holding its own placeholder ends the step and the expansion goes on.
    Tag("%1", "%2", "", "", "", 255);
    EXPECT_EQ(Expand("%1/%2"), "%1/%2");
}

TEST_F(TemplateExpansion, FillSetsEnabledFieldsInOrderWithTheStoredValues)
{
    Tag("old title", "old artist", "old album", "1999", "old comment", 17);
    const std::string name = std::string(40, 'n') + ".mp3";
    FillSettings s;
    s.Title = {true, "%0"};
    s.Artist = {true, "%1"};
    s.Comment = {true, "%6 (%1)"};
    s.Album = {true, "%4 %5"}; // year and genre are set after the text fields
    s.Year = {true, "2004"};
    s.GenreEnabled = true;
    s.Genre = 3;
    FillTagFields(*tag, name, s);
    EXPECT_EQ(Cut(tag->Title()), std::string(30, 'n'));
    EXPECT_EQ(Cut(tag->Artist()), std::string(30, 'n'));
    EXPECT_EQ(Cut(tag->Comment()), "old comment (" + std::string(17, 'n')); // cut to 30
    EXPECT_EQ(Cut(tag->Album()), "1999 " + tag->GenreIDToName(17));
    EXPECT_EQ(Cut(tag->Year()), "2004");
    EXPECT_EQ(tag->Genre(), 3);
}

TEST_F(TemplateExpansion, FillLeavesDisabledFieldsAndEmptiesEnabledEmptyOnes)
{
    Tag("T", "A", "Al", "2001", "C", 9);
    FillSettings s;
    FillTagFields(*tag, "x.mp3", s);
    EXPECT_EQ(tag->Title(), "T" + std::string(29, '\0'));
    EXPECT_EQ(Cut(tag->Year()), "2001");
    EXPECT_EQ(tag->Genre(), 9);

    s.Album = {true, ""};
    s.GenreEnabled = true; // the empty entry of the list
    FillTagFields(*tag, "x.mp3", s);
    EXPECT_EQ(tag->Album(), std::string(30, '\0'));
    EXPECT_EQ(Cut(tag->Artist()), "A");
    EXPECT_EQ(tag->Genre(), 255);
}

TEST_F(TemplateExpansion, ARejectedYearPropagatesAfterTheTextFields)
{
    Tag("T", "A", "", "2001");
    FillSettings s;
    s.Title = {true, "new"};
    s.Year = {true, "%4"}; // passed as is, and not a number
    s.GenreEnabled = true;
    s.Genre = 5;
    try {
        FillTagFields(*tag, "x.mp3", s);
        FAIL() << "the year was accepted";
    } catch (const Quenlar::LibraryError& e) {
        EXPECT_EQ(e.Number(), Quenlar::errInvalidYear);
    }
    EXPECT_EQ(Cut(tag->Title()), "new");
    EXPECT_EQ(tag->Genre(), 255);
}

} // namespace
