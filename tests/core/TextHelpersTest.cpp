// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextHelpers.h"

#include <gtest/gtest.h>

using Core::CutAtNull;
using Core::ReplaceAll;
using namespace std::string_literals;

TEST(ReplaceAll, ReplacesEveryOccurrenceCaseSensitively)
{
    EXPECT_EQ(ReplaceAll("%1 - %1", "%1", "x"), "x - x");
    EXPECT_EQ(ReplaceAll("%a", "%A", "x"), "%a");
    EXPECT_EQ(ReplaceAll("no placeholder", "%1", "x"), "no placeholder");
    EXPECT_EQ(ReplaceAll("", "%1", "x"), "");
    EXPECT_EQ(ReplaceAll("%1%1%1", "%1", ""), "");
    EXPECT_EQ(ReplaceAll("Песня %1", "%1", "Группа"), "Песня Группа");
}

TEST(ReplaceAll, RescansOccurrencesThatReplacementsCreate)
{
    // A single left-to-right pass would leave "ab".
    EXPECT_EQ(ReplaceAll("aabb", "ab", ""), "");
    EXPECT_EQ(ReplaceAll("aaabbb", "ab", ""), "");
    EXPECT_EQ(ReplaceAll("%%11", "%1", ""), "");
    // "ab" -> "b": every pass moves the boundary left.
    EXPECT_EQ(ReplaceAll("aaab", "ab", "b"), "b");
    // An occurrence formed across the replacement's end.
    EXPECT_EQ(ReplaceAll("abb", "ab", "a"), "a");
}

TEST(ReplaceAll, EndsWhenTheReplacementHoldsTheSearchText)
{
    EXPECT_EQ(ReplaceAll("%1 - %1", "%1", "a%1b"), "a%1b - a%1b");
    EXPECT_EQ(ReplaceAll("%1", "%1", "%1"), "%1");
    EXPECT_EQ(ReplaceAll("ab", "ab", "aab"), "aab");
}

TEST(ReplaceAll, EmptySearchTextChangesNothing)
{
    EXPECT_EQ(ReplaceAll("text", "", "x"), "text");
    EXPECT_EQ(ReplaceAll("", "", "x"), "");
}

TEST(ReplaceAll, CollapsesLongRunsOfNewOccurrences)
{
    // 32767 characters that collapse one pair at a time.
    const std::string text = std::string(16383, 'a') + std::string(16384, 'b');
    EXPECT_EQ(ReplaceAll(text, "ab", ""), "b");
}

TEST(ReplaceAll, EndsSoonWhenEveryPassBreedsNewOccurrences)
{
    // Rescanning would double the run of "1"s for every "%": 2^30 characters.
    // A few passes that each make a new occurrence, and the search goes on
    // behind the inserted text.
    const std::string result = ReplaceAll(std::string(30, '%') + "1", "%1", "11%");
    EXPECT_LT(result.size(), 1024u);
    // A title "%22" and an artist "22%%" under "%2 - %1": one new occurrence
    // on every pass, for ever.
    const std::string name = ReplaceAll(ReplaceAll("%2 - %1", "%1", "%22"), "%2", "22%%");
    EXPECT_LT(name.size(), 256u) << name;
    // Values that hold the next placeholder: cut at the bound, at a
    // character's start.
    std::string grown = "%1";
    for (int step = 0; step < 8; ++step)
        grown = ReplaceAll(grown, "%1", "Ж%1%1%1%1", 1000);
    EXPECT_LE(grown.size(), 1000u);
    EXPECT_EQ(ReplaceAll(std::string(600, 'x') + "%1", "%1", "xxxxЖ", 605), std::string(604, 'x'));
}

TEST(CutAtNull, CutsBeforeTheFirstNul)
{
    EXPECT_EQ(CutAtNull("Song" + std::string(26, '\0')), "Song");
    EXPECT_EQ(CutAtNull("\0abc"s), "");
    EXPECT_EQ(CutAtNull("ab\0cd\0"s), "ab");
    EXPECT_EQ(CutAtNull("plain"), "plain");
    EXPECT_EQ(CutAtNull(""), "");
}
