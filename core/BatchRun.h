// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A batch run as a window starts it. It owns everything it uses, its
// settings, its own tag object and its journal, from its start to its end,
// so that a window that closes meanwhile takes nothing away from it; the
// window only configures it and shows its progress.
#include "RussianCodepages.h"
#include "TMP3Tag.h"
#include "TemplateExpansion.h"
#include "UserDialogs.h"

#include <memory>
#include <optional>
#include <string>

namespace Core {

class BatchRun {
public:
    virtual ~BatchRun() = default;
    // The whole run, on whatever thread runs it, asking through dialogs.
    virtual void Run(UserDialogs& dialogs) = 0;
};

// The fill-tags run over folder, journalled.
std::unique_ptr<BatchRun> NewFillRun(std::string folder, FillSettings settings,
                                     std::unique_ptr<Quenlar::_TMP3Tag> tag);
// The rename run over folder by a name template, journalled.
std::unique_ptr<BatchRun> NewRenameRun(std::string folder, std::string templ, std::unique_ptr<Quenlar::_TMP3Tag> tag);
// The recode run over folder, from the page chosen or, without one, the page
// guessed for each file, journalled.
std::unique_ptr<BatchRun> NewRecodeRun(std::string folder, std::optional<Quenlar::Codepage::Page> from,
                                       std::unique_ptr<Quenlar::_TMP3Tag> tag);
// Taking back the newest run that is not taken back yet.
std::unique_ptr<BatchRun> NewTakeBack();

class Plan;
class PlanJob;
// Making job's plan over folder, reading only: the plan is left in *made
// (null when none was made: the user has been told why).
std::unique_ptr<BatchRun> NewPlanRun(std::string folder, std::shared_ptr<PlanJob> job,
                                     std::unique_ptr<Quenlar::_TMP3Tag> tag,
                                     std::shared_ptr<std::unique_ptr<Plan>> made);
// Carrying out the ticked rows of plan, journalled.
std::unique_ptr<BatchRun> NewApplyRun(std::shared_ptr<const Plan> plan, std::shared_ptr<PlanJob> job,
                                      std::unique_ptr<Quenlar::_TMP3Tag> tag);

} // namespace Core
