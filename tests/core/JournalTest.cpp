// SPDX-License-Identifier: GPL-3.0-or-later
// The run journal and taking a run back through it, on real folders, with
// the questions answered by a script.
#include "File.h"
#include "FileSystem.h"
#include "FillRun.h"
#include "HookedTag.h"
#include "Journal.h"
#include "JournalReader.h"
#include "RenameRun.h"
#include "ScriptedDialogs.h"
#include "TagObjects.h"
#include "TakeBack.h"
#include "TempDir.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace testing_support;
using Core::TakeBackEnd;

namespace {

const std::string kNothing = "Нет операции, которую можно отменить.";
const std::string kPartly = "Последняя операция отменена не полностью. Возвращено файлов: ";
const std::string kLater = "\rНедоступные сейчас файлы остались в журнале: их можно вернуть позже, выбрав "
                           "«Отменить последнюю операцию» снова.";

// Every file of a folder by name: its mode and its bytes.
using Snapshot = std::map<std::string, std::string>;

Snapshot SnapshotOf(const std::string& folder)
{
    Snapshot files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().filename().string()]
                = std::to_string(ModeOf(entry.path().string())) + ":" + ReadFile(entry.path().string());
    return files;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Closing(std::size_t back, std::size_t total)
{
    return "Последняя операция отменена. Возвращено файлов: " + std::to_string(back) + " из " + std::to_string(total)
        + ".";
}

class Journal : public ::testing::Test {
protected:
    TempDir dir;
    StateHome state;
    ScriptedDialogs dialogs;
    std::unique_ptr<Quenlar::_TMP3Tag> tag = Core::NewTagObject();
    Core::FillSettings settings;

    std::string Mp3(const std::string& name, const std::string& record = TagBytes("old"), mode_t mode = 0644)
    {
        const std::string path = dir.Write(name, Audio(200) + record);
        SetMode(path, mode);
        return path;
    }
    Core::FillEnd Fill(const std::string& folder = "")
    {
        const auto journal = Core::RunJournal::Begin(dialogs, state.Folder());
        if (!journal) {
            ADD_FAILURE() << "no journal";
            return Core::FillEnd::NotListed;
        }
        return Core::RunFill(folder.empty() ? dir.Path() : folder, settings, *tag, dialogs, journal.get());
    }
    Core::RenameEnd Rename(const std::string& templ)
    {
        const auto journal = Core::RunJournal::Begin(dialogs, state.Folder());
        if (!journal) {
            ADD_FAILURE() << "no journal";
            return Core::RenameEnd::NotListed;
        }
        return Core::RunRename(dir.Path(), templ, *tag, dialogs, journal.get());
    }
    // Takes the last run back, answering every read-only question Yes.
    std::vector<Message> TakeBack(TakeBackEnd expected)
    {
        ScriptedDialogs told;
        told.answer = [](const std::string&) { return Core::vbYes; };
        EXPECT_EQ(Core::TakeBackLastRun(told, state.Folder()), expected);
        return told.messages;
    }
    std::string JournalBytes() const { return ReadFile(Core::JournalPath(state.Folder())); }
    void SetJournal(const std::string& bytes) const { WriteBytes(Core::JournalPath(state.Folder()), bytes); }
};

TEST_F(Journal, AFillRunOverFortyFilesGoesBackByteForByteAndOnlyOnce)
{
    for (int i = 0; i < 40; ++i) {
        const std::string name = "f" + std::to_string(i) + ".mp3";
        if (i % 2)
            Mp3(name, TagBytes("old " + std::to_string(i), "band", "", "1999", "c", 17), i == 7 ? 0444 : 0644);
        else
            dir.Write(name, Audio(150 + i)); // no record: one is appended
    }
    const Snapshot before = SnapshotOf(dir.Path());
    dialogs.answer = [](const std::string&) { return Core::vbYes; };
    settings.Title = {true, "%0"};
    settings.Comment = {true, "new"};
    ASSERT_EQ(Fill(), Core::FillEnd::Completed);
    ASSERT_NE(SnapshotOf(dir.Path()), before);
    EXPECT_TRUE(Core::JournalExists(state.Folder()));

    const std::vector<Message> told = TakeBack(TakeBackEnd::Done);
    EXPECT_EQ(SnapshotOf(dir.Path()), before);
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0].text, "Файл " + (dir / "f7.mp3") + " доступен только для чтения\r\rВернуть в этом файле прежний тег?");
    EXPECT_EQ(told[0].style, Core::vbYesNoQuestion);
    EXPECT_EQ(told[1].text, Closing(40, 40));
    EXPECT_EQ(told[1].style, Core::vbInformation);

    // Taking back is not taken back.
    EXPECT_FALSE(Core::JournalExists(state.Folder()));
    const std::vector<Message> again = TakeBack(TakeBackEnd::Nothing);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].text, kNothing);
    EXPECT_EQ(SnapshotOf(dir.Path()), before);
}

