// SPDX-License-Identifier: GPL-3.0-or-later
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

struct Failure {
    std::int32_t number = 0;
    std::string description;
};

// The LibraryError the call throws (checking its source); number 0 for none.
inline Failure FailureOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const Quenlar::LibraryError& e) {
        EXPECT_EQ(e.Source(), "TMP3Tag");
        return {e.Number(), e.Description()};
    }
    return {};
}

inline std::int32_t ErrorOf(const std::function<void()>& call) { return FailureOf(call).number; }

} // namespace tag_testing
