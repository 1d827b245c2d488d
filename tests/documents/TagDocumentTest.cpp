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
    TagDocument doc{[] { return mdlMain::NewTagObject(); }};
    ScriptedDialogs dialogs;
    TempDir dir;
};

TagFields Fields(const std::string& title, const std::string& year = "", std::uint8_t genre = 255)
{
    TagFields f;
    f.title = title;
    f.year = year;
    f.genre = genre;
    return f;
}

TEST_F(TagDocumentTest, LoadShowsNamedGenresOnlyAndReportsAShortFile)
{
    TagFields fields;
    const std::string tagged = dir.Write("a.mp3", Audio(10) + TagBytes("Song", "", "", "2003", "", 17));
    ASSERT_TRUE(doc.Load(dialogs, tagged, fields));
    EXPECT_EQ(fields, Fields("Song", "2003", 17));
    for (const std::uint8_t unnamed : {0, 126, 254}) {
        const std::string path = dir.Write("g.mp3", Audio(10) + TagBytes("Song", "", "", "", "", unnamed));
        ASSERT_TRUE(doc.Load(dialogs, path, fields));
        EXPECT_EQ(fields.genre, 255) << int(unnamed);
    }
    ASSERT_TRUE(doc.Load(dialogs, dir.Write("plain.mp3", Audio(200)), fields));
    EXPECT_EQ(fields, TagFields());
    EXPECT_TRUE(dialogs.messages.empty());

    const std::string shortFile = dir.Write("short.mp3", Audio(20));
    fields = Fields("kept");
    EXPECT_FALSE(doc.Load(dialogs, shortFile, fields));
    EXPECT_EQ(fields, Fields("kept"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].style, mdlMain::vbCritical);
    EXPECT_EQ(dialogs.messages[0].text.rfind(shortFile, 0), 0u) << "the report starts with the file";
}

TEST_F(TagDocumentTest, ReadOnlyFileIsAskedAboutAndKeepsItsAttributeWhateverHappens)
{
    const std::string path = dir.Write("ro.mp3", Audio(10) + TagBytes("Old"));
    SetMode(path, 0444);
    const std::string before = ReadFile(path);

    EXPECT_EQ(doc.Save(dialogs, path, Fields("New")), TagDocument::Declined);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Файл " + path + " доступен только для чтения.\r\rВы все равно хотите изменить теги в нем?");
    EXPECT_EQ(dialogs.messages[0].style, mdlMain::vbYesNoQuestion);
    EXPECT_EQ(ReadFile(path), before);

    dialogs.answer = [](const std::string&) { return mdlMain::vbYes; };
    EXPECT_EQ(doc.Save(dialogs, path, Fields("New")), TagDocument::Done);
    EXPECT_EQ(LastRecord(path), TagBytes("New"));
    EXPECT_EQ(ModeOf(path), 0444u);

    // A year the tag object refuses: reported after the attribute is back.
    dialogs.messages.clear();
    EXPECT_EQ(doc.Save(dialogs, path, Fields("Newer", "abc")), TagDocument::Failed);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].style, mdlMain::vbCritical);
    EXPECT_EQ(LastRecord(path), TagBytes("New"));
    EXPECT_EQ(ModeOf(path), 0444u);
}

TEST_F(TagDocumentTest, AReadOnlyAttributeThatCannotBeSetBackIsReported)
{
    const std::string path = dir.Write("ro.mp3", Audio(10) + TagBytes("Old"));
    SetMode(path, 0444);
    // The file goes right after the write, so its attribute has nowhere to go back to.
    TagDocument hooked([] {
        auto tag = std::make_unique<HookedTag>();
        tag->afterWrite = [](const std::string& p) { std::filesystem::remove(p); };
        return tag;
    });
    dialogs.answer = [](const std::string&) { return mdlMain::vbYes; };
    EXPECT_EQ(hooked.Save(dialogs, path, Fields("New")), TagDocument::Done);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text,
              "Не удалось снова сделать файл " + path + " доступным только для чтения.\r\rФайл или папка не найдены.");
}

TEST_F(TagDocumentTest, AVanishedFileIsReportedByEveryAction)
{
    const std::string path = dir / "gone.mp3";
    const std::string report = "Файл " + path + " отсутствует.\rОкно, соответствующее этому файлу будет закрыто.";
    TagFields fields = Fields("kept");
    EXPECT_EQ(doc.Save(dialogs, path, fields), TagDocument::Missing);
    EXPECT_EQ(doc.Reread(dialogs, path, fields), TagDocument::Missing);
    EXPECT_EQ(doc.Rename(dialogs, path, "%1", fields).kind, TagDocument::RenameResult::Missing);
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
    EXPECT_EQ(cancelled.kind, TagDocument::RenameResult::Cancelled);
    EXPECT_EQ(cancelled.target, path);
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].proposal, dir / "Song.mp3");

    dialogs.promptAnswers = {dir / "Other.mp3"};
    const auto renamed = doc.Rename(dialogs, path, "%1", Fields("Song"));
    EXPECT_EQ(renamed.kind, TagDocument::RenameResult::Renamed);
    EXPECT_EQ(renamed.target, dir / "Other.mp3");
    EXPECT_EQ(ReadFile(dir / "Other.mp3"), "audio");
    EXPECT_EQ(ReadFile(dir / "Song.mp3"), "taken");
    EXPECT_TRUE(dialogs.messages.empty());
}

} // namespace