TEST_F(Journal, ARenameRunOverFortyFilesGoesBackUnderTheOldNames)
{
    for (int i = 0; i < 40; ++i)
        Mp3("track" + std::to_string(i) + ".mp3", TagBytes("Song " + std::to_string(i), "Band"));
    const Snapshot before = SnapshotOf(dir.Path());
    ASSERT_EQ(Rename("%2 - %1"), Core::RenameEnd::Completed);
    ASSERT_TRUE(Exists(dir / "Band - Song 7.mp3"));

    // Stopped part way, it keeps the journal; chosen again, it goes on.
    ScriptedDialogs stopping;
    stopping.progress = [](std::size_t done, std::size_t total, const std::string&) {
        EXPECT_EQ(total, 40u);
        return done < 15;
    };
    EXPECT_EQ(Core::TakeBackLastRun(stopping, state.Folder()), TakeBackEnd::Stopped);
    EXPECT_EQ(stopping.Texts(), std::vector<std::string>{"Отмена последней операции прервана. Возвращено файлов: 15 из "
                                                         "40.\rЧтобы вернуть остальные, выберите «Отменить последнюю "
                                                         "операцию» снова."});
    EXPECT_TRUE(Core::JournalExists(state.Folder()));
    // What went back has left the journal.
    const std::vector<Message> told = TakeBack(TakeBackEnd::Done);
    EXPECT_EQ(SnapshotOf(dir.Path()), before);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].text, Closing(25, 25));
}

TEST_F(Journal, FilesChangedSinceTheRunAreLeftAndNamedTheOthersGoBack)
{
    const std::string kept = Mp3("kept.mp3");
    const std::string retagged = Mp3("retagged.mp3");
    const std::string grown = dir.Write("grown.mp3", Audio(300));
    const std::string undone = dir.Write("undone.mp3", Audio(300));
    const std::string gone = Mp3("gone.mp3");
    const std::string keptBefore = ReadFile(kept), undoneBefore = ReadFile(undone);
    const std::vector<std::string> order = Core::Platform::ListMp3Files(dir.Path());
    settings.Title = {true, "new"};
    ASSERT_EQ(Fill(), Core::FillEnd::Completed);

    // Another program writes its own record, appends one more, cuts the run's
    // off again, or removes the file.
    dir.Write("retagged.mp3", Audio(200) + TagBytes("theirs"));
    dir.Write("grown.mp3", ReadFile(grown) + TagBytes("theirs"));
    dir.Write("undone.mp3", undoneBefore);
    std::filesystem::remove(gone);
    const std::string retaggedNow = ReadFile(retagged), grownNow = ReadFile(grown);

    const std::vector<Message> told = TakeBack(TakeBackEnd::Done);
    EXPECT_EQ(ReadFile(kept), keptBefore);
    EXPECT_EQ(ReadFile(undone), undoneBefore);
    EXPECT_EQ(ReadFile(retagged), retaggedNow);
    EXPECT_EQ(ReadFile(grown), grownNow);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].style, Core::vbInformation);
    // Named in the order the run met them, each with its reason.
    const std::map<std::string, std::string> reasons = {{"retagged.mp3", "Файл изменён после операции."},
                                                        {"grown.mp3", "Файл изменён после операции."},
                                                        {"gone.mp3", "Файл отсутствует."}};
    std::string expected = Closing(2, 5) + "\r\rОставлены как есть:";
    for (const std::string& name : order)
        if (reasons.count(name))
            expected += "\r" + (dir / name) + " — " + reasons.at(name);
    EXPECT_EQ(told[0].text, expected);
}


