// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fill tool's and the rename tool's jobs as plans see them: the per-file
// decisions, made by the same steps their runs take. (The tags-from-names
// job is ParseJob.h's.)
#include "Plan.h"
#include "TemplateExpansion.h"

#include <memory>
#include <string>

namespace Core {

std::unique_ptr<PlanJob> NewFillPlanJob(FillSettings settings);
std::unique_ptr<PlanJob> NewRenamePlanJob(std::string templ);

// What every job's Decide shares.
// The file as tag has just read it, into row.seen.
void NoteSeen(PlanRow& row, const Quenlar::_TMP3Tag& tag);
// «ő», «€»: the characters a tag would store as "?", for a row's reason.
std::string ListedCharacters(const std::u32string& lost);
// A NotHeld row's reason: "«ő», «€» станет «?»".
std::string NotHeldReason(const std::u32string& lost);

} // namespace Core
