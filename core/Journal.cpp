#include "Journal.h"

#include "FileSystem.h"
#include "Paths.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <pwd.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// The journal's format. A header: the 8 bytes "MORVIKJ\n" and a 32-bit
// version. Then one entry per change, each written with one write(): a
// 32-bit payload size, a 32-bit check of the payload (Checksum), the
// payload. Numbers are little-endian. Payloads:
//   write:  1, flags (1 = appended, 2 = record known), length (64), path
//           (32-bit size, bytes), the last 128 bytes before, and when known
//           the 128-byte record written
//   after:  3, length (64), the last 128 bytes: what the file of the write
//           just before it, whose record was not known, holds after it
//   rename: 2, device (64), inode (64), old name, new name (each as a path)
// A killed program leaves at most its last entry torn, so an entry that
// the file ends inside, or a checksum wrong only at the very end, is a torn
// last entry and left out; one that fails before the end is damage.

namespace Core {

namespace {

constexpr char kMagic[8] = {'M', 'O', 'R', 'V', 'I', 'K', 'J', '\n'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderSize = sizeof kMagic + 4;
constexpr std::size_t kFrameSize = 8; // payload size and checksum
constexpr std::uint8_t kWrite = 1, kRename = 2, kAfter = 3;
constexpr std::uint8_t kAppended = 1, kRecordKnown = 2;
constexpr std::size_t kMaxPath = 1 << 16;
constexpr std::size_t kMaxPayload = 1 + 16 + 2 * (4 + kMaxPath) + 256;
// Far more than 32767 entries of the longest paths a system takes.
constexpr std::int64_t kMaxJournal = std::int64_t(1) << 30;

// Tells a torn or garbled entry from a whole one, eight bytes a step: a byte
// at a time would cost a run several per cent.
std::uint32_t Checksum(std::string_view bytes)
{
    const auto mix = [](std::uint64_t h, std::uint64_t word) {
        h = (h ^ word) * 0xff51afd7ed558ccdull;
        return h ^ (h >> 32);
    };
    std::uint64_t h = 0x9e3779b97f4a7c15ull ^ bytes.size();
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word = 0;
        for (int i = 0; i < 8; ++i) // little-endian whatever the machine; compilers make this one load
            word |= std::uint64_t(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
        h = mix(h, word);
    }
    std::uint64_t tail = 0;
    for (std::size_t i = 0; at + i < bytes.size(); ++i)
        tail |= std::uint64_t(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    h = mix(mix(h, tail), 0xc4ceb9fe1a85ec53ull);
    return static_cast<std::uint32_t>(h);
}

void PutU32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>(v >> (8 * i)));
}

void PutU64(std::string& out, std::uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<char>(v >> (8 * i)));
}

void SetU32(std::string& out, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<char>(v >> (8 * i));
}

// Reads a payload field by field; any field past its end, or any rule
// broken, makes the whole payload not ours.
class Cursor {
public:
    explicit Cursor(std::string_view bytes) : rest_(bytes) {}
    bool ok() const { return ok_ && rest_.empty(); }
    std::uint64_t Number(int bytes)
    {
        if (!Have(bytes))
            return 0;
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= std::uint64_t(static_cast<unsigned char>(rest_[i])) << (8 * i);
        rest_.remove_prefix(bytes);
        return v;
    }
    void Bytes(char* to, std::size_t n)
    {
        if (!Have(n))
            return;
        std::memcpy(to, rest_.data(), n);
        rest_.remove_prefix(n);
    }
    // A full path: not empty, from the root, no NUL inside.
    std::string Path()
    {
        const std::size_t n = Number(4);
        if (n == 0 || n > kMaxPath || !Have(n)) {
            ok_ = false;
            return std::string();
        }
        std::string path(rest_.substr(0, n));
        rest_.remove_prefix(n);
        if (path[0] != '/' || path.find('\0') != std::string::npos)
            ok_ = false;
        return path;
    }
    void Require(bool rule) { ok_ = ok_ && rule; }

private:
    bool Have(std::size_t n)
    {
        ok_ = ok_ && rest_.size() >= n;
        return ok_;
    }
    std::string_view rest_;
    bool ok_ = true;
};

// The kind of the payload, with its fields in e (for an after-note, the
// length and the last 128 bytes); 0 when it is not ours.
std::uint8_t Decode(std::string_view payload, JournalEntry& e)
{
    Cursor c(payload);
    const auto kind = static_cast<std::uint8_t>(c.Number(1));
    if (kind == kWrite) {
        e.kind = JournalEntry::Write;
        const auto flags = c.Number(1);
        e.appending = flags & kAppended;
        e.recordKnown = flags & kRecordKnown;
        e.length = static_cast<std::int64_t>(c.Number(8));
        e.path = c.Path();
        c.Bytes(e.last.data(), e.last.size());
        if (e.recordKnown)
            c.Bytes(e.record.data(), e.record.size());
        c.Require((flags & ~(kAppended | kRecordKnown)) == 0);
    } else if (kind == kAfter) {
        e.length = static_cast<std::int64_t>(c.Number(8));
        c.Bytes(e.last.data(), e.last.size());
    } else if (kind == kRename) {
        e.kind = JournalEntry::Rename;
        e.device = c.Number(8);
        e.inode = c.Number(8);
        e.path = c.Path();
        e.target = c.Path();
    } else {
        return 0;
    }
    if (kind != kRename)
        c.Require(e.length >= 128 && e.length <= std::numeric_limits<std::int64_t>::max() - 128);
    return c.ok() ? kind : 0;
}

// What the file of a write whose record was not known holds after it: the
// record written, when the length says where it went.
bool Settle(JournalEntry& write, const JournalEntry& after)
{
    if (write.kind != JournalEntry::Write || write.recordKnown)
        return false;
    if (after.length == write.length || after.length == write.length + 128) {
        write.appending = after.length != write.length;
        write.record = after.last;
        write.recordKnown = true;
    }
    return true;
}

bool AllZero(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == '\0'; });
}

