// SPDX-License-Identifier: GPL-3.0-or-later
// The recode tool's plan and run on real folders: which files change and
// how, every other byte kept, the questions, and taking the run back.
#include "ApplyPlan.h"
#include "CodepageTesting.h"
#include "Journal.h"
#include "RecodeJob.h"
#include "ScriptedDialogs.h"
#include "TagObjects.h"
#include "TakeBack.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

using namespace testing_support;
using Core::RowState;
using Quenlar::Codepage::Page;

namespace {

constexpr std::size_t kTitle = 3, kYear = 93, kComment = 97, kGenre = 127;

struct Song {
    const char* title;
    const char* artist;
    const char* album;
    const char* comment;
};
const Song kSong{"Группа крови", "Кино", "Live 1988", "Концерт"};

// song's record stored in page, with something in each byte that must stay:
// bytes behind the title's first NUL that read as letters, a year, a v1.1
// track number that would be a letter too, a genre.
std::string Record(StoredAs page, const Song& song = kSong)
{
    auto record = testing_support::RecordOf(StoreIn(page, song.title), StoreIn(page, song.artist),
                                            StoreIn(page, song.album), StoreIn(page, song.comment));
    record[kTitle + 25] = '\xC1';
    record[kTitle + 26] = '\xEB';
    std::string("1988").copy(record.data() + kYear, 4);
    record[kComment + 28] = '\0';
    record[kComment + 29] = '\xC1';
    record[kGenre] = 17;
    return std::string(record.data(), record.size());
}

class RecodeJobTest : public ::testing::Test {
protected:
    TempDir dir;
    StateHome state;
    ScriptedDialogs dialogs;
    std::unique_ptr<Quenlar::_TMP3Tag> tag = Core::NewTagObject();

    std::string Mp3(const std::string& name, const std::string& record, mode_t mode = 0644)
    {
        return dir.Mp3(name, record, mode);
    }
    Core::RecodeEnd Run(std::optional<Page> from = std::nullopt)
    {
        const auto journal = Core::RunJournal::Begin(dialogs, state.Folder());
        EXPECT_TRUE(journal);
        return Core::RunRecode(dir.Path(), from, *tag, dialogs, journal.get());
    }
    std::map<std::string, std::string> Files()
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            files[entry.path().filename().string()] = ReadFile(entry.path().string());
        return files;
    }
    const Core::PlanRow& Row(const Core::Plan& plan, const std::string& name)
    {
        for (const Core::PlanRow& row : plan.rows)
            if (row.path == dir / name)
                return row;
        ADD_FAILURE() << "no row for " << name;
        return plan.rows.front();
    }
};

// Latin-1 names, read as Windows-1251 by Morvik: "Björk", "Jóga".
const char kLatin1[] = "\x42\x6A\xF6\x72\x6B";

TEST_F(RecodeJobTest, GuessedPerFileTheRunRecodesKoi8AndCp866FilesOnlyAndIsTakenBack)
{
    Mp3("koi.mp3", Record(StoredAs::Koi8R));
    Mp3("dos.mp3", Record(StoredAs::Cp866));
    Mp3("win.mp3", Record(StoredAs::Windows1251));
    Mp3("ascii.mp3", Record(StoredAs::Windows1251, {"Yesterday", "The Beatles", "Help!", ""}));
    Mp3("latin.mp3", TagBytes("J\xF3ga", kLatin1));
    dir.Write("bare.mp3", Audio(300));
    const auto before = Files();

    EXPECT_EQ(Run(), Core::RecodeEnd::Completed);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Перекодирование завершено. Изменено файлов: 2 из 6.");
    EXPECT_EQ(dialogs.messages[0].style, Core::vbInformation);
    // The four fields hold the Windows-1251 bytes of the same text; every
    // other byte, of the record and before it, is the old one.
    const std::string recoded = Audio(100) + Record(StoredAs::Windows1251);
    EXPECT_EQ(ReadFile(dir / "koi.mp3"), recoded);
    EXPECT_EQ(ReadFile(dir / "dos.mp3"), recoded);
    for (const char* name : {"win.mp3", "ascii.mp3", "latin.mp3", "bare.mp3"})
        EXPECT_EQ(ReadFile(dir / name), before.at(name)) << name;

    ScriptedDialogs told;
    EXPECT_EQ(Core::TakeBackLastRun(told, state.Folder()), Core::TakeBackEnd::Done);
    EXPECT_EQ(Files(), before);
}

