// SPDX-License-Identifier: GPL-3.0-or-later
#include "TagObjects.h"

#include <gtest/gtest.h>

using namespace Core;

TEST(NewTagObject, ComesFromTheLibrarysFactory)
{
    auto tag = NewTagObject();
    ASSERT_TRUE(tag);
    EXPECT_FALSE(tag->ValidTag());
    EXPECT_EQ(DllCanUnloadNow(), Quenlar::S_FALSE);
    tag.reset();
    EXPECT_EQ(DllCanUnloadNow(), Quenlar::S_OK);
}
