// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text helpers that the document window and both batch tools share.
// Texts are UTF-8; searching UTF-8 bytes finds exactly the character matches.
#include <cstddef>
#include <string>

namespace Core {

// Replaces every occurrence of search. An occurrence that only arises from a
// replacement and its neighbours is replaced too, except where the
// replacement itself holds search, or where such new occurrences keep
// coming pass after pass: then the search goes on behind the inserted text,
// so that the call always ends, and soon. A text that grows past bound bytes
// is cut there (at a character's start): a caller that keeps no more than
// that loses nothing it keeps. An empty search changes nothing.
std::string ReplaceAll(const std::string& text, const std::string& search, const std::string& replacement,
                       std::size_t bound = std::string::npos);

// The part of text before its first NUL character.
std::string CutAtNull(const std::string& text);

} // namespace Core
