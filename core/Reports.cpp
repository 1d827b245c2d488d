#include "Reports.h"

#include "FileSystem.h"

#include <exception>

namespace Core {

std::optional<std::vector<std::string>> ListMp3FilesOrReport(const std::string& folder, UserDialogs& dialogs)
{
    int error = 0;
    std::vector<std::string> names = Platform::ListMp3Files(folder, &error);
    if (error == 0)
        return names;
    dialogs.MsgBox("Не удалось прочитать папку " + folder + std::string(CR) + CR + Platform::ErrorText(error),
                   vbCritical);
    return std::nullopt;
}

std::string MissingFileText(const std::string& path, const std::string& consequence)
{
    return "Файл " + path + " отсутствует" + consequence;
}

std::string ReadOnlyNotRestoredText(const std::string& path, int errnum)
{
    return "Не удалось снова сделать файл " + path + " доступным только для чтения." + CR + CR
        + Platform::ErrorText(errnum);
}

bool WriteAskingAboutReadOnly(UserDialogs& dialogs, const std::string& path, std::int32_t attributes,
                              const std::string& question, const std::function<void()>& write)
{
    std::optional<Platform::WritableScope> writable;
    if (attributes & Platform::faReadOnly) {
        if (dialogs.MsgBox(question, vbYesNoQuestion) != vbYes)
            return false;
        writable.emplace(path, attributes);
    }
    std::exception_ptr failure;
    try {
        write();
    } catch (...) {
        failure = std::current_exception();
    }
    if (writable)
        if (const int restoreError = writable->Restore())
            dialogs.MsgBox(ReadOnlyNotRestoredText(path, restoreError), vbCritical);
    if (failure)
        std::rethrow_exception(failure);
    return true;
}

} // namespace Core
