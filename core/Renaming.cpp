// SPDX-License-Identifier: GPL-3.0-or-later
#include "Renaming.h"

#include "FileSystem.h"
#include "Journal.h"
#include "Paths.h"
#include "TextHelpers.h"

#include <algorithm>
#include <cerrno>
#include <optional>

namespace Core {

namespace {

// A name longer than this is refused by the system whatever it holds, so a
// template is expanded no further (values that hold further placeholders
// would otherwise make it grow without end).
constexpr std::size_t kNameBound = 8192;

// A tag value as part of a file name: "AC/DC" must not aim into a folder
// "AC", nor ".." out of the chosen one, and a tab, a line break or another
// control character from a tag (C1 ones, U+0080 to U+009F, come from the
// code page's byte 0x98 and from mis-decoded names) makes a name that lists
// and shells stumble over.
std::string InName(std::string value)
{
    if (value == "." || value == "..")
        return std::string(value.size(), '-');
    // In place: the name never grows.
    std::size_t to = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (c == 0xC2 && i + 1 < value.size() && static_cast<unsigned char>(value[i + 1]) >= 0x80
            && static_cast<unsigned char>(value[i + 1]) <= 0x9F) {
            value[to++] = ' ';
            ++i;
        } else {
            value[to++] = c == '/' ? '-' : c < 0x20 || c == 0x7F ? ' ' : value[i];
        }
    }
    value.resize(to);
    return value;
}

// Whether subFolder, a folder below folder by its name, really lies elsewhere
// because a link on the way leads there. A sub-folder that is not there is
// left to the rename, which fails and says so.
bool LeadsOut(const std::string& folder, const std::string& subFolder)
{
    const std::string real = Platform::RealPath(folder);
    const std::string inner = Platform::RealPath(subFolder);
    if (real.empty() || inner.empty())
        return false;
    return inner != real && !inner.starts_with(real.ends_with('/') ? real : real + '/');
}

// Renames path to target, a path in its folder or below: at once when the
// target is free, through a free name when it is the file's own name in other
// letters. Nothing when another file holds the target, which the user is
// then asked about.
std::optional<RenameOutcome> Move(const std::string& path, const std::string& target, RunJournal* journal)
{
    if (!Platform::FileExists(target)) {
        if (const int error = journal ? journal->Rename(path, target) : Platform::RenameFile(path, target))
            return RenameOutcome{RenameOutcome::Failed, target, error};
        return RenameOutcome{RenameOutcome::Renamed, target};
    }
    const bool same = Platform::SameFile(path, target);
    if (same && FileName(path) == FileName(target))
        return RenameOutcome{RenameOutcome::Unchanged, path};
    // A volume that ignores letter case finds "Song.mp3" for "song.mp3", and
    // some give the two names different inodes: only the way through a free
    // name tells whether it was the file itself.
    if (!same && Platform::HasEntry(GetFolder(target), FileName(target)))
        return std::nullopt;
    RenameOutcome outcome{RenameOutcome::Renamed, target};
    if (journal)
        journal->NoteRename(path, target);
    outcome.error = Platform::RenameThroughFreeName(path, target, &outcome.stranded);
    if (outcome.error == EEXIST && outcome.stranded.empty())
        return std::nullopt;
    if (outcome.error)
        outcome.kind = RenameOutcome::Failed;
    return outcome;
}

// Whether the volume refused the name itself, rather than a missing file,
// folder or right: FAT and its kin answer an unfit name with EINVAL, ENOENT
// or a refusal.
bool VolumeRefusedName(const std::string& path, const RenameOutcome& outcome, const std::string& unfit)
{
    const std::string folder = GetFolder(outcome.target);
    switch (outcome.error) {
    case EINVAL:
        return true;
    case ENOENT: {
        const std::int32_t attributes = Platform::GetFileAttributesA(folder.empty() ? "." : folder);
        return Platform::FileExists(path) && attributes != Platform::faInvalid && (attributes & Platform::faDirectory);
    }
    case EACCES:
    case EPERM:
        return !unfit.empty() && Platform::MayChangeFolder(GetFolder(path)) && Platform::MayChangeFolder(folder);
    default:
        return false;
    }
}

// The characters of name that FAT, exFAT and NTFS volumes do not allow, as
// «:», «?».
std::string UnfitCharacters(const std::string& name)
{
    std::string list;
    for (const char c : std::string_view("\"*:<>?\\|"))
        if (name.find(c) != std::string::npos)
            list += std::string(list.empty() ? "" : ", ") + "«" + c + "»";
    return list;
}

} // namespace

