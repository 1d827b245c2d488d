// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileNames.h"

#include <gtest/gtest.h>

using Core::BytesOfEdit;
using Core::Readable;

namespace {

// "Ёлка" and "Музыка" in Windows-1251.
const std::string kYolka = "\xa8\xeb\xea\xe0";
const std::string kMuzyka = "\xcc\xf3\xe7\xfb\xea\xe0";

TEST(Readable, Utf8StaysAndWindows1251IsReadAsSuch)
{
    EXPECT_EQ(Readable("/music/Ёлка.mp3"), "/music/Ёлка.mp3");
    EXPECT_EQ(Readable("/" + kMuzyka + "/" + kYolka + ".mp3"), "/Музыка/Ёлка.mp3");
    // A message around a path keeps its own text.
    EXPECT_EQ(Readable("Файл /x/" + kYolka + ".mp3 отсутствует."), "Файл /x/Ёлка.mp3 отсутствует.");
    // Malformed UTF-8 (overlong, a surrogate, cut short) is not taken for UTF-8.
    EXPECT_EQ(Readable("\xc0\xaf \xed\xa0\x80 \xd0"), "АЇ н\u00a0Ђ Р");
}

TEST(BytesOfEdit, TheFolderTheUserKeptGoesBackToItsBytes)
{
    const std::string original = "/" + kMuzyka + "/" + kYolka + ".mp3";
    EXPECT_EQ(BytesOfEdit(Readable(original), original), original);
    EXPECT_EQ(BytesOfEdit("/Музыка/Новая.mp3", original), "/" + kMuzyka + "/Новая.mp3");
    EXPECT_EQ(BytesOfEdit("/Музыка", original), "/Музыка"); // not the folder as a whole
    EXPECT_EQ(BytesOfEdit("/tmp/a.mp3", original), "/tmp/a.mp3");
    EXPECT_EQ(BytesOfEdit("", original), "");
}

} // namespace
