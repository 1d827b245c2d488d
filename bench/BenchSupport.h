// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared pieces of the benchmark programs: a generated folder of MP3 stand-ins,
// timing, reporting, and the bare system-call loops that serve as floors.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bench {

// count files named "trackNNNNN.mp3", each some audio bytes followed (when
// tagged) by a record with title "Title N", artist "Artist N", album, year
// and genre set. On tmpfs where there is one; removed with the object.
class BenchFolder {
public:
    explicit BenchFolder(std::size_t count, bool tagged = true, std::size_t audioBytes = 1024);
    ~BenchFolder();
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    const std::string& Path() const { return path_; } // ends in "/"
    const std::vector<std::string>& Names() const { return names_; }
    const std::vector<std::string>& Paths() const { return paths_; }

private:
    std::string path_;
    std::vector<std::string> names_;
    std::vector<std::string> paths_;
};

// Microseconds per item of the fastest of `rounds` runs of each job. The two
// run in turns so that a busy machine slows both alike.
struct Figures {
    double measured;
    double floor;
};
// The number of files from the command line (fallback without an argument);
// anything but a positive whole number prints the usage and exits with 2.
std::size_t FileCount(int argc, char** argv, std::size_t fallback = 10000);

Figures MicrosPerItem(std::size_t items, int rounds, const std::function<void()>& measured,
                      const std::function<void()>& floor);

// One line: the job, both figures in µs per file, their ratio and its target.
void Report(const std::string& job, const Figures& figures, double target);
// One line: the job with its journal (measured) and without (floor), in µs
// per file, and what the journal adds.
void ReportJournal(const std::string& job, const Figures& figures);

// Floor building blocks: the bare system calls, nothing else per file.
using Record = std::array<char, 128>;
// stat; the file's length, or -1 when it does not exist.
std::int64_t StatSize(const std::string& path);
// open read-only, pread 128 at size - 128, close.
Record ReadRecord(const std::string& path, std::int64_t size);
// open read-only, fstat, pread 128 at the end, close.
Record ReadRecordFstat(const std::string& path);
// open read-write, pread 128 at size - 128, pwrite 128 over it when it is a
// record or after it when not, close.
void WriteRecord(const std::string& path, std::int64_t size, const Record& record);
// Puts text into a record field, NUL-padded or cut to its width.
void PutField(Record& record, std::size_t offset, std::size_t width, const std::string& text);

// Floor of reading every tag; returns a checksum so the loop is not dropped.
std::size_t FloorReadAll(const std::vector<std::string>& paths);
// Floor of the fill job: title from the file name less ".mp3", the rest kept.
void FloorFill(const BenchFolder& folder);
// Floor of the rename job: stat; read the record; stat of the target; rename
// to "artist - title.mp3" (title first when not artistFirst) in the same
// folder.
void FloorRename(const std::vector<std::string>& paths, bool artistFirst);

} // namespace bench