std::string NameFromTemplate(const std::string& templ, const std::string& title, const std::string& artist,
                             const std::string& album, const std::string& year, const std::string& genre)
{
    // One after the other: a value that holds a later placeholder has it
    // replaced as well.
    std::string name = ReplaceAll(templ, "%1", InName(title), kNameBound);
    name = ReplaceAll(name, "%2", InName(artist), kNameBound);
    name = ReplaceAll(name, "%3", InName(album), kNameBound);
    name = ReplaceAll(name, "%4", InName(year), kNameBound);
    name = ReplaceAll(name, "%5", InName(genre), kNameBound);
    if (!name.ends_with(".mp3"))
        name += ".mp3";
    return name;
}

Destination ResolveTarget(const std::string& path, const std::string& target)
{
    const std::string folder = GetFolder(path);
    const auto steps = StepsInside(folder, target);
    if (!steps)
        return {Destination::Outside, target.starts_with('/') ? target : folder + target};
    const std::string resolved = JoinSteps(folder, *steps);
    // The listings, the open dialog and both tools skip hidden files and
    // folders: the file would vanish from the program.
    if (std::any_of(steps->begin(), steps->end(), [](const std::string& s) { return IsHiddenName(s); }))
        return {Destination::Hidden, resolved};
    if (steps->size() > 1 && LeadsOut(folder, GetFolder(resolved)))
        return {Destination::Outside, resolved};
    return {Destination::Inside, resolved};
}

std::string AnswerAsTarget(const std::string& answer)
{
    return HasMp3Extension(answer) ? answer : answer + ".mp3";
}

RenameOutcome RenameAskingForFreeName(const std::string& path, const std::string& target, ValuePrompt& prompt,
                                      RunJournal* journal)
{
    std::string wanted = target;
    for (;;) {
        const Destination to = ResolveTarget(path, wanted);
        if (to.kind == Destination::Outside)
            return {RenameOutcome::Outside, to.path};
        if (to.kind == Destination::Hidden)
            return {RenameOutcome::Refused, to.path};
        if (const std::optional<RenameOutcome> outcome = Move(path, to.path, journal))
            return *outcome;
        const std::string answer = prompt.Ask(path, to.path);
        if (answer.empty())
            return {RenameOutcome::Cancelled, to.path};
        wanted = AnswerAsTarget(answer);
    }
}

RenameOutcome RenameAfterTemplate(UserDialogs& dialogs, ValuePrompt& prompt, const std::string& path,
                                  const std::string& templ, const NameValues& values, RunJournal* journal)
{
    const std::string name
        = NameFromTemplate(templ, values.title, values.artist, values.album, values.year, values.genre);
    RenameOutcome outcome = RenameAskingForFreeName(path, name, prompt, journal);
    if (outcome.kind == RenameOutcome::Failed || outcome.kind == RenameOutcome::Refused
        || outcome.kind == RenameOutcome::Outside)
        dialogs.MsgBox(RenameFailedText(path, outcome), vbCritical);
    return outcome;
}

std::string RenameFailedText(const std::string& path, const RenameOutcome& outcome)
{
    const std::string refused = "Файл " + path + " не будет переименован в " + outcome.target + "." + CR + CR;
    if (outcome.kind == RenameOutcome::Refused && IsHiddenName(FileName(outcome.target)))
        return refused + "Имя файла не может начинаться с точки: такой файл был бы скрыт.";
    if (outcome.kind == RenameOutcome::Refused)
        return refused + "Имя папки не может начинаться с точки: файл в ней был бы скрыт.";
    if (outcome.kind == RenameOutcome::Outside)
        return refused + "Новое имя ведёт за пределы папки " + GetFolder(path) + ": файл остаётся в своей папке.";
    const std::string name = FileName(outcome.target);
    const std::string unfit = UnfitCharacters(name);
    std::string reason = Platform::ErrorText(outcome.error);
    if (VolumeRefusedName(path, outcome, unfit)) {
        reason = "Имя " + name + " недопустимо на этом томе.";
        if (!unfit.empty())
            reason += " Тома FAT, exFAT и NTFS не допускают в именах знаков " + unfit + ".";
    }
    std::string text = "Не удалось переименовать файл " + path + CR + "в " + outcome.target + "." + CR + CR + reason;
    if (!outcome.stranded.empty())
        text += std::string(CR) + CR + "Файл остался под временным именем " + outcome.stranded + ".";
    return text;
}

} // namespace Core
