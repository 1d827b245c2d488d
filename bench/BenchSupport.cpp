// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchSupport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace bench {
namespace {

void WriteWhole(const std::string& path, const std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("cannot write " + path);
    ::close(fd);
}

std::string Field(const std::string& text, std::size_t width)
{
    std::string f = text.substr(0, width);
    f.resize(width, '\0');
    return f;
}

} // namespace

BenchFolder::BenchFolder(std::size_t count, bool tagged, std::size_t audioBytes)
{
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string templ = std::string(base) + "/morvik-bench-XXXXXX";
    if (!::mkdtemp(templ.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = templ + "/";

    const std::string audio(audioBytes, '\x55');
    char name[32];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "track%05zu.mp3", i);
        std::string bytes = audio;
        if (tagged) {
            const std::string n = std::to_string(i);
            bytes += "TAG" + Field("Title " + n, 30) + Field("Artist " + n, 30) + Field("Album", 30) + "2003"
                + Field("", 30) + '\x11';
        }
        names_.push_back(name);
        paths_.push_back(path_ + name);
        WriteWhole(paths_.back(), bytes);
    }
}

BenchFolder::~BenchFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::size_t FileCount(int argc, char** argv, std::size_t fallback)
{
    if (argc < 2)
        return fallback;
    char* end = nullptr;
    const unsigned long n = std::strtoul(argv[1], &end, 10);
    if (argc > 2 || n == 0 || *end != '\0') {
        std::fprintf(stderr, "usage: %s [number of files, default %zu]\n", argv[0], fallback);
        std::exit(2);
    }
    return n;
}

Figures MicrosPerItem(std::size_t items, int rounds, const std::function<void()>& measured,
                      const std::function<void()>& floor)
{
    using Clock = std::chrono::steady_clock;
    const auto time = [](const std::function<void()>& job) {
        const auto start = Clock::now();
        job();
        return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    };
    Figures best{time(measured), time(floor)};
    for (int r = 1; r < rounds; ++r) {
        best.measured = std::min(best.measured, time(measured));
        best.floor = std::min(best.floor, time(floor));
    }
    const auto n = static_cast<double>(std::max<std::size_t>(items, 1));
    return {best.measured / n, best.floor / n};
}

void Report(const std::string& job, const Figures& figures, double target)
{
    const double ratio = figures.measured / figures.floor;
    std::printf("%-14s measured %7.3f us/file   floor %7.3f us/file   ratio %.2f (target <= %.2f) %s\n",
                job.c_str(), figures.measured, figures.floor, ratio, target, ratio <= target ? "ok" : "OVER");
}

void ReportJournal(const std::string& job, const Figures& figures)
{
    std::printf("%-14s journal  %7.3f us/file   none  %7.3f us/file   cost %+.1f%%\n", job.c_str(), figures.measured,
                figures.floor, 100.0 * (figures.measured / figures.floor - 1.0));
}

std::int64_t StatSize(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

Record ReadRecord(const std::string& path, std::int64_t size)
{
    Record r{};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        if (::pread(fd, r.data(), r.size(), size - 128) != static_cast<ssize_t>(r.size()))
            r.fill(0); // the floor saw no record: the job's figures would not compare
        ::close(fd);
    }
    return r;
}

Record ReadRecordFstat(const std::string& path)
{
    Record r{};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        struct stat st;
        if (::fstat(fd, &st) == 0 && ::pread(fd, r.data(), r.size(), st.st_size - 128) != static_cast<ssize_t>(r.size()))
            r.fill(0);
        ::close(fd);
    }
    return r;
}

void WriteRecord(const std::string& path, std::int64_t size, const Record& record)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return;
    Record current{};
    const bool read = ::pread(fd, current.data(), current.size(), size - 128) == static_cast<ssize_t>(current.size());
    const bool tagged = read && std::memcmp(current.data(), "TAG", 3) == 0;
    if (::pwrite(fd, record.data(), record.size(), tagged ? size - 128 : size) != static_cast<ssize_t>(record.size()))
        std::fprintf(stderr, "floor: could not write %s\n", path.c_str());
    ::close(fd);
}

void PutField(Record& record, std::size_t offset, std::size_t width, const std::string& text)
{
    const std::size_t n = std::min(width, text.size());
    std::memcpy(record.data() + offset, text.data(), n);
    std::memset(record.data() + offset + n, 0, width - n);
}

std::size_t FloorReadAll(const std::vector<std::string>& paths)
{
    std::size_t sum = 0;
    for (const auto& p : paths)
        sum += static_cast<unsigned char>(ReadRecordFstat(p)[3]);
    return sum;
}

void FloorFill(const BenchFolder& folder)
{
    const auto& names = folder.Names();
    const auto& paths = folder.Paths();
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::int64_t size = StatSize(paths[i]);
        Record r = ReadRecord(paths[i], size);
        if (std::memcmp(r.data(), "TAG", 3) != 0)
            r.fill('\0');
        std::memcpy(r.data(), "TAG", 3);
        PutField(r, 3, 30, names[i].substr(0, names[i].size() - 4));
        WriteRecord(paths[i], size, r);
    }
}

void FloorRename(const std::vector<std::string>& paths, bool artistFirst)
{
    for (const auto& path : paths) {
        const Record r = ReadRecord(path, StatSize(path));
        const std::string title(r.data() + 3, ::strnlen(r.data() + 3, 30));
        const std::string artist(r.data() + 33, ::strnlen(r.data() + 33, 30));
        const std::string target = path.substr(0, path.rfind('/') + 1)
            + (artistFirst ? artist + " - " + title : title + " - " + artist) + ".mp3";
        if (StatSize(target) < 0)
            (void)::rename(path.c_str(), target.c_str());
    }
}

} // namespace bench
