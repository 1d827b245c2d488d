// SPDX-License-Identifier: LGPL-2.1-or-later
#include "TMP3Tag.h"

#include "Codepage.h"
#include "Genres.h"
#include "RecordFile.h"
#include "WholeNumber.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstring>
#include <optional>
#include <string_view>

namespace Quenlar {

LibraryError::LibraryError(std::int32_t number, std::string source, std::string description)
    : std::runtime_error(description), number_(number), source_(std::move(source)),
      description_(std::move(description))
{
}

std::int32_t LibraryError::Number() const { return number_; }
const std::string& LibraryError::Source() const { return source_; }
const std::string& LibraryError::Description() const { return description_; }

_TMP3Tag::~_TMP3Tag() = default;
IClassFactory::~IClassFactory() = default;

namespace {

using detail::RawRecord;
using detail::RecordFile;
using detail::kRecordSize;

struct Field {
    std::size_t offset;
    std::size_t width;
};
constexpr Field kMarker{0, 3};
constexpr Field kTitle{3, 30};
constexpr Field kArtist{33, 30};
constexpr Field kAlbum{63, 30};
constexpr Field kYear{93, 4};
constexpr Field kComment{97, 30};
constexpr std::size_t kGenre = 127;
// The 1.1 layout: a NUL here and the track number after it.
constexpr std::size_t kTrackMark = kComment.offset + 28;
constexpr std::string_view kTagMarker = "TAG";

std::atomic<long> liveObjects{0};

std::string ErrorText(std::int32_t number)
{
    switch (number) {
    case errInvalidFilename: return "Invalid filename";
    case errInvalidYear: return "Invalid year number";
    case errWritingTag: return "An error occurred while writing tag";
    case errReadingTag: return "An error occurred while reading tag";
    default: return "Unknown error occurred";
    }
}

[[noreturn]] void Raise(std::int32_t number)
{
    throw LibraryError(number, "TMP3Tag", ErrorText(number));
}

bool HasMarker(const RawRecord& r)
{
    return std::string_view(r.data() + kMarker.offset, kMarker.width) == kTagMarker;
}

// Only spaces (code 32): NULs, tabs and other characters stay.
std::string_view TrimSpaces(std::string_view t)
{
    while (!t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ')
        t.remove_suffix(1);
    return t;
}

bool FileNameValid(const std::string& name)
{
    // The kernel would stop at a NUL and open some other file.
    if (name.find('\0') != std::string::npos)
        return false;
    const std::string_view t = TrimSpaces(name);
    if (Codepage::CountCharacters(t) < 5)
        return false;
    // The last three bytes are the last three characters when they spell
    // "mp3" in any case: continuation bytes of UTF-8 are never ASCII.
    std::string last(t.substr(t.size() - 3));
    for (char& c : last)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return last == "mp3";
}

class TMP3Tag final : public _TMP3Tag {
public:
    TMP3Tag() { ++liveObjects; }
    ~TMP3Tag() override { --liveObjects; }
    TMP3Tag(const TMP3Tag&) = delete;
    TMP3Tag& operator=(const TMP3Tag&) = delete;

    bool ValidTag() const override { return validTag_; }
    std::string Title() const override { return Get(kTitle); }
    void SetTitle(const std::string& v) override { Set(kTitle, v); }
    std::string Artist() const override { return Get(kArtist); }
    void SetArtist(const std::string& v) override { Set(kArtist, v); }
    std::string Album() const override { return Get(kAlbum); }
    void SetAlbum(const std::string& v) override { Set(kAlbum, v); }
    std::string Comment() const override { return Get(kComment); }
    void SetComment(const std::string& v) override { Set(kComment, v); }
    std::string Year() const override { return Get(kYear); }
    void SetYear(const std::string& NewValue) override;
    std::uint8_t Genre() const override { return static_cast<std::uint8_t>(record_[kGenre]); }
    void SetGenre(std::uint8_t v) override { record_[kGenre] = static_cast<char>(v); }

    std::string GenreIDToName(std::uint8_t GenreID) const override
    {
        return std::string(detail::GenreLookup(GenreID));
    }
    std::uint8_t GenreNameToID(const std::string& GenreName) const override
    {
        return detail::GenreByName(GenreName);
    }

    bool TagWrite(const std::string& FileName, bool ShowPopup) override;
    bool TagRead(const std::string& FileName) override;

    ConfirmHook hook;
    WriteHook writeHook;
    std::optional<FileSeen> lastRead; // the file of the last TagRead, when it succeeded
    FileEnd lastEnd;                  // and what it found at its end

    RawRecord ToWrite() const
    {
        RawRecord r = record_;
        std::memcpy(r.data() + kMarker.offset, kTagMarker.data(), kMarker.width);
        return r;
    }

    std::uint8_t Track() const
    {
        return record_[kTrackMark] == '\0' ? static_cast<std::uint8_t>(record_[kTrackMark + 1]) : 0;
    }
    void SetTrack(std::uint8_t track)
    {
        record_[kTrackMark] = '\0';
        record_[kTrackMark + 1] = static_cast<char>(track);
    }

private:
    std::string Get(Field f) const;
    void Set(Field f, std::string_view value);
    void Clear(Field f) { std::memset(record_.data() + f.offset, 0, f.width); }

    RawRecord record_{};
    bool validTag_ = false;
};

// The full width less spaces at both ends; NULs are characters and stay.
std::string TMP3Tag::Get(Field f) const
{
    return Codepage::Decode(TrimSpaces(std::string_view(record_.data() + f.offset, f.width)));
}

// Cut to the width, or NUL-padded up to it.
void TMP3Tag::Set(Field f, std::string_view value)
{
    const std::string bytes = Codepage::Encode(value);
    const std::size_t n = std::min(bytes.size(), f.width);
    std::memcpy(record_.data() + f.offset, bytes.data(), n);
    std::memset(record_.data() + f.offset + n, 0, f.width - n);
}

void TMP3Tag::SetYear(const std::string& NewValue)
{
    if (NewValue.empty()) {
        Clear(kYear);
        return;
    }
    const auto number = detail::ToWholeNumber(NewValue);
    if (!number)
        Raise(errInvalidYear);
    if (*number <= 0) {
        Clear(kYear);
        Raise(errInvalidYear);
    }
    // The text as entered is kept, not the number.
    Set(kYear, NewValue);
}

bool TMP3Tag::TagRead(const std::string& FileName)
{
    lastRead.reset();
    if (!FileNameValid(FileName))
        Raise(errInvalidFilename);
    RecordFile file(FileName, false);
    const RawRecord r = file.ReadLast();
    file.Close();
    lastRead = FileSeen{file.Device(), file.Inode(), file.Length()};
    lastEnd = FileEnd{r, file.Changed()};

    validTag_ = HasMarker(r);
    if (validTag_) {
        record_ = r;
    } else {
        record_.fill('\0');
        record_[kGenre] = static_cast<char>(detail::kNoGenre);
    }
    return true;
}

bool TMP3Tag::TagWrite(const std::string& FileName, bool ShowPopup)
{
    if (!FileNameValid(FileName))
        Raise(errInvalidFilename);
    // The file as it is now decides, not what the last TagRead found.
    std::optional<RecordFile> file(std::in_place, FileName, true);
    bool tagged = HasMarker(file->ReadLast());
    if (!tagged && ShowPopup) {
        // Nothing stays open while the user decides, so the file is looked at
        // again after the answer: a record it gained meanwhile is overwritten,
        // never followed by a second one.
        file.reset();
        const std::string message = "The file '" + FileName + "' does not have a valid Tag or no "
            + "tag at all.\r\nDo you want to create a new tag?";
        if (!hook || !hook("Confirmation Create New Tag", message))
            return false;
        file.emplace(FileName, true);
        tagged = HasMarker(file->ReadLast());
    }
    std::memcpy(record_.data() + kMarker.offset, kTagMarker.data(), kMarker.width);
    const std::int64_t end = file->Length();
    if (writeHook)
        writeHook(FileName, RecordChange{end, !tagged, file->Last(), record_});
    file->Write(record_, tagged ? end - static_cast<std::int64_t>(kRecordSize) : end);
    file->Close();
    return true;
}

class TMP3TagFactory final : public IClassFactory {
public:
    std::unique_ptr<_TMP3Tag> CreateInstance() const override { return std::make_unique<TMP3Tag>(); }
};

TMP3TagFactory factory;

// Class and interface identities compare without regard to letter case.
bool SameIdentity(const char* a, std::string_view b)
{
    if (!a || std::strlen(a) != b.size())
        return false;
    for (std::size_t i = 0; i < b.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

std::unique_ptr<_TMP3Tag> CreateTMP3Tag()
{
    return factory.CreateInstance();
}

void SetConfirmHook(_TMP3Tag& tag, ConfirmHook hook)
{
    if (auto* own = dynamic_cast<TMP3Tag*>(&tag))
        own->hook = std::move(hook);
}

bool SetWriteHook(_TMP3Tag& tag, WriteHook hook)
{
    auto* own = dynamic_cast<TMP3Tag*>(&tag);
    if (own)
        own->writeHook = std::move(hook);
    return own != nullptr;
}

bool LastRead(const _TMP3Tag& tag, FileSeen& file)
{
    const auto* own = dynamic_cast<const TMP3Tag*>(&tag);
    if (!own || !own->lastRead)
        return false;
    file = *own->lastRead;
    return true;
}

bool LastReadEnd(const _TMP3Tag& tag, FileEnd& end)
{
    const auto* own = dynamic_cast<const TMP3Tag*>(&tag);
    if (!own || !own->lastRead)
        return false;
    end = own->lastEnd;
    return true;
}

bool RecordOf(const _TMP3Tag& tag, std::array<char, 128>& record)
{
    const auto* own = dynamic_cast<const TMP3Tag*>(&tag);
    if (!own)
        return false;
    record = own->ToWrite();
    return true;
}

std::uint8_t Track(const _TMP3Tag& tag)
{
    const auto* own = dynamic_cast<const TMP3Tag*>(&tag);
    return own ? own->Track() : 0;
}

void SetTrack(_TMP3Tag& tag, std::uint8_t track)
{
    if (auto* own = dynamic_cast<TMP3Tag*>(&tag))
        own->SetTrack(track);
}

} // namespace Quenlar

using namespace Quenlar;

std::int32_t DllRegisterServer(void) { return S_OK; }
std::int32_t DllUnregisterServer(void) { return S_OK; }

std::int32_t DllGetClassObject(const char* rclsid, const char* riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!SameIdentity(rclsid, CLSID_TMP3Tag))
        return CLASS_E_CLASSNOTAVAILABLE;
    if (!SameIdentity(riid, IID_IClassFactory))
        return E_NOINTERFACE;
    *ppv = static_cast<IClassFactory*>(&factory);
    return S_OK;
}

std::int32_t DllCanUnloadNow(void)
{
    return liveObjects.load() > 0 ? S_FALSE : S_OK;
}
