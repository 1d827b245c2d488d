// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The recode tool: the tags of a folder's MP3 files written in KOI8-R or
// CP866 made Windows-1251, as a plan (for the preview) and as a run. Both
// decide each file by the same step: the record as read, recoded from the
// chosen page or, without one, from the page guessed for that file. Only
// the text fields that change are written, through the tag object; every
// other byte of the record stays.
#include "Journal.h"
#include "Plan.h"
#include "RussianCodepages.h"
#include "UserDialogs.h"

#include <memory>
#include <optional>
#include <string>

namespace Core {

// from: the page the user chose; none: the page guessed for each file. A
// row the guess is unsure of says so and is not ticked.
std::unique_ptr<PlanJob> NewRecodePlanJob(std::optional<Quenlar::Codepage::Page> from);

enum class RecodeEnd {
    Completed, // every file gone through; the closing box told how many changed
    Stopped,   // stopped between two files (by the user, or No to the characters question); told so
    Broken,    // an error broke it off, with a message naming the file
    NotListed, // the folder could not be listed: reported, nothing touched
};

// The recode run over folder (ending in "/"): files whose guess is unsure
// are left and named in the closing box (the preview lets the user tick
// them); characters that Windows-1251 lacks are asked about once, at the
// first file that has them, and No stops the run there; a read-only file
// is written only after Yes. With a journal, each write is noted ahead.
RecodeEnd RunRecode(const std::string& folder, std::optional<Quenlar::Codepage::Page> from,
                    Quenlar::_TMP3Tag& tag, UserDialogs& dialogs, RunJournal* journal = nullptr);

} // namespace Core
