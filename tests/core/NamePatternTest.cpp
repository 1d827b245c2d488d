// SPDX-License-Identifier: GPL-3.0-or-later
#include "NamePattern.h"

#include "Renaming.h"
#include "TagObjects.h"
#include "TempDir.h"
#include "TextHelpers.h"

#include <gtest/gtest.h>
#include <random>

using namespace Core;
using namespace testing_support;

namespace {

// Present fields as "%digit=value", in field order, for one readable comparison.
std::string Fields(const FieldValues& values)
{
    std::string out;
    for (std::size_t f = 0; f < kTagFieldCount; ++f)
        if (values[f])
            out += (out.empty() ? "%" : " %") + std::to_string(f + 1) + "=" + *values[f];
    return out;
}

class NamePatternTest : public ::testing::Test {
protected:
    std::unique_ptr<Quenlar::_TMP3Tag> tag = NewTagObject();

    NameMatch Match(const std::string& pattern, const std::string& path, ParseOptions options = {})
    {
        std::string error;
        const auto parsed = ParseNamePattern(pattern, error);
        EXPECT_TRUE(parsed) << pattern << ": " << error;
        return parsed ? MatchName(*parsed, path, options, *tag) : NameMatch{};
    }
    // The values of a match, or its reason when it is none.
    std::string Got(const std::string& pattern, const std::string& path, ParseOptions options = {})
    {
        const NameMatch m = Match(pattern, path, options);
        return m.state == NameMatch::Matched ? Fields(m.values) : m.reason;
    }
    std::string Refusal(const std::string& pattern)
    {
        std::string error;
        EXPECT_FALSE(ParseNamePattern(pattern, error)) << pattern;
        return error;
    }
};

TEST_F(NamePatternTest, RefusesPatternsThatCannotBeReadOneWay)
{
    EXPECT_NE(Refusal("").find("нет ни одного поля"), std::string::npos);
    EXPECT_NE(Refusal("Кино - песня").find("нет ни одного поля"), std::string::npos);
    EXPECT_NE(Refusal("%9 - %9").find("не заполняет ни одного поля"), std::string::npos);
    EXPECT_NE(Refusal("%0").find("«%0»"), std::string::npos);
    EXPECT_NE(Refusal("%2 - %7").find("нет поля «%7»"), std::string::npos);
    EXPECT_NE(Refusal("%8 %1").find("нет поля «%8»"), std::string::npos);
    EXPECT_NE(Refusal("%1 - %1").find("«%1» (название) стоит в шаблоне имени дважды"), std::string::npos);
    EXPECT_NE(Refusal("%2%1").find("Между «%2» (исполнитель) и «%1» (название)"), std::string::npos);
    // A stray "%" is taken for a mistyped placeholder, never for text.
    EXPECT_NE(Refusal("%1 100%").find("кончается знаком «%»"), std::string::npos);
    EXPECT_NE(Refusal("%1 %ж").find("нет поля «%ж»"), std::string::npos);
    for (const char* empty : {"/%1", "%2/", "%2//%1", "%2/.mp3"})
        EXPECT_NE(Refusal(empty).find("пустой уровень папки"), std::string::npos) << empty;
    EXPECT_NE(Refusal("\xca%1").find("не UTF-8"), std::string::npos);

    std::string error = "old";
    const auto accepted = ParseNamePattern("%9 - %9 - %2/%1 %%%6", error);
    ASSERT_TRUE(accepted) << error;
    EXPECT_EQ(error, "");
    EXPECT_EQ(accepted->fields, (std::vector<TagField>{TagField::Title, TagField::Artist, TagField::Comment}));
}

TEST_F(NamePatternTest, EachPlaceholderTakesTheShortestTextOrWithTheOptionTheLongest)
{
    EXPECT_EQ(Got("%2 - %1", "/m/Кино - Группа крови.mp3"), "%1=Группа крови %2=Кино");
    EXPECT_EQ(Got("%9 - %2 - %1", "/m/01 - ДДТ - Осень.mp3"), "%1=Осень %2=ДДТ");
    EXPECT_EQ(Got("%2 - %1", "/m/A - B - C.mp3"), "%1=B - C %2=A");
    EXPECT_EQ(Got("%2 - %1", "/m/A - B - C.mp3", {.lastSeparator = true}), "%1=C %2=A - B");
    EXPECT_EQ(Got("%9 - %2 - %1", "/m/01 - A - B - C.mp3", {.lastSeparator = true}), "%1=C %2=B");
    // Literal text, "%%" and a pattern's ".mp3" as the rename tool writes it.
    EXPECT_EQ(Got("[%4] %2 - 100%% %1.mp3", "/m/[1999] Кино - 100% Звезда.MP3"), "%1=Звезда %2=Кино %4=1999");
    // Letter case stays; values lose the spaces at their ends, and only those.
    EXPECT_EQ(Got("%2-%1", "/m/  КИНО  -  группа  Крови .mp3"), "%1=группа  Крови %2=КИНО");
}

TEST_F(NamePatternTest, TheWholeNameMustFitFromItsFirstCharacterToItsLast)
{
    EXPECT_EQ(Got("%2 - %1", "/m/Кино Группа крови.mp3"), "не подходит к шаблону");
    EXPECT_EQ(Got("%9 - %1", "/m/123.mp3"), "не подходит к шаблону");
    EXPECT_EQ(Got("[%4] %1", "/m/x[1999] Song.mp3"), "не подходит к шаблону");
    EXPECT_EQ(Got("%1 (live)", "/m/Song (live) bonus.mp3"), "не подходит к шаблону");
    // A number is all of its digits, never the end of a longer one.
    EXPECT_EQ(Got("%4 - %1", "/m/123 - Песня.mp3"), "%1=Песня %4=123");
    EXPECT_EQ(Got("track %1", "/m/123 - track 23.mp3"), "не подходит к шаблону");
    // Literals at both ends that would overlap in a short name.
    EXPECT_EQ(Got("ab%1ba", "/m/aba.mp3"), "не подходит к шаблону");
    EXPECT_EQ(Got("ab%1ba", "/m/abXba.mp3"), "%1=X");
}

TEST_F(NamePatternTest, EmptyTextRefusesTheFileAndNamesTheField)
{
    const NameMatch m = Match("%2 - %1", "/m/Кино - .mp3");
    EXPECT_EQ(m.state, NameMatch::EmptyField);
    EXPECT_EQ(m.reason, "пустое поле");
    EXPECT_EQ(m.field, TagField::Title);
    EXPECT_EQ(Fields(m.values), "%1= %2=Кино");
    EXPECT_EQ(Got("%2 - %1", "/m/   - Песня.mp3"), "пустое поле");
    // Skipped text may be empty: it fills nothing.
    EXPECT_EQ(Got("[%9] %1", "/m/[] Песня.mp3"), "%1=Песня");
}

TEST_F(NamePatternTest, UnderscoresBecomeSpacesOnlyWhenAsked)
{
    EXPECT_EQ(Got("%2 - %1", "/m/Кино_-_Группа_крови.mp3"), "не подходит к шаблону");
    EXPECT_EQ(Got("%2 - %1", "/m/Кино_-_Группа_крови.mp3", {.underscores = true}), "%1=Группа крови %2=Кино");
    EXPECT_EQ(Got("%2 - %1", "/m/A_B - C.mp3"), "%1=C %2=A_B");
    // A "_" of the pattern means the same space.
    EXPECT_EQ(Got("%2_-_%1", "/m/A - B.mp3", {.underscores = true}), "%1=B %2=A");
    EXPECT_EQ(Got("%3/%1", "/m/Best_of/x.mp3", {.underscores = true}), "%1=x %3=Best of");
}

TEST_F(NamePatternTest, FoldersCountOnlyWhereThePatternNamesThem)
{
    const std::string path = "/музыка/Кино/Группа крови/01 - Пачка сигарет.mp3";
    EXPECT_EQ(Got("%2/%3/%9 - %1", path), "%1=Пачка сигарет %2=Кино %3=Группа крови");
    EXPECT_EQ(Got("%9 - %1", path), "%1=Пачка сигарет");
    EXPECT_EQ(Got("Кино/%3/%9 - %1", path), "%1=Пачка сигарет %3=Группа крови");
    EXPECT_EQ(Got("ДДТ/%3/%9 - %1", path), "не подходит к шаблону");
    // "." and ".." steps of the path are taken as the system takes them.
    EXPECT_EQ(Got("%2/%1", "/музыка/x/../Кино/./Звезда.mp3"), "%1=Звезда %2=Кино");
    // A path that shows fewer folders than the pattern names does not fit.
    EXPECT_EQ(Got("%2/%3/%1", "/Кино/Звезда.mp3"), "не подходит к шаблону");
    EXPECT_EQ(Got("%2/%1", "Звезда.mp3"), "не подходит к шаблону");
    EXPECT_EQ(Got("%2/%1", "../Кино/Звезда.mp3"), "не подходит к шаблону");
}

TEST_F(NamePatternTest, NamesInWindows1251AreReadAsTheUserSeesThem)
{
    // "Кино", "Группа крови" and "Звезда" in Windows-1251 bytes.
    const std::string kino = "\xca\xe8\xed\xee";
    const std::string album = "\xc3\xf0\xf3\xef\xef\xe0 \xea\xf0\xee\xe2\xe8";
    const std::string star = "\xc7\xe2\xe5\xe7\xe4\xe0";
    EXPECT_EQ(Got("%2 - %1", "/m/" + kino + " - " + star + ".mp3"), "%1=Звезда %2=Кино");
    EXPECT_EQ(Got("%3/%1", "/m/" + album + "/" + star + ".mp3"), "%1=Звезда %3=Группа крови");
    // A Cyrillic literal of the pattern matches the decoded name.
    EXPECT_EQ(Got("Кино - %1", "/m/" + kino + " - " + star + ".mp3"), "%1=Звезда");
}

TEST_F(NamePatternTest, GenreAndYearMustBeOnesTheTagCanHold)
{
    EXPECT_EQ(Got("%5 - %1", "/m/rOCK - Песня.mp3"), "%1=Песня %5=rOCK");
    const NameMatch genre = Match("%5 - %1", "/m/Шансон - Песня.mp3");
    EXPECT_EQ(genre.state, NameMatch::UnknownGenre);
    EXPECT_EQ(genre.reason, "нет такого жанра");
    EXPECT_EQ(genre.field, TagField::Genre);
    EXPECT_EQ(Got("%4 - %1", "/m/1987 - Песня.mp3"), "%1=Песня %4=1987");
    EXPECT_EQ(Got("%4 - %1", "/m/99 - Песня.mp3"), "%1=Песня %4=99");
    for (const char* year : {"0", "-5", "198x", "40000", "19870", "1987.4"}) {
        const NameMatch m = Match("%4 - %1", std::string("/m/") + year + " - Песня.mp3");
        EXPECT_EQ(m.state, NameMatch::BadYear) << year;
        EXPECT_EQ(m.reason, "неверный год") << year;
    }
}

TEST_F(NamePatternTest, AMatchIsAmbiguousWhenTheOtherSplitDiffers)
{
    const NameMatch shortest = Match("%2 - %1", "/m/A - B - C.mp3");
    EXPECT_EQ(shortest.state, NameMatch::Matched);
    EXPECT_TRUE(shortest.ambiguous);
    EXPECT_EQ(shortest.reason, "неоднозначно");
    EXPECT_EQ(Fields(shortest.other), "%1=C %2=A - B");
    const NameMatch longest = Match("%2 - %1", "/m/A - B - C.mp3", {.lastSeparator = true});
    EXPECT_TRUE(longest.ambiguous);
    EXPECT_EQ(Fields(longest.other), "%1=B - C %2=A");

    const NameMatch plain = Match("%2 - %1", "/m/Кино - Группа крови.mp3");
    EXPECT_FALSE(plain.ambiguous);
    EXPECT_EQ(plain.reason, "");
    // Skipped text that splits differently while the fields do not is no ambiguity.
    EXPECT_FALSE(Match("%9 - %9 - %1", "/m/a - b - c.mp3").ambiguous);
    EXPECT_TRUE(Match("%9 - %9 - %1", "/m/a - b - c - d.mp3").ambiguous);
}

TEST_F(NamePatternTest, AHostileNameCostsNoBacktracking)
{
    std::string pattern;
    for (int i = 0; i < 60; ++i)
        pattern += "%9a";
    pattern += "%1";
    EXPECT_EQ(Got(pattern, "/m/" + std::string(250, 'a') + ".mp3"), "%1=" + std::string(190, 'a'));
    EXPECT_EQ(Got(pattern + "b", "/m/" + std::string(250, 'a') + ".mp3"), "не подходит к шаблону");
}

TEST_F(NamePatternTest, ApplyingSetsTheNamedFieldsAndKeepsEveryOtherByte)
{
    TempDir dir;
    const std::string file = dir.Write(
        "x.mp3", Audio(300) + TagBytes("Old", "", std::string("Disc\0junk", 9), "1987", std::string("c\0\x05", 3), 200));
    const std::string before = LastRecord(file);
    tag->TagRead(file);
    const NameMatch m = Match("%2 - %1 (%5)", "/m/Кино - Группа крови (pop).mp3");
    ASSERT_EQ(m.state, NameMatch::Matched);

    // Only empty fields: the title stays; genre 200 has no name, so it counts as empty.
    const auto set = ApplyNameMatch(*tag, m, {.onlyEmpty = true});
    ASSERT_TRUE(set);
    EXPECT_EQ(Fields(*set), "%2=Кино %5=Pop");
    EXPECT_EQ(CutAtNull(tag->Title()), "Old");
    ASSERT_TRUE(tag->TagWrite(file, false));
    const std::string after = LastRecord(file);
    EXPECT_EQ(after.substr(0, 33), before.substr(0, 33));
    EXPECT_EQ(after.substr(63, 64), before.substr(63, 64)); // album, year, comment with the track
    EXPECT_EQ(static_cast<unsigned char>(after[127]), tag->GenreNameToID("Pop"));

    EXPECT_EQ(Fields(*ApplyNameMatch(*tag, m, {})), "%1=Группа крови %2=Кино %5=Pop");
    EXPECT_EQ(CutAtNull(tag->Title()), "Группа крови");
}

TEST_F(NamePatternTest, ARefusedMatchLeavesTheTagUntouched)
{
    tag->SetTitle("Old");
    tag->SetYear("1987");
    for (const char* name : {"/m/2001 - .mp3", "/m/0 - Новая.mp3", "/m/Новая.mp3"}) {
        const NameMatch m = Match("%4 - %1", name);
        ASSERT_NE(m.state, NameMatch::Matched) << name;
        EXPECT_FALSE(ApplyNameMatch(*tag, m, {})) << name;
        EXPECT_EQ(CutAtNull(tag->Title()), "Old");
        EXPECT_EQ(CutAtNull(tag->Year()), "1987");
    }
}

// A name the rename tool made with a template whose placeholders are
// separated by text the values never hold comes back to the tag's fields.
TEST_F(NamePatternTest, NamesMadeByTheRenameToolComeBackToTheirFields)
{
    std::mt19937 random(24);
    const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    // Separators are made of these and spaces; values hold none of these.
    const std::string marks = "-~|+#=";
    const std::vector<std::string> letters = {"a", "Z", "q", "7", "0", "я", "Ж", "ё", "Щ", "й", "ъ", "."};
    const std::vector<std::string> inner = {"a", "Z", "7", "я", "Ж", "ё", " ", " ", ".", ",", "'", "!",
                                            "&", "(", ")", "_", "«", "»", "№"};
    const std::vector<std::string> separators = {" - ", "-", " ~ ", "|", " + ", " -- ", "=#", "/", "/# ", " =/"};
    const std::vector<std::string> heads = {"", "", "[", "Track ", "##"};
    const std::vector<std::string> tails = {"", "", "]", ".mp3", " ~ live", "##"};
    std::vector<std::uint8_t> genres;
    for (int id = 0; id < 256; ++id) {
        const std::string name = tag->GenreIDToName(static_cast<std::uint8_t>(id));
        if (!name.empty() && name.find_first_of(marks + "/") == std::string::npos)
            genres.push_back(static_cast<std::uint8_t>(id));
    }
    const auto value = [&] {
        std::string v = letters[pick(letters.size() - 1)]; // never a lone "."
        const std::size_t length = pick(36);
        for (std::size_t i = 0; i < length; ++i)
            v += inner[pick(inner.size())];
        return v + letters[pick(letters.size())];
    };

    for (int round = 0; round < 1500; ++round) {
        std::vector<int> placeholders = {1, 2, 3, 4, 5};
        std::shuffle(placeholders.begin(), placeholders.end(), random);
        placeholders.resize(1 + pick(5));
        std::string templ = heads[pick(heads.size())];
        for (std::size_t i = 0; i < placeholders.size(); ++i)
            templ += (i ? separators[pick(separators.size())] : "") + "%" + std::to_string(placeholders[i]);
        templ += tails[pick(tails.size())];

        const auto source = NewTagObject();
        source->SetTitle(value());
        source->SetArtist(value());
        source->SetAlbum(value());
        source->SetYear(std::to_string(1 + pick(2100)));
        source->SetGenre(genres[pick(genres.size())]);
        const std::string name = NameFromTemplate(templ, CutAtNull(source->Title()), CutAtNull(source->Artist()),
                                                  CutAtNull(source->Album()), CutAtNull(source->Year()),
                                                  source->GenreIDToName(source->Genre()));
        for (const bool longest : {false, true}) {
            const NameMatch m = Match(templ, "/корень/" + name, {.lastSeparator = longest});
            ASSERT_EQ(m.state, NameMatch::Matched) << templ << " over " << name << ": " << m.reason;
            EXPECT_FALSE(m.ambiguous) << templ << " over " << name;
            const auto target = NewTagObject();
            ASSERT_TRUE(ApplyNameMatch(*target, m, {}));
            for (const int slot : placeholders) {
                SCOPED_TRACE(templ + " over " + name + ", %" + std::to_string(slot));
                switch (slot) {
                case 1: EXPECT_EQ(CutAtNull(target->Title()), CutAtNull(source->Title())); break;
                case 2: EXPECT_EQ(CutAtNull(target->Artist()), CutAtNull(source->Artist())); break;
                case 3: EXPECT_EQ(CutAtNull(target->Album()), CutAtNull(source->Album())); break;
                case 4: EXPECT_EQ(CutAtNull(target->Year()), CutAtNull(source->Year())); break;
                case 5: EXPECT_EQ(target->Genre(), source->Genre()); break;
                }
            }
            if (HasFailure())
                return;
        }
    }
}

} // namespace
