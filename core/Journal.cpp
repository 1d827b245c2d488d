// SPDX-License-Identifier: GPL-3.0-or-later
#include "Journal.h"

#include "File.h"
#include "FileSystem.h"
#include "LogFormat.h"

#include <cerrno>
#include <climits>

namespace Core {

namespace {

// The journal's format version; records are framed by LogFormat, their
// payloads coded by JournalEntry.
constexpr std::uint32_t kVersion = 2;

} // namespace

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
    if (!file_)
        return;
    // Once per run, not per file: a finished run's journal survives a power
    // cut; a killed one's is in the page cache, which outlives the program.
    file_->Sync();
    file_->Close();
    Platform::SyncFolder(folder_);
}

void RunJournal::Fail(int error, const std::string& path) const
{
    throw JournalError("Не удалось записать журнал операции " + path + ". " + Platform::ErrorText(error));
}

void RunJournal::WriteTag(Quenlar::_TMP3Tag& objTag, const std::string& path)
{
    // The tag object tells what it found once it has read the file for the
    // write, so the journal costs no read of its own.
    const bool told = Quenlar::SetWriteHook(objTag, [this](const std::string& name, const Quenlar::RecordChange& c) {
        entry_.kind = JournalEntry::Write;
        entry_.path = name;
        entry_.length = c.length;
        entry_.appending = c.appending;
        entry_.last = c.last;
        entry_.recordKnown = true;
        entry_.record = c.record;
        Note();
    });
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

// An object of another make tells nothing: the journal looks at the file
// before the write and notes what it holds after it.
void RunJournal::WriteLooking(Quenlar::_TMP3Tag& objTag, const std::string& path)
{
    const auto look = [&] {
        int error = 0;
        const auto file = Platform::File::Open(path, Platform::File::Reading, error);
        if (file && file->Length() < 128)
            throw JournalError("Не удалось прочитать файл " + path
                               + " для журнала операции. Файл короче 128 байт: в нём нет места для тега.");
        if (file)
            error = file->ReadEnd(entry_.last);
        if (error)
            throw JournalError("Не удалось прочитать файл " + path + " для журнала операции. "
                               + Platform::ErrorText(error));
        entry_.length = file->Length();
    };
    look();
    entry_.kind = JournalEntry::Write;
    entry_.path = path;
    entry_.appending = false;
    entry_.recordKnown = false;
    Note();
    objTag.TagWrite(path, false);
    look();
    entry_.kind = JournalEntry::After;
    Note();
}

void RunJournal::Identify(const std::string& path, const Quenlar::_TMP3Tag& objTag)
{
    if (Quenlar::LastRead(objTag, seen_))
        identified_ = path;
    else
        identified_.clear();
}

int RunJournal::Rename(const std::string& from, const std::string& to)
{
    // Refused by the system anyway; noting it first would only fill the journal.
    if (to.size() >= PATH_MAX || to.size() - (to.rfind('/') + 1) > NAME_MAX)
        return ENAMETOOLONG;
    if (identified_.empty() || from != identified_) {
        if (Platform::KindOf(from) == Platform::Kind::None)
            return ENOENT; // the rename could not find it either
    }
    NoteRename(from, to);
    return Platform::RenameFile(from, to);
}

void RunJournal::NoteRename(const std::string& from, const std::string& to)
{
    // A look of its own costs as much as a tenth of a rename run.
    entry_.device = seen_.device;
    entry_.inode = seen_.inode;
    if (identified_.empty() || from != identified_) {
        if (const auto identity = Platform::IdentityOf(from)) {
            entry_.device = identity->first;
            entry_.inode = identity->second;
        }
    }
    identified_.clear();
    entry_.kind = JournalEntry::Rename;
    entry_.path = from;
    entry_.target = to;
    Note();
}

void RunJournal::Note()
{
    record_.assign(Log::kFrameSize, '\0');
    if (!EncodeEntry(entry_, cwd_, record_))
        Fail(ENOENT, JournalPath(folder_)); // a relative name, and no current folder to take it from
    Log::Seal(record_);
    if (!file_) {
        Start();
        return;
    }
    if (const int error = file_->Append(record_))
        Fail(error, JournalPath(folder_));
}

// The first change: the new journal takes the newest's place whole, so that
// a kill at any moment leaves the last runs' journals and at most this one
// with its first entry, never a journal cut at its start.
void RunJournal::Start()
{
    const std::string part = JournalPath(folder_) + ".part";
    int error = 0;
    auto file = Platform::File::Open(part, Platform::File::Appending, error);
    if (!file)
        Fail(error, JournalPath(folder_));
    std::string first = Log::Header(kVersion);
    first += record_;
    error = file->Append(first);
    if (!error)
        error = MakeRoomForNewRun(folder_);
    if (!error)
        error = Platform::ReplaceFile(part, JournalPath(folder_));
    if (error) {
        file->Close();
        Platform::RemoveFile(part);
        Fail(error, JournalPath(folder_));
    }
    file_ = std::make_unique<Platform::File>(std::move(*file));
}

} // namespace Core
