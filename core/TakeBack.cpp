// SPDX-License-Identifier: GPL-3.0-or-later
#include "TakeBack.h"

#include "File.h"
#include "FileSystem.h"
#include "JournalReader.h"
#include "LogFormat.h"
#include "Paths.h"
#include "Reports.h"
#include "RunLoop.h"

#include <algorithm>
#include <cerrno>
#include <deque>

namespace Core {

namespace {

constexpr std::size_t kNamedAtMost = 20;
const char kChanged[] = "Файл изменён после операции.";

// What became of one entry's file: back (or found as before), changed since
// (it can never go back: the entry leaves the journal too), or out of reach
// for now (the entry stays, to be taken back later).
struct Outcome {
    enum Kind { Back, Changed, OutOfReach } kind;
    std::string reason;
};

const Outcome kBack{Outcome::Back, {}};

Outcome Changed(std::string reason = kChanged)
{
    return {Outcome::Changed, std::move(reason)};
}

Outcome OutOfReach(int error)
{
    return {Outcome::OutOfReach, Platform::ErrorText(error)};
}

// A file that is not there: gone for good when its folder is there (someone
// removed or moved it), out of reach when the whole folder is missing (a
// volume not mounted, a share not there).
Outcome Missing(const std::string& path, int error)
{
    const std::string folder = GetFolder(path);
    const std::int32_t attributes = Platform::GetFileAttributesA(folder.empty() ? "." : folder);
    if (error == ENOTDIR || attributes == Platform::faInvalid || !(attributes & Platform::faDirectory))
        return {Outcome::OutOfReach, "Папка файла отсутствует."};
    return error == ENOENT ? Changed("Файл отсутствует.") : OutOfReach(error);
}

Outcome NotOpened(const std::string& path, int error)
{
    if (error == ENOENT || error == ENOTDIR)
        return Missing(path, error);
    return error == Platform::kNotRegularFile ? Changed() : OutOfReach(error);
}

// Where the journal puts a file: as before the run, as the run left it, or
// neither.
enum class State { AsBefore, AsLeft, Changed };

// Reads the end of the file; error holds the errno of a failed read.
State StateOf(const Platform::File& file, const JournalEntry& e, int& error)
{
    const std::int64_t leftLength = e.appending ? e.length + 128 : e.length;
    if (file.Length() != e.length && file.Length() != leftLength)
        return State::Changed;
    std::array<char, 128> tail;
    if ((error = file.ReadEnd(tail)) != 0)
        return State::Changed;
    if (file.Length() == e.length && tail == e.last)
        return State::AsBefore;
    if (e.recordKnown && file.Length() == leftLength && tail == e.record)
        return State::AsLeft;
    return State::Changed;
}

Outcome Verdict(const JournalEntry& e, State state, int error)
{
    if (state == State::AsBefore)
        return kBack;
    if (error)
        return OutOfReach(error);
    return Changed(e.recordKnown ? kChanged
                                 : "Операция была прервана на этом файле, и неизвестно, что она в него записала.");
}

// Gives the file back what it held, in the same open that found exactly what
// the run left: the old record over the run's, or the appended record cut off
// (the one place where a file is shortened, and only by that record).
Outcome Restore(const JournalEntry& e)
{
    int error = 0;
    auto file = Platform::File::Open(e.path, Platform::File::Writing, error);
    if (!file)
        return NotOpened(e.path, error);
    const State state = StateOf(*file, e, error);
    if (state != State::AsLeft)
        return Verdict(e, state, error);
    error = e.appending ? file->CutTo(e.length)
                        : file->WriteAt(e.length - 128, std::string_view(e.last.data(), e.last.size()));
    if (!error)
        error = file->Close();
    return error ? OutOfReach(error) : kBack;
}

Outcome TakeBackWrite(UserDialogs& dialogs, const JournalEntry& e)
{
    const std::int32_t attributes = Platform::GetFileAttributesA(e.path);
    if (attributes == Platform::faInvalid || !(attributes & Platform::faReadOnly))
        return Restore(e);
    // Read-only: looked at first, so that only a file the run changed is asked about.
    {
        int error = 0;
        const auto file = Platform::File::Open(e.path, Platform::File::Reading, error);
        if (!file)
            return NotOpened(e.path, error);
        const State state = StateOf(*file, e, error);
        if (state != State::AsLeft)
            return Verdict(e, state, error);
    }
    const auto question = [&] {
        return "Файл " + e.path + " доступен только для чтения" + CR + CR + "Вернуть в этом файле прежний тег?";
    };
    Outcome outcome = Changed();
    if (!WriteAskingAboutReadOnly(dialogs, e.path, attributes, question, [&] { outcome = Restore(e); }))
        return {Outcome::OutOfReach, "Файл доступен только для чтения, и его изменение не разрешено."};
    return outcome;
}

// The file the run renamed is known by its identity, so that another file
// put under the new name since is left alone.
Outcome TakeBackRename(const JournalEntry& e)
{
    const auto identity = std::make_pair(e.device, e.inode);
    const auto now = Platform::IdentityOf(e.target);
    if (now && *now == identity) {
        const int error = Platform::KindOf(e.path) == Platform::Kind::None ? Platform::RenameFile(e.target, e.path)
                                                                           : EEXIST;
        if (error == EEXIST)
            return Changed("Прежнее имя занято: " + e.path);
        return error ? Missing(e.path, error) : kBack;
    }
    if (Platform::IdentityOf(e.path) == identity)
        return kBack; // the run was ended before this rename
    if (!now)
        return Missing(e.target, ENOENT);
    return Changed("Под этим именем теперь другой файл.");
}

std::string ClosingText(bool stopped, std::size_t back, std::size_t total, std::size_t kept,
                        const std::deque<std::string>& left, std::size_t leftCount)
{
    std::string text = std::string(stopped    ? "Отмена последней операции прервана."
                                   : kept > 0 ? "Последняя операция отменена не полностью."
                                              : "Последняя операция отменена.")
        + " Возвращено файлов: " + std::to_string(back) + " из " + std::to_string(total) + ".";
    if (stopped)
        text += std::string(CR) + "Чтобы вернуть остальные, выберите «Отменить последнюю операцию» снова.";
    else if (kept > 0)
        text += std::string(CR) + "Недоступные сейчас файлы остались в журнале: их можно вернуть позже, выбрав "
            + "«Отменить последнюю операцию» снова.";
    if (left.empty())
        return text;
    text += std::string(CR) + CR + "Оставлены как есть:";
    for (const std::string& line : left)
        text += CR + line;
    if (leftCount > left.size())
        text += std::string(CR) + "и ещё " + std::to_string(leftCount - left.size()) + ".";
    return text;
}

// A journal that cannot be trusted is put aside, so that nothing ever acts
// on it; it is kept for whoever wants to look.
void RefuseDamaged(UserDialogs& dialogs, const std::string& folder, const std::string& path, const std::string& why)
{
    const std::string aside = JournalPath(folder) + ".damaged";
    std::string text = why + ", и отменить её нельзя. Файлы не изменены.";
    if (Platform::ReplaceFile(path, aside) == 0)
        text += std::string(CR) + CR + "Журнал сохранён как " + aside + ".";
    dialogs.MsgBox(text, vbCritical);
}

// Writes the entries that stay in place of the journal at path: 0, or the errno.
int KeepOnly(JournalIndex& index, const std::vector<bool>& stays, const std::string& path)
{
    int error = 0;
    const std::string part = path + ".part";
    auto file = Platform::File::Open(part, Platform::File::Appending, error);
    if (!file)
        return error;
    std::string bytes = Log::Header(kJournalVersion);
    JournalEntry entry;
    for (std::size_t i = 0; i < stays.size() && !error; ++i) {
        if (!stays[i])
            continue;
        if (!index.Entry(i, entry))
            error = index.Error();
        std::string record(Log::kFrameSize, '\0');
        if (!error && EncodeEntry(entry, "/", record)) {
            Log::Seal(record);
            bytes += record;
        }
        if (!error && bytes.size() >= (1u << 20)) {
            error = file->Append(bytes);
            bytes.clear();
        }
    }
    if (!error)
        error = file->Append(bytes);
    if (!error)
        error = file->Sync();
    if (const int closed = file->Close(); !error)
        error = closed;
    if (!error)
        error = Platform::ReplaceFile(part, path);
    if (error)
        Platform::RemoveFile(part);
    Platform::SyncFolder(GetFolder(path));
    return error;
}

} // namespace

bool CanTakeBack(const std::string& folder)
{
    return JournalExists(folder.empty() ? JournalFolder() : folder);
}

TakeBackEnd TakeBackLastRun(UserDialogs& dialogs, const std::string& folderGiven, TakeBackReport* report)
{
    const std::string folder = folderGiven.empty() ? JournalFolder() : folderGiven;
    const char nothing[] = "Нет операции, которую можно отменить.";
    if (!JournalExists(folder)) {
        dialogs.MsgBox(nothing, vbInformation);
        return TakeBackEnd::Nothing;
    }
    const auto lock = JournalLock::Take(dialogs, folder);
    if (!lock)
        return TakeBackEnd::Busy;
    const std::vector<std::string> journals = Journals(folder);
    if (journals.empty()) {
        dialogs.MsgBox(nothing, vbInformation);
        return TakeBackEnd::Nothing;
    }
    const std::string& path = journals.front();
    JournalIndex index(path);
    switch (index.State()) {
    case JournalIndex::Read:
        break;
    case JournalIndex::Missing:
        dialogs.MsgBox(nothing, vbInformation);
        return TakeBackEnd::Nothing;
    case JournalIndex::Unreadable:
        dialogs.MsgBox("Не удалось прочитать журнал последней операции " + path + CR + CR
                           + Platform::ErrorText(index.Error()) + CR + CR + "Файлы не изменены.",
                       vbCritical);
        return TakeBackEnd::Refused;
    case JournalIndex::OtherFormat:
        RefuseDamaged(dialogs, folder, path,
                      "Журнал последней операции записан в другом формате (версия "
                          + std::to_string(index.Version()) + ")");
        return TakeBackEnd::Refused;
    case JournalIndex::Damaged:
        RefuseDamaged(dialogs, folder, path, "Журнал последней операции повреждён");
        return TakeBackEnd::Refused;
    }

    // From the last entry to the first; only what leaves is noted, so that
    // memory stays flat whatever the number of files.
    const std::size_t total = index.Count();
    std::vector<bool> stays(total, true);
    std::size_t back = 0, kept = 0, leftCount = 0;
    std::deque<std::string> left; // the first files in the journal's order that were left, with why
    JournalEntry entry;
    std::string name;
    bool unreadable = false;
    const LoopEnd loop = ForEachItem(
        dialogs, total,
        [&](std::size_t i) -> const std::string& {
            unreadable = !index.Entry(total - 1 - i, entry);
            name = unreadable ? path : entry.kind == JournalEntry::Rename ? entry.target : entry.path;
            return name;
        },
        [&](std::size_t i) {
            if (unreadable) {
                dialogs.MsgBox("Не удалось прочитать журнал последней операции " + path + CR + CR
                                   + Platform::ErrorText(index.Error()),
                               vbCritical);
                return ItemEnd::Break;
            }
            const Outcome outcome
                = entry.kind == JournalEntry::Write ? TakeBackWrite(dialogs, entry) : TakeBackRename(entry);
            stays[total - 1 - i] = outcome.kind == Outcome::OutOfReach;
            back += outcome.kind == Outcome::Back;
            kept += outcome.kind == Outcome::OutOfReach;
            if (outcome.kind != Outcome::Back) {
                if (report)
                    report->left.emplace_back(name, outcome.reason);
                ++leftCount;
                left.push_front(name + " — " + outcome.reason);
                if (left.size() > kNamedAtMost)
                    left.pop_back();
            }
            return ItemEnd::Next;
        });
    const bool stopped = loop.kind != LoopEnd::Finished;
    if (report)
        report->back = back;
    std::string text = ClosingText(stopped, back, total, kept, left, leftCount);
    // Taking back is not taken back: what went back leaves the journal, and
    // a journal with nothing left goes.
    const bool anyStays = std::find(stays.begin(), stays.end(), true) != stays.end();
    const bool anyLeaves = std::find(stays.begin(), stays.end(), false) != stays.end();
    int error = 0;
    if (!anyStays)
        error = RemoveTakenBack(folder, path);
    else if (anyLeaves)
        error = KeepOnly(index, stays, path);
    if (error)
        text += std::string(CR) + CR + "Не удалось обновить журнал " + path + ". " + Platform::ErrorText(error);
    if (loop.kind != LoopEnd::Broken)
        dialogs.MsgBox(text, vbInformation);
    return stopped ? TakeBackEnd::Stopped : TakeBackEnd::Done;
}

} // namespace Core
