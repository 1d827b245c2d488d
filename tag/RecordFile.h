// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once
// The only code that touches files: one open file, its last 128 bytes.
#include <array>
#include <cstdint>
#include <string>

namespace Quenlar::detail {

inline constexpr std::size_t kRecordSize = 128;
using RawRecord = std::array<char, kRecordSize>;

// Failures throw LibraryError with the file-error numbers of the public header.
class RecordFile {
public:
    // Opens for reading, or for reading and writing. A file that may not be
    // written still opens so its record can be examined; Write() refuses it.
    RecordFile(const std::string& path, bool forWriting);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    std::int64_t Length() const { return length_; }
    // The file's identity: its device and inode, the same under any name.
    std::uint64_t Device() const { return device_; }
    std::uint64_t Inode() const { return inode_; }
    // When the file last changed (its inode's change time), in nanoseconds.
    std::int64_t Changed() const { return changed_; }
    // The last 128 bytes; a file shorter than that has no place for a record.
    RawRecord ReadLast();
    // What the last ReadLast() gave.
    const RawRecord& Last() const { return last_; }
    // All 128 bytes at the offset, in one write unless the system stops
    // short. A write that fails is undone as far as possible and reported.
    void Write(const RawRecord& record, std::int64_t offset);
    // Closes; a failure to close after a write means the data may be lost and
    // is reported. The destructor closes silently.
    void Close();

private:
    int fd_ = -1;
    std::int64_t length_ = 0;
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
    std::int64_t changed_ = 0;
    bool writable_ = false;
    bool written_ = false;
    // What ReadLast() found, to undo a partial overwrite.
    RawRecord last_{};
    bool haveLast_ = false;
};

} // namespace Quenlar::detail
