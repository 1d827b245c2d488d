// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The batch rename run: renames every MP3 file of a folder after its own tag
// by a name template ("%1" title to "%5" genre name), asking for another name
// while a target is taken and reporting each file it cannot handle.
#include "Journal.h"
#include "UserDialogs.h"
#include "TMP3Tag.h"

#include <string>

namespace Core {

enum class RenameEnd {
    Completed,  // every file handled; the completion message was shown
    Stopped,    // the user stopped it between two files; told how many were renamed
    NoTemplate, // a template of blanks only: reported, nothing touched
    NotListed,  // the folder could not be listed: reported, nothing touched
    Broken,     // a rename could not be noted in the journal: not made, reported, the run ends there
};

// strFolder ends in "/"; strTemplate is used exactly as typed. A folder that
// cannot be listed is reported and the run ends there, with no closing box.
// Before each file the run tells dialogs.Progress, and stops there when
// told to. With a journal, every rename is noted there ahead.
RenameEnd RunRename(const std::string& strFolder, const std::string& strTemplate, Quenlar::_TMP3Tag& objTag,
               UserDialogs& dialogs, RunJournal* journal = nullptr);

} // namespace Core
