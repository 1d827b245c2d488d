// SPDX-License-Identifier: GPL-3.0-or-later
// Times the tag library over a generated folder beside the bare system-call
// floors: reading every tag, and the fill job (read, title from the file
// name, write). Prints figures; never fails on time.
#include "BenchSupport.h"
#include "TMP3Tag.h"

#include <cstdio>

int main(int argc, char** argv)
{
    const std::size_t count = bench::FileCount(argc, argv);
    constexpr int kRounds = 7;
    bench::BenchFolder folder(count);
    std::printf("%zu files in %s, best of %d rounds\n", count, folder.Path().c_str(), kRounds);

    const auto& paths = folder.Paths();
    const auto& names = folder.Names();
    auto tag = Quenlar::CreateTMP3Tag();
    std::size_t sink = 0;

    const auto read = bench::MicrosPerItem(
        count, kRounds,
        [&] {
            for (const auto& p : paths) {
                tag->TagRead(p);
                sink += tag->ValidTag();
            }
        },
        [&] { sink += bench::FloorReadAll(paths); });
    bench::Report("read all tags", read, 1.5);

    const auto fill = bench::MicrosPerItem(
        count, kRounds,
        [&] {
            for (std::size_t i = 0; i < paths.size(); ++i) {
                tag->TagRead(paths[i]);
                tag->SetTitle(names[i].substr(0, names[i].size() - 4));
                tag->TagWrite(paths[i], false);
            }
        },
        [&] { bench::FloorFill(folder); });
    bench::Report("fill", fill, 1.6);

    return sink == 0 ? 1 : 0;
}
