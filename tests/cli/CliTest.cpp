// SPDX-License-Identifier: GPL-3.0-or-later
// morvik-cli as a script uses it: each command's plan, --apply, exit status
// and output on real folders.
#include "CliProcess.h"
#include "CodepageTesting.h"
#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

using namespace testing_support;

namespace {

const std::string kPrivet = "\xcf\xf0\xe8\xe2\xe5\xf2"; // "Привет" in Windows-1251

class CliTest : public ::testing::Test {
protected:
    TempDir dir;
    StateHome state;

    std::string Mp3(const std::string& name, const std::string& record)
    {
        return dir.Write(name, Audio(200) + record);
    }
    std::map<std::string, std::string> Files()
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            files[entry.path().filename().string()] = ReadFile(entry.path().string());
        return files;
    }
    static std::size_t Lines(const std::string& text)
    {
        return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    }
};

TEST_F(CliTest, RenameIsADryRunUntilApplyAndUndoGivesEveryNameBack)
{
    Mp3("one.mp3", TagBytes("Title1", kPrivet));
    Mp3("two.mp3", TagBytes("Title2", "Band"));
    const auto before = Files();

    const CliResult dry = RunCli({"rename", "%2 - %1", dir.Path()});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(Lines(dry.out), 3u) << dry.out; // a line a file, and the count
    EXPECT_NE(dry.out.find("one.mp3 → " + dir.Path() + "Привет - Title1.mp3 — изменится"), std::string::npos)
        << dry.out;
    EXPECT_EQ(Files(), before);

    const CliResult applied = RunCli({"rename", "--apply", "%2 - %1", dir.Path()});
    EXPECT_EQ(applied.status, 0) << applied.err;
    EXPECT_TRUE(Exists(dir / "Привет - Title1.mp3"));
    EXPECT_TRUE(Exists(dir / "Band - Title2.mp3"));

    const CliResult journal = RunCli({"journal", "--format", "tsv"});
    EXPECT_EQ(journal.status, 0);
    EXPECT_NE(journal.out.find("1\trename\t" + dir.Path() + "two.mp3\t" + dir.Path() + "Band - Title2.mp3\n"),
              std::string::npos)
        << journal.out;

    const CliResult undo = RunCli({"undo"});
    EXPECT_EQ(undo.status, 0) << undo.err;
    EXPECT_EQ(Files(), before);
    EXPECT_EQ(RunCli({"undo"}).status, 1) << "nothing left to take back";
}

TEST_F(CliTest, ATakenNameIsLeftNamedAndNeverReplaced)
{
    Mp3("a.mp3", TagBytes("c"));
    Mp3("c.mp3", TagBytes("c")); // keeps its name, so a.mp3 cannot have it
    Mp3("b.mp3", TagBytes("d"));
    const auto before = Files();
    for (const bool apply : {false, true}) {
        std::vector<std::string> args{"rename", "%1", dir.Path()};
        if (apply)
            args.push_back("--apply");
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find(dir.Path() + "a.mp3 — имя занято"), std::string::npos) << result.err;
    }
    EXPECT_EQ(ReadFile(dir / "c.mp3"), before.at("c.mp3"));
    EXPECT_EQ(ReadFile(dir / "a.mp3"), before.at("a.mp3"));
    EXPECT_TRUE(Exists(dir / "d.mp3")) << "the rows without a problem are carried out";
}

TEST_F(CliTest, UsageErrorsAre2AndTouchNothing)
{
    Mp3("a.mp3", TagBytes("x"));
    const auto before = Files();
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"rename", "--apply", "  ", dir.Path()},
             {"rename", "--apply", "%1"},
             {"fill", "--apply", "--year", "abc", dir.Path()},
             {"fill", "--apply", dir.Path()},
             {"set", "--apply", "-g", "No Such Genre", dir / "a.mp3"},
             {"set", "--apply", "-t", "\xff\xfe", dir / "a.mp3"},
             {"set", "--apply", "--bogus", dir / "a.mp3"},
             {"show", "--format", "xml", dir.Path()},
             {"frobnicate"},
         }) {
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.status, 2) << args[0] << " " << args[1];
        EXPECT_FALSE(result.err.empty());
    }
    EXPECT_EQ(Files(), before);
    EXPECT_FALSE(Exists(state.Folder() + "journal"));
    EXPECT_EQ(RunCli({"set", "--help"}).status, 0);
}

