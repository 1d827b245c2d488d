// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One open file, as the journal and taking back use it: opened without
// following a link and without ever blocking (a FIFO under a journal's name
// must not hang a run), refused unless it is a regular file, and read and
// written at given places with the system's short reads and writes and
// interruptions taken care of. Shaped like the tag library's own file, which
// the program cannot use.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Core::Platform {

// The error of a path that names something other than a regular file (a
// FIFO, a device, a folder); ErrorText says so in words.
inline constexpr int kNotRegularFile = 0x10000;

class File {
public:
    enum Mode {
        Reading,
        Writing,    // reading and writing, in place; never created
        Appending,  // created or emptied, then written at its end only
    };

    // The file at path, or its error (an errno value or kNotRegularFile).
    static std::optional<File> Open(const std::string& path, Mode mode, int& error);
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&&) = delete;
    File(const File&) = delete;

    // As the file was when it was opened.
    std::int64_t Length() const { return length_; }
    std::uint64_t Device() const { return device_; }
    std::uint64_t Inode() const { return inode_; }
    std::int64_t Changed() const { return changed_; } // change time, ns

    // Exactly n bytes at offset: 0, or the errno (EIO when the file ends first).
    int ReadAt(std::int64_t offset, char* data, std::size_t n) const;
    // The last 128 bytes, where the tag record sits; EIO for a shorter file.
    int ReadEnd(std::array<char, 128>& last) const;
    // All of bytes at offset (Writing), or after what was written (Appending).
    int WriteAt(std::int64_t offset, std::string_view bytes);
    int Append(std::string_view bytes);
    // Cuts the file to length: only ever an appended record, taken back.
    int CutTo(std::int64_t length);
    // Puts what was written on the disk.
    int Sync();
    // Closes now: 0, or the errno of a close that may have lost a write.
    int Close();

private:
    explicit File(int fd) : fd_(fd) {}
    int fd_;
    std::int64_t length_ = 0;
    std::uint64_t device_ = 0, inode_ = 0;
    std::int64_t changed_ = 0;
};

// What a name holds without following it: nothing (ENOENT), a regular file,
// or something else.
enum class Kind { None, Regular, Other, Unknown };
Kind KindOf(const std::string& path);
// The device and inode of what the name holds, not followed.
std::optional<std::pair<std::uint64_t, std::uint64_t>> IdentityOf(const std::string& path);

// Makes folder and every folder above it that is missing, for the user only:
// 0, or the errno.
int MakeFolders(const std::string& folder);
// Puts the names of folder's entries on the disk (after a rename in it).
void SyncFolder(const std::string& folder);
// The names of a folder's entries; nothing when it cannot be read.
std::vector<std::string> NamesIn(const std::string& folder);
// For the program's own files only (the journal's): rename(2), which may
// replace, and unlink(2). 0, or the errno.
int ReplaceFile(const std::string& from, const std::string& to);
int RemoveFile(const std::string& path);

// An exclusive lock on a file, for as long as it lives: two runs, of this
// program or another instance, never hold it at once.
class Lock {
public:
    // Busy when another holder has it; error holds the errno otherwise.
    enum Result { Taken, Busy, Failed };
    static std::optional<Lock> Take(const std::string& path, Result& result, int& error);
    ~Lock();
    Lock(Lock&& other) noexcept;
    Lock& operator=(Lock&&) = delete;
    Lock(const Lock&) = delete;

private:
    explicit Lock(int fd) : fd_(fd) {}
    int fd_;
};

} // namespace Core::Platform