TEST_F(Journal, AnObjectOfAnotherMakeIsLookedAtBeforeAndAfterItsWrite)
{
    Mp3("tagged.mp3");
    dir.Write("plain.mp3", Audio(300));
    const Snapshot before = SnapshotOf(dir.Path());
    const std::string last = Core::Platform::ListMp3Files(dir.Path()).back();
    HookedTag hooked;
    settings.Title = {true, "new"};
    const auto fill = [&] {
        const auto journal = Core::RunJournal::Begin(dialogs, state.Folder());
        ASSERT_TRUE(journal);
        EXPECT_EQ(Core::RunFill(dir.Path(), settings, hooked, dialogs, journal.get()), Core::FillEnd::Completed);
    };
    fill();
    EXPECT_EQ(TakeBack(TakeBackEnd::Done).back().text, Closing(2, 2));
    EXPECT_EQ(SnapshotOf(dir.Path()), before);

    // Ended between a write and the note after it: that file is left, and named.
    fill();
    const std::string journal = JournalBytes();
    const std::size_t afterNote = 8 + 1 + 8 + 128;
    SetJournal(journal.substr(0, journal.size() - afterNote));
    const std::string lastAfterRun = ReadFile(dir / last);
    EXPECT_EQ(TakeBack(TakeBackEnd::Done).back().text,
              Closing(1, 2) + "\r\rОставлены как есть:\r" + (dir / last)
                  + " — Операция была прервана на этом файле, и неизвестно, что она в него записала.");
    EXPECT_EQ(ReadFile(dir / last), lastAfterRun);
}

TEST_F(Journal, ReadOnlyFilesAreAskedAboutAsTheFillRunAsksAndKeepTheirMode)
{
    const std::string yes = Mp3("yes.mp3"), no = Mp3("no.mp3"), same = Mp3("same.mp3", TagBytes("same"));
    const std::string yesBefore = ReadFile(yes);
    settings.Title = {true, "new"};
    ASSERT_EQ(Fill(), Core::FillEnd::Completed);
    dir.Write("same.mp3", Audio(200) + TagBytes("same")); // as before the run: nothing to ask
    for (const std::string& path : {yes, no, same})
        SetMode(path, 0454);

    ScriptedDialogs told;
    told.answer = [&](const std::string& text) {
        return text.find(yes) != std::string::npos ? Core::vbYes : Core::vbNo;
    };
    EXPECT_EQ(Core::TakeBackLastRun(told, state.Folder()), TakeBackEnd::Done);
    EXPECT_EQ(ReadFile(yes), yesBefore);
    EXPECT_EQ(LastRecord(no), TagBytes("new"));
    for (const std::string& path : {yes, no, same})
        EXPECT_EQ(ModeOf(path), 0454u) << path;
    ASSERT_EQ(told.messages.size(), 3u);
    EXPECT_EQ(told.messages[2].text, kPartly + "2 из 3." + kLater + "\r\rОставлены как есть:\r" + no
                                         + " — Файл доступен только для чтения, и его изменение не разрешено.");
    // The file answered No stays in the journal and goes back when chosen again.
    ASSERT_TRUE(Core::JournalExists(state.Folder()));
    const std::vector<Message> again = TakeBack(TakeBackEnd::Done);
    EXPECT_EQ(again.back().text, Closing(1, 1));
    EXPECT_EQ(ReadFile(no), yesBefore.substr(0, 200) + TagBytes("old"));
    EXPECT_EQ(ModeOf(no), 0454u);
    EXPECT_FALSE(Core::JournalExists(state.Folder()));
}

