// SPDX-License-Identifier: GPL-3.0-or-later
#include "Recode.h"

#include "CodepageTesting.h"

#include <gtest/gtest.h>

using Quenlar::Codepage::Page;
using testing_support::RecordOf;
using testing_support::StoredAs;
using testing_support::StoreIn;

namespace {

constexpr std::size_t kTitle = 3, kArtist = 33, kAlbum = 63, kYear = 93, kComment = 97, kGenre = 127;

// A KOI8-R record with something in every byte that must stay: bytes behind
// the title's end, a year, a genre, a v1.1 track number.
std::array<char, 128> Koi8RRecord()
{
    auto record = RecordOf(StoreIn(StoredAs::Koi8R, "Группа крови"), StoreIn(StoredAs::Koi8R, "Кино"),
                           "Live 1988", StoreIn(StoredAs::Koi8R, "Концерт"));
    const std::string behind = StoreIn(StoredAs::Koi8R, "ёлка");
    behind.copy(record.data() + kTitle + 20, behind.size());
    std::string("1988").copy(record.data() + kYear, 4);
    record[kComment + 28] = '\0';
    record[kComment + 29] = static_cast<char>(0xC1); // track 193: a letter if it were text
    record[kGenre] = static_cast<char>(0xE1);
    return record;
}

TEST(Recode, TextFieldsBecomeTheWindows1251BytesOfTheSameText)
{
    const auto old = Koi8RRecord();
    const Core::Recoding r = Core::Recode(old, Page::Koi8R);
    EXPECT_TRUE(r.changed);
    EXPECT_TRUE(r.lost.empty());
    const std::string title = StoreIn(StoredAs::Windows1251, "Группа крови");
    EXPECT_EQ(std::string_view(r.record.data() + kTitle, title.size()), title);
    const std::string artist = StoreIn(StoredAs::Windows1251, "Кино");
    EXPECT_EQ(std::string_view(r.record.data() + kArtist, artist.size()), artist);
    const std::string comment = StoreIn(StoredAs::Windows1251, "Концерт");
    EXPECT_EQ(std::string_view(r.record.data() + kComment, comment.size()), comment);

    // Every other byte is the old one: the marker, the NULs, the bytes behind
    // the title's end, the ASCII album, the year, the track and the genre.
    for (std::size_t i = 0; i < 128; ++i) {
        const bool text = (i >= kTitle && i < kTitle + title.size()) || (i >= kArtist && i < kArtist + artist.size())
                          || (i >= kComment && i < kComment + comment.size());
        if (!text) {
            EXPECT_EQ(r.record[i], old[i]) << "byte " << i;
        }
    }
}

TEST(Recode, OldAndNewTextOfEachField)
{
    const Core::Recoding r = Core::Recode(Koi8RRecord(), Page::Koi8R);
    EXPECT_EQ(r.fields[0].newText, "Группа крови");
    EXPECT_EQ(r.fields[0].oldText, "зТХРРБ ЛТПЧЙ");
    EXPECT_EQ(r.fields[1].newText, "Кино");
    EXPECT_EQ(r.fields[1].oldText, "лЙОП");
    // Plain ASCII reads the same in both and keeps its bytes.
    EXPECT_EQ(r.fields[2].oldText, "Live 1988");
    EXPECT_EQ(r.fields[2].newText, "Live 1988");
    EXPECT_FALSE(r.fields[2].changed);
    EXPECT_TRUE(r.fields[0].changed && r.fields[1].changed && r.fields[3].changed);
}

TEST(Recode, Cp866FullFieldsKeepTheirLength)
{
    // 30 bytes and no NUL: the whole field is text, and the year behind it stays.
    const std::string text = "Тридцать букв в поле без конца";
    auto old = RecordOf(StoreIn(StoredAs::Cp866, text), StoreIn(StoredAs::Cp866, "Ёлочка и Ёжик"));
    std::string("2001").copy(old.data() + kYear, 4);
    const Core::Recoding r = Core::Recode(old, Page::Cp866);
    EXPECT_EQ(std::string_view(r.record.data() + kTitle, 30), StoreIn(StoredAs::Windows1251, text));
    EXPECT_EQ(r.fields[1].newText, "Ёлочка и Ёжик");
    EXPECT_EQ(std::string_view(r.record.data() + kYear, 4), "2001");
}

TEST(Recode, CharactersWithoutAPlaceInWindows1251AreReportedAndStoredAsQuestionMarks)
{
    // KOI8-R box drawing and "÷": Windows-1251 has neither.
    const auto old = RecordOf("\xEB\xC9\xCE\xCF \x80\x80 \x9F", "x?y");
    const Core::Recoding r = Core::Recode(old, Page::Koi8R);
    EXPECT_EQ(r.lost, U"─÷");
    EXPECT_EQ(std::string_view(r.record.data() + kTitle, 9), StoreIn(StoredAs::Windows1251, "Кино ?? ?"));
    // A "?" that was there is no loss.
    EXPECT_FALSE(r.fields[1].changed);
}

TEST(Recode, SignsThatWindows1251HoldsMoveToItsBytes)
{
    // KOI8-R's no-break space, degree and copyright signs.
    const Core::Recoding r = Core::Recode(RecordOf("\x9A\x9C\xBF", ""), Page::Koi8R);
    EXPECT_TRUE(r.lost.empty());
    EXPECT_EQ(std::string_view(r.record.data() + kTitle, 3), "\xA0\xB0\xA9");
}

TEST(Recode, AsciiRecordIsUnchanged)
{
    const auto old = RecordOf("Yesterday", "The Beatles", "Help!", "1965");
    for (const Page page : {Page::Koi8R, Page::Cp866}) {
        const Core::Recoding r = Core::Recode(old, page);
        EXPECT_FALSE(r.changed);
        EXPECT_EQ(r.record, old);
    }
}

TEST(Recode, BytesWithoutTheMarkerAreNoTag)
{
    auto old = RecordOf(StoreIn(StoredAs::Koi8R, "Группа крови"), "");
    old[0] = 'X';
    const Core::Recoding r = Core::Recode(old, Page::Koi8R);
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.record, old);
    const Core::RecodePlan plan = Core::PlanRecode(old, Page::Koi8R);
    EXPECT_FALSE(plan.from);
    EXPECT_EQ(plan.recoding.record, old);
}

