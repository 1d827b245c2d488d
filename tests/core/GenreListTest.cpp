// SPDX-License-Identifier: GPL-3.0-or-later
#include "GenreList.h"
#include "TagObjects.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Core;

TEST(SortedGenreList, PutsTheEmptyEntryFirstAndIgnoresCaseAndHyphens)
{
    auto tag = NewTagObject();
    const auto all = SortedGenreList(*tag, 0);
    ASSERT_EQ(all.size(), 127u);
    EXPECT_EQ(all.front(), GenreEntry("", 255));
    const auto documents = SortedGenreList(*tag, 1);
    ASSERT_EQ(documents.size(), 126u);
    EXPECT_EQ(std::count(documents.begin(), documents.end(), GenreEntry("Blues", 0)), 0);

    const auto at = [&](const std::string& name) {
        return std::find_if(all.begin(), all.end(), [&](const GenreEntry& e) { return e.first == name; })
            - all.begin();
    };
    EXPECT_LT(at("EuroDance"), at("Euro-House"));
    EXPECT_LT(at("Euro-House"), at("Euro-Techno"));
    EXPECT_EQ(all.back().first, "Vocal");
}
