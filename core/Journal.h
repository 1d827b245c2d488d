#pragma once
// The run journal: what the last batch run changed, noted ahead of each
// change, so that the run can be taken back whether it finished, was
// stopped or was killed. One journal, for the last run, in JournalFolder();
// a lock beside it keeps two runs, of this program or of another instance,
// from writing it at once. No Qt and no shared state: a run may use its
// journal on whatever thread it runs on.
#include "TMP3Tag.h"
#include "UserDialogs.h"

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace Core {

// $XDG_STATE_HOME/morvik/, else ~/.local/state/morvik/; ends in "/".
std::string JournalFolder();

// Whether the last run left a journal to take back.
bool JournalExists(const std::string& folder = JournalFolder());

// The journal's lock (an flock on a file beside it) for as long as it lives.
class JournalLock {
public:
    // Takes it, making the folder when it is missing. Null when another run
    // holds it or the folder cannot be made; the user has then been told why.
    static std::unique_ptr<JournalLock> Take(UserDialogs& dialogs, const std::string& folder);
    ~JournalLock();
    JournalLock(const JournalLock&) = delete;
    JournalLock& operator=(const JournalLock&) = delete;

private:
    explicit JournalLock(int fd) : fd_(fd) {}
    int fd_;
};

// A change that could not be noted in the journal, and so was not made.
class JournalError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The journal of one run, from its start to its end.
class RunJournal {
public:
    // Takes the lock for a run about to start; null (the user told why)
    // when the run must not start. The last run's journal stays until this
    // run's first change.
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
    // ahead: 0 or the errno of the failure. Throws JournalError (the file
    // keeps its name) when the note cannot be written.
    int Rename(const std::string& from, const std::string& to);
    // Notes ahead a rename that the caller makes its own way (through a
    // free name, on a volume that ignores letter case).
    void NoteRename(const std::string& from, const std::string& to);

private:
    RunJournal(std::string folder, std::unique_ptr<JournalLock> lock);
    void NoteWrite(const std::string& path, const Quenlar::RecordChange& change);
    void WriteLooking(Quenlar::_TMP3Tag& objTag, const std::string& path);
    void PutPath(const std::string& path);
    void Append();
    [[noreturn]] void Fail(int error) const;

    std::string folder_;
    std::unique_ptr<JournalLock> lock_;
    int fd_ = -1;        // the journal, once the run's first change has started it
    std::string cwd_;    // for a relative path: the journal names every file from the root
    std::string entry_;  // the entry being written, kept to spare an allocation per file
    std::string identified_; // the path Identify() was told of, with what was read
    Quenlar::FileSeen seen_;
};

// One change, as the journal holds it.
struct JournalEntry {
    enum Kind { Write, Rename } kind = Write;
    std::string path;   // the file written, or the old name of the file renamed
    std::string target; // Rename: the new name
    // Write: the file's length and last 128 bytes before, whether the record
    // was appended, and the record written, unless the run was ended between
    // a write it could not note ahead and the note after it.
    std::int64_t length = 0;
    bool appending = false;
    std::array<char, 128> last{};
    bool recordKnown = true;
    std::array<char, 128> record{};
    // Rename: the file's identity, the same under either name.
    std::uint64_t device = 0, inode = 0;
};

struct JournalReading {
    enum Status {
        Read,        // entries hold every complete entry; a torn last one is left out
        Missing,     // there is no journal
        Unreadable,  // error holds the errno
        OtherFormat, // written in a format of another version (version)
        Damaged,     // not a journal, or garbled before its end
    } status = Missing;
    std::vector<JournalEntry> entries;
    int error = 0;
    std::uint32_t version = 0;
};

// The journal in folder, entries in the order they were written.
JournalReading ReadJournal(const std::string& folder = JournalFolder());

// The journal's own path in folder.
std::string JournalPath(const std::string& folder);

// The report that another run holds the journal.
std::string AnotherRunText();

} // namespace Core
