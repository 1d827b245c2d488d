// SPDX-License-Identifier: GPL-3.0-or-later
#include "FillRun.h"

#include "FileSystem.h"
#include "HookedTag.h"
#include "ScriptedDialogs.h"
#include "TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace testing_support;
using Core::FillEnd;

namespace {

const std::string kDone = "Заполнение тегов завершено.";

std::string Question(const std::string& path)
{
    return "Файл " + path + " доступен только для чтения\r\rЗаполнить теги в этом файле?";
}

class FillRun : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedDialogs dialogs;
    HookedTag tag;
    Core::FillSettings settings;

    FillEnd Run() { return Core::RunFill(dir.Path(), settings, tag, dialogs); }
    std::string Mp3(const std::string& name, const std::string& record, mode_t mode = 0644)
    {
        return dir.Mp3(name, record, mode, 200);
    }
};

TEST_F(FillRun, AFolderWithoutMp3FilesOnlyReportsCompletion)
{
    const std::string hidden = Mp3(".hidden.mp3", TagBytes("h"));
    dir.Write("notes.txt", Audio(300));
    dir.MakeFolder("folder.mp3");
    settings.Title = {true, "%0"};

    EXPECT_EQ(Run(), FillEnd::Completed);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, kDone);
    EXPECT_EQ(dialogs.messages[0].style, Core::vbInformation);
    EXPECT_EQ(dialogs.messages[0].title, "Morvik");
    EXPECT_EQ(LastRecord(hidden), TagBytes("h"));
}

TEST_F(FillRun, ALinkCarriesNoWriteElsewhere)
{
    TempDir outside;
    const std::string notes = outside.Write("notes.txt", Audio(300));
    ASSERT_EQ(::symlink(notes.c_str(), (dir / "a.mp3").c_str()), 0);
    const std::string song = Mp3("b.mp3", TagBytes("Old"));
    settings.Title = {true, "%0"};
    EXPECT_EQ(Run(), FillEnd::Completed);
    EXPECT_EQ(ReadFile(notes), Audio(300));
    EXPECT_EQ(LastRecord(song), TagBytes("b"));
}

TEST_F(FillRun, ReadOnlyFilesAreFilledOnlyAfterYesAndKeepTheirExactMode)
{
    const std::string no = Mp3("no.mp3", TagBytes("old"), 0444);
    const std::string yes = Mp3("yes.mp3", TagBytes("old", "band"), 0554);
    const std::string plain = Mp3("plain.MP3", TagBytes("old"), 0640);
    const std::string before = ReadFile(no);
    dialogs.answer = [&](const std::string& text) { return text == Question(yes) ? Core::vbYes : Core::vbNo; };
    settings.Title = {true, "%0"};

    EXPECT_EQ(Run(), FillEnd::Completed);
    EXPECT_EQ(ReadFile(no), before);
    EXPECT_EQ(ModeOf(no), 0444u);
    EXPECT_EQ(LastRecord(yes), TagBytes("yes", "band"));
    EXPECT_EQ(ModeOf(yes), 0554u);
    EXPECT_EQ(LastRecord(plain), TagBytes("plain"));
    EXPECT_EQ(ModeOf(plain), 0640u);

    ASSERT_EQ(dialogs.messages.size(), 3u);
    std::vector<std::string> questions{dialogs.messages[0].text, dialogs.messages[1].text};
    std::sort(questions.begin(), questions.end());
    EXPECT_EQ(questions, (std::vector<std::string>{Question(no), Question(yes)}));
    EXPECT_EQ(dialogs.messages[0].style, Core::vbYesNoQuestion);
    EXPECT_EQ(dialogs.messages[2].text, kDone);
}

