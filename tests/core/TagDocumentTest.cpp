// SPDX-License-Identifier: GPL-3.0-or-later
// The document's decisions without a window: questions and reports go to a
// script, the files are real.
#include "HookedTag.h"
#include "ScriptedDialogs.h"
#include "TagDocument.h"
#include "TagObjects.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class TagDocumentTest : public ::testing::Test {
protected:
    Core::TagDocument doc{[] { return Core::NewTagObject(); }};
    ScriptedDialogs dialogs;
    TempDir dir;
};

Core::TagFields Fields(const std::string& title, const std::string& year = "", std::uint8_t genre = 255)
{
    Core::TagFields f;
    f.title = title;
    f.year = year;
    f.genre = genre;
    return f;
}

TEST_F(TagDocumentTest, LoadShowsNamedGenresOnlyAndReportsAShortFile)
{
    Core::TagFields fields;
    const std::string tagged = dir.Write("a.mp3", Audio(10) + TagBytes("Song", "", "", "2003", "", 17));
    ASSERT_TRUE(doc.Load(dialogs, tagged, fields));
    EXPECT_EQ(fields, Fields("Song", "2003", 17));
    for (const std::uint8_t unnamed : {0, 126, 254}) {
        const std::string path = dir.Write("g.mp3", Audio(10) + TagBytes("Song", "", "", "", "", unnamed));
        ASSERT_TRUE(doc.Load(dialogs, path, fields));
        EXPECT_EQ(fields.genre, 255) << int(unnamed);
    }
    ASSERT_TRUE(doc.Load(dialogs, dir.Write("plain.mp3", Audio(200)), fields));
    EXPECT_EQ(fields, Core::TagFields());
    EXPECT_TRUE(dialogs.messages.empty());

    const std::string shortFile = dir.Write("short.mp3", Audio(20));
    fields = Fields("kept");
    EXPECT_FALSE(doc.Load(dialogs, shortFile, fields));
    EXPECT_EQ(fields, Fields("kept"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].style, Core::vbCritical);
    EXPECT_EQ(dialogs.messages[0].text.rfind(shortFile, 0), 0u) << "the report starts with the file";
}

// A record as real collections hold them: a track number (comment byte 29
// NUL, byte 30 the number), bytes behind a field's NUL, a genre without a
// name.
std::string MessyRecord(const std::string& title = "Old")
{
    std::string r = TagBytes(title, std::string("Band\0junk", 9), "Album", "1999", "Nice", 126);
    r[3 + 30 + 30 + 30 + 4 + 29] = '\x05'; // the track
    return r;
}

// The record with one field's bytes replaced.
std::string WithField(std::string record, std::size_t offset, const std::string& value, std::size_t width)
{
    std::string f = value;
    f.resize(width, '\0');
    return record.replace(offset, width, f);
}

TEST_F(TagDocumentTest, SaveWritesOnlyTheChangedFieldsIntoWhatTheFileHoldsNow)
{
    const std::string path = dir.Write("a.mp3", Audio(50) + MessyRecord());
    Core::TagFields fields;
    ASSERT_TRUE(doc.Load(dialogs, path, fields));
    EXPECT_EQ(fields.artist, "Band");
    EXPECT_EQ(fields.genre, 255);

    // Meanwhile a fill run gives the file another album.
    dir.Write("a.mp3", Audio(50) + WithField(MessyRecord(), 63, "Filled", 30));
    fields.title = "New";
    ASSERT_EQ(doc.Save(dialogs, path, fields), Core::TagDocument::Done);
    const std::string expected = WithField(WithField(MessyRecord(), 63, "Filled", 30), 3, "New", 30);
    EXPECT_EQ(LastRecord(path), expected);
    EXPECT_EQ(SizeOf(path), 50u + 128u);
    EXPECT_EQ(fields.album, "Filled") << "the window shows what the file now holds";
    EXPECT_TRUE(dialogs.messages.empty());

    // Saved again unchanged: nothing the user did not touch moves.
    ASSERT_EQ(doc.Save(dialogs, path, fields), Core::TagDocument::Done);
    EXPECT_EQ(LastRecord(path), expected);
}

