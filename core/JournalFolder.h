// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the run journals live and who may write them: the folder, the lock
// that lets one run or taking-back work at a time (across every Morvik
// window and instance), and the journals of the last runs, newest first.
#include "UserDialogs.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Core {

// $XDG_STATE_HOME/morvik/, else ~/.local/state/morvik/; ends in "/".
std::string JournalFolder();

// The newest run's journal in folder. Older ones lie beside it as
// "journal.N", a greater N for a newer run.
std::string JournalPath(const std::string& folder);

// How many runs can be taken back, and how many bytes their journals may
// take together before the oldest go (the newest always stays).
inline constexpr std::size_t kJournalsKept = 10;
inline constexpr std::int64_t kJournalsBytes = std::int64_t(1) << 30;

// The journals of folder that can be taken back, newest first.
std::vector<std::string> Journals(const std::string& folder);
bool JournalExists(const std::string& folder = JournalFolder());

// The report that another run holds the journal.
std::string AnotherRunText();

// The lock, for as long as it lives. Taking it also makes sure that the
// folder holds nothing under the journal's names but regular files: a FIFO
// or a device there would block or misdirect every run.
class JournalLock {
public:
    // Null when another run holds it, or the folder cannot be used; the user
    // has then been told why.
    static std::unique_ptr<JournalLock> Take(UserDialogs& dialogs, const std::string& folder);
    ~JournalLock();
    JournalLock(const JournalLock&) = delete;
    JournalLock& operator=(const JournalLock&) = delete;

private:
    struct Held;
    explicit JournalLock(std::unique_ptr<Held> held);
    std::unique_ptr<Held> held_;
};

// Before a new run's first change (the lock held): the newest journal
// becomes the newest of the older ones, and the oldest beyond kJournalsKept
// or past kJournalsBytes go. 0, or the errno.
int MakeRoomForNewRun(const std::string& folder);

// After the journal at path, the newest, was taken back whole (the lock
// held): it goes, and the next older one takes the newest's name.
int RemoveTakenBack(const std::string& folder, const std::string& path);

} // namespace Core
