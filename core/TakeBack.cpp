#include "TakeBack.h"

#include "FileSystem.h"
#include "Paths.h"
#include "Reports.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Core {

namespace {

constexpr std::size_t kNamedAtMost = 20;
const char kChanged[] = "Файл изменён после операции.";

struct Outcome {
    bool back;          // the file is as it was before the run
    std::string reason; // why it was left
};

const Outcome kBack{true, {}};

Outcome Left(std::string reason)
{
    return {false, std::move(reason)};
}

Outcome LeftFor(int error)
{
    return Left(Platform::ErrorText(error));
}

// Why path cannot be found: the file or its whole folder gone.
Outcome Missing(const std::string& path, int error)
{
    struct stat st;
    if (error == ENOTDIR || (error == ENOENT && ::stat(GetFolder(path).c_str(), &st) != 0))
        return Left("Папка файла отсутствует.");
    return error == ENOENT ? Left("Файл отсутствует.") : LeftFor(error);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now: 0, or the errno of a close that may have lost a write.
    int Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
    }

private:
    int fd_;
};

// Where the journal puts a file: as before the run, as the run left it, or
// neither.
enum class State { AsBefore, AsLeft, Changed };

// Reads the end of the file open as fd; error holds the errno of a failed read.
State StateOf(int fd, const JournalEntry& e, int& error)
{
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        error = errno;
        return State::Changed;
    }
    const std::int64_t leftLength = e.appending ? e.length + 128 : e.length;
    if (!S_ISREG(st.st_mode) || (st.st_size != e.length && st.st_size != leftLength))
        return State::Changed;
    std::array<char, 128> tail;
    ssize_t n;
    do
        n = ::pread(fd, tail.data(), tail.size(), st.st_size - 128);
    while (n < 0 && errno == EINTR);
    if (n != static_cast<ssize_t>(tail.size())) {
        error = n < 0 ? errno : 0;
        return State::Changed;
    }
    if (st.st_size == e.length && tail == e.last)
        return State::AsBefore;
    if (e.recordKnown && st.st_size == leftLength && tail == e.record)
        return State::AsLeft;
    return State::Changed;
}

Outcome Verdict(const JournalEntry& e, State state, int error)
{
    if (state == State::AsBefore)
        return kBack;
    if (error)
        return LeftFor(error);
    return Left(e.recordKnown ? kChanged : "Операция была прервана на этом файле, и неизвестно, что она в него записала.");
}

