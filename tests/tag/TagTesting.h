#pragma once
// Small helpers shared by the library's tests.
#include "TMP3Tag.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace tag_testing {

inline std::string Nuls(std::size_t n) { return std::string(n, '\0'); }

// Every text field all NULs, and the genre as given: a fresh object (0), or
// one that read a file without a record (255).
inline void ExpectEmptyRecord(const Quenlar::_TMP3Tag& tag, std::uint8_t genre)
{
    for (const auto& v : {tag.Title(), tag.Artist(), tag.Album(), tag.Comment()})
        EXPECT_EQ(v, Nuls(30));
    EXPECT_EQ(tag.Year(), Nuls(4));
    EXPECT_EQ(tag.Genre(), genre);
}

// The number of the LibraryError the call throws (checking its source), or 0.
inline std::int32_t ErrorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const Quenlar::LibraryError& e) {
        EXPECT_EQ(e.Source(), "TMP3Tag");
        return e.Number();
    }
    return 0;
}

} // namespace tag_testing
