#include "FileNames.h"
#include "TagObjects.h"

#include <gtest/gtest.h>
#include <set>

using mdlMain::BytesOfEdit;
using mdlMain::Readable;

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
    // Dashes, quotes, "№" and the one undefined byte.
    EXPECT_EQ(Readable("\x96 \xab\xb9\xbb \x98"), "– «№» \u0098");
    // Malformed UTF-8 of every kind is not taken for UTF-8.
    EXPECT_EQ(Readable("\xc0\xaf"), "АЇ");            // overlong "/"
    EXPECT_EQ(Readable("\xed\xa0\x80"), "н\u00a0Ђ"); // a surrogate
    EXPECT_EQ(Readable("\xd0"), "Р");               // cut short
    EXPECT_EQ(Readable("\xf4\x90\x80\x80"), "фђЂЂ"); // beyond U+10FFFF
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

TEST(LibraryErrorText, EveryKnownNumberHasItsOwnRussianText)
{
    const std::int32_t known[] = {53, 63, 75, 76, 61, 52, 67, 57, -2147220529, -2147220528, -2147220527, -2147220526};
    std::set<std::string> texts;
    for (const std::int32_t number : known) {
        const std::string text = mdlMain::LibraryErrorText(Quenlar::LibraryError(number, "TMP3Tag", "English"));
        EXPECT_EQ(text.find("English"), std::string::npos) << number;
        EXPECT_NE(text.find("\xd0"), std::string::npos) << number << ": " << text; // Cyrillic
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), std::size(known));
    EXPECT_EQ(mdlMain::LibraryErrorText(Quenlar::LibraryError(99, "TMP3Tag", "Odd failure")),
              "Ошибка 99: Odd failure");
}

} // namespace