TEST_F(Journal, TheBoxNamesAtMostTwentyFilesAndCountsTheRest)
{
    for (int i = 0; i < 25; ++i)
        Mp3(std::to_string(i) + ".mp3");
    settings.Title = {true, "new"};
    ASSERT_EQ(Fill(), Core::FillEnd::Completed);
    for (int i = 0; i < 25; ++i)
        dir.Write(std::to_string(i) + ".mp3", Audio(200) + TagBytes("theirs"));
    const std::vector<Message> told = TakeBack(TakeBackEnd::Done);
    ASSERT_EQ(told.size(), 1u);
    const std::string& text = told[0].text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 2 + 20 + 1) << text;
    EXPECT_TRUE(text.ends_with("\rи ещё 5.")) << text;
    EXPECT_EQ(text.rfind(Closing(0, 25), 0), 0u) << text;
}

TEST_F(Journal, RenamesGoBackOnlyForTheSameFileAndNeverOntoATakenName)
{
    for (const char* title : {"A", "B", "C", "D"})
        Mp3(std::string(1, static_cast<char>(title[0] + 32)) + ".mp3", TagBytes(title));
    const std::string aBefore = ReadFile(dir / "a.mp3");
    ASSERT_EQ(Rename("%1 x"), Core::RenameEnd::Completed);

    const std::string taker = dir.Write("b.mp3", "another file under the old name");
    // Another file put under the new name (made first, so it cannot share the inode).
    dir.Write("C x.mp3.new", "another file under the new name");
    std::filesystem::rename(dir / "C x.mp3.new", dir / "C x.mp3");
    std::filesystem::remove(dir / "D x.mp3");

    const std::vector<Message> told = TakeBack(TakeBackEnd::Done);
    EXPECT_EQ(ReadFile(dir / "a.mp3"), aBefore);
    EXPECT_EQ(ReadFile(taker), "another file under the old name");
    EXPECT_EQ(LastRecord(dir / "B x.mp3"), TagBytes("B"));
    EXPECT_EQ(ReadFile(dir / "C x.mp3"), "another file under the new name");
    EXPECT_FALSE(Exists(dir / "c.mp3"));
    ASSERT_EQ(told.size(), 1u);
    const std::map<std::string, std::string> left = {
        {"b.mp3", (dir / "B x.mp3") + " — Прежнее имя занято: " + (dir / "b.mp3")},
        {"c.mp3", (dir / "C x.mp3") + " — Под этим именем теперь другой файл."},
        {"d.mp3", (dir / "D x.mp3") + " — Файл отсутствует."}};
    const std::string expected = Closing(1, 4) + "\r\rОставлены как есть:";
    EXPECT_NE(told[0].text.find(left.at("b.mp3")), std::string::npos) << told[0].text;
    EXPECT_NE(told[0].text.find(left.at("c.mp3")), std::string::npos) << told[0].text;
    EXPECT_NE(told[0].text.find(left.at("d.mp3")), std::string::npos) << told[0].text;
    EXPECT_EQ(told[0].text.rfind(expected, 0), 0u) << told[0].text;

    // A rename the run has not read the file for looks at the file itself.
    {
        const auto journal = Core::RunJournal::Begin(dialogs, state.Folder());
        ASSERT_TRUE(journal);
        journal->Identify(dir / "B x.mp3", *tag); // told of another file than the one renamed
        ASSERT_EQ(journal->Rename(dir / "a.mp3", dir / "z.mp3"), 0);
    }
    EXPECT_EQ(TakeBack(TakeBackEnd::Done).back().text, Closing(1, 1));
    EXPECT_EQ(ReadFile(dir / "a.mp3"), aBefore);
}

