#include "Renaming.h"

#include "FileSystem.h"
#include "TextHelpers.h"

namespace mdlMain {

std::string NameFromTemplate(const std::string& templ, const std::string& title, const std::string& artist,
                             const std::string& album, const std::string& year, const std::string& genre)
{
    // One after the other: a value that holds a later placeholder has it
    // replaced as well.
    std::string name = ReplaceAll(templ, "%1", title);
    name = ReplaceAll(name, "%2", artist);
    name = ReplaceAll(name, "%3", album);
    name = ReplaceAll(name, "%4", year);
    name = ReplaceAll(name, "%5", genre);
    if (!name.ends_with(".mp3"))
        name += ".mp3";
    return name;
}

RenameOutcome RenameAskingForFreeName(const std::string& path, std::string target, ValuePrompt& prompt)
{
    while (Platform::FileExists(target)) {
        const std::string answer = prompt.Ask(path, target);
        if (answer.empty())
            break;
        target = answer;
    }
    if (prompt.CancelPressed())
        return {RenameOutcome::Cancelled, target};
    if (const int error = Platform::RenameFile(path, target))
        return {RenameOutcome::Failed, target, error};
    return {RenameOutcome::Renamed, target};
}

std::string RenameFailedText(const std::string& path, const RenameOutcome& outcome)
{
    return "Не удалось переименовать файл " + path + std::string(CR) + "в " + outcome.target + "." + CR + CR
        + Platform::ErrorText(outcome.error);
}

} // namespace mdlMain
