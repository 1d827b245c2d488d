// SPDX-License-Identifier: GPL-3.0-or-later
// The tags-from-names tool on real folders: its run, journalled and taken
// back, and its plan, decided by the same step.
#include "ApplyPlan.h"
#include "Codepage.h"
#include "Journal.h"
#include "ParseJob.h"
#include "ScriptedDialogs.h"
#include "TagObjects.h"
#include "TakeBack.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

using namespace testing_support;
using Core::RowState;

namespace {

// A Russian text as the tag stores it.
std::string W(const std::string& utf8)
{
    return Quenlar::Codepage::Encode(utf8);
}

class ParseJobTest : public ::testing::Test {
protected:
    TempDir dir;
    StateHome state;
    ScriptedDialogs dialogs;

    std::string Mp3(const std::string& name, const std::string& record, mode_t mode = 0644)
    {
        return dir.Mp3(name, record, mode);
    }
    void Run(const std::string& pattern, Core::ParseOptions options = {}, std::string folder = {})
    {
        Core::NewParseRun(folder.empty() ? dir.Path() : folder, pattern, options, Core::NewTagObject())->Run(dialogs);
    }
    // The box a run ends with, the count-th it showed.
    std::string Closing(std::size_t count = 1)
    {
        EXPECT_EQ(dialogs.messages.size(), count);
        if (dialogs.messages.empty())
            return {};
        EXPECT_EQ(dialogs.messages.back().style, Core::vbInformation);
        return dialogs.messages.back().text;
    }
    std::map<std::string, std::string> Files()
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Path()))
            if (entry.is_regular_file())
                files[entry.path().string()] = ReadFile(entry.path().string());
        return files;
    }
    void TakeBack()
    {
        ScriptedDialogs told;
        told.answer = [](const std::string&) { return Core::vbYes; };
        EXPECT_EQ(Core::TakeBackLastRun(told, state.Folder()), Core::TakeBackEnd::Done);
    }
};

TEST_F(ParseJobTest, ARunFillsWhatFitsLeavesTheRestByteForByteAndIsTakenBack)
{
    // Bytes behind the album's end and a genre all stay as they were.
    const std::string kino
        = Mp3("Кино - Группа крови.mp3", TagBytes("old", "", std::string("Album\0xyz", 9), "1988", "comm", 17));
    const std::string abc = Mp3("A - B - C.mp3", TagBytes("x"));
    const std::string bare = dir.Write("track05.mp3", Audio(300));
    const std::string empty = Mp3("Кино - .mp3", TagBytes("keep"));
    const std::string same = Mp3("Same - Song.mp3", TagBytes("Song", "Same"));
    const auto before = Files();

    Run("%2 - %1");
    const std::string text = Closing();
    EXPECT_TRUE(text.starts_with("Заполнение тегов завершено. Изменено файлов: 2 из 5.\r\rПропущены:\r")) << text;
    EXPECT_NE(text.find("\r" + bare + " — не подходит к шаблону"), std::string::npos) << text;
    EXPECT_NE(text.find("\r" + empty + " — пустое поле: название"), std::string::npos) << text;
    EXPECT_EQ(text.find(same), std::string::npos) << "a file that holds its values already is no problem";

    EXPECT_EQ(LastRecord(kino),
              TagBytes(W("Группа крови"), W("Кино"), std::string("Album\0xyz", 9), "1988", "comm", 17));
    EXPECT_EQ(LastRecord(abc), TagBytes("B - C", "A"));
    for (const std::string* path : {&bare, &empty, &same})
        EXPECT_EQ(ReadFile(*path), before.at(*path)) << *path;

    TakeBack();
    EXPECT_EQ(Files(), before);
}

TEST_F(ParseJobTest, TheOptionsAndFoldersThePatternNames)
{
    const std::string abc = Mp3("A - B - C.mp3", TagBytes("x"));
    Run("%2 - %1", {.lastSeparator = true});
    EXPECT_EQ(LastRecord(abc), TagBytes("C", "A - B"));

    // Only empty fields: a title already set stays.
    dialogs.messages.clear();
    const std::string set = Mp3("Band - Title.mp3", TagBytes("Set", "", "Album"));
    Run("%2 - %1", {.onlyEmpty = true});
    EXPECT_EQ(LastRecord(set), TagBytes("Set", "Band", "Album"));

    // Folders count where the pattern names them, and nowhere else.
    dialogs.messages.clear();
    const std::string album = dir.MakeFolder("Кино/Группа крови");
    const std::string song = dir.Write("Кино/Группа крови/01 - Пачка сигарет.mp3",
                                       Audio(100) + TagBytes("", "", "", "1988", "", 17));
    Run("%2/%3/%9 - %1", {}, album);
    EXPECT_EQ(Closing(), "Заполнение тегов завершено. Изменено файлов: 1 из 1.");
    EXPECT_EQ(LastRecord(song), TagBytes(W("Пачка сигарет"), W("Кино"), W("Группа крови"), "1988", "", 17));
}

