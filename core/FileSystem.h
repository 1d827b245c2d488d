// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's few touches of the file system outside the tag object:
// attributes, the existence test, folder listing and renaming. Windows
// attribute bits are mapped onto Linux: read-only is a clear owner-write bit,
// hidden is a name that starts with ".".
#include <cstdint>
#include <string>
#include <vector>

namespace Core::Platform {

inline constexpr std::int32_t faReadOnly = 1;
inline constexpr std::int32_t faHidden = 2;
inline constexpr std::int32_t faDirectory = 16;
inline constexpr std::int32_t faInvalid = -1; // what a failed read gives: all bits set

// The attribute bits of path, or faInvalid when they cannot be read.
std::int32_t GetFileAttributesA(const std::string& path);
// Sets the read-only bit from bit 0 of attributes, touching nothing else of
// the file's mode. False on failure.
bool SetFileAttributesA(const std::string& path, std::int32_t attributes);

// True when path names an ordinary file that is not hidden.
bool FileExists(const std::string& path);

// Whether a listing takes a symbolic link that leads to an ordinary file.
// The batch runs skip them, so that no run writes or renames through a link
// to a file elsewhere; the open dialog, where the user picks each file,
// follows them.
enum class Links { Skipped, Followed };

// Names (no folder) of the ordinary, non-hidden files of folder whose names
// end in ".mp3" in any letter case, in the order the directory gives them.
// A folder that cannot be read gives no names and, when error is given, its
// errno there (0 on success). When folders is given, it gets the names of
// the non-hidden folders from the same reading, links counted as for the
// files, for a caller that shows both and would otherwise read a large
// folder twice.
std::vector<std::string> ListMp3Files(const std::string& folder, int* error = nullptr, Links links = Links::Skipped,
                                      std::vector<std::string>* folders = nullptr);

// The process's current folder as the system names it, or "" when it cannot
// be read (it was removed, say).
std::string CurrentFolder();

// Renames (or moves) from to to; never replaces an existing file, hidden
// ones included. Returns 0 or the errno of the failure.
int RenameFile(const std::string& from, const std::string& to);

// Renames from to to through a free temporary name in from's folder: for a
// change that the volume takes for none, letter case where it ignores case.
// Never replaces a file. Returns 0 or the errno of the failure (EEXIST when
// another file holds to); the file then has its old name again or, should
// even the way back be refused, the temporary one, given in *stranded.
int RenameThroughFreeName(const std::string& from, const std::string& to, std::string* stranded);

// Whether a and b are one file of one volume (device and inode).
bool SameFile(const std::string& a, const std::string& b);

// Whether folder holds an entry of exactly this name: on a volume that
// ignores letter case, a name that only matched another entry's does not.
bool HasEntry(const std::string& folder, const std::string& name);

// The path with every link, "." and ".." resolved, or "" when that fails.
std::string RealPath(const std::string& path);

// Whether this process may create and remove names in folder.
bool MayChangeFolder(const std::string& folder);

// Why the system refuses to write a file, as far as it tells.
enum class WriteBar {
    Unknown,
    ReadOnlyVolume,
    ReadOnlyAttribute, // the owner's write bit is clear and this process could set it
    NoPermission,      // this user may not write the file
};
WriteBar WhyNotWritable(const std::string& path);

// A short Russian description of an errno value, for messages.
std::string ErrorText(int errnum);

// Clears the read-only bit of a file for as long as it lives and sets the
// attributes back to what they were, also when the write in between throws.
class WritableScope {
public:
    WritableScope(std::string path, std::int32_t attributes);
    ~WritableScope();
    WritableScope(const WritableScope&) = delete;
    WritableScope& operator=(const WritableScope&) = delete;

    // Sets the attributes back now: 0, or the errno of the failure, which
    // leaves the file writable. The destructor then does nothing.
    int Restore();

private:
    std::string path_;
    std::int32_t attributes_;
    bool restored_ = false;
};

} // namespace Core::Platform
