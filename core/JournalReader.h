// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a run journal: every record is checked before any is acted on,
// and then the entries are read one at a time, so that memory does not grow
// with the number of files. A journal cut off inside its last record (or
// ending in zeros) is read up to there; one garbled anywhere is refused.
#include "JournalEntry.h"
#include "JournalFolder.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Core {

namespace Platform {
class File;
}
namespace Log {
class Reader;
}

class JournalIndex {
public:
    enum Status {
        Read,        // every whole entry can be read; a torn last one is left out
        Missing,     // there is no journal
        Unreadable,  // Error() holds the errno
        OtherFormat, // written in a format of another version (Version())
        Damaged,     // not a journal, or garbled before its end
    };
    explicit JournalIndex(const std::string& path);
    ~JournalIndex();
    JournalIndex(const JournalIndex&) = delete;
    JournalIndex& operator=(const JournalIndex&) = delete;

    Status State() const { return status_; }
    int Error() const { return error_; }
    std::uint32_t Version() const { return version_; }

    // The entries in the order they were written; a write whose record only
    // an after-note told is one entry with it.
    std::size_t Count() const { return places_.size(); }
    // Entry i, read again; false (Error() then tells why) when it no longer reads.
    bool Entry(std::size_t i, JournalEntry& entry);

private:
    struct Place {
        std::int64_t entry;
        std::int64_t after; // -1 when none follows
    };
    void Index();

    std::unique_ptr<Platform::File> file_;
    std::unique_ptr<Log::Reader> reader_;
    std::vector<Place> places_;
    Status status_ = Missing;
    int error_ = 0;
    std::uint32_t version_ = 0;
};

// The format version the runs write.
inline constexpr std::uint32_t kJournalVersion = 2;

// The newest journal of folder, whole: what the last run changed.
struct JournalReading {
    JournalIndex::Status status = JournalIndex::Missing;
    std::vector<JournalEntry> entries;
    int error = 0;
    std::uint32_t version = 0;
};
JournalReading ReadJournal(const std::string& folder = JournalFolder());

} // namespace Core
