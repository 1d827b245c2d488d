// Reading and writing real files.
#include "TagTesting.h"
#include "TempDir.h"

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Quenlar;
using namespace tag_testing;
using namespace testing_support;

namespace {

const std::string kUntouched = "keep";

// A tagged object whose state a failed read must not change.
std::unique_ptr<_TMP3Tag> ObjectWithState(const TempDir& dir)
{
    auto tag = CreateTMP3Tag();
    tag->TagRead(dir.Write("state.mp3", Audio(10) + TagBytes("", "", "", "", "", 17)));
    tag->SetTitle(kUntouched);
    return tag;
}

void ExpectState(const _TMP3Tag& tag)
{
    EXPECT_TRUE(tag.ValidTag());
    EXPECT_EQ(tag.Title(), kUntouched + Nuls(26));
    EXPECT_EQ(tag.Genre(), 17);
}

// The last 128 bytes without reading a huge file whole.
std::string TailOf(const std::string& path)
{
    std::string r(128, '\0');
    const int fd = ::open(path.c_str(), O_RDONLY);
    EXPECT_EQ(::pread(fd, r.data(), r.size(), static_cast<off_t>(SizeOf(path)) - 128), 128);
    ::close(fd);
    return r;
}

} // namespace

TEST(Recognition, OnlyTheMarkerAtTheStartOfTheLast128BytesCounts)
{
    TempDir dir;
    auto tag = CreateTMP3Tag();
    EXPECT_TRUE(tag->TagRead(dir.Write("zero.mp3", Audio(500) + "TAG" + Nuls(125))));
    EXPECT_TRUE(tag->ValidTag());
    EXPECT_EQ(tag->Genre(), 0);
    EXPECT_TRUE(tag->TagRead(dir.Write("exact.mp3", TagBytes("x", "", "", "", "", 200))));
    EXPECT_EQ(tag->Title(), "x" + Nuls(29));
    EXPECT_EQ(tag->Genre(), 200);

    for (const std::string& bytes : {Audio(500) + "tag" + Nuls(125), "TAG" + Audio(300), TagBytes("x") + Audio(1)}) {
        tag->TagRead(dir.Write("tagged.mp3", TagBytes("old", "old", "old", "1999", "old", 3)));
        EXPECT_TRUE(tag->TagRead(dir.Write("untagged.mp3", bytes)));
        EXPECT_FALSE(tag->ValidTag());
        ExpectEmptyRecord(*tag, 255);
    }
}

TEST(Reading, FailuresLeaveTheObjectUnchanged)
{
    TempDir dir;
    auto tag = ObjectWithState(dir);
    const std::string file = dir.Write("file.mp3", Audio(200));
    ASSERT_EQ(::mkfifo(dir.operator/("pipe.mp3").c_str(), 0644), 0);
    dir.MakeFolder("folder.mp3");
    const std::pair<std::string, std::int32_t> cases[] = {
        {dir / "missing.mp3", errFileNotFound},   {dir.Write("short.mp3", Audio(127)), errBadRecordNumber},
        {dir / "no/such.mp3", errPathNotFound},   {file + "/inside.mp3", errPathNotFound},
        {dir / "folder.mp3", errPathFileAccess},  {dir / "pipe.mp3", errPathFileAccess},
        {file + std::string("\0.mp3", 5), errInvalidFilename},
    };
    for (const auto& [path, number] : cases) {
        EXPECT_EQ(ErrorOf([&] { tag->TagRead(path); }), number) << path;
        ExpectState(*tag);
    }
    const std::string readOnly = dir.Write("ro.mp3", Audio(5) + TagBytes("ro"));
    SetMode(readOnly, 0444);
    EXPECT_TRUE(tag->TagRead(readOnly));
    EXPECT_EQ(tag->Title(), "ro" + Nuls(28));
}