TEST_F(Journal, FilesOfAFolderThatIsGoneStayInTheJournalUntilItIsBack)
{
    const std::string folder = dir.MakeFolder("album");
    dir.Write("album/a.mp3", Audio(200) + TagBytes("old"));
    dir.Write("album/b.mp3", Audio(300));
    Mp3("elsewhere.mp3");
    const Snapshot before = SnapshotOf(folder), beside = SnapshotOf(dir.Path());
    settings.Title = {true, "new"};
    ASSERT_EQ(Fill(folder), Core::FillEnd::Completed);
    ASSERT_EQ(Fill(), Core::FillEnd::Completed);
    ASSERT_EQ(TakeBack(TakeBackEnd::Done).back().text, Closing(1, 1));
    // A stick not plugged in: the folder is not there.
    std::filesystem::rename(folder, dir / "away");
    const std::vector<Message> told = TakeBack(TakeBackEnd::Done);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].text.rfind(kPartly + "0 из 2." + kLater, 0), 0u) << told[0].text;
    EXPECT_NE(told[0].text.find(folder + "a.mp3 — Папка файла отсутствует."), std::string::npos) << told[0].text;
    EXPECT_NE(told[0].text.find(folder + "b.mp3 — Папка файла отсутствует."), std::string::npos) << told[0].text;
    EXPECT_FALSE(Exists(folder));
    ASSERT_TRUE(Core::JournalExists(state.Folder()));

    // Back again: every file as before the run, and the journal goes.
    std::filesystem::rename(dir / "away", folder);
    EXPECT_EQ(TakeBack(TakeBackEnd::Done).back().text, Closing(2, 2));
    EXPECT_EQ(SnapshotOf(folder), before);
    EXPECT_FALSE(Core::JournalExists(state.Folder()));
    Snapshot now = SnapshotOf(dir.Path());
    EXPECT_EQ(now, beside);
}

TEST_F(Journal, RunAfterRunIsTakenBackNewestFirst)
{
    for (int i = 0; i < 6; ++i)
        i % 2 ? (void)Mp3(std::to_string(i) + ".mp3") : (void)dir.Write(std::to_string(i) + ".mp3", Audio(150 + i));
    const Snapshot before = SnapshotOf(dir.Path());
    std::vector<Snapshot> after;
    for (const char* title : {"first %0", "second %1", "third %1"}) {
        settings.Title = {true, title};
        ASSERT_EQ(Fill(), Core::FillEnd::Completed);
        after.push_back(SnapshotOf(dir.Path()));
    }
    ASSERT_EQ(Rename("%1 x"), Core::RenameEnd::Completed);
    EXPECT_EQ(Core::ReadJournal(state.Folder()).entries.size(), 6u);

    for (int run = 3; run >= 0; --run) {
        ASSERT_TRUE(Core::JournalExists(state.Folder())) << run;
        EXPECT_EQ(TakeBack(TakeBackEnd::Done).back().text, Closing(6, 6)) << run;
        EXPECT_EQ(SnapshotOf(dir.Path()), run == 0 ? before : after[static_cast<std::size_t>(run - 1)]) << run;
    }
    EXPECT_FALSE(Core::JournalExists(state.Folder()));
    EXPECT_EQ(TakeBack(TakeBackEnd::Nothing).back().text, kNothing);

    // Only the last ten runs are kept.
    for (int run = 0; run < 12; ++run) {
        settings.Title = {true, "run " + std::to_string(run)};
        ASSERT_EQ(Fill(), Core::FillEnd::Completed);
    }
    EXPECT_EQ(Core::Journals(state.Folder()).size(), Core::kJournalsKept);
}