void Parse(std::string_view bytes, JournalReading& reading)
{
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        reading.status = JournalReading::Damaged;
        return;
    }
    Cursor version(bytes.substr(sizeof kMagic, 4));
    reading.version = static_cast<std::uint32_t>(version.Number(4));
    if (reading.version != kVersion) {
        reading.status = JournalReading::OtherFormat;
        return;
    }
    reading.status = JournalReading::Read;
    bool settled = true; // no write waits for its after-note
    std::size_t at = kHeaderSize;
    while (at < bytes.size()) {
        const std::string_view rest = bytes.substr(at);
        // A power cut can leave the file longer than what reached it, as zeros.
        if (rest.size() < kFrameSize || AllZero(rest))
            return;
        Cursor frame(rest.substr(0, kFrameSize));
        const std::size_t size = frame.Number(4);
        const auto check = static_cast<std::uint32_t>(frame.Number(4));
        if (size == 0 || size > kMaxPayload)
            break;
        if (rest.size() < kFrameSize + size)
            return; // the file ends inside it: torn
        const std::string_view payload = rest.substr(kFrameSize, size);
        const bool last = rest.size() == kFrameSize + size;
        if (Checksum(payload) != check) {
            if (last)
                return;
            break;
        }
        JournalEntry entry;
        const std::uint8_t kind = Decode(payload, entry);
        if (kind == 0)
            break;
        if (kind == kAfter) {
            if (settled || !Settle(reading.entries.back(), entry))
                break;
            settled = true;
        } else {
            settled = entry.recordKnown;
            reading.entries.push_back(std::move(entry));
        }
        at += kFrameSize + size;
    }
    if (at < bytes.size()) {
        reading.status = JournalReading::Damaged;
        reading.entries.clear();
    }
}

std::string HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    struct passwd entry;
    struct passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    return "/";
}

// Makes folder and every folder above it that is missing, for the user only.
int MakeFolders(const std::string& folder)
{
    for (std::size_t i = folder.find('/', 1); i != std::string::npos; i = folder.find('/', i + 1))
        if (::mkdir(folder.substr(0, i).c_str(), 0700) != 0 && errno != EEXIST)
            return errno;
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0)
        return errno;
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

std::string JournalFolder()
{
    // A relative value is to be ignored, as the base-directory rules say.
    const char* state = std::getenv("XDG_STATE_HOME");
    const std::string base = state && state[0] == '/' ? std::string(state) : JoinPath(HomeFolder(), ".local/state");
    return JoinPath(base, "morvik") + "/";
}

std::string JournalPath(const std::string& folder)
{
    return folder + "journal";
}