TEST(RecodePlan, GuessedPageOrTheChosenOne)
{
    const auto koi8 = RecordOf(StoreIn(StoredAs::Koi8R, "Звезда по имени Солнце"), StoreIn(StoredAs::Koi8R, "Кино"));
    const auto cp866 = RecordOf(StoreIn(StoredAs::Cp866, "Звезда по имени Солнце"), StoreIn(StoredAs::Cp866, "Кино"));
    const auto windows = RecordOf(StoreIn(StoredAs::Windows1251, "Звезда по имени Солнце"),
                                  StoreIn(StoredAs::Windows1251, "Кино"));
    EXPECT_EQ(Core::PlanRecode(koi8, std::nullopt).from, Page::Koi8R);
    EXPECT_EQ(Core::PlanRecode(koi8, std::nullopt).recoding.record, windows);
    EXPECT_EQ(Core::PlanRecode(cp866, std::nullopt).from, Page::Cp866);
    EXPECT_EQ(Core::PlanRecode(cp866, std::nullopt).recoding.record, windows);

    // Windows-1251 already: no change, the fields read as they are.
    const Core::RecodePlan kept = Core::PlanRecode(windows, std::nullopt);
    EXPECT_EQ(kept.guess.codepage, Core::TextCodepage::Windows1251);
    EXPECT_FALSE(kept.from);
    EXPECT_FALSE(kept.recoding.changed);
    EXPECT_EQ(kept.recoding.record, windows);
    EXPECT_EQ(kept.recoding.fields[1].oldText, "Кино");
    EXPECT_EQ(kept.recoding.fields[1].newText, "Кино");

    // A page the user chose is used whatever the guess.
    const Core::RecodePlan chosen = Core::PlanRecode(windows, Page::Koi8R);
    EXPECT_EQ(chosen.from, Page::Koi8R);
    EXPECT_EQ(chosen.guess.codepage, Core::TextCodepage::Windows1251);
    EXPECT_EQ(chosen.recoding.fields[1].newText, "йХМН");
}

} // namespace
