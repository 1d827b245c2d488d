#include "RenameRun.h"

#include "FileSystem.h"
#include "Renaming.h"
#include "Reports.h"
#include "TagObjects.h"
#include "TextHelpers.h"

#include <memory>

namespace Core {

namespace {

// The prompt of one file, loaded only when its target turns out to be taken:
// a file whose target is free never pays for a dialog.
class PromptOnDemand : public ValuePrompt {
public:
    explicit PromptOnDemand(UserDialogs& dialogs) : dialogs_(dialogs) {}
    std::string Ask(const std::string& path, const std::string& proposal) override
    {
        if (!prompt_)
            prompt_ = dialogs_.NewPrompt();
        return prompt_->Ask(path, proposal);
    }
    bool CancelPressed() const override { return prompt_ && prompt_->CancelPressed(); }

private:
    UserDialogs& dialogs_;
    std::unique_ptr<ValuePrompt> prompt_;
};

bool BlankOnly(const std::string& text)
{
    return text.find_first_not_of(' ') == std::string::npos;
}

} // namespace

RenameEnd RunRename(const std::string& strFolder, const std::string& strTemplate, Quenlar::_TMP3Tag& objTag,
               UserDialogs& dialogs, RunJournal* journal)
{
    if (BlankOnly(strTemplate)) {
        dialogs.MsgBox("Шаблон имени не задан", vbCritical);
        return RenameEnd::NoTemplate;
    }
    // The whole list is taken before the first rename, so a renamed file is not met again.
    const auto names = ListMp3FilesOrReport(strFolder, dialogs);
    if (!names)
        return RenameEnd::NotListed;
    std::size_t done = 0, renamed = 0;
    for (const std::string& strName : *names) {
        const std::string strPath = strFolder + strName;
        if (!dialogs.Progress(done++, names->size(), strPath)) {
            dialogs.MsgBox(StoppedText("Переименование", "Переименовано файлов", renamed, names->size()),
                           vbInformation);
            return RenameEnd::Stopped;
        }
        if (!Platform::FileExists(strPath)) {
            dialogs.MsgBox(MissingFileText(strPath), vbCritical);
            continue;
        }
        try {
            objTag.TagRead(strPath);
        } catch (const Quenlar::LibraryError& error) {
            dialogs.MsgBox(TagErrorText(strPath, error), vbCritical);
            continue;
        }
        if (!objTag.ValidTag()) {
            dialogs.MsgBox("Неверный формат тегов в файле " + strPath, vbCritical);
            continue;
        }
        if (journal)
            journal->Identify(strPath, objTag);
        PromptOnDemand prompt(dialogs);
        RenameOutcome outcome{RenameOutcome::Cancelled, strPath};
        try {
            outcome = RenameAfterTemplate(dialogs, prompt, strPath, strTemplate,
                                          {CutAtNull(objTag.Title()), CutAtNull(objTag.Artist()),
                                           CutAtNull(objTag.Album()), CutAtNull(objTag.Year()),
                                           objTag.GenreIDToName(objTag.Genre())},
                                          journal);
        } catch (const JournalError& error) {
            dialogs.MsgBox(std::string("Ошибка при переименовании файла") + CR + strPath + CR + CR + error.what() + CR
                               + CR + "Переименование прервано.",
                           vbCritical);
            return RenameEnd::Broken;
        }
        if (outcome.kind == RenameOutcome::Renamed)
            ++renamed;
    }
    dialogs.MsgBox("Процесс переименования завершен.", vbInformation);
    return RenameEnd::Completed;
}

} // namespace Core