TEST_F(FillRun, AStopEndsTheRunBetweenTwoFilesAndCountsWhatChanged)
{
    std::vector<std::string> paths;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"})
        paths.push_back(Mp3(name, TagBytes("old"), name[0] == 'b' ? 0444 : 0644));
    const std::vector<std::string> order = Core::Platform::ListMp3Files(dir.Path());
    settings.Title = {true, "new"};
    // From the progress callback before the fourth file; the read-only one is declined.
    std::vector<std::string> told;
    dialogs.progress = [&](std::size_t done, std::size_t total, const std::string& next) {
        EXPECT_EQ(total, 5u);
        EXPECT_EQ(done, told.size());
        told.push_back(next);
        return done < 3;
    };
    EXPECT_EQ(Run(), FillEnd::Stopped);
    ASSERT_EQ(told.size(), 4u);
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(told.size() > i ? told[i] : dir / order[i], dir / order[i]);
        const bool filled = i < 3 && order[i] != "b.mp3";
        EXPECT_EQ(LastRecord(dir / order[i]), TagBytes(filled ? "new" : "old")) << order[i];
    }
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back().text, "Заполнение тегов прервано. Изменено файлов: "
                                                + std::to_string(order[3] == "b.mp3" || order[4] == "b.mp3" ? 3 : 2)
                                                + " из 5.");
    EXPECT_EQ(dialogs.messages.back().style, Core::vbInformation);

    // From inside the read-only question: that file is still finished first.
    dialogs = ScriptedDialogs();
    dialogs.answer = [&](const std::string&) {
        dialogs.stopRequested = true;
        return Core::vbYes;
    };
    settings.Title = {true, "again"};
    EXPECT_EQ(Run(), FillEnd::Stopped);
    EXPECT_EQ(LastRecord(paths[1]), TagBytes("again"));
    EXPECT_EQ(ModeOf(paths[1]), 0444u);
    const std::size_t at = std::find(order.begin(), order.end(), "b.mp3") - order.begin();
    for (std::size_t i = at + 1; i < order.size(); ++i)
        EXPECT_NE(LastRecord(dir / order[i]), TagBytes("again")) << order[i];
    EXPECT_EQ(dialogs.messages.back().text,
              "Заполнение тегов прервано. Изменено файлов: " + std::to_string(at + 1) + " из 5.");
}

TEST_F(FillRun, EveryBoxUncheckedWritesBackWhatWasRead)
{
    const std::string untagged = dir.Write("untagged.mp3", Audio(300));
    const std::string full = TagBytes("Title", "Artist", "Album", "1999", "Comment", 17);
    const std::string tagged = Mp3("tagged.mp3", full);
    const std::string beforeTagged = ReadFile(tagged);

    EXPECT_EQ(Run(), FillEnd::Completed);
    EXPECT_EQ(ReadFile(tagged), beforeTagged);
    EXPECT_EQ(ReadFile(untagged), Audio(300) + TagBytes("", "", "", "", "", 255));
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{kDone});
}

TEST_F(FillRun, TheEmptyGenreEntryClearsTheGenre)
{
    const std::string path = Mp3("a.mp3", TagBytes("T", "A", "", "", "", 17));
    settings.GenreEnabled = true;
    settings.Genre = 255;
    EXPECT_EQ(Run(), FillEnd::Completed);
    EXPECT_EQ(LastRecord(path), TagBytes("T", "A", "", "", "", 255));
}

TEST_F(FillRun, ARejectedYearStopsTheRunNamingTheFileAndTheReason)
{
    std::vector<std::string> paths;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        paths.push_back(Mp3(name, TagBytes("old", "", "", "2000")));
    settings.Title = {true, "%0"};
    settings.Year = {true, "%4"};
    EXPECT_EQ(Run(), FillEnd::Broken);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const std::string first = Core::Platform::ListMp3Files(dir.Path()).front();
    EXPECT_EQ(dialogs.messages[0].text, "Ошибка при заполнении тегов в файле\r" + (dir / first)
                                            + "\r\rНедопустимый год: нужно положительное число не больше 32767."
                                              "\r\rЗаполнение прервано.");
    EXPECT_EQ(dialogs.messages[0].style, Core::vbCritical);
    for (const std::string& path : paths)
        EXPECT_EQ(LastRecord(path), TagBytes("old", "", "", "2000")) << path;
}

TEST_F(FillRun, AShortFileAmongAThousandStopsTheRunThereAndNamesIt)
{
    for (int i = 0; i < 1000; ++i)
        Mp3(std::to_string(i) + ".mp3", TagBytes("old"));
    const std::string shortFile = dir.Write("500.mp3", Audio(100));
    settings.Title = {true, "new"};
    EXPECT_EQ(Run(), FillEnd::Broken);

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Ошибка при заполнении тегов в файле\r" + shortFile
                                            + "\r\rФайл короче 128 байт: в нём нет места для тега."
                                              "\r\rЗаполнение прервано.");
    // Files before it in the listing are filled, the rest untouched.
    bool before = true;
    for (const std::string& name : Core::Platform::ListMp3Files(dir.Path())) {
        if (name == "500.mp3") {
            before = false;
            EXPECT_EQ(ReadFile(shortFile), Audio(100));
            continue;
        }
        EXPECT_EQ(LastRecord(dir / name), TagBytes(before ? "new" : "old")) << name;
    }
}

