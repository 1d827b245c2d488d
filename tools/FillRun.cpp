#include "FillRun.h"

#include "FileSystem.h"

#include <optional>

namespace Tools {

using mdlMain::CR;

FillEnd RunFill(const std::string& strFolder, const FillSettings& settings, Quenlar::_TMP3Tag& objTag,
                mdlMain::UserDialogs& dialogs)
{
    std::string strPath; // the file at hand, for the error message
    try {
        for (const std::string& strName : Platform::ListMp3Files(strFolder)) {
            strPath = strFolder + strName;
            const std::int32_t attributes = Platform::GetFileAttributesA(strPath);
            std::optional<Platform::WritableScope> writable;
            if (attributes & Platform::faReadOnly) {
                const std::string question = "Файл " + strPath + " доступен только для чтения" + CR + CR +
                                             "Заполнить теги в этом файле?";
                if (dialogs.MsgBox(question, mdlMain::vbYesNoQuestion) != mdlMain::vbYes)
                    continue;
                writable.emplace(strPath, attributes);
            }
            objTag.TagRead(strPath);
            FillTagFields(objTag, strName, settings);
            objTag.TagWrite(strPath, false);
        }
    } catch (const Quenlar::LibraryError& error) {
        if (error.Number() != Quenlar::errPathFileAccess)
            return FillEnd::Broken;
        dialogs.MsgBox(std::string("Ошибка при попытке записи в файл") + CR + strPath + CR + CR +
                           "Заполнение прервано.",
                       mdlMain::vbCritical);
        return FillEnd::WriteRefused;
    } catch (const std::exception&) {
        return FillEnd::Broken;
    }
    dialogs.MsgBox("Заполнение тегов завершено.", mdlMain::vbInformation);
    return FillEnd::Completed;
}

} // namespace Tools
