#pragma once
// The text helpers that the document window and both batch tools share.
// Texts are UTF-8; searching UTF-8 bytes finds exactly the character matches.
#include <string>

namespace Core {

// Replaces every occurrence of search. An occurrence that only arises from a
// replacement and its neighbours is replaced too, except where the
// replacement itself holds search: then the search goes on behind the
// inserted text, so that the call always ends. An empty search changes nothing.
std::string ReplaceAll(const std::string& text, const std::string& search, const std::string& replacement);

// The part of text before its first NUL character.
std::string CutAtNull(const std::string& text);

} // namespace Core
