// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A temporary folder for tests that touch real files; removed with everything
// in it (read-only files included) when the object goes.
#include <cstdint>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace testing_support {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's path, ending in "/".
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

    // Creates or replaces a file with these bytes and returns its full path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    // An MP3 stand-in: audio bytes of the given length, then record (a tag
    // record or anything else), with the given mode.
    std::string Mp3(const std::string& name, const std::string& record, mode_t mode = 0644,
                    std::size_t audio = 100) const;
    std::string MakeFolder(const std::string& name) const;

private:
    std::string path_;
};

// Points XDG_STATE_HOME at a temporary folder for as long as it lives, so
// that no test's run journal touches the real home; the value before comes
// back afterwards.
class StateHome {
public:
    StateHome();
    ~StateHome();
    StateHome(const StateHome&) = delete;
    StateHome& operator=(const StateHome&) = delete;
    // The journal's folder in it.
    std::string Folder() const { return dir_.Path() + "morvik/"; }

private:
    TempDir dir_;
    std::optional<std::string> previous_;
};

std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
mode_t ModeOf(const std::string& path);
void SetMode(const std::string& path, mode_t mode);
std::uint64_t SizeOf(const std::string& path);
// The file's last 128 bytes (empty when it is shorter).
std::string LastRecord(const std::string& path);

// A 128-byte ID3v1 record; each text is stored as raw bytes, cut or
// NUL-padded to its width.
std::string TagBytes(const std::string& title, const std::string& artist = "",
                     const std::string& album = "", const std::string& year = "",
                     const std::string& comment = "", std::uint8_t genre = 255);
// Audio stand-in: n bytes that never contain "TAG".
std::string Audio(std::size_t n);

} // namespace testing_support
