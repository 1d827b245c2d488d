// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once
// The text-to-16-bit-number conversion behind the Year setter.
#include <cstdint>
#include <optional>
#include <string_view>

namespace Quenlar::detail {

// Accepts blanks around the number, an optional sign, digits with an optional
// fraction after '.', rounded half to even. Anything else, or a result outside
// -32768..32767, gives nothing.
std::optional<std::int16_t> ToWholeNumber(std::string_view text);

} // namespace Quenlar::detail