TEST_F(ParseJobTest, ARefusedPatternIsReportedBeforeAnyFileIsTouched)
{
    Mp3("Кино - Группа крови.mp3", TagBytes("old"));
    const auto before = Files();
    for (const char* pattern : {"%0", "%2%1"}) {
        dialogs.messages.clear();
        Run(pattern);
        ASSERT_EQ(dialogs.messages.size(), 1u) << pattern;
        EXPECT_EQ(dialogs.messages[0].style, Core::vbCritical);
        std::string error;
        EXPECT_FALSE(Core::ParseNamePattern(pattern, error));
        EXPECT_EQ(dialogs.messages[0].text, error);
        EXPECT_EQ(Files(), before);
        EXPECT_FALSE(Core::CanTakeBack(state.Folder())) << "not even the journal was begun";
    }
    // The preview refuses it the same way.
    dialogs.messages.clear();
    auto tag = Core::NewTagObject();
    const auto job = Core::NewParsePlanJob("%0", {});
    EXPECT_EQ(Core::MakePlan(dialogs, dir.Path(), *job, *tag), nullptr);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("«%0»"), std::string::npos);
}

TEST_F(ParseJobTest, TheRunAsksAboutReadOnlyFilesAndCharactersTheTagCannotHold)
{
    const std::string ro = Mp3("Band - ro.mp3", TagBytes("old"), 0444);
    const auto roBefore = ReadFile(ro);
    Run("%2 - %1"); // No
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, "Файл " + ro + " доступен только для чтения\r\rЗаполнить теги в этом файле?");
    EXPECT_EQ(Closing(2), "Заполнение тегов завершено. Изменено файлов: 0 из 1.\r\rПропущены:\r" + ro
                             + " — только для чтения");
    EXPECT_EQ(ReadFile(ro), roBefore);

    dialogs.messages.clear();
    dialogs.answer = [](const std::string&) { return Core::vbYes; };
    Run("%2 - %1");
    EXPECT_EQ(LastRecord(ro), TagBytes("ro", "Band"));
    EXPECT_EQ(ModeOf(ro) & 0777, 0444u);

    // The warning comes once, at the first such file; No stops the run there.
    TempDir other;
    for (const char* name : {"Bandő - One.mp3", "Bandű - Two.mp3"})
        other.Write(name, Audio(100) + TagBytes("old"));
    dialogs.messages.clear();
    dialogs.answer = [](const std::string&) { return Core::vbNo; };
    Run("%2 - %1", {}, other.Path());
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].style, Core::vbYesNoWarning | Core::vbDefaultButton2);
    EXPECT_NE(dialogs.messages[0].text.find("Продолжить заполнение?"), std::string::npos);
    EXPECT_EQ(dialogs.messages[1].text, "Заполнение тегов прервано. Изменено файлов: 0 из 2.");
    for (const char* name : {"Bandő - One.mp3", "Bandű - Two.mp3"})
        EXPECT_EQ(LastRecord(other / name), TagBytes("old")) << name;

    dialogs.messages.clear();
    dialogs.answer = [](const std::string&) { return Core::vbYes; };
    Run("%2 - %1", {}, other.Path());
    EXPECT_EQ(dialogs.messages.size(), 2u) << "one warning for the whole run";
    EXPECT_EQ(LastRecord(other / "Bandő - One.mp3"), TagBytes("One", "Band?"));
    EXPECT_EQ(LastRecord(other / "Bandű - Two.mp3"), TagBytes("Two", "Band?"));
}

TEST_F(ParseJobTest, AtMostTwentyLeftFilesAreNamed)
{
    for (int i = 0; i < 22; ++i)
        dir.Write("track" + std::to_string(i) + ".mp3", Audio(300));
    Run("%2 - %1");
    const std::string text = Closing();
    EXPECT_TRUE(text.starts_with("Заполнение тегов завершено. Изменено файлов: 0 из 22.")) << text;
    EXPECT_TRUE(text.ends_with("не подходит к шаблону\rи ещё 2.")) << text;
}