TEST_F(FillRun, AFileGoneBeforeItsTurnIsReportedWithoutAQuestionAndTheRunGoesOn)
{
    const std::string a = Mp3("a.mp3", TagBytes("old"), 0444);
    const std::string b = Mp3("b.mp3", TagBytes("old"), 0444);
    dialogs.answer = [](const std::string&) { return Core::vbYes; };
    // Whichever file comes first takes the other one away.
    tag.beforeRead = [&](const std::string& path) { std::filesystem::remove(path == a ? b : a); };
    settings.Title = {true, "new"};

    EXPECT_EQ(Run(), FillEnd::Completed);
    const std::string kept = Exists(a) ? a : b;
    const std::string gone = kept == a ? b : a;
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{Question(kept), "Файл " + gone + " отсутствует.", kDone}));
    EXPECT_EQ(dialogs.messages[1].style, Core::vbCritical);
    EXPECT_EQ(LastRecord(kept), TagBytes("new"));
    EXPECT_EQ(ModeOf(kept), 0444u);
}

TEST_F(FillRun, AFolderThatCannotBeListedIsNamedAndNothingCompletes)
{
    const std::string file = Mp3("a.mp3", TagBytes("old"));
    std::vector<std::pair<std::string, std::string>> cases = {
        {dir.MakeFolder("removed"), "Файл или папка не найдены."},
        {file + "/", "Часть пути не является папкой."},
    };
    std::filesystem::remove(cases[0].first);
    // Permission bits do not stop root, as in CI, from reading a folder.
    const std::string locked = dir.MakeFolder("locked");
    SetMode(locked, 0);
    if (::access(locked.c_str(), R_OK) != 0)
        cases.emplace_back(locked, "Доступ запрещён.");
    settings.Title = {true, "new"};

    for (const auto& [folder, reason] : cases) {
        ScriptedDialogs told;
        EXPECT_EQ(Core::RunFill(folder, settings, tag, told), FillEnd::NotListed) << folder;
        ASSERT_EQ(told.messages.size(), 1u) << folder;
        EXPECT_EQ(told.messages[0].text, "Не удалось прочитать папку " + folder + "\r\r" + reason);
        EXPECT_EQ(told.messages[0].style, Core::vbCritical);
        EXPECT_EQ(told.messages[0].title, "Morvik");
    }
    EXPECT_EQ(LastRecord(file), TagBytes("old"));
}

TEST_F(FillRun, ANameInWindows1251IsFilledThroughItsOwnBytes)
{
    // "Музыка/Ёлка.mp3" in Windows-1251.
    const std::string folder = dir.MakeFolder("\xcc\xf3\xe7\xfb\xea\xe0");
    const std::string path = dir.Write("\xcc\xf3\xe7\xfb\xea\xe0/\xa8\xeb\xea\xe0.mp3", Audio(200) + TagBytes("old"));
    settings.Title = {true, "%0"};
    EXPECT_EQ(Core::RunFill(folder, settings, tag, dialogs), FillEnd::Completed);
    EXPECT_EQ(LastRecord(path), TagBytes("\xa8\xeb\xea\xe0")); // the title is the name, as the user reads it
}

TEST_F(FillRun, AReadOnlyAttributeThatCannotBeSetBackIsReported)
{
    const std::string path = Mp3("a.mp3", TagBytes("old"), 0444);
    dialogs.answer = [](const std::string&) { return Core::vbYes; };
    tag.afterWrite = [](const std::string& p) { std::filesystem::remove(p); };
    settings.Title = {true, "new"};

    EXPECT_EQ(Run(), FillEnd::Completed);
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[1].text, "Не удалось снова сделать файл " + path
                                            + " доступным только для чтения.\r\rФайл или папка не найдены.");
    EXPECT_EQ(dialogs.messages[1].style, Core::vbCritical);
    EXPECT_EQ(dialogs.messages[2].text, kDone);
}

TEST_F(FillRun, AWriteRefusedBreaksTheRunWithThePath)
{
    const std::string path = Mp3("a.mp3", TagBytes("old"));
    tag.beforeWrite = [](const std::string& p) { SetMode(p, 0444); };
    settings.Title = {true, "new"};

    EXPECT_EQ(Run(), FillEnd::WriteRefused);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Ошибка при попытке записи в файл\r" + path
                                            + "\r\rФайл доступен только для чтения.\r\rЗаполнение прервано.");
    EXPECT_EQ(dialogs.messages[0].style, Core::vbCritical);
    EXPECT_EQ(LastRecord(path), TagBytes("old"));
}

