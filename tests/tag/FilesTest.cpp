// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing real files.
#include "TagTesting.h"
#include "TempDir.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// A small tmpfs in a mount namespace of its own, held by a child process so
// that nothing shows outside the test; reached through the child's root.
class SmallDisk {
public:
    SmallDisk(const std::string& mountPoint, const std::string& size)
    {
        int ready[2], hold[2];
        if (::pipe2(ready, O_CLOEXEC) != 0 || ::pipe2(hold, O_CLOEXEC) != 0)
            return;
        child_ = ::fork();
        if (child_ == 0) {
            ::close(ready[0]);
            ::close(hold[1]);
            const char* failed = nullptr;
            if (::unshare(CLONE_NEWNS) != 0)
                failed = "unshare";
            else if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
                failed = "private mounts";
            else if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, ("size=" + size).c_str()) != 0)
                failed = "mount";
            if (failed)
                (void)!::write(ready[1], failed, std::strlen(failed));
            ::close(ready[1]);
            char c;
            (void)!::read(hold[0], &c, 1); // until the parent lets go
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(hold[0]);
        hold_ = hold[1];
        char text[64]{};
        const ssize_t n = ::read(ready[0], text, sizeof text - 1);
        ::close(ready[0]);
        if (child_ > 0 && n == 0)
            path_ = "/proc/" + std::to_string(child_) + "/root" + mountPoint;
        else
            why_ = std::string(child_ < 0 ? "fork" : text) + " failed";
    }
    ~SmallDisk()
    {
        if (hold_ >= 0)
            ::close(hold_);
        if (child_ > 0)
            ::waitpid(child_, nullptr, 0);
    }
    // Empty when the machine does not allow one; Why() then says what failed.
    const std::string& Path() const { return path_; }
    const std::string& Why() const { return why_; }

private:
    pid_t child_ = -1;
    int hold_ = -1;
    std::string path_;
    std::string why_ = "pipe failed";
};

