// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What one record of the run journal says: a write about to be made, what a
// write left (for tag objects that do not tell beforehand), or a rename.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace Core {

struct JournalEntry {
    enum Kind { Write, Rename, After } kind = Write;
    std::string path;   // the file written, or the old name of the file renamed
    std::string target; // Rename: the new name
    // Write: the file's length and last 128 bytes before, whether the record
    // was appended, and the record written, unless the run was ended between
    // a write it could not note ahead and the note after it.
    // After: the length and last 128 bytes after the write just before.
    std::int64_t length = 0;
    bool appending = false;
    std::array<char, 128> last{};
    bool recordKnown = true;
    std::array<char, 128> record{};
    // Rename: the file's identity, the same under either name.
    std::uint64_t device = 0, inode = 0;
};

// The payload of an entry, appended to out (a record being built). A
// relative path is taken from folder, so that another process, started
// elsewhere, finds the file: false when there is none to take it from.
bool EncodeEntry(const JournalEntry& entry, const std::string& folder, std::string& out);

// The entry a payload holds; false when it is not one of ours.
bool DecodeEntry(std::string_view payload, JournalEntry& entry);

// What an after-note says of the write before it whose record was not known:
// the record written, when the length says where it went.
void Settle(JournalEntry& write, const JournalEntry& after);

} // namespace Core