TEST_F(RecodeJobTest, ThePlanSaysWhereEachTextCameFromAndLeavesWhatItIsUnsureOfUnticked)
{
    Mp3("koi.mp3", Record(StoredAs::Koi8R));
    Mp3("dos.mp3", Record(StoredAs::Cp866));
    Mp3("win.mp3", Record(StoredAs::Windows1251));
    Mp3("latin.mp3", TagBytes("J\xF3ga", kLatin1));
    dir.Write("bare.mp3", Audio(300));
    // Three capitals read as Russian in Windows-1251 and in KOI8-R alike.
    Mp3("caps.mp3", TagBytes(StoreIn(StoredAs::Windows1251, "ДДТ")));
    Mp3("ro.mp3", Record(StoredAs::Koi8R), 0444);
    // KOI8-R box drawing: Windows-1251 has no place for it.
    Mp3("box.mp3", TagBytes("\x80\x80 " + StoreIn(StoredAs::Koi8R, "Группа крови"), StoreIn(StoredAs::Koi8R, "Кино")));
    const auto before = Files();

    const std::shared_ptr<Core::PlanJob> job = Core::NewRecodePlanJob(std::nullopt);
    const auto plan = Core::MakePlan(dialogs, dir.Path(), *job, *tag);
    ASSERT_TRUE(plan);
    EXPECT_EQ(Files(), before) << "a plan changes nothing";
    const std::string recoded = Record(StoredAs::Windows1251);
    for (const auto& [name, page] : {std::pair{"koi.mp3", "KOI8-R"}, std::pair{"dos.mp3", "CP866"}}) {
        EXPECT_EQ(Row(*plan, name).StateText(), std::string("изменится: ") + page);
        EXPECT_TRUE(Row(*plan, name).ticked) << name;
        EXPECT_EQ(std::string(Row(*plan, name).record.data(), 128), recoded) << name;
    }
    EXPECT_EQ(Row(*plan, "win.mp3").StateText(), "без изменений");
    EXPECT_EQ(Row(*plan, "latin.mp3").StateText(), "без изменений: Latin-1");
    EXPECT_EQ(Row(*plan, "bare.mp3").StateText(), "без изменений: в файле нет тега");
    const Core::PlanRow& caps = Row(*plan, "caps.mp3");
    EXPECT_EQ(caps.StateText(), "изменится: KOI8-R, определено не наверняка");
    EXPECT_FALSE(caps.ticked);
    EXPECT_TRUE(Core::Tickable(caps.state));
    EXPECT_EQ(Row(*plan, "ro.mp3").StateText(), "только для чтения: KOI8-R");
    EXPECT_FALSE(Row(*plan, "ro.mp3").ticked);
    EXPECT_EQ(Row(*plan, "box.mp3").StateText(), "символ не в Windows-1251: «─» станет «?» (KOI8-R)");
    EXPECT_FALSE(Row(*plan, "box.mp3").ticked);
    // The rows to look at come first, the unsure one among them.
    const auto order = Core::ShowingOrder(*plan);
    const auto rank = [&](const char* name) {
        return std::find(order.begin(), order.end(), &Row(*plan, name) - plan->rows.data()) - order.begin();
    };
    EXPECT_LT(rank("caps.mp3"), rank("koi.mp3"));

    // Carried out, the ticked rows get exactly the planned record; the
    // unsure one too once the user ticks it.
    Core::SetTicked(*plan, static_cast<std::size_t>(&caps - plan->rows.data()), true);
    {
        const auto journal = Core::RunJournal::Begin(dialogs, state.Folder());
        ASSERT_TRUE(journal);
        EXPECT_EQ(Core::ApplyPlan(dialogs, *plan, *job, *tag, *journal), Core::ApplyEnd::Done);
    }
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Перекодирование завершено.");
    for (const char* name : {"koi.mp3", "dos.mp3", "caps.mp3"}) {
        const auto& record = Row(*plan, name).record;
        EXPECT_EQ(LastRecord(dir / name), std::string(record.data(), 128)) << name;
    }
    EXPECT_EQ(LastRecord(dir / "caps.mp3").substr(kTitle, 3), "\xE4\xE4\xF0") << "read as KOI8-R: «ддр»";
    for (const char* name : {"win.mp3", "ro.mp3", "box.mp3"})
        EXPECT_EQ(ReadFile(dir / name), before.at(name)) << name;
}

