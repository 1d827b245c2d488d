// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextHelpers.h"

namespace Core {

namespace {

// How many passes that do not shorten the text may each make a new
// occurrence before the search goes on behind the inserted text: values such
// as "%22" and "22%%" make one on every pass, for ever. (Passes that shorten
// it, collapsing "aabb" by "ab", end by themselves.)
constexpr int kNewOccurrencesAtMost = 16;

// Cuts s to at most bound bytes, at the start of a character.
void Bound(std::string& s, std::size_t bound)
{
    if (s.size() <= bound)
        return;
    std::size_t end = bound;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80)
        --end;
    s.resize(end);
}

} // namespace

std::string ReplaceAll(const std::string& text, const std::string& search, const std::string& replacement,
                       std::size_t bound)
{
    if (search.empty())
        return text;
    // Rescanning from the start after every replacement finds no occurrence
    // before p - |search| + 1 (the prefix before p had none), so the search
    // resumes there: the same result, without the quadratic rescans. A
    // replacement that holds the search text would never run out of
    // occurrences, so then the search goes on behind it instead.
    bool behind = replacement.find(search) != std::string::npos;
    const bool growing = replacement.size() >= search.size();
    int made = 0;
    std::string s = text;
    Bound(s, bound);
    std::size_t from = 0, inserted = 0; // inserted: the end of the last replacement
    for (std::size_t p; (p = s.find(search, from)) != std::string::npos;) {
        // An occurrence reaching into what the last pass inserted is new.
        if (growing && p < inserted && ++made > kNewOccurrencesAtMost && !behind) {
            behind = true;
            from = inserted;
            continue;
        }
        s.replace(p, search.size(), replacement);
        inserted = p + replacement.size();
        Bound(s, bound);
        from = behind ? inserted : (p + 1 >= search.size() ? p + 1 - search.size() : 0);
    }
    return s;
}

std::string CutAtNull(const std::string& text)
{
    return text.substr(0, text.find('\0'));
}

} // namespace Core
