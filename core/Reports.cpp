#include "Reports.h"

#include "FileSystem.h"

namespace mdlMain {

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

std::string ReadOnlyNotRestoredText(const std::string& path, int errnum)
{
    return "Не удалось снова сделать файл " + path + " доступным только для чтения." + CR + CR
        + Platform::ErrorText(errnum);
}

} // namespace mdlMain