bool JournalExists(const std::string& folder)
{
    struct stat st;
    return ::lstat(JournalPath(folder).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string AnotherRunText()
{
    return "Другая операция Morvik уже выполняется. Дождитесь её окончания.";
}

std::unique_ptr<JournalLock> JournalLock::Take(UserDialogs& dialogs, const std::string& folder)
{
    int error = MakeFolders(folder);
    int fd = -1;
    if (error == 0) {
        fd = ::open((folder + "lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            error = errno;
    }
    // Per open file: a second run of this same process is refused as well.
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = errno;
        ::close(fd);
        fd = -1;
        if (error == EWOULDBLOCK) {
            dialogs.MsgBox(AnotherRunText(), vbExclamation);
            return nullptr;
        }
    }
    if (fd < 0) {
        dialogs.MsgBox("Не удалось открыть журнал операций в папке " + folder + CR + CR + Platform::ErrorText(error)
                           + CR + CR + "Файлы не изменены.",
                       vbCritical);
        return nullptr;
    }
    return std::unique_ptr<JournalLock>(new JournalLock(fd));
}

JournalLock::~JournalLock()
{
    ::close(fd_);
}

std::unique_ptr<RunJournal> RunJournal::Begin(UserDialogs& dialogs, const std::string& folder)
{
    auto lock = JournalLock::Take(dialogs, folder);
    if (!lock)
        return nullptr;
    return std::unique_ptr<RunJournal>(new RunJournal(folder, std::move(lock)));
}

RunJournal::RunJournal(std::string folder, std::unique_ptr<JournalLock> lock)
    : folder_(std::move(folder)), lock_(std::move(lock)), cwd_(Platform::CurrentFolder())
{
}

RunJournal::~RunJournal()
{
    if (fd_ < 0)
        return;
    // Once per run, not per file: a finished run's journal survives a power
    // cut; a killed one's is in the page cache, which outlives the program.
    ::fdatasync(fd_);
    ::close(fd_);
    const int dir = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void RunJournal::Fail(int error) const
{
    throw JournalError("Не удалось записать журнал операции " + JournalPath(folder_) + ". "
                       + Platform::ErrorText(error));
}

// The length and last 128 bytes of the file at path; the reason when they
// cannot be read.
std::string LookAtEnd(const std::string& path, std::int64_t& length, std::array<char, 128>& last)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Platform::ErrorText(errno);
    struct stat st;
    std::string reason;
    if (::fstat(fd, &st) != 0) {
        reason = Platform::ErrorText(errno);
    } else if (!S_ISREG(st.st_mode) || st.st_size < 128) {
        reason = "Файл короче 128 байт: в нём нет места для тега.";
    } else {
        const ssize_t n = ::pread(fd, last.data(), last.size(), st.st_size - 128);
        if (n != 128)
            reason = Platform::ErrorText(n < 0 ? errno : EIO);
        length = st.st_size;
    }
    ::close(fd);
    return reason;
}

void RunJournal::WriteTag(Quenlar::_TMP3Tag& objTag, const std::string& path)
{
    // The tag object tells what it found once it has read the file for the
    // write, so the journal costs no read of its own.
    const bool told = Quenlar::SetWriteHook(
        objTag, [this](const std::string& name, const Quenlar::RecordChange& change) { NoteWrite(name, change); });
    if (!told) {
        WriteLooking(objTag, path);
        return;
    }
    struct Unhook {
        Quenlar::_TMP3Tag& tag;
        ~Unhook() { Quenlar::SetWriteHook(tag, {}); }
    } unhook{objTag};
    objTag.TagWrite(path, false);
}

void RunJournal::Identify(const std::string& path, const Quenlar::_TMP3Tag& objTag)
{
    if (Quenlar::LastRead(objTag, seen_))
        identified_ = path;
    else
        identified_.clear();
}

// An object of another make tells nothing: the journal looks at the file
// before the write and notes what it holds after it.
void RunJournal::WriteLooking(Quenlar::_TMP3Tag& objTag, const std::string& path)
{
    std::int64_t length = 0;
    std::array<char, 128> last;
    const auto look = [&] {
        if (const std::string reason = LookAtEnd(path, length, last); !reason.empty())
            throw JournalError("Не удалось прочитать файл " + path + " для журнала операции. " + reason);
    };
    look();
    entry_.assign(kFrameSize, '\0');
    entry_.push_back(static_cast<char>(kWrite));
    entry_.push_back(0);
    PutU64(entry_, static_cast<std::uint64_t>(length));
    PutPath(path);
    entry_.append(last.data(), last.size());
    Append();
    objTag.TagWrite(path, false);
    look();
    entry_.assign(kFrameSize, '\0');
    entry_.push_back(static_cast<char>(kAfter));
    PutU64(entry_, static_cast<std::uint64_t>(length));
    entry_.append(last.data(), last.size());
    Append();
}

int RunJournal::Rename(const std::string& from, const std::string& to)
{
    struct stat st;
    if ((identified_.empty() || from != identified_) && ::lstat(from.c_str(), &st) != 0)
        return errno; // the rename could not find it either
    NoteRename(from, to);
    return Platform::RenameFile(from, to);
}

void RunJournal::NoteRename(const std::string& from, const std::string& to)
{
    // A look of its own costs as much as a tenth of a rename run.
    std::uint64_t device = seen_.device, inode = seen_.inode;
    if (identified_.empty() || from != identified_) {
        struct stat st;
        if (::lstat(from.c_str(), &st) == 0) {
            device = st.st_dev;
            inode = st.st_ino;
        }
    }
    identified_.clear();
    entry_.assign(kFrameSize, '\0');
    entry_.push_back(static_cast<char>(kRename));
    PutU64(entry_, device);
    PutU64(entry_, inode);
    PutPath(from);
    PutPath(to);
    Append();
}

void RunJournal::NoteWrite(const std::string& path, const Quenlar::RecordChange& change)
{
    entry_.assign(kFrameSize, '\0');
    entry_.push_back(static_cast<char>(kWrite));
    entry_.push_back(static_cast<char>(kRecordKnown | (change.appending ? kAppended : 0)));
    PutU64(entry_, static_cast<std::uint64_t>(change.length));
    PutPath(path);
    entry_.append(change.last.data(), change.last.size());
    entry_.append(change.record.data(), change.record.size());
    Append();
}

void RunJournal::PutPath(const std::string& path)
{
    // Taking back may happen in another process, from another folder.
    const bool relative = !path.starts_with('/');
    if (relative && cwd_.empty())
        Fail(ENOENT);
    const std::size_t size = (relative ? cwd_.size() + 1 : 0) + path.size();
    if (size > kMaxPath)
        Fail(ENAMETOOLONG);
    PutU32(entry_, static_cast<std::uint32_t>(size));
    if (relative)
        entry_.append(cwd_).push_back('/');
    entry_.append(path);
}

void RunJournal::Append()
{
    const std::string_view payload = std::string_view(entry_).substr(kFrameSize);
    SetU32(entry_, 0, static_cast<std::uint32_t>(payload.size()));
    SetU32(entry_, 4, Checksum(payload));
    if (fd_ >= 0) {
        if (!WriteAll(fd_, entry_))
            Fail(errno);
        return;
    }
    // The first change: the new journal takes the old one's place whole, so
    // that a kill at any moment leaves one or the other, never neither.
    const std::string part = JournalPath(folder_) + ".part";
    const int fd = ::open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        Fail(errno);
    std::string first(kMagic, sizeof kMagic);
    PutU32(first, kVersion);
    first += entry_;
    if (!WriteAll(fd, first) || ::rename(part.c_str(), JournalPath(folder_).c_str()) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(part.c_str());
        Fail(error);
    }
    fd_ = fd;
}

JournalReading ReadJournal(const std::string& folder)
{
    JournalReading reading;
    const int fd = ::open(JournalPath(folder).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        reading.error = errno;
        reading.status = errno == ENOENT ? JournalReading::Missing : JournalReading::Unreadable;
        return reading;
    }
    struct stat st;
    std::string bytes;
    if (::fstat(fd, &st) != 0) {
        reading.error = errno;
        reading.status = JournalReading::Unreadable;
    } else if (!S_ISREG(st.st_mode) || st.st_size > kMaxJournal) {
        reading.status = JournalReading::Damaged;
    } else {
        bytes.resize(static_cast<std::size_t>(st.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                reading.error = errno;
                reading.status = JournalReading::Unreadable;
                break;
            }
            if (n == 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        bytes.resize(done);
        if (reading.error == 0)
            Parse(bytes, reading);
    }
    ::close(fd);
    return reading;
}

} // namespace Core
