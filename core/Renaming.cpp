#include "Renaming.h"

#include "FileSystem.h"
#include "Journal.h"
#include "Paths.h"
#include "TextHelpers.h"

#include <algorithm>

namespace Core {

namespace {

// A tag value as part of a file name: "AC/DC" must not aim into a folder
// "AC", nor "/../x" out of the chosen one.
std::string InName(std::string value)
{
    std::replace(value.begin(), value.end(), '/', '-');
    return value;
}

} // namespace

std::string NameFromTemplate(const std::string& templ, const std::string& title, const std::string& artist,
                             const std::string& album, const std::string& year, const std::string& genre)
{
    // One after the other: a value that holds a later placeholder has it
    // replaced as well.
    std::string name = ReplaceAll(templ, "%1", InName(title));
    name = ReplaceAll(name, "%2", InName(artist));
    name = ReplaceAll(name, "%3", InName(album));
    name = ReplaceAll(name, "%4", InName(year));
    name = ReplaceAll(name, "%5", InName(genre));
    if (!name.ends_with(".mp3"))
        name += ".mp3";
    return name;
}

RenameOutcome RenameAskingForFreeName(const std::string& path, std::string target, ValuePrompt& prompt,
                                      RunJournal* journal)
{
    while (Platform::FileExists(target)) {
        const std::string answer = prompt.Ask(path, target);
        if (answer.empty())
            break;
        target = answer;
    }
    if (prompt.CancelPressed())
        return {RenameOutcome::Cancelled, target};
    // The listings, the open dialog and both tools skip such a file: it would
    // vanish from the program.
    if (IsHiddenName(FileName(target)))
        return {RenameOutcome::Refused, target};
    if (const int error = journal ? journal->Rename(path, target) : Platform::RenameFile(path, target))
        return {RenameOutcome::Failed, target, error};
    return {RenameOutcome::Renamed, target};
}

RenameOutcome RenameAfterTemplate(UserDialogs& dialogs, ValuePrompt& prompt, const std::string& path,
                                  const std::string& templ, const NameValues& values, RunJournal* journal)
{
    const std::string name
        = NameFromTemplate(templ, values.title, values.artist, values.album, values.year, values.genre);
    RenameOutcome outcome = RenameAskingForFreeName(path, GetFolder(path) + name, prompt, journal);
    if (outcome.kind == RenameOutcome::Failed || outcome.kind == RenameOutcome::Refused)
        dialogs.MsgBox(RenameFailedText(path, outcome), vbCritical);
    return outcome;
}

std::string RenameFailedText(const std::string& path, const RenameOutcome& outcome)
{
    if (outcome.kind == RenameOutcome::Refused)
        return "Файл " + path + " не будет переименован в " + outcome.target + "." + CR + CR
            + "Имя файла не может начинаться с точки: такой файл был бы скрыт.";
    return "Не удалось переименовать файл " + path + std::string(CR) + "в " + outcome.target + "." + CR + CR
        + Platform::ErrorText(outcome.error);
}

} // namespace Core
