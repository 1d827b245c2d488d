#pragma once
// The fill tool's and the rename tool's jobs as plans see them: the per-file
// decisions, made by the same steps their runs take.
#include "Plan.h"
#include "TemplateExpansion.h"

#include <memory>
#include <string>

namespace Core {

std::unique_ptr<PlanJob> NewFillPlanJob(FillSettings settings);
std::unique_ptr<PlanJob> NewRenamePlanJob(std::string templ);

} // namespace Core