void Put(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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

TEST(Reading, TheFileLastReadIsKnownByItsIdentityUntilAReadFails)
{
    TempDir dir;
    const std::string path = dir.Write("a.mp3", Audio(300));
    auto tag = CreateTMP3Tag();
    FileSeen seen;
    EXPECT_FALSE(LastRead(*tag, seen));
    tag->TagRead(path);
    ASSERT_TRUE(LastRead(*tag, seen));
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(seen.device, st.st_dev);
    EXPECT_EQ(seen.inode, st.st_ino);
    EXPECT_EQ(seen.length, 300);
    EXPECT_EQ(ErrorOf([&] { tag->TagRead(dir / "gone.mp3"); }), errFileNotFound);
    EXPECT_FALSE(LastRead(*tag, seen));
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

TEST(Writing, AWriteHookIsToldWhatTheFileHoldsAndWillHoldBeforeTheWrite)
{
    TempDir dir;
    const std::string untagged = dir.Write("untagged.mp3", Audio(300));
    const std::string tagged = dir.Write("tagged.mp3", Audio(50) + TagBytes("old"));
    auto tag = CreateTMP3Tag();
    tag->SetTitle("new");
    tag->SetGenre(255);
    std::vector<std::string> told;
    ASSERT_TRUE(SetWriteHook(*tag, [&](const std::string& name, const RecordChange& c) {
        // Called ahead: the file does not hold the new record yet.
        told.push_back(name + " " + std::to_string(c.length) + (c.appending ? " append" : " over")
                       + (std::string(c.last.data(), 128) == LastRecord(name) ? " last" : " ?")
                       + (std::string(c.record.data(), 128) == TagBytes("new") ? " new" : " ?"));
    }));
    EXPECT_TRUE(tag->TagWrite(untagged, false));
    EXPECT_TRUE(tag->TagWrite(tagged, false));
    EXPECT_EQ(told, (std::vector<std::string>{untagged + " 300 append last new", tagged + " 178 over last new"}));
    EXPECT_EQ(LastRecord(tagged), TagBytes("new"));

    // A hook that throws stops the write; an empty one is removed.
    SetWriteHook(*tag, [](const std::string&, const RecordChange&) { throw std::runtime_error("no"); });
    tag->SetTitle("other");
    EXPECT_THROW(tag->TagWrite(tagged, false), std::runtime_error);
    EXPECT_EQ(LastRecord(tagged), TagBytes("new"));
    SetWriteHook(*tag, {});
    EXPECT_TRUE(tag->TagWrite(tagged, false));
    EXPECT_EQ(LastRecord(tagged), TagBytes("other"));
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

TEST(Confirmation, ARecordWrittenWhileAskingIsOverwrittenNotFollowed)
{
    TempDir dir;
    const std::string f = dir.Write("plain.mp3", Audio(300));
    auto tag = CreateTMP3Tag();
    tag->SetTitle("mine");
    tag->SetGenre(9);
    std::string meanwhile = Audio(300) + TagBytes("theirs");
    SetConfirmHook(*tag, [&](const std::string&, const std::string&) {
        dir.Write("plain.mp3", meanwhile);
        return true;
    });
    EXPECT_TRUE(tag->TagWrite(f, true));
    EXPECT_EQ(ReadFile(f), Audio(300) + TagBytes("mine", "", "", "", "", 9));

    // Cut short meanwhile: no place for a record any more.
    dir.Write("plain.mp3", Audio(300));
    meanwhile = Audio(50);
    EXPECT_EQ(ErrorOf([&] { tag->TagWrite(f, true); }), errBadRecordNumber);
    EXPECT_EQ(ReadFile(f), Audio(50));
}

TEST(Errors, LongNamesLinkLoopsAndTooManyOpenFilesAreToldApart)
{
    TempDir dir;
    auto tag = ObjectWithState(dir);
    ASSERT_EQ(::symlink("b.mp3", (dir / "a.mp3").c_str()), 0);
    ASSERT_EQ(::symlink("a.mp3", (dir / "b.mp3").c_str()), 0);
    const std::string tooLong = "Bad file name (File name too long)";
    const std::pair<std::string, std::string> cases[] = {
        {dir / (std::string(256, 'n') + ".mp3"), tooLong},
        {dir / (std::string(300, 'n') + "/x.mp3"), tooLong},
        {dir / "a.mp3", "Bad file name (Too many levels of symbolic links)"},
    };
    for (const auto& [path, description] : cases) {
        for (const bool writing : {false, true}) {
            const Failure f = FailureOf([&] { writing ? tag->TagWrite(path, false) : tag->TagRead(path); });
            EXPECT_EQ(f.number, errBadFileName) << path;
            EXPECT_EQ(f.description, description) << path;
        }
        ExpectState(*tag);
    }

    const std::string file = dir.Write("file.mp3", Audio(10) + TagBytes("x"));
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit low = saved;
    low.rlim_cur = std::min<rlim_t>(64, saved.rlim_cur);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
    std::vector<int> taken;
    for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
        taken.push_back(fd);
    const Failure reading = FailureOf([&] { tag->TagRead(file); });
    const Failure writing = FailureOf([&] { tag->TagWrite(file, false); });
    for (const int fd : taken)
        ::close(fd);
    ::setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(reading.number, errTooManyFiles);
    EXPECT_EQ(reading.description, "Too many files (Too many open files)");
    EXPECT_EQ(writing.number, errTooManyFiles);
    ExpectState(*tag);
    EXPECT_EQ(ReadFile(file), Audio(10) + TagBytes("x"));
}

TEST(Errors, AFullDiskIsReportedAndLeavesTheFileAsItWas)
{
    TempDir dir;
    SmallDisk disk(dir.MakeFolder("disk"), "64k");
    if (disk.Path().empty())
        GTEST_SKIP() << "no small file system to fill here: " << disk.Why();
    // An append to the first needs a fresh page; the second takes half the
    // record into its last page before the disk runs out.
    const std::string onPage = disk.Path() + "page.mp3", straddling = disk.Path() + "straddling.mp3",
                      tagged = disk.Path() + "tagged.mp3";
    Put(onPage, Audio(8192));
    Put(straddling, Audio(8192 - 64));
    Put(tagged, Audio(100) + TagBytes("old"));
    {
        std::ofstream filler(disk.Path() + "filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())).flush())
            ;
    }

    auto tag = CreateTMP3Tag();
    tag->SetTitle("new");
    for (const auto& [path, bytes] : {std::pair{onPage, Audio(8192)}, std::pair{straddling, Audio(8192 - 64)}}) {
        const Failure f = FailureOf([&] { tag->TagWrite(path, false); });
        EXPECT_EQ(f.number, errDiskFull) << path;
        EXPECT_EQ(f.description, "Disk full (No space left on device)") << path;
        EXPECT_EQ(ReadFile(path), bytes) << path;
    }
    // Overwriting needs no new space.
    EXPECT_TRUE(tag->TagWrite(tagged, false));
    EXPECT_EQ(ReadFile(tagged), Audio(100) + TagBytes("new", "", "", "", "", 0));
}
