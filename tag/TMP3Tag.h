// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once
// Quenlar: reads and writes the ID3v1 tag, the 128-byte record at the end of
// an MP3 file. Texts cross this interface as UTF-8; in the record every
// character is one byte of Windows-1251.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#define QUENLAR_EXPORT __attribute__((visibility("default")))

namespace Quenlar {

enum CTagCreate { cTagNew = 0, cTagOverwrite = 1 };

// The library's own error numbers (object-error range, base 0x80040000).
inline constexpr std::int32_t errInvalidFilename = -2147220529;   // 0x800403CF
inline constexpr std::int32_t errInvalidYear = -2147220528;       // 0x800403D0
inline constexpr std::int32_t errWritingTag = -2147220527;        // 0x800403D1
inline constexpr std::int32_t errReadingTag = -2147220526;        // 0x800403D2

// File-system errors, numbered as the caller expects them.
inline constexpr std::int32_t errFileNotFound = 53;
inline constexpr std::int32_t errBadRecordNumber = 63;      // file shorter than 128 bytes
inline constexpr std::int32_t errPathFileAccess = 75;       // may not be written
inline constexpr std::int32_t errPathNotFound = 76;         // folder missing
inline constexpr std::int32_t errDiskFull = 61;             // no space left, or over quota
inline constexpr std::int32_t errBadFileName = 52;          // a name too long, or a loop of links
inline constexpr std::int32_t errTooManyFiles = 67;         // no file descriptor free
inline constexpr std::int32_t errFileIO = 57;               // any other I/O failure
// Descriptions are short English texts; for 52, 57, 61 and 67 they end with
// the system's own reason in parentheses.

// What every failure of the library throws.
class QUENLAR_EXPORT LibraryError : public std::runtime_error {
public:
    LibraryError(std::int32_t number, std::string source, std::string description);
    std::int32_t Number() const;
    const std::string& Source() const;
    const std::string& Description() const;

private:
    std::int32_t number_;
    std::string source_;
    std::string description_;
};

// The interface of the tag object; members in slot order 7..23.
class QUENLAR_EXPORT _TMP3Tag {
public:
    virtual ~_TMP3Tag();
    virtual bool ValidTag() const = 0;
    virtual std::string Title() const = 0;
    virtual void SetTitle(const std::string& NewValue) = 0;
    virtual std::string Artist() const = 0;
    virtual void SetArtist(const std::string& NewValue) = 0;
    virtual std::string Album() const = 0;
    virtual void SetAlbum(const std::string& NewValue) = 0;
    virtual std::string Comment() const = 0;
    virtual void SetComment(const std::string& NewValue) = 0;
    virtual std::string Year() const = 0;
    virtual void SetYear(const std::string& NewValue) = 0;
    virtual std::uint8_t Genre() const = 0;
    virtual void SetGenre(std::uint8_t NewValue) = 0;
    virtual std::string GenreIDToName(std::uint8_t GenreID) const = 0;
    virtual std::uint8_t GenreNameToID(const std::string& GenreName) const = 0;
    virtual bool TagWrite(const std::string& FileName, bool ShowPopup) = 0;
    virtual bool TagRead(const std::string& FileName) = 0;
};

// A new object, as the class factory makes it.
QUENLAR_EXPORT std::unique_ptr<_TMP3Tag> CreateTMP3Tag();

// Shows the confirmation box of TagWrite(name, true) and returns true for
// Yes. Without a hook the answer is No.
using ConfirmHook = std::function<bool(const std::string& caption, const std::string& message)>;
// Installs the hook on an object made by this library (others are left alone).
QUENLAR_EXPORT void SetConfirmHook(_TMP3Tag& tag, ConfirmHook hook);

// The track number of a record in the 1.1 layout, where the comment's 29th
// byte is NUL and its 30th holds the number; 0 when the comment fills the
// field. For objects made by this library (0 for others).
QUENLAR_EXPORT std::uint8_t Track(const _TMP3Tag& tag);
// Puts a track number into the comment's last two bytes (NUL, number), which
// cuts the comment to 28 characters; 0 clears both bytes. Objects made by
// this library only (others are left alone).
QUENLAR_EXPORT void SetTrack(_TMP3Tag& tag, std::uint8_t track);

// What TagWrite is about to do to a file, told after it has opened the file
// and read its last 128 bytes, before it writes anything.
struct RecordChange {
    std::int64_t length;         // the file's length now
    bool appending;              // the file holds no record: the new one goes after its end
    std::array<char, 128> last;  // the file's last 128 bytes now (the record it replaces, when not appending)
    std::array<char, 128> record; // the record about to be written
};
// Called by TagWrite before every write. An exception it throws ends
// TagWrite with the file untouched, and goes on to TagWrite's caller.
using WriteHook = std::function<void(const std::string& FileName, const RecordChange& change)>;
// Installs the hook on an object made by this library and returns true;
// false for others, which are left alone. An empty hook removes it.
QUENLAR_EXPORT bool SetWriteHook(_TMP3Tag& tag, WriteHook hook);

// The file that the last TagRead of an object read: its identity (device
// and inode, which stay with the file whatever its name) and its length.
struct FileSeen {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t length = 0;
};
// For an object made by this library whose last TagRead succeeded; false
// for others, and after a TagRead that failed.
QUENLAR_EXPORT bool LastRead(const _TMP3Tag& tag, FileSeen& file);

// What the last TagRead of an object found at the file's end, whatever it
// holds (a record or not), and when the file last changed: enough to tell
// later whether the file is still the one that was read.
struct FileEnd {
    std::array<char, 128> last{};
    std::int64_t changed = 0; // the file's change time, in nanoseconds
};
// For an object made by this library whose last TagRead succeeded; false
// for others, and after a TagRead that failed.
QUENLAR_EXPORT bool LastReadEnd(const _TMP3Tag& tag, FileEnd& end);

// The 128 bytes that TagWrite would write now: the object's record with its
// marker. For objects made by this library (false for others).
QUENLAR_EXPORT bool RecordOf(const _TMP3Tag& tag, std::array<char, 128>& record);

// The component model's class factory, as DllGetClassObject hands it out.
class QUENLAR_EXPORT IClassFactory {
public:
    virtual ~IClassFactory();
    virtual std::unique_ptr<_TMP3Tag> CreateInstance() const = 0;
};

// Identities for DllGetClassObject.
inline constexpr char CLSID_TMP3Tag[] = "{6F2C1B0A-4D3E-4A57-9C21-3B8E5D7A9F10}";
inline constexpr char IID_IClassFactory[] = "{00000001-0000-0000-C000-000000000046}";

// Result codes of the component entry points.
inline constexpr std::int32_t S_OK = 0;
inline constexpr std::int32_t S_FALSE = 1;
inline constexpr std::int32_t E_NOINTERFACE = static_cast<std::int32_t>(0x80004002u);
inline constexpr std::int32_t E_POINTER = static_cast<std::int32_t>(0x80004003u);
inline constexpr std::int32_t CLASS_E_CLASSNOTAVAILABLE = static_cast<std::int32_t>(0x80040111u);

} // namespace Quenlar

// The four in-process component entry points. Linux has no component
// registry: registering and unregistering succeed and record nothing.
extern "C" {
QUENLAR_EXPORT std::int32_t DllRegisterServer(void);
QUENLAR_EXPORT std::int32_t DllUnregisterServer(void);
// With CLSID_TMP3Tag and IID_IClassFactory, stores the library's factory
// (a Quenlar::IClassFactory*, owned by the library) in *ppv and returns S_OK.
QUENLAR_EXPORT std::int32_t DllGetClassObject(const char* rclsid, const char* riid, void** ppv);
// S_FALSE (1) while any TMP3Tag object lives, else S_OK (0).
QUENLAR_EXPORT std::int32_t DllCanUnloadNow(void);
}