TEST_F(CliTest, AFolderWithoutMp3FilesIs3)
{
    dir.Write(".hidden.mp3", Audio(200) + TagBytes("h"));
    dir.Write("notes.txt", "x");
    for (const char* command : {"show", "rename"}) {
        const CliResult result = command == std::string("show") ? RunCli({command, dir.Path()})
                                                                : RunCli({command, "%1", dir.Path()});
        EXPECT_EQ(result.status, 3) << command;
        EXPECT_NE(result.err.find("нет файлов MP3"), std::string::npos);
    }
    EXPECT_EQ(RunCli({"fill", "--title", "%0", dir.Path()}).status, 3);
}

TEST_F(CliTest, ShowJsonGivesEveryFileOfTheFolderInUtf8)
{
    Mp3("LOUD.MP3", TagBytes(kPrivet, "Artist", "Album", "2001", std::string(28, 'c') + std::string("\0\x05", 2), 17));
    Mp3(kPrivet + ".mp3", Audio(10)); // a Windows-1251 name, and no tag
    const CliResult result = RunCli({"show", "--format", "json", dir.Path()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("\"path\": \"" + dir.Path() + "LOUD.MP3\", \"tag\": true, \"title\": \"Привет\""),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("\"genre\": 17, \"genreName\": \"Rock\", \"track\": 5"), std::string::npos);
    EXPECT_NE(result.out.find("\"path\": \"" + dir.Path() + "Привет.mp3\", \"tag\": false}"), std::string::npos);
    EXPECT_NE(result.out.find("\"codepage\": \"Windows-1251\""), std::string::npos);
}

TEST_F(CliTest, NamedFilesAndNamesFromStandardInput)
{
    const std::string a = Mp3("a.mp3", TagBytes("x", "Keep"));
    const std::string odd = Mp3("line\nbreak.Mp3", TagBytes("y"));
    const std::string missing = dir / "gone.mp3";
    // Missing: named, the rest still done; status 1.
    const CliResult set = RunCli({"set", "--apply", "-t", "New", a, missing});
    EXPECT_EQ(set.status, 1);
    EXPECT_NE(set.err.find("gone.mp3 отсутствует"), std::string::npos) << set.err;
    EXPECT_EQ(LastRecord(a), TagBytes("New", "Keep"));
    // NUL-separated names, as find -print0 gives them; one line per file in the output.
    const CliResult fromInput = RunCli({"set", "--null", "--apply", "-y", "1984", "-"}, a + '\0' + odd + '\0');
    EXPECT_EQ(fromInput.status, 0) << fromInput.err;
    EXPECT_EQ(LastRecord(odd), TagBytes("y", "", "", "1984"));
    EXPECT_NE(fromInput.out.find("line\\nbreak.Mp3 — изменится"), std::string::npos) << fromInput.out;
    const CliResult folder = RunCli({"show", "--format", "tsv", dir.Path(), dir.Path() + "nothing-here"});
    EXPECT_EQ(folder.status, 1);
    EXPECT_EQ(Lines(folder.out), 2u);
    // A name cannot steer the terminal.
    Mp3("\x1b[2J.mp3", TagBytes("z"));
    const CliResult escaped = RunCli({"show", dir.Path()});
    EXPECT_EQ(escaped.out.find('\x1b'), std::string::npos);
    EXPECT_NE(escaped.out.find("\\x1B[2J.mp3"), std::string::npos) << escaped.out;
}

TEST_F(CliTest, ReadOnlyFilesAndLostCharactersWaitForTheirOptions)
{
    const std::string ro = Mp3("ro.mp3", TagBytes("x"));
    SetMode(ro, 0444);
    const std::string plain = Mp3("plain.mp3", TagBytes("x"));
    const CliResult left = RunCli({"set", "--apply", "-a", "ő", ro, plain});
    EXPECT_EQ(left.status, 1);
    EXPECT_NE(left.err.find("plain.mp3 — символ не в Windows-1251: «ő» станет «?»"), std::string::npos) << left.err;
    EXPECT_EQ(LastRecord(plain), TagBytes("x"));

    const CliResult lost = RunCli({"set", "--apply", "--allow-question-marks", "-a", "ő", ro, plain});
    EXPECT_EQ(lost.status, 1) << "the read-only file still waits for --force";
    EXPECT_EQ(LastRecord(plain), TagBytes("x", "?"));
    EXPECT_EQ(LastRecord(ro), TagBytes("x"));

    const CliResult forced = RunCli({"set", "--apply", "--force", "-t", "y", ro});
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_EQ(LastRecord(ro), TagBytes("y"));
    EXPECT_EQ(ModeOf(ro) & 0777, 0444u);

    // Taking back a read-only file: left in the journal unless --force.
    const CliResult kept = RunCli({"undo"});
    EXPECT_EQ(kept.status, 1);
    EXPECT_NE(kept.err.find("ro.mp3"), std::string::npos) << kept.err;
    EXPECT_EQ(LastRecord(ro), TagBytes("y"));
    EXPECT_EQ(RunCli({"undo", "--force"}).status, 0);
    EXPECT_EQ(LastRecord(ro), TagBytes("x"));
}

TEST_F(CliTest, FillPlansAppliesAndComesBackByteForByte)
{
    Mp3("Song One.mp3", TagBytes("old", "A"));
    dir.Write("bare.mp3", Audio(300));
    const auto before = Files();
    const CliResult dry = RunCli({"fill", "--title", "%0", "--genre", "rock", "--format", "tsv", dir.Path()});
    EXPECT_EQ(dry.status, 0);
    EXPECT_NE(dry.out.find("1\tизменится\t\t" + dir.Path() + "Song One.mp3\t\n"), std::string::npos) << dry.out;
    EXPECT_EQ(Files(), before);
    EXPECT_EQ(RunCli({"fill", "--apply", "--title", "%0", "--genre", "rock", dir.Path()}).status, 0);
    EXPECT_EQ(LastRecord(dir / "Song One.mp3"), TagBytes("Song One", "A", "", "", "", 17));
    EXPECT_EQ(SizeOf(dir / "bare.mp3"), 428u);
    const CliResult unchanged = RunCli({"fill", "--title", "%0", "--genre", "17", dir.Path()});
    EXPECT_EQ(unchanged.status, 0);
    EXPECT_NE(unchanged.out.find("без изменений: 2"), std::string::npos) << unchanged.out;
    EXPECT_EQ(RunCli({"undo"}).status, 0);
    EXPECT_EQ(Files(), before);
}

TEST_F(CliTest, ParseFillsFromNamesAndRefusesABadPatternWithNothingTouched)
{
    dir.Write("Band - Song.mp3", Audio(300));
    dir.Write("odd.mp3", Audio(300) + TagBytes("keep"));
    const auto before = Files();
    const CliResult refused = RunCli({"parse", "--apply", "%0 - %1", dir.Path()});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("«%0»"), std::string::npos) << refused.err;
    EXPECT_EQ(Files(), before);

    const CliResult applied = RunCli({"parse", "--apply", "%2 - %1", dir.Path()});
    EXPECT_EQ(applied.status, 1) << "odd.mp3 does not fit, and is named";
    EXPECT_NE(applied.err.find("odd.mp3 — не подходит к шаблону"), std::string::npos) << applied.err;
    EXPECT_EQ(LastRecord(dir / "Band - Song.mp3"), TagBytes("Song", "Band"));
    EXPECT_EQ(ReadFile(dir / "odd.mp3"), before.at("odd.mp3"));
    EXPECT_EQ(RunCli({"undo"}).status, 0);
    EXPECT_EQ(Files(), before);
}

TEST_F(CliTest, RecodeMakesKoi8TagsWindows1251AndTheWindowsShowThemRight)
{
    const std::string title = "Группа крови на рукаве", artist = "Исполнитель песни";
    dir.Write("koi.mp3", Audio(300) + TagBytes(StoreIn(StoredAs::Koi8R, title), StoreIn(StoredAs::Koi8R, artist)));
    const auto before = Files();
    EXPECT_EQ(RunCli({"recode", "--from", "latin", dir.Path()}).status, 2);
    const CliResult dry = RunCli({"recode", dir.Path()});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(Files(), before);
    const CliResult applied = RunCli({"recode", "--apply", "--from", "koi8-r", dir.Path()});
    EXPECT_EQ(applied.status, 0) << applied.err;
    EXPECT_EQ(LastRecord(dir / "koi.mp3"),
              TagBytes(StoreIn(StoredAs::Windows1251, title), StoreIn(StoredAs::Windows1251, artist)));
    EXPECT_EQ(RunCli({"undo"}).status, 0);
    EXPECT_EQ(Files(), before);
}

} // namespace