TEST_F(Journal, ATornLastEntryIsLeftOutAndADamagedJournalIsNeverActedOn)
{
    const std::string a = Mp3("a.mp3"), b = Mp3("b.mp3"), c = Mp3("c.mp3");
    const std::string before = ReadFile(a);
    settings.Title = {true, "new"};
    ASSERT_EQ(Fill(), Core::FillEnd::Completed);
    const std::string journal = JournalBytes();
    const std::string last = Core::Platform::ListMp3Files(dir.Path()).back();

    // A kill in the middle of the last entry: the entries before it go back.
    SetJournal(journal.substr(0, journal.size() - 100));
    EXPECT_EQ(TakeBack(TakeBackEnd::Done).back().text, Closing(2, 2));
    for (const std::string& path : {a, b, c})
        EXPECT_EQ(LastRecord(path), dir / last == path ? TagBytes("new") : TagBytes("old")) << path;
    // Zeros a power cut left at the end are no entry either.
    dir.Write(last, before);
    ASSERT_EQ(Fill(), Core::FillEnd::Completed);
    SetJournal(JournalBytes() + std::string(700, '\0'));
    EXPECT_EQ(TakeBack(TakeBackEnd::Done).back().text, Closing(3, 3));

    // Garbled before its end, of another format, or not a journal at all:
    // reported, kept aside, and no file is touched.
    ASSERT_EQ(Fill(), Core::FillEnd::Completed);
    const std::string filled = ReadFile(a);
    const std::string good = JournalBytes();
    std::string garbled = good;
    garbled[40] ^= 0x20;
    std::string older = good;
    older[8] = 0;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {garbled, "Журнал последней операции повреждён"},
        {older, "Журнал последней операции записан в другом формате (версия 0)"},
        {"MORV", "Журнал последней операции повреждён"},
        {"#!/bin/sh\nrm -rf /\n", "Журнал последней операции повреждён"},
    };
    for (const auto& [bytes, why] : cases) {
        SetJournal(bytes);
        const std::vector<Message> told = TakeBack(TakeBackEnd::Refused);
        ASSERT_EQ(told.size(), 1u);
        EXPECT_EQ(told[0].text, why + ", и отменить её нельзя. Файлы не изменены.\r\rЖурнал сохранён как "
                                    + Core::JournalPath(state.Folder()) + ".damaged.");
        EXPECT_EQ(told[0].style, Core::vbCritical);
        EXPECT_EQ(ReadFile(a), filled);
        EXPECT_FALSE(Core::JournalExists(state.Folder()));
        EXPECT_EQ(ReadFile(Core::JournalPath(state.Folder()) + ".damaged"), bytes);
    }
}

TEST_F(Journal, OneRunAtATimeAndTheLastRunsJournalStaysUntilTheNextChanges)
{
    const std::string a = Mp3("a.mp3");
    const std::string before = ReadFile(a);
    settings.Title = {true, "new"};
    ASSERT_EQ(Fill(), Core::FillEnd::Completed);

    {
        // Another run holds the lock: a run and a taking-back are refused before they touch anything.
        ScriptedDialogs other;
        const auto holder = Core::RunJournal::Begin(other, state.Folder());
        ASSERT_TRUE(holder);
        EXPECT_EQ(Core::RunJournal::Begin(dialogs, state.Folder()), nullptr);
        ASSERT_EQ(dialogs.messages.size(), 2u);
        EXPECT_EQ(dialogs.messages[1].text, "Другая операция Morvik уже выполняется. Дождитесь её окончания.");
        EXPECT_EQ(dialogs.messages[1].style, Core::vbExclamation);
        const std::vector<Message> told = TakeBack(TakeBackEnd::Busy);
        ASSERT_EQ(told.size(), 1u);
        EXPECT_EQ(told[0].text, dialogs.messages[1].text);
        EXPECT_EQ(LastRecord(a), TagBytes("new"));
    }

    // A run that changes nothing leaves the last run's journal as it was.
    SetMode(a, 0444);
    dialogs.answer = [](const std::string&) { return Core::vbNo; };
    settings.Title = {true, "other"};
    ASSERT_EQ(Fill(), Core::FillEnd::Completed);
    SetMode(a, 0644);
    EXPECT_EQ(TakeBack(TakeBackEnd::Done).back().text, Closing(1, 1));
    EXPECT_EQ(ReadFile(a), before);
}

