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
class PromptOnDemand : public Core::ValuePrompt {
public:
    explicit PromptOnDemand(Core::UserDialogs& dialogs) : dialogs_(dialogs) {}
    std::string Ask(const std::string& path, const std::string& proposal) override
    {
        if (!prompt_)
            prompt_ = dialogs_.NewPrompt();
        return prompt_->Ask(path, proposal);
    }
    bool CancelPressed() const override { return prompt_ && prompt_->CancelPressed(); }

private:
    Core::UserDialogs& dialogs_;
    std::unique_ptr<Core::ValuePrompt> prompt_;
};

bool BlankOnly(const std::string& text)
{
    return text.find_first_not_of(' ') == std::string::npos;
}

} // namespace

void RunRename(const std::string& strFolder, const std::string& strTemplate, Quenlar::_TMP3Tag& objTag,
               Core::UserDialogs& dialogs)
{
    using Core::CutAtNull;
    if (BlankOnly(strTemplate)) {
        dialogs.MsgBox("Шаблон имени не задан", Core::vbCritical);
        return;
    }
    // The whole list is taken before the first rename, so a renamed file is not met again.
    const auto names = Core::ListMp3FilesOrReport(strFolder, dialogs);
    if (!names)
        return;
    for (const std::string& strName : *names) {
        const std::string strPath = strFolder + strName;
        if (!Platform::FileExists(strPath)) {
            dialogs.MsgBox(Core::MissingFileText(strPath), Core::vbCritical);
            continue;
        }
        try {
            objTag.TagRead(strPath);
        } catch (const Quenlar::LibraryError& error) {
            dialogs.MsgBox(Core::TagErrorText(strPath, error), Core::vbCritical);
            continue;
        }
        if (!objTag.ValidTag()) {
            dialogs.MsgBox("Неверный формат тегов в файле " + strPath, Core::vbCritical);
            continue;
        }
        PromptOnDemand prompt(dialogs);
        Core::RenameAfterTemplate(dialogs, prompt, strPath, strTemplate,
                                     {CutAtNull(objTag.Title()), CutAtNull(objTag.Artist()),
                                      CutAtNull(objTag.Album()), CutAtNull(objTag.Year()),
                                      objTag.GenreIDToName(objTag.Genre())});
    }
    dialogs.MsgBox("Процесс переименования завершен.", Core::vbInformation);
}

} // namespace Core