TEST_F(TagDocumentTest, ANewCommentKeepsTheTrackNumberWhileThereIsRoomForIt)
{
    const std::string path = dir.Write("a.mp3", Audio(50) + MessyRecord());
    Core::TagFields fields;
    ASSERT_TRUE(doc.Load(dialogs, path, fields));
    fields.comment = std::string(28, 'c');
    ASSERT_EQ(doc.Save(dialogs, path, fields), Core::TagDocument::Done);
    std::string record = LastRecord(path);
    EXPECT_EQ(record.substr(97, 30), std::string(28, 'c') + std::string("\0\x05", 2));

    fields.comment = std::string(29, 'd');
    ASSERT_EQ(doc.Save(dialogs, path, fields), Core::TagDocument::Done);
    record = LastRecord(path);
    EXPECT_EQ(record.substr(97, 30), std::string(29, 'd') + '\0');
    EXPECT_EQ(record[127], '\x7e') << "the genre without a name stays";
}

TEST_F(TagDocumentTest, AFileWithoutARecordGetsAllSixFields)
{
    const std::string path = dir.Write("plain.mp3", Audio(300));
    Core::TagFields fields;
    ASSERT_TRUE(doc.Load(dialogs, path, fields));
    fields.title = "Song";
    ASSERT_EQ(doc.Save(dialogs, path, fields), Core::TagDocument::Done);
    EXPECT_EQ(LastRecord(path), TagBytes("Song"));
    EXPECT_EQ(SizeOf(path), 300u + 128u);
}

TEST_F(TagDocumentTest, CharactersTheTagCannotHoldAreAskedAboutBeforeAnythingIsWritten)
{
    const std::string path = dir.Write("a.mp3", Audio(10) + TagBytes("Old"));
    Core::TagFields fields;
    ASSERT_TRUE(doc.Load(dialogs, path, fields));
    fields.title = "Müller ő 中 😀 €Ё?";
    EXPECT_EQ(doc.Save(dialogs, path, fields), Core::TagDocument::Withheld);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "В полях есть знаки, которых нет в кодировке тегов Windows-1251: «ü» (U+00FC), "
                                        "«ő» (U+0151), «中» (U+4E2D), «😀» (U+1F600).\rОни будут записаны как «?»."
                                        "\r\rВсё равно записать теги в файл " + path + "?");
    EXPECT_EQ(dialogs.messages[0].style, Core::vbYesNoWarning | Core::vbDefaultButton2);
    EXPECT_EQ(LastRecord(path), TagBytes("Old"));
    EXPECT_EQ(fields.title, "Müller ő 中 😀 €Ё?");

    dialogs.answer = [](const std::string&) { return Core::vbYes; };
    EXPECT_EQ(doc.Save(dialogs, path, fields), Core::TagDocument::Done);
    EXPECT_EQ(fields.title, "M?ller ? ? ? €Ё?");
    EXPECT_EQ(LastRecord(path), TagBytes("M?ller ? ? ? \x88\xa8?"));
}

TEST_F(TagDocumentTest, ReadOnlyFileIsAskedAboutAndKeepsItsAttributeWhateverHappens)
{
    const std::string path = dir.Write("ro.mp3", Audio(10) + TagBytes("Old"));
    SetMode(path, 0444);
    const std::string before = ReadFile(path);

    Core::TagFields fields = Fields("New");
    EXPECT_EQ(doc.Save(dialogs, path, fields), Core::TagDocument::Declined);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Файл " + path + " доступен только для чтения.\r\rВы все равно хотите изменить теги в нем?");
    EXPECT_EQ(dialogs.messages[0].style, Core::vbYesNoQuestion);
    EXPECT_EQ(ReadFile(path), before);

    dialogs.answer = [](const std::string&) { return Core::vbYes; };
    EXPECT_EQ(doc.Save(dialogs, path, fields), Core::TagDocument::Done);
    EXPECT_EQ(LastRecord(path), TagBytes("New"));
    EXPECT_EQ(ModeOf(path), 0444u);

    // A year the tag object refuses: reported after the attribute is back.
    dialogs.messages.clear();
    fields = Fields("Newer", "abc");
    EXPECT_EQ(doc.Save(dialogs, path, fields), Core::TagDocument::Failed);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].style, Core::vbCritical);
    EXPECT_EQ(LastRecord(path), TagBytes("New"));
    EXPECT_EQ(ModeOf(path), 0444u);
}

