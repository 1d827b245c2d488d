#pragma once
// Taking back the last batch run through its journal.
#include "Journal.h"
#include "UserDialogs.h"

#include <string>

namespace Core {

enum class TakeBackEnd {
    Done,      // every entry gone through; one box told how many files went back and which were left
    Stopped,   // the user stopped it between two files; told so, and the journal stays to go on later
    Nothing,   // there was no journal: said so
    Busy,      // a run holds the journal, or it cannot be opened: said so, nothing touched
    Refused,   // the journal is damaged, of another format or unreadable: said so, nothing touched
};

// Goes through the journal from its last entry to its first. A file that
// holds exactly what the run left gets back what it held (an appended
// record is cut off again); one that holds what it held before needs
// nothing; any other is left and named. A read-only file is asked about
// as the fill run asks. Never replaces a file. A finished taking-back
// removes the journal; a damaged one is kept aside and nothing is touched.
// Before each file it tells dialogs.Progress, and stops there when told to.
TakeBackEnd TakeBackLastRun(UserDialogs& dialogs, const std::string& folder = JournalFolder());

} // namespace Core
