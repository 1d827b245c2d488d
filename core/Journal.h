// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The run journal as the runs use it: what a batch run changes, noted ahead
// of each change, so that the run can be taken back whether it finished,
// was stopped or was killed. No Qt and no shared state: a run uses its
// journal on whatever thread it runs on. The windows never see it: a run
// opens its own.
#include "JournalEntry.h"
#include "JournalFolder.h"
#include "TMP3Tag.h"
#include "UserDialogs.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace Core {

namespace Platform {
class File;
}

// A change that could not be noted in the journal, and so was not made.
class JournalError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The journal of one run, from its start to its end.
class RunJournal {
public:
    // Takes the lock for a run about to start; null (the user told why)
    // when the run must not start. The last runs' journals stay as they are
    // until this run's first change, which makes its own the newest.
    static std::unique_ptr<RunJournal> Begin(UserDialogs& dialogs, const std::string& folder = JournalFolder());
    // Puts the journal on the disk and lets go of the lock.
    ~RunJournal();
    RunJournal(const RunJournal&) = delete;
    RunJournal& operator=(const RunJournal&) = delete;

    // objTag.TagWrite(path, false), with what the file holds and what it
    // will hold noted ahead; for an object of another make than the
    // library's, what it holds after the write is noted after it. Throws
    // what TagWrite throws, or JournalError when a note cannot be written
    // (the file untouched when it was the note ahead).
    void WriteTag(Quenlar::_TMP3Tag& objTag, const std::string& path);
    // The file at path as objTag has just read it: a rename of path that
    // follows takes the file's identity from there instead of looking again.
    void Identify(const std::string& path, const Quenlar::_TMP3Tag& objTag);
    // Platform::RenameFile, with both names and the file's identity noted
    // ahead: 0 or the errno of the failure (a name longer than the system
    // takes is refused before anything is noted). Throws JournalError (the
    // file keeps its name) when the note cannot be written.
    int Rename(const std::string& from, const std::string& to);
    // Notes ahead a rename that the caller makes its own way (through a
    // free name, on a volume that ignores letter case).
    void NoteRename(const std::string& from, const std::string& to);

private:
    RunJournal(std::string folder, std::unique_ptr<JournalLock> lock);
    void Note();
    void WriteLooking(Quenlar::_TMP3Tag& objTag, const std::string& path);
    void Start();
    [[noreturn]] void Fail(int error, const std::string& path) const;

    std::string folder_;
    std::unique_ptr<JournalLock> lock_;
    std::unique_ptr<Platform::File> file_; // once the run's first change has started it
    std::string cwd_;    // for a relative path: the journal names every file from the root
    JournalEntry entry_; // the entry being noted and its record: kept to spare allocations per file
    std::string record_;
    std::string identified_; // the path Identify() was told of, with what was read
    Quenlar::FileSeen seen_;
};

} // namespace Core