TEST_F(ParseJobTest, APlanShowsEachFileInItsStateAndItsRecordIsWhatApplyWrites)
{
    const std::string tail = " (1999, Rock).mp3";
    const std::string plain = Mp3("Band - Song" + tail, TagBytes("x", "", "Album"));
    Mp3("A - B - C" + tail, TagBytes("x"));
    Mp3("Band - Song (19x9, Rock).mp3", TagBytes("x"));
    Mp3("Band - Song (1999, Nothing).mp3", TagBytes("x"));
    Mp3("Band -  " + tail, TagBytes("x"));
    Mp3("Bandő - Song" + tail, TagBytes("x"));
    Mp3("ro - Song" + tail, TagBytes("x"), 0444);
    dir.Write("short - Song" + tail, "tiny");
    Mp3("Same - Song" + tail, TagBytes("Song", "Same", "", "1999", "", 17));
    Mp3("other.mp3", TagBytes("x"));
    Mp3("Band - A title longer than thirty characters" + tail, TagBytes("x"));
    const std::string bare = dir.Write("Band - Bare" + tail, Audio(300));
    const auto before = Files();

    auto tag = Core::NewTagObject();
    const std::shared_ptr<Core::PlanJob> job = Core::NewParsePlanJob("%2 - %1 (%4, %5)", {});
    const auto plan = Core::MakePlan(dialogs, dir.Path(), *job, *tag);
    ASSERT_TRUE(plan);
    EXPECT_EQ(Files(), before) << "a plan changes nothing";
    std::map<std::string, const Core::PlanRow*> rows;
    for (const Core::PlanRow& row : plan->rows)
        rows[row.path.substr(dir.Path().size())] = &row;
    ASSERT_EQ(rows.size(), 12u);
    const auto text = [&](const std::string& name) { return rows.at(name)->StateText(); };
    EXPECT_EQ(text("Band - Song" + tail), "изменится");
    EXPECT_EQ(text("A - B - C" + tail),
              "неоднозначно: иначе исполнитель «A - B», название «C», год «1999», жанр «Rock»");
    EXPECT_EQ(text("Band - Song (19x9, Rock).mp3"), "неверный год: «19x9»");
    EXPECT_EQ(text("Band - Song (1999, Nothing).mp3"), "нет такого жанра: «Nothing»");
    EXPECT_EQ(text("Band -  " + tail), "пустое поле: название");
    EXPECT_EQ(text("Bandő - Song" + tail), "символ не в Windows-1251: «ő» станет «?»");
    EXPECT_EQ(text("ro - Song" + tail), "только для чтения");
    EXPECT_EQ(rows.at("short - Song" + tail)->state, RowState::Unchangeable);
    EXPECT_EQ(text("Same - Song" + tail), "без изменений");
    EXPECT_EQ(text("other.mp3"), "не подходит к шаблону");
    EXPECT_EQ(text("Band - A title longer than thirty characters" + tail), "будет обрезано: Название");
    EXPECT_TRUE(rows.at("Band - Bare" + tail)->appends);
    for (const auto& [name, row] : rows)
        EXPECT_EQ(row->ticked, Core::TickedAtFirst(row->state)) << name;
    for (const RowState state : {RowState::NoMatch, RowState::EmptyField, RowState::NoGenre, RowState::BadYear})
        EXPECT_FALSE(Core::Tickable(state));
    EXPECT_TRUE(rows.at("A - B - C" + tail)->ticked);

    const auto& record = rows.at("Band - Song" + tail)->record;
    EXPECT_EQ(std::string(record.data(), record.size()), TagBytes("Song", "Band", "Album", "1999", "", 17));
    {
        const auto journal = Core::RunJournal::Begin(dialogs, state.Folder());
        ASSERT_TRUE(journal);
        EXPECT_EQ(Core::ApplyPlan(dialogs, *plan, *job, *tag, *journal), Core::ApplyEnd::Done);
    }
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Заполнение тегов завершено.");
    EXPECT_EQ(LastRecord(plain), std::string(record.data(), record.size()));
    EXPECT_EQ(LastRecord(bare), TagBytes("Bare", "Band", "", "1999", "", 17));
    EXPECT_EQ(LastRecord(dir / ("A - B - C" + tail)), TagBytes("B - C", "A", "", "1999", "", 17));
    EXPECT_EQ(ReadFile(dir / ("ro - Song" + tail)), before.at(dir / ("ro - Song" + tail)));
    TakeBack();
    EXPECT_EQ(Files(), before);
}

} // namespace
