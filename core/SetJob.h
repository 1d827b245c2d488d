// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Setting given fields of chosen files, as a plan job: only the fields
// named change, as the document window saves its edits, so that every other
// byte of the record stays, and a v1.1 track number too while the comment
// leaves room for it.
#include "Plan.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace Core {

struct SetFields {
    std::optional<std::string> title, artist, album, year, comment;
    std::optional<std::uint8_t> genre;
};

std::unique_ptr<PlanJob> NewSetPlanJob(SetFields fields);

} // namespace Core
