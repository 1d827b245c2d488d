#include "TextHelpers.h"

namespace Core {

std::string ReplaceAll(const std::string& text, const std::string& search, const std::string& replacement)
{
    if (search.empty())
        return text;
    // Rescanning from the start after every replacement finds no occurrence
    // before p - |search| + 1 (the prefix before p had none), so the search
    // resumes there: the same result, without the quadratic rescans. A
    // replacement that holds the search text would never run out of
    // occurrences, so then the search goes on behind it instead; so it does,
    // as a safeguard, after an absurd number of passes.
    bool behind = replacement.find(search) != std::string::npos;
    constexpr std::size_t kMaxPasses = 1u << 20;
    std::size_t passes = 0;
    std::string s = text;
    std::size_t from = 0;
    for (std::size_t p; (p = s.find(search, from)) != std::string::npos;) {
        s.replace(p, search.size(), replacement);
        if (++passes > kMaxPasses)
            behind = true;
        from = behind ? p + replacement.size() : (p + 1 >= search.size() ? p + 1 - search.size() : 0);
    }
    return s;
}

std::string CutAtNull(const std::string& text)
{
    return text.substr(0, text.find('\0'));
}

} // namespace Core
