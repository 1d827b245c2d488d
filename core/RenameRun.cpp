// SPDX-License-Identifier: GPL-3.0-or-later
#include "RenameRun.h"

#include "FileSystem.h"
#include "Renaming.h"
#include "Reports.h"
#include "RunLoop.h"
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
    std::size_t renamed = 0;
    const auto loop = ForEachMp3File(dialogs, strFolder, [&](const std::string& strPath, const std::string&) {
        if (!Platform::FileExists(strPath)) {
            dialogs.MsgBox(MissingFileText(strPath), vbCritical);
            return ItemEnd::Next;
        }
        try {
            objTag.TagRead(strPath);
        } catch (const Quenlar::LibraryError& error) {
            dialogs.MsgBox(TagErrorText(strPath, error), vbCritical);
            return ItemEnd::Next;
        }
        if (!objTag.ValidTag()) {
            dialogs.MsgBox("Неверный формат тегов в файле " + strPath, vbCritical);
            return ItemEnd::Next;
        }
        if (journal)
            journal->Identify(strPath, objTag);
        PromptOnDemand prompt(dialogs);
        try {
            const RenameOutcome outcome = RenameAfterTemplate(
                dialogs, prompt, strPath, strTemplate,
                {CutAtNull(objTag.Title()), CutAtNull(objTag.Artist()), CutAtNull(objTag.Album()),
                 CutAtNull(objTag.Year()), objTag.GenreIDToName(objTag.Genre())},
                journal);
            renamed += outcome.kind == RenameOutcome::Renamed;
        } catch (const JournalError& error) {
            dialogs.MsgBox(std::string("Ошибка при переименовании файла") + CR + strPath + CR + CR + error.what() + CR
                               + CR + "Переименование прервано.",
                           vbCritical);
            return ItemEnd::Break;
        }
        return ItemEnd::Next;
    });
    if (!loop)
        return RenameEnd::NotListed;
    switch (loop->kind) {
    case LoopEnd::Stopped:
        dialogs.MsgBox(StoppedText("Переименование", "Переименовано файлов", renamed, loop->total), vbInformation);
        return RenameEnd::Stopped;
    case LoopEnd::Broken:
        return RenameEnd::Broken;
    case LoopEnd::Finished:
        break;
    }
    dialogs.MsgBox("Процесс переименования завершен.", vbInformation);
    return RenameEnd::Completed;
}

} // namespace Core