// Root writes any file, so the run goes to a user who may not write it.
TEST_F(FillRun, AWriteRefusedForLackOfPermissionSaysSo)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to run as another user";
    const std::string path = Mp3("a.mp3", TagBytes("old"));
    SetMode(dir.Path(), 0755);
    settings.Title = {true, "new"};
    std::string text;
    EXPECT_EXIT(
        {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                std::_Exit(2);
            const FillEnd end = Run();
            const bool said = dialogs.messages.size() == 1
                && dialogs.messages[0].text == "Ошибка при попытке записи в файл\r" + path
                        + "\r\rНет прав на запись в этот файл.\r\rЗаполнение прервано.";
            std::_Exit(end == FillEnd::WriteRefused && said ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(LastRecord(path), TagBytes("old"));
}

TEST_F(FillRun, CharactersTheTagsCannotHoldAreAskedAboutBeforeTheRun)
{
    const std::string path = Mp3("x.mp3", TagBytes("old"));
    settings.Title = {true, "Café %0"};
    settings.Artist = {false, "中"}; // not written: not asked about
    EXPECT_EQ(Run(), FillEnd::Declined);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "В шаблонах и полях есть знак, которого нет в кодировке тегов Windows-1251: "
                                        "«é» (U+00E9).\rОн будет записан как «?».\r\rВсё равно заполнить теги?");
    EXPECT_EQ(dialogs.messages[0].style, Core::vbYesNoWarning | Core::vbDefaultButton2);
    EXPECT_EQ(LastRecord(path), TagBytes("old"));

    dialogs = ScriptedDialogs();
    dialogs.answer = [](const std::string&) { return Core::vbYes; };
    EXPECT_EQ(Run(), FillEnd::Completed);
    EXPECT_EQ(dialogs.messages.size(), 2u) << "the files bring nothing new in";
    EXPECT_EQ(LastRecord(path), TagBytes("Caf? x"));
}

TEST_F(FillRun, AtTheFirstFileThatBringsThemInTheRunAsksOnceAndNoStopsIt)
{
    Mp3("Müller.mp3", TagBytes("old"));
    Mp3("ő.mp3", TagBytes("old"));
    Mp3("plain.mp3", TagBytes("old"));
    const std::vector<std::string> order = Core::Platform::ListMp3Files(dir.Path());
    const std::size_t first = std::find_if(order.begin(), order.end(), [](const std::string& n) {
                                  return n != "plain.mp3";
                              }) - order.begin();
    settings.Title = {true, "%0"};
    EXPECT_EQ(Run(), FillEnd::Stopped);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    const char* named = order[first] == "ő.mp3" ? "«ő» (U+0151)" : "«ü» (U+00FC)";
    EXPECT_EQ(dialogs.messages[0].text, "В тегах, которые шаблоны дают файлу " + (dir / order[first])
                                            + ", есть знак, которого нет в кодировке тегов Windows-1251: " + named
                                            + ".\rОн будет записан как «?».\r\rПродолжить заполнение? Об остальных "
                                              "файлах вопроса не будет.");
    EXPECT_EQ(dialogs.messages[1].text, "Заполнение тегов прервано. Изменено файлов: " + std::to_string(first)
                                            + " из 3.");
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(LastRecord(dir / order[i]), TagBytes(i < first ? "plain" : "old")) << order[i];

    dialogs = ScriptedDialogs();
    dialogs.answer = [](const std::string&) { return Core::vbYes; };
    EXPECT_EQ(Run(), FillEnd::Completed);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(LastRecord(dir / "ő.mp3"), TagBytes("?"));
    EXPECT_EQ(LastRecord(dir / "Müller.mp3"), TagBytes("M?ller"));
}

TEST_F(FillRun, AReadOnlyFileIsReadOnlyAgainWhenTheRunBreaksOnIt)
{
    dialogs.answer = [](const std::string&) { return Core::vbYes; };
    settings.Year = {true, "abc"};
    const std::string rejected = Mp3("a.mp3", TagBytes("old"), 0456);
    EXPECT_EQ(Run(), FillEnd::Broken);
    EXPECT_EQ(ModeOf(rejected), 0456u);

    TempDir other;
    const std::string refused = other.Write("b.mp3", Audio(10) + TagBytes("old"));
    SetMode(refused, 0456);
    settings.Year = {true, "2001"};
    // The write bit goes again after the run has lifted it: the write is refused.
    tag.beforeWrite = [](const std::string& p) { SetMode(p, 0456); };
    EXPECT_EQ(Core::RunFill(other.Path(), settings, tag, dialogs), FillEnd::WriteRefused);
    EXPECT_EQ(ModeOf(refused), 0456u);
    EXPECT_EQ(LastRecord(refused), TagBytes("old"));
}

} // namespace
