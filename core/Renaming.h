// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Renaming a file to a target name, asking for another name while the target
// is taken: shared by the document window and the batch rename tool. A
// target always lies in the file's folder or below it.
#include "UserDialogs.h"

#include <string>

namespace Core {

class RunJournal;

// The name a template gives for the five tag values (title, artist, album,
// year, genre name), ".mp3" appended unless it ends in exactly ".mp3". A tag
// names a file, never a folder: a "/" inside a value becomes "-", and so do
// the dots of a value "." or "..". Control characters of a value become
// spaces. A "/" of the template keeps its meaning.
std::string NameFromTemplate(const std::string& templ, const std::string& title, const std::string& artist,
                             const std::string& album, const std::string& year, const std::string& genre);

// Where a rename of path to target would put the file: target is relative
// to path's folder unless it starts with "/"; "." and ".." are taken, and a
// place outside the folder (also through a sub-folder that is a link to
// elsewhere) or a hidden name or sub-folder is refused.
struct Destination {
    enum Kind { Inside, Outside, Hidden } kind;
    std::string path; // the resolved target (or, for Outside, the target as given)
};
Destination ResolveTarget(const std::string& path, const std::string& target);

// A typed answer to the taken-name prompt, as a target: ".mp3" added unless
// it ends so in any letter case.
std::string AnswerAsTarget(const std::string& answer);

struct RenameOutcome {
    enum Kind {
        Renamed,
        Unchanged, // the target is the file itself: nothing to do
        Cancelled,
        Refused,   // the name or a folder on the way starts with ".": the file would be hidden
        Outside,   // the target lies outside the file's folder
        Failed,
    } kind;
    std::string target;        // the path renamed to (or tried)
    int error = 0;             // errno of a failure
    std::string stranded = {}; // after a failure that could not be undone: the file's name now
};

// Renames path to target, which is relative to path's folder unless it
// starts with "/", asking prompt for another one while another file holds
// it. An answer is taken the same way, with ".mp3" added unless it ends so
// in any letter case. Never replaces a file and never leaves the folder. A
// journal notes the rename ahead (JournalError when it cannot, the file
// keeping its name).
RenameOutcome RenameAskingForFreeName(const std::string& path, const std::string& target, ValuePrompt& prompt,
                                      RunJournal* journal = nullptr);

// The critical report of a refused or failed rename: the file's path and the
// reason.
std::string RenameFailedText(const std::string& path, const RenameOutcome& outcome);

// The five tag values a name template uses, cut at their first NUL.
struct NameValues {
    std::string title, artist, album, year, genre;
};

// Renames path to the name templ gives for values, in path's folder, asking
// prompt while the target is taken; a refused or failed rename is reported.
// Never replaces a file.
RenameOutcome RenameAfterTemplate(UserDialogs& dialogs, ValuePrompt& prompt, const std::string& path,
                                  const std::string& templ, const NameValues& values, RunJournal* journal = nullptr);

} // namespace Core