TEST_F(Journal, ARunWhoseJournalCannotBeWrittenChangesNothingAndSaysSo)
{
    const std::string a = Mp3("a.mp3", TagBytes("T", "A"));
    const std::string before = ReadFile(a);
    // The folder cannot be made: the run does not start.
    {
        TempDir other;
        const std::string blocker = other.Write("state", "a file where a folder should be");
        EXPECT_EQ(Core::RunJournal::Begin(dialogs, blocker + "/morvik/"), nullptr);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, "Не удалось открыть журнал операций в папке " + blocker
                                                + "/morvik/\r\rЧасть пути не является папкой.\r\rФайлы не изменены.");
        EXPECT_EQ(dialogs.messages[0].style, Core::vbCritical);
    }
    // The folder goes while the run holds the lock: its first change is not made.
    dialogs.messages.clear();
    settings.Title = {true, "new"};
    {
        const auto journal = Core::RunJournal::Begin(dialogs, state.Folder());
        ASSERT_TRUE(journal);
        std::filesystem::remove_all(state.Folder());
        EXPECT_EQ(Core::RunFill(dir.Path(), settings, *tag, dialogs, journal.get()), Core::FillEnd::Broken);
        EXPECT_EQ(Core::RunRename(dir.Path(), "%2 - %1", *tag, dialogs, journal.get()), Core::RenameEnd::Broken);
    }
    EXPECT_EQ(ReadFile(a), before);
    const std::string why = "Не удалось записать журнал операции " + Core::JournalPath(state.Folder())
        + ". Файл или папка не найдены.";
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{
                                   "Ошибка при заполнении тегов в файле\r" + a + "\r\r" + why + "\r\rЗаполнение прервано.",
                                   "Ошибка при переименовании файла\r" + a + "\r\r" + why + "\r\rПереименование прервано."}));
}

TEST_F(Journal, NoFlippedBitMakesTakingBackReportSuccessWhileAFileStaysChanged)
{
    for (int i = 0; i < 12; ++i)
        i % 3 ? (void)Mp3(std::to_string(i) + ".mp3") : (void)dir.Write(std::to_string(i) + ".mp3", Audio(150 + i));
    const Snapshot before = SnapshotOf(dir.Path());
    settings.Title = {true, "new %0"};
    ASSERT_EQ(Fill(), Core::FillEnd::Completed);
    const Snapshot left = SnapshotOf(dir.Path());
    const std::string journal = JournalBytes();
    ASSERT_GT(journal.size(), 12u * 256);

    for (std::size_t bit = 0; bit < journal.size() * 8; ++bit) {
        std::string flipped = journal;
        flipped[bit / 8] = static_cast<char>(flipped[bit / 8] ^ (1 << (bit % 8)));
        SetJournal(flipped);
        ScriptedDialogs told;
        const TakeBackEnd end = Core::TakeBackLastRun(told, state.Folder());
        const Snapshot now = SnapshotOf(dir.Path());
        const bool success = end == TakeBackEnd::Done && told.messages.size() == 1
            && told.messages[0].text.find("Оставлены") == std::string::npos
            && told.messages[0].text.find("не полностью") == std::string::npos;
        ASSERT_TRUE(!success || now == before) << "bit " << bit << ": " << told.messages.back().text;
        const std::string aside = Core::JournalPath(state.Folder()) + ".damaged";
        ASSERT_TRUE(Core::JournalExists(state.Folder()) || Exists(aside) || now == before) << "bit " << bit;
        // Garbled anywhere: refused, and nothing touched.
        ASSERT_EQ(end, TakeBackEnd::Refused) << "bit " << bit;
        ASSERT_EQ(now, left) << "bit " << bit;
        std::filesystem::remove(aside);
    }
    SetJournal(journal);
    EXPECT_EQ(TakeBack(TakeBackEnd::Done).back().text, Closing(12, 12));
    EXPECT_EQ(SnapshotOf(dir.Path()), before);
}

TEST_F(Journal, ANameTooLongForTheSystemIsReportedForItsFileAndNothingIsNoted)
{
    Mp3("a.mp3", TagBytes("T", "A"));
    Mp3("b.mp3", TagBytes("U", "B"));
    ASSERT_EQ(Rename(std::string(64 * 1024, 'n') + "%1"), Core::RenameEnd::Completed);
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_NE(dialogs.messages[0].text.find("Слишком длинное имя файла."), std::string::npos);
    EXPECT_NE(dialogs.messages[1].text.find("Слишком длинное имя файла."), std::string::npos);
    EXPECT_FALSE(Core::JournalExists(state.Folder()));
}