TEST(Writing, AppendsToAnUntaggedFileThenOverwrites)
{
    TempDir dir;
    const std::string audio = Audio(1000);
    const std::string f = dir.Write("a.mp3", audio);
    auto tag = CreateTMP3Tag();
    tag->SetTitle("Привет");
    tag->SetArtist("Artist");
    tag->SetAlbum("Album");
    tag->SetYear("2003");
    tag->SetComment("Comment");
    tag->SetGenre(17);
    EXPECT_TRUE(tag->TagWrite(f, false));
    EXPECT_EQ(ReadFile(f), audio + TagBytes("\xCF\xF0\xE8\xE2\xE5\xF2", "Artist", "Album", "2003", "Comment", 17));
    EXPECT_FALSE(tag->ValidTag()); // writing does not change it

    tag->SetTitle("Second");
    EXPECT_TRUE(tag->TagWrite(f, false));
    EXPECT_EQ(ReadFile(f), audio + TagBytes("Second", "Artist", "Album", "2003", "Comment", 17));

    // Exactly 128 bytes: a record is overwritten at offset 0, anything else appended after.
    const std::string exact = dir.Write("exact.mp3", TagBytes("x"));
    EXPECT_TRUE(tag->TagWrite(exact, false));
    EXPECT_EQ(ReadFile(exact), TagBytes("Second", "Artist", "Album", "2003", "Comment", 17));
    const std::string plain = dir.Write("plain.mp3", Audio(128));
    EXPECT_TRUE(tag->TagWrite(plain, false));
    EXPECT_EQ(ReadFile(plain), Audio(128) + TagBytes("Second", "Artist", "Album", "2003", "Comment", 17));
}

TEST(Writing, TheFileDecidesNotTheLastRead)
{
    TempDir dir;
    auto tag = CreateTMP3Tag();
    tag->TagRead(dir.Write("untagged.mp3", Audio(300)));
    tag->SetTitle("new");
    const std::string f = dir.Write("tagged.mp3", Audio(50) + TagBytes("old"));
    EXPECT_TRUE(tag->TagWrite(f, false));
    EXPECT_EQ(ReadFile(f), Audio(50) + TagBytes("new"));
    EXPECT_FALSE(tag->ValidTag());
}

TEST(Writing, RefusedWritesLeaveTheFileAlone)
{
    TempDir dir;
    auto tag = CreateTMP3Tag();
    tag->SetTitle("new");
    const std::string tagged = dir.Write("ro-tagged.mp3", Audio(10) + TagBytes("old"));
    const std::string untagged = dir.Write("ro-untagged.mp3", Audio(200));
    const std::string shortFile = dir.Write("short.mp3", Audio(100));
    const std::string text = dir.Write("x.txt", "text");
    ASSERT_EQ(::mkfifo(dir.operator/("pipe.mp3").c_str(), 0644), 0);
    dir.MakeFolder("folder.mp3");
    SetMode(tagged, 0444);
    SetMode(untagged, 0544);
    const std::pair<std::string, std::int32_t> cases[] = {
        {tagged, errPathFileAccess},           {untagged, errPathFileAccess},
        {shortFile, errBadRecordNumber},       {dir / "missing.mp3", errFileNotFound},
        {dir / "no/such.mp3", errPathNotFound}, {dir / "pipe.mp3", errPathFileAccess},
        {dir / "folder.mp3", errPathFileAccess},
        {text + std::string("\0.mp3", 5), errInvalidFilename},
    };
    for (const auto& [path, number] : cases) {
        EXPECT_EQ(ErrorOf([&] { tag->TagWrite(path, false); }), number) << path;
    }
    EXPECT_EQ(ReadFile(tagged), Audio(10) + TagBytes("old"));
    EXPECT_EQ(ModeOf(tagged), 0444u);
    EXPECT_EQ(ReadFile(untagged), Audio(200));
    EXPECT_EQ(ReadFile(shortFile), Audio(100));
    EXPECT_EQ(ReadFile(text), "text");
    EXPECT_FALSE(Exists(dir / "missing.mp3"));
}

// A file-size limit makes the kernel write part of the record, or nothing.
TEST(Writing, AFailedWriteIsUndoneAndReported)
{
    TempDir dir;
    auto tag = CreateTMP3Tag();
    tag->SetTitle("new");
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const auto writeWithLimit = [&](const std::string& f, rlim_t limit) {
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        rlimit l = saved;
        l.rlim_cur = limit;
        EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &l), 0);
        const std::int32_t number = ErrorOf([&] { tag->TagWrite(f, false); });
        ::setrlimit(RLIMIT_FSIZE, &saved);
        return number;
    };
    const std::string appendTo = dir.Write("append.mp3", Audio(1000));
    EXPECT_EQ(writeWithLimit(appendTo, 1050), errFileIO);
    EXPECT_EQ(writeWithLimit(appendTo, 1000), errFileIO);
    EXPECT_EQ(ReadFile(appendTo), Audio(1000));
    const std::string overwrite = dir.Write("overwrite.mp3", Audio(872) + TagBytes("old"));
    EXPECT_EQ(writeWithLimit(overwrite, 950), errFileIO);
    EXPECT_EQ(ReadFile(overwrite), Audio(872) + TagBytes("old"));
    std::signal(SIGXFSZ, oldHandler);
}

