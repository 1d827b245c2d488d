// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fill-tags run over one folder: for each MP3 file, read the tag, fill
// the enabled fields from their templates and write the tag back, asking
// before a read-only file is touched.
#include "Journal.h"
#include "TemplateExpansion.h"
#include "UserDialogs.h"

#include <string>

namespace Core {

enum class FillEnd {
    Completed,    // every file handled; the completion message was shown
    Stopped,      // the user stopped it between two files; told how many were changed
    WriteRefused, // error 75: the run was broken off with a message naming the file
    Broken,       // any other error: broken off with a message naming the file and the reason
    NotListed,    // the folder could not be listed: reported, nothing touched
    Declined,     // the user would not have the window's text stored with "?": nothing touched
};

// strFolder ends in "/". A file gone before its turn is reported and
// skipped; the run stops at the first other error. A read-only bit cleared
// for the file at hand is set back before anything is reported. Before each
// file the run tells dialogs.Progress, and stops there when told to.
// Characters that the tags cannot hold are asked about before the run for
// the window's text, and once during it at the first file whose name or tag
// brings others in; No there stops the run as a stop between files does.
// With a journal, every write is noted there ahead; one that cannot be
// noted is not made and breaks the run off.
FillEnd RunFill(const std::string& strFolder, const FillSettings& settings, Quenlar::_TMP3Tag& objTag,
                UserDialogs& dialogs, RunJournal* journal = nullptr);

} // namespace Core
