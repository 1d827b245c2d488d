// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalFolder.h"

#include "File.h"
#include "FileSystem.h"
#include "Paths.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace Core {

namespace {

const char kNewest[] = "journal";

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

// The N of "journal.N", when name is one.
std::optional<std::uint64_t> OlderNumber(const std::string& name)
{
    const std::string prefix = std::string(kNewest) + ".";
    if (!name.starts_with(prefix) || name.size() == prefix.size() || name.size() > prefix.size() + 18)
        return std::nullopt;
    std::uint64_t n = 0;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return std::nullopt;
        n = n * 10 + static_cast<std::uint64_t>(name[i] - '0');
    }
    return n;
}

// The older journals' numbers, newest first.
std::vector<std::uint64_t> OlderJournals(const std::string& folder)
{
    std::vector<std::uint64_t> numbers;
    for (const std::string& name : Platform::NamesIn(folder))
        if (const auto n = OlderNumber(name))
            numbers.push_back(*n);
    std::sort(numbers.rbegin(), numbers.rend());
    return numbers;
}

std::string OlderPath(const std::string& folder, std::uint64_t n)
{
    return JournalPath(folder) + "." + std::to_string(n);
}

std::int64_t SizeOf(const std::string& path)
{
    int error = 0;
    const auto file = Platform::File::Open(path, Platform::File::Reading, error);
    return file ? file->Length() : 0;
}

} // namespace

struct JournalLock::Held {
    Platform::Lock lock;
};

std::string JournalFolder()
{
    // A relative value is to be ignored, as the base-directory rules say.
    const char* state = std::getenv("XDG_STATE_HOME");
    const std::string base = state && state[0] == '/' ? std::string(state) : JoinPath(HomeFolder(), ".local/state");
    return JoinPath(base, "morvik") + "/";
}

std::string JournalPath(const std::string& folder)
{
    return folder + kNewest;
}

std::vector<std::string> Journals(const std::string& folder)
{
    std::vector<std::string> journals;
    if (Platform::KindOf(JournalPath(folder)) == Platform::Kind::Regular)
        journals.push_back(JournalPath(folder));
    for (const std::uint64_t n : OlderJournals(folder))
        if (Platform::KindOf(OlderPath(folder, n)) == Platform::Kind::Regular)
            journals.push_back(OlderPath(folder, n));
    return journals;
}

bool JournalExists(const std::string& folder)
{
    return !Journals(folder).empty();
}

std::string AnotherRunText()
{
    return "Другая операция Morvik уже выполняется. Дождитесь её окончания.";
}

JournalLock::JournalLock(std::unique_ptr<Held> held) : held_(std::move(held)) {}
JournalLock::~JournalLock() = default;

std::unique_ptr<JournalLock> JournalLock::Take(UserDialogs& dialogs, const std::string& folder)
{
    int error = Platform::MakeFolders(folder);
    Platform::Lock::Result result = Platform::Lock::Failed;
    std::optional<Platform::Lock> lock
        = error == 0 ? Platform::Lock::Take(folder + "lock", result, error) : std::nullopt;
    if (result == Platform::Lock::Busy) {
        dialogs.MsgBox(AnotherRunText(), vbExclamation);
        return nullptr;
    }
    if (!lock) {
        dialogs.MsgBox("Не удалось открыть журнал операций в папке " + folder + CR + CR + Platform::ErrorText(error)
                           + CR + CR + "Файлы не изменены.",
                       vbCritical);
        return nullptr;
    }
    for (const std::string& name : Platform::NamesIn(folder)) {
        if (!name.starts_with(kNewest) || Platform::KindOf(folder + name) != Platform::Kind::Other)
            continue;
        dialogs.MsgBox("В папке журнала операций лежит не обычный файл: " + folder + name + CR + CR
                           + "Morvik не может вести журнал, пока он там. Удалите или переименуйте его." + CR + CR
                           + "Файлы не изменены.",
                       vbCritical);
        return nullptr;
    }
    return std::unique_ptr<JournalLock>(new JournalLock(std::make_unique<Held>(Held{std::move(*lock)})));
}

int MakeRoomForNewRun(const std::string& folder)
{
    std::vector<std::uint64_t> older = OlderJournals(folder);
    if (Platform::KindOf(JournalPath(folder)) == Platform::Kind::Regular) {
        const std::uint64_t next = older.empty() ? 1 : older.front() + 1;
        if (const int error = Platform::ReplaceFile(JournalPath(folder), OlderPath(folder, next)))
            return error;
        older.insert(older.begin(), next);
    }
    // The new run's own journal is the tenth.
    std::int64_t bytes = 0;
    for (std::size_t i = 0; i < older.size(); ++i) {
        const std::string path = OlderPath(folder, older[i]);
        bytes += SizeOf(path);
        if (i + 1 >= kJournalsKept || (i > 0 && bytes > kJournalsBytes))
            Platform::RemoveFile(path);
    }
    return 0;
}

int RemoveTakenBack(const std::string& folder, const std::string& path)
{
    if (const int error = Platform::RemoveFile(path); error && error != ENOENT)
        return error;
    const std::vector<std::uint64_t> older = OlderJournals(folder);
    if (older.empty() || Platform::KindOf(JournalPath(folder)) != Platform::Kind::None)
        return 0;
    const int error = Platform::ReplaceFile(OlderPath(folder, older.front()), JournalPath(folder));
    Platform::SyncFolder(folder);
    return error;
}

} // namespace Core
