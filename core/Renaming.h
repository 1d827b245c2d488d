#pragma once
// Renaming a file to a target name, asking for another name while the target
// is taken: shared by the document window and the batch rename tool.
#include "UserDialogs.h"

#include <string>

namespace Core {

class RunJournal;

// The name a template gives for the five tag values (title, artist, album,
// year, genre name), ".mp3" appended unless it ends in exactly ".mp3". A "/"
// inside a value becomes "-": a tag names a file, never a folder. A "/" of
// the template keeps its meaning.
std::string NameFromTemplate(const std::string& templ, const std::string& title, const std::string& artist,
                             const std::string& album, const std::string& year, const std::string& genre);

struct RenameOutcome {
    enum Kind {
        Renamed,
        Cancelled,
        Refused, // the name starts with ".": the file would be hidden
        Failed,
    } kind;
    std::string target; // the path renamed to (or tried)
    int error = 0;      // errno of a failure
};

// While an ordinary file exists at target, asks prompt for another one; then
// renames path to target unless the user cancelled or the name would hide
// the file. Never replaces a file. A journal notes the rename ahead
// (JournalError when it cannot, the file keeping its name).
RenameOutcome RenameAskingForFreeName(const std::string& path, std::string target, ValuePrompt& prompt,
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