TEST_F(Journal, SomethingOtherThanAFileUnderAJournalsNameIsRefusedAtOnce)
{
    const std::string a = Mp3("a.mp3");
    const std::string before = ReadFile(a);
    settings.Title = {true, "new"};
    ASSERT_EQ(Core::Platform::MakeFolders(state.Folder()), 0);
    for (const char* name : {"journal.part", "journal", "journal.3"}) {
        const std::string fifo = state.Folder() + name;
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        dialogs.messages.clear();
        EXPECT_EQ(Core::RunJournal::Begin(dialogs, state.Folder()), nullptr) << name;
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, "В папке журнала операций лежит не обычный файл: " + fifo
                                                + "\r\rMorvik не может вести журнал, пока он там. Удалите или "
                                                  "переименуйте его.\r\rФайлы не изменены.");
        EXPECT_EQ(dialogs.messages[0].style, Core::vbCritical);
        std::filesystem::remove(fifo);
    }
    EXPECT_EQ(ReadFile(a), before);
    ASSERT_EQ(Fill(), Core::FillEnd::Completed);
    EXPECT_EQ(TakeBack(TakeBackEnd::Done).back().text, Closing(1, 1));
}

// A run killed with SIGKILL at some moment of its work, taken back by
// another process: every file byte for byte as before the run.
TEST(JournalKill, AFillRunKilledPartWayIsTakenBackByAnotherProcess)
{
    TempDir dir;
    StateHome state;
    for (int i = 0; i < 300; ++i) {
        const std::string path = dir.Write(std::to_string(i) + ".mp3",
                                           Audio(200 + i) + (i % 3 ? TagBytes("old " + std::to_string(i)) : ""));
        if (i % 50 == 1)
            SetMode(path, 0444);
    }
    const Snapshot before = SnapshotOf(dir.Path());
    const auto bytes = [](const Snapshot& files) {
        Snapshot contents;
        for (const auto& [name, modeAndBytes] : files)
            contents[name] = modeAndBytes.substr(modeAndBytes.find(':'));
        return contents;
    };

    for (int round = 0; round < 3; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            ScriptedDialogs dialogs;
            dialogs.answer = [](const std::string&) { return Core::vbYes; };
            // A third of the way in, the parent is told; from then on each file takes a little while.
            dialogs.progress = [&](std::size_t done, std::size_t, const std::string&) {
                if (done == 100)
                    (void)!::write(ready[1], "x", 1);
                if (done >= 100)
                    ::usleep(300);
                return true;
            };
            Core::FillSettings settings;
            settings.Title = {true, "%0"};
            settings.Comment = {true, "round " + std::to_string(round)};
            const auto tag = Core::NewTagObject();
            const auto journal = Core::RunJournal::Begin(dialogs, state.Folder());
            Core::RunFill(dir.Path(), settings, *tag, dialogs, journal.get());
            ::_exit(0);
        }
        ::close(ready[1]);
        char c;
        ASSERT_EQ(::read(ready[0], &c, 1), 1);
        ::close(ready[0]);
        ::usleep(1000 + 7000 * round);
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the run ended before the kill";

        std::size_t changed = 0;
        for (const auto& [name, content] : bytes(SnapshotOf(dir.Path())))
            changed += content != bytes(before).at(name);
        EXPECT_GE(changed, 100u);
        EXPECT_LT(changed, 300u);

        ScriptedDialogs told;
        told.answer = [](const std::string&) { return Core::vbYes; };
        EXPECT_EQ(Core::TakeBackLastRun(told, state.Folder()), TakeBackEnd::Done);
        EXPECT_EQ(bytes(SnapshotOf(dir.Path())), bytes(before)) << "round " << round;
        ASSERT_FALSE(told.messages.empty());
        EXPECT_EQ(told.messages.back().text.find("Оставлены"), std::string::npos) << told.messages.back().text;
    }
}

} // namespace