TEST(Preservation, EveryByteValueIsWrittenBackAsItWasRead)
{
    TempDir dir;
    auto tag = CreateTMP3Tag();
    for (int round = 0; round < 3; ++round) {
        std::string record = "TAG";
        for (int i = 0; i < 124; ++i)
            record.push_back(static_cast<char>((round * 124 + i) % 256));
        record.push_back(static_cast<char>(round * 100));
        ASSERT_TRUE(tag->TagRead(dir.Write("source.mp3", Audio(7) + record)));

        const std::string untouched = dir.Write("untouched.mp3", Audio(200));
        ASSERT_TRUE(tag->TagWrite(untouched, false));
        EXPECT_EQ(ReadFile(untouched), Audio(200) + record) << round;

        // What the program does: every text set again from its getter.
        tag->SetTitle(tag->Title());
        tag->SetArtist(tag->Artist());
        tag->SetAlbum(tag->Album());
        tag->SetComment(tag->Comment());
        const std::string reset = dir.Write("reset.mp3", Audio(3) + TagBytes("other"));
        ASSERT_TRUE(tag->TagWrite(reset, false));
        EXPECT_EQ(ReadFile(reset), Audio(3) + record) << round;
    }
}

TEST(Preservation, ATrackNumberInTheCommentSurvives)
{
    TempDir dir;
    const std::string comment = "Nice" + Nuls(24) + std::string("\0\x07", 2);
    const std::string f = dir.Write("track.mp3", Audio(20) + TagBytes("t", "a", "b", "2001", comment, 8));
    auto tag = CreateTMP3Tag();
    tag->TagRead(f);
    EXPECT_EQ(tag->Comment(), comment);
    tag->SetTitle("changed");
    tag->TagWrite(f, false);
    EXPECT_EQ(ReadFile(f), Audio(20) + TagBytes("changed", "a", "b", "2001", comment, 8));
}

TEST(LargeFiles, TheRecordIsAtTheTrueEndBeyond4GiB)
{
    TempDir dir;
    const std::string f = dir / "big.mp3";
    const off_t length = (off_t{5} << 30) + 300;
    const int fd = ::open(f.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, length), 0);
    // Where a 32-bit length would look for the record.
    const std::string decoy = TagBytes("decoy");
    ASSERT_EQ(::pwrite(fd, decoy.data(), 128, (length & 0xFFFFFFFF) - 128), 128);
    ::close(fd);

    auto tag = CreateTMP3Tag();
    ASSERT_TRUE(tag->TagRead(f));
    EXPECT_FALSE(tag->ValidTag());
    tag->SetTitle("big");
    ASSERT_TRUE(tag->TagWrite(f, false));
    EXPECT_EQ(SizeOf(f), static_cast<std::uint64_t>(length) + 128);
    EXPECT_EQ(TailOf(f), TagBytes("big"));
    tag->SetTitle("bigger");
    ASSERT_TRUE(tag->TagWrite(f, false));
    EXPECT_EQ(SizeOf(f), static_cast<std::uint64_t>(length) + 128);
    ASSERT_TRUE(tag->TagRead(f));
    EXPECT_EQ(tag->Title(), "bigger" + Nuls(24));
}

TEST(Confirmation, TheHookAnswersAndNoHookMeansNo)
{
    TempDir dir;
    const std::string f = dir.Write("plain.mp3", Audio(300));
    auto tag = CreateTMP3Tag();
    EXPECT_FALSE(tag->TagWrite(f, true));
    EXPECT_EQ(ReadFile(f), Audio(300));

    std::vector<std::pair<std::string, std::string>> asked;
    bool answer = false;
    SetConfirmHook(*tag, [&](const std::string& caption, const std::string& message) {
        asked.emplace_back(caption, message);
        return answer;
    });
    EXPECT_FALSE(tag->TagWrite(f, true));
    EXPECT_EQ(ReadFile(f), Audio(300));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].first, "Confirmation Create New Tag");
    EXPECT_EQ(asked[0].second, "The file '" + f
                                   + "' does not have a valid Tag or no tag at all.\r\n"
                                     "Do you want to create a new tag?");
    answer = true;
    EXPECT_TRUE(tag->TagWrite(f, true));
    EXPECT_EQ(SizeOf(f), 428u);
    // Tagged now, and without popup: no more questions.
    EXPECT_TRUE(tag->TagWrite(f, true));
    EXPECT_TRUE(tag->TagWrite(dir.Write("other.mp3", Audio(300)), false));
    EXPECT_EQ(asked.size(), 2u);
}
