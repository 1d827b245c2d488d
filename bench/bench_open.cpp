// SPDX-License-Identifier: GPL-3.0-or-later
// Times the open dialog over a generated folder of empty MP3 files (a million
// without an argument) beside the floor of listing it: reading the folder,
// keeping the ".mp3" names, sorting them. Names mix ASCII, UTF-8 and
// Windows-1251 Cyrillic and letter cases, as a music folder does. Prints
// figures; never fails on time.
#include "Application.h"
#include "BenchSupport.h"
#include "FileSystem.h"
#include "frmOpen.h"

#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace {

// Fills folder with count empty files whose names come in no useful order,
// and one in a hundred more that are not MP3 files. Returns the MP3 count.
std::size_t MakeFiles(const std::string& folder, std::size_t count)
{
    char name[64];
    std::size_t mp3 = 0;
    for (std::size_t i = 0; i < count + count / 100; ++i) {
        // Multiplying by an odd number is one-to-one modulo 2^32: unique keys.
        const auto key = static_cast<std::uint32_t>(i * 2654435761u);
        if (i >= count)
            std::snprintf(name, sizeof name, "cover %08x.jpg", key);
        else if (i % 4 == 0)
            std::snprintf(name, sizeof name, "\xd0\x9f\xd0\xb5\xd1\x81\xd0\xbd\xd1\x8f %08x.mp3", key); // Песня
        else if (i % 8 == 1)
            std::snprintf(name, sizeof name, "\xef\xe5\xf1\xed\xff %08x.mp3", key); // песня, Windows-1251
        else
            std::snprintf(name, sizeof name, i % 2 ? "Track %08x.MP3" : "track %08x.mp3", key);
        const int fd = ::open((folder + name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0)
            throw std::runtime_error("cannot create " + folder + name);
        ::close(fd);
        mp3 += i < count;
    }
    return mp3;
}

// The least work of listing: the names of the folder's ordinary, visible
// files that end in ".mp3" in any case, sorted by their bytes.
std::vector<std::string> FloorList(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    while (const dirent* e = dir ? ::readdir(dir) : nullptr) {
        const std::size_t len = std::strlen(e->d_name);
        if (e->d_name[0] != '.' && e->d_type == DT_REG && len >= 4 && ::strcasecmp(e->d_name + len - 4, ".mp3") == 0)
            names.emplace_back(e->d_name, len);
    }
    if (dir)
        ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

double Millis(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

// Makes the folder, times both jobs and prints the figures; the folder goes
// also when a step throws.
void Run(std::size_t count)
{
    constexpr int kRounds = 3;
    bench::BenchFolder folder(0); // an empty folder on tmpfs, removed at the end
    const auto made = std::chrono::steady_clock::now();
    const std::size_t mp3 = MakeFiles(folder.Path(), count);
    std::printf("%zu files in %s (made in %.0f ms), best of %d rounds\n", mp3, folder.Path().c_str(), Millis(made),
                kRounds);
    const std::string previous = Core::Platform::CurrentFolder();
    if (::chdir(folder.Path().c_str()) != 0)
        throw std::runtime_error("cannot enter " + folder.Path());

    // The dialog is timed from its creation until it has been shown, laid out
    // and painted; its closing is timed apart. The jobs take turns so that a
    // busy machine slows both alike.
    double floor = 1e300, dialog = 1e300, closing = 1e300;
    for (int r = 0; r < kRounds; ++r) {
        auto start = std::chrono::steady_clock::now();
        const std::size_t listed = FloorList(folder.Path()).size();
        floor = std::min(floor, Millis(start));

        start = std::chrono::steady_clock::now();
        auto* open = new frmOpen(nullptr, nullptr);
        open->show();
        QApplication::processEvents();
        dialog = std::min(dialog, Millis(start));
        const int shown = open->FileList->count();
        if (open->FileList->verticalScrollBar()->maximum() == 0)
            std::printf("warning: the file list was not laid out in the time taken\n");

        start = std::chrono::steady_clock::now();
        delete open;
        closing = std::min(closing, Millis(start));
        if (listed != mp3 || static_cast<std::size_t>(shown) != mp3)
            std::printf("warning: %zu files made, the floor listed %zu, the dialog %d\n", mp3, listed, shown);
    }
    if (::chdir(previous.c_str()) != 0)
        std::perror("bench_open: back to the folder it started in");

    const double ratio = dialog / floor;
    std::printf("open dialog    floor %8.1f ms   dialog %8.1f ms   ratio %.2f (target <= 4.0, and 3000 ms) %s\n", floor,
                dialog, ratio, ratio <= 4.0 && dialog <= 3000 ? "ok" : "OVER");
    std::printf("closing it     %8.1f ms\n", closing);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::size_t count = bench::FileCount(argc, argv, 1000000);
    QApplication app(argc, argv);
    Shell::InstallResources(app);
    try {
        Run(count);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
    return 0;
}