// Gives the file back what it held, in the same open that found exactly what
// the run left: the old record over the run's, or the appended record cut off
// (the one place where a file is shortened, and only by that record).
Outcome Restore(const JournalEntry& e)
{
    Descriptor file(::open(e.path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0)
        return errno == ENOENT || errno == ENOTDIR ? Missing(e.path, errno) : LeftFor(errno);
    int error = 0;
    const State state = StateOf(file.get(), e, error);
    if (state != State::AsLeft)
        return Verdict(e, state, error);
    if (e.appending) {
        if (::ftruncate(file.get(), e.length) != 0)
            return LeftFor(errno);
    } else {
        std::size_t done = 0;
        while (done < e.last.size()) {
            const ssize_t n = ::pwrite(file.get(), e.last.data() + done, e.last.size() - done,
                                       e.length - 128 + static_cast<std::int64_t>(done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return LeftFor(n < 0 ? errno : EIO);
            done += static_cast<std::size_t>(n);
        }
    }
    if (const int closeError = file.Close())
        return LeftFor(closeError);
    return kBack;
}

Outcome TakeBackWrite(UserDialogs& dialogs, const JournalEntry& e)
{
    struct stat st;
    if (::lstat(e.path.c_str(), &st) != 0)
        return Missing(e.path, errno);
    if (!S_ISREG(st.st_mode))
        return Left(kChanged);
    if (st.st_mode & S_IWUSR)
        return Restore(e);

    // Read-only: looked at first, so that only a file the run changed is asked about.
    {
        const Descriptor file(::open(e.path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (file.get() < 0)
            return LeftFor(errno);
        int error = 0;
        const State state = StateOf(file.get(), e, error);
        if (state != State::AsLeft)
            return Verdict(e, state, error);
    }
    const auto question = [&] {
        return "Файл " + e.path + " доступен только для чтения" + CR + CR + "Вернуть в этом файле прежний тег?";
    };
    Outcome outcome = Left(kChanged);
    if (!WriteAskingAboutReadOnly(dialogs, e.path, Platform::GetFileAttributesA(e.path), question,
                                  [&] { outcome = Restore(e); }))
        return Left("Файл доступен только для чтения, и его изменение не разрешено.");
    return outcome;
}

bool SameFile(const struct stat& st, const JournalEntry& e)
{
    return static_cast<std::uint64_t>(st.st_dev) == e.device && static_cast<std::uint64_t>(st.st_ino) == e.inode;
}

// The file the run renamed is known by its identity, so that another file
// put under the new name since is left alone.
Outcome TakeBackRename(const JournalEntry& e)
{
    struct stat now, old;
    const bool there = ::lstat(e.target.c_str(), &now) == 0;
    const int targetError = there ? 0 : errno;
    if (there && SameFile(now, e)) {
        if (::lstat(e.path.c_str(), &old) == 0)
            return Left("Прежнее имя занято: " + e.path);
        const int error = Platform::RenameFile(e.target, e.path);
        if (error == EEXIST)
            return Left("Прежнее имя занято: " + e.path);
        return error ? Missing(e.path, error) : kBack;
    }
    if (::lstat(e.path.c_str(), &old) == 0 && SameFile(old, e))
        return kBack; // the run was ended before this rename
    if (!there)
        return Missing(e.target, targetError);
    return Left("Под этим именем теперь другой файл.");
}

std::string ClosingText(bool stopped, std::size_t back, std::size_t total, const std::vector<std::string>& left)
{
    std::string text = std::string(stopped ? "Отмена последней операции прервана." : "Последняя операция отменена.")
        + " Возвращено файлов: " + std::to_string(back) + " из " + std::to_string(total) + ".";
    if (stopped)
        text += std::string(CR) + "Чтобы вернуть остальные, выберите «Отменить последнюю операцию» снова.";
    if (left.empty())
        return text;
    text += std::string(CR) + CR + "Оставлены как есть:";
    for (std::size_t i = 0; i < left.size() && i < kNamedAtMost; ++i)
        text += CR + left[i];
    if (left.size() > kNamedAtMost)
        text += std::string(CR) + "и ещё " + std::to_string(left.size() - kNamedAtMost) + ".";
    return text;
}

// A journal that cannot be trusted is put aside, so that the menu entry
// goes and nothing ever acts on it; it is kept for whoever wants to look.
void RefuseDamaged(UserDialogs& dialogs, const std::string& folder, const std::string& why)
{
    const std::string aside = JournalPath(folder) + ".damaged";
    std::string text = why + ", и отменить её нельзя. Файлы не изменены.";
    if (::rename(JournalPath(folder).c_str(), aside.c_str()) == 0)
        text += std::string(CR) + CR + "Журнал сохранён как " + aside + ".";
    dialogs.MsgBox(text, vbCritical);
}

} // namespace

TakeBackEnd TakeBackLastRun(UserDialogs& dialogs, const std::string& folder)
{
    const char nothing[] = "Нет операции, которую можно отменить.";
    if (!JournalExists(folder)) {
        dialogs.MsgBox(nothing, vbInformation);
        return TakeBackEnd::Nothing;
    }
    const auto lock = JournalLock::Take(dialogs, folder);
    if (!lock)
        return TakeBackEnd::Busy;
    const JournalReading reading = ReadJournal(folder);
    switch (reading.status) {
    case JournalReading::Read:
        break;
    case JournalReading::Missing:
        dialogs.MsgBox(nothing, vbInformation);
        return TakeBackEnd::Nothing;
    case JournalReading::Unreadable:
        dialogs.MsgBox("Не удалось прочитать журнал последней операции " + JournalPath(folder) + CR + CR
                           + Platform::ErrorText(reading.error) + CR + CR + "Файлы не изменены.",
                       vbCritical);
        return TakeBackEnd::Refused;
    case JournalReading::OtherFormat:
        RefuseDamaged(dialogs, folder,
                      "Журнал последней операции записан в другом формате (версия "
                          + std::to_string(reading.version) + ")");
        return TakeBackEnd::Refused;
    case JournalReading::Damaged:
        RefuseDamaged(dialogs, folder, "Журнал последней операции повреждён");
        return TakeBackEnd::Refused;
    }

    std::size_t back = 0, done = 0;
    const std::size_t total = reading.entries.size();
    std::vector<std::string> left;
    bool stopped = false;
    for (auto e = reading.entries.rbegin(); e != reading.entries.rend(); ++e) {
        const std::string& name = e->kind == JournalEntry::Rename ? e->target : e->path;
        if (!dialogs.Progress(done++, total, name)) {
            stopped = true;
            break;
        }
        const Outcome outcome
            = e->kind == JournalEntry::Write ? TakeBackWrite(dialogs, *e) : TakeBackRename(*e);
        if (outcome.back)
            ++back;
        else
            left.push_back(name + " — " + outcome.reason);
    }
    std::reverse(left.begin(), left.end());
    std::string text = ClosingText(stopped, back, total, left);
    if (stopped) {
        // What went back holds what it held before the run: going on later finds nothing to do there.
        dialogs.MsgBox(text, vbInformation);
        return TakeBackEnd::Stopped;
    }
    // Taking back is not taken back: the journal goes.
    if (::unlink(JournalPath(folder).c_str()) != 0) {
        const int error = errno;
        text += std::string(CR) + CR + "Не удалось удалить журнал " + JournalPath(folder) + ". "
            + Platform::ErrorText(error);
    }
    dialogs.MsgBox(text, vbInformation);
    return TakeBackEnd::Done;
}

} // namespace Core
