// SPDX-License-Identifier: LGPL-2.1-or-later
#include "WholeNumber.h"

#include <algorithm>

namespace Quenlar::detail {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::optional<std::int16_t> ToWholeNumber(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);

    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }

    // Digits are accumulated with a cap, so long runs of digits cannot overflow.
    constexpr std::int32_t kCap = 100000;
    std::int32_t whole = 0;
    std::size_t i = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        whole = std::min(kCap, whole * 10 + (text[i] - '0'));
    const std::size_t wholeDigits = i;

    // The fraction only matters as below, at or above one half (and, at one
    // half exactly, whether anything non-zero follows).
    int half = -1; // -1 below, 0 exactly, 1 above
    std::size_t fractionDigits = 0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (; i < text.size() && IsDigit(text[i]); ++i, ++fractionDigits) {
            const int d = text[i] - '0';
            if (fractionDigits == 0)
                half = d < 5 ? -1 : d > 5 ? 1 : 0;
            else if (half == 0 && d != 0)
                half = 1;
        }
    }
    if (i != text.size() || wholeDigits + fractionDigits == 0)
        return std::nullopt;

    if (half > 0 || (half == 0 && whole % 2 == 1))
        ++whole;
    const std::int32_t value = negative ? -whole : whole;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

} // namespace Quenlar::detail
