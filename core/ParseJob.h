// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tags-from-names tool: each MP3 file's name (and the folders the
// pattern names) taken apart into the fields of its tag. The plan and the
// run decide each file by the same step, so the preview shows what
// "Заполнить" does; a file whose name does not fit is left as it is.
#include "BatchRun.h"
#include "NamePattern.h"
#include "Plan.h"

#include <memory>
#include <string>

namespace Core {

// The plan job of pattern as typed. A pattern ParseNamePattern refuses is
// reported by Begin with its reason, before any file is looked at.
std::unique_ptr<PlanJob> NewParsePlanJob(std::string pattern, ParseOptions options);

// The tool's run over folder (ending in "/"), journalled: a refused pattern
// is reported before anything runs. Each file that fits is filled as its
// row in the plan says; a read-only one only after the fill tool's
// question, and the first whose fields bring characters the tag cannot
// hold after the fill tool's warning (No stops the run there). One closing
// box counts the files changed and names those left, with why.
std::unique_ptr<BatchRun> NewParseRun(std::string folder, std::string pattern, ParseOptions options,
                                      std::unique_ptr<Quenlar::_TMP3Tag> tag);

} // namespace Core