TEST_F(TagDocumentTest, AReadOnlyAttributeThatCannotBeSetBackIsReported)
{
    const std::string path = dir.Write("ro.mp3", Audio(10) + TagBytes("Old"));
    SetMode(path, 0444);
    // The file goes right after the write, so its attribute has nowhere to go back to.
    Core::TagDocument hooked([] {
        auto tag = std::make_unique<HookedTag>();
        tag->afterWrite = [](const std::string& p) { std::filesystem::remove(p); };
        return tag;
    });
    dialogs.answer = [](const std::string&) { return Core::vbYes; };
    Core::TagFields fields = Fields("New");
    EXPECT_EQ(hooked.Save(dialogs, path, fields), Core::TagDocument::Done);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text,
              "Не удалось снова сделать файл " + path + " доступным только для чтения.\r\rФайл или папка не найдены.");
}

TEST_F(TagDocumentTest, AVanishedFileIsReportedByEveryAction)
{
    const std::string path = dir / "gone.mp3";
    const std::string report = "Файл " + path + " отсутствует.\rОкно, соответствующее этому файлу будет закрыто.";
    Core::TagFields fields = Fields("kept");
    EXPECT_EQ(doc.Save(dialogs, path, fields), Core::TagDocument::Missing);
    EXPECT_EQ(doc.Reread(dialogs, path, fields), Core::TagDocument::Missing);
    EXPECT_EQ(doc.Rename(dialogs, path, "%1", fields).kind, Core::TagDocument::RenameResult::Missing);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>(3, report));
    EXPECT_EQ(fields, Fields("kept"));
    EXPECT_FALSE(Exists(dir / "kept.mp3"));
}

TEST_F(TagDocumentTest, RenameAsksWhileTheNameIsTakenAndCancelKeepsTheFile)
{
    const std::string path = dir.Write("a.mp3", "audio");
    dir.Write("Song.mp3", "taken");
    dialogs.promptAnswers = {""};
    const auto cancelled = doc.Rename(dialogs, path, "%1", Fields("Song"));
    EXPECT_EQ(cancelled.kind, Core::TagDocument::RenameResult::Cancelled);
    EXPECT_EQ(cancelled.target, path);
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].proposal, dir / "Song.mp3");

    dialogs.promptAnswers = {dir / "Other.mp3"};
    const auto renamed = doc.Rename(dialogs, path, "%1", Fields("Song"));
    EXPECT_EQ(renamed.kind, Core::TagDocument::RenameResult::Renamed);
    EXPECT_EQ(renamed.target, dir / "Other.mp3");
    EXPECT_EQ(ReadFile(dir / "Other.mp3"), "audio");
    EXPECT_EQ(ReadFile(dir / "Song.mp3"), "taken");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(TagDocumentTest, RenameRefusesAHiddenNameAndKeepsTheFile)
{
    const std::string path = dir.Write("a.mp3", "audio");
    const auto result = doc.Rename(dialogs, path, "%1", Fields(".hidden"));
    EXPECT_EQ(result.kind, Core::TagDocument::RenameResult::Failed);
    EXPECT_EQ(result.target, path);
    EXPECT_EQ(ReadFile(path), "audio");
    EXPECT_FALSE(Exists(dir / ".hidden.mp3"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].style, Core::vbCritical);
    EXPECT_EQ(dialogs.messages[0].title, "Morvik");
    EXPECT_EQ(dialogs.messages[0].text, "Файл " + path + " не будет переименован в " + (dir / ".hidden.mp3")
                                            + ".\r\rИмя файла не может начинаться с точки: такой файл был бы скрыт.");
}

} // namespace
