// SPDX-License-Identifier: GPL-3.0-or-later
// quenlar_consumer FILE: tags FILE (at least 128 bytes, untagged) through one
// object, reads it back through another and prints what it read.
#include <Quenlar/TMP3Tag.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: quenlar_consumer FILE\n");
        return 2;
    }
    try {
        auto writer = Quenlar::CreateTMP3Tag();
        writer->SetTitle("Звезда");
        writer->SetArtist("Artist");
        writer->SetYear("1999");
        writer->SetGenre(writer->GenreNameToID("Rock"));
        if (!writer->TagWrite(argv[1], false))
            return 1;

        auto reader = Quenlar::CreateTMP3Tag();
        if (!reader->TagRead(argv[1]) || !reader->ValidTag())
            return 1;
        // Fields come back padded with NULs to their width.
        const auto trimmed = [](std::string s) { return s.substr(0, s.find('\0')); };
        std::printf("%s|%s|%s|%s\n", trimmed(reader->Title()).c_str(), trimmed(reader->Artist()).c_str(),
                    reader->Year().c_str(), reader->GenreIDToName(reader->Genre()).c_str());
    } catch (const Quenlar::LibraryError& e) {
        std::fprintf(stderr, "Quenlar error %d: %s\n", e.Number(), e.Description().c_str());
        return 1;
    }
    return 0;
}