TEST_F(RecodeJobTest, AChosenPageIsUsedForEveryTaggedFileAndSaysWhenTheGuessDiffers)
{
    Mp3("caps.mp3", TagBytes(StoreIn(StoredAs::Windows1251, "ДДТ")));
    Mp3("win.mp3", Record(StoredAs::Windows1251));
    Mp3("ascii.mp3", TagBytes("Yesterday", "The Beatles"));
    const auto job = Core::NewRecodePlanJob(Page::Koi8R);
    const auto plan = Core::MakePlan(dialogs, dir.Path(), *job, *tag);
    ASSERT_TRUE(plan);
    EXPECT_EQ(Row(*plan, "caps.mp3").StateText(), "изменится: KOI8-R");
    EXPECT_TRUE(Row(*plan, "caps.mp3").ticked) << "the user's choice is no guess";
    EXPECT_EQ(Row(*plan, "win.mp3").StateText(), "изменится: KOI8-R, хотя похоже на Windows-1251");
    EXPECT_TRUE(Row(*plan, "win.mp3").ticked);
    EXPECT_EQ(Row(*plan, "ascii.mp3").state, RowState::Unchanged);
}

TEST_F(RecodeJobTest, TheRunAsksAboutReadOnlyFilesAndLostCharactersOnceAndLeavesUnsureFiles)
{
    const std::string ro = Mp3("ro.mp3", Record(StoredAs::Koi8R), 0444);
    const std::string no = Mp3("no.mp3", Record(StoredAs::Cp866), 0444);
    const std::string caps = Mp3("caps.mp3", TagBytes(StoreIn(StoredAs::Windows1251, "ДДТ")));
    const std::string box1 = Mp3("box1.mp3", TagBytes("\x80 " + StoreIn(StoredAs::Koi8R, "Группа крови")));
    const std::string box2 = Mp3("box2.mp3", TagBytes("\x81 " + StoreIn(StoredAs::Koi8R, "Группа крови")));
    const std::string capsBefore = ReadFile(caps), noBefore = ReadFile(no);
    int lostQuestions = 0;
    dialogs.answer = [&](const std::string& text) {
        if (text.find("нет в кодировке тегов") != std::string::npos)
            return ++lostQuestions, Core::vbYes;
        return text.find(ro) != std::string::npos ? Core::vbYes : Core::vbNo;
    };
    EXPECT_EQ(Run(), Core::RecodeEnd::Completed);
    EXPECT_EQ(lostQuestions, 1) << "about the rest of the files no question";
    EXPECT_EQ(dialogs.messages.back().text, "Перекодирование завершено. Изменено файлов: 3 из 5.\r\rПропущены:\r"
                                                + caps
                                                + " — кодировка определена не наверняка, отметьте файл в окне «Просмотр»");
    EXPECT_EQ(ReadFile(ro), Audio(100) + Record(StoredAs::Windows1251));
    EXPECT_EQ(ModeOf(ro) & 0777, 0444u);
    EXPECT_EQ(ReadFile(no), noBefore);
    EXPECT_EQ(ReadFile(caps), capsBefore);
    EXPECT_EQ(LastRecord(box1), TagBytes("? " + StoreIn(StoredAs::Windows1251, "Группа крови")));
    EXPECT_EQ(LastRecord(box2), TagBytes("? " + StoreIn(StoredAs::Windows1251, "Группа крови")));
}

TEST_F(RecodeJobTest, NoToLostCharactersStopsTheRunThere)
{
    const std::string box = Mp3("box.mp3", TagBytes("\x80 " + StoreIn(StoredAs::Koi8R, "Группа крови")));
    const std::string before = ReadFile(box);
    EXPECT_EQ(Run(), Core::RecodeEnd::Stopped);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].style, Core::vbYesNoWarning | Core::vbDefaultButton2);
    EXPECT_EQ(dialogs.messages[0].text.rfind("В перекодированном теге файла " + box + " есть знак", 0), 0u)
        << dialogs.messages[0].text;
    EXPECT_EQ(dialogs.messages[1].text, "Перекодирование прервано. Изменено файлов: 0 из 1.");
    EXPECT_EQ(ReadFile(box), before);
}

} // namespace
