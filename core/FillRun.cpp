#include "FillRun.h"

#include "FileSystem.h"
#include "Reports.h"
#include "TagObjects.h"

#include <optional>

namespace Core {

namespace {

struct Failure {
    std::int32_t number; // the library's error number, 0 for any other failure
    std::string reason;
};

// Reads, fills and writes one file; why that failed, if it did.
std::optional<Failure> FillOne(const std::string& strPath, const std::string& strName, const FillSettings& settings,
                               Quenlar::_TMP3Tag& objTag, RunJournal* journal)
{
    try {
        objTag.TagRead(strPath);
        FillTagFields(objTag, strName, settings);
        if (journal)
            journal->WriteTag(objTag, strPath);
        else
            objTag.TagWrite(strPath, false);
        return std::nullopt;
    } catch (const Quenlar::LibraryError& error) {
        return Failure{error.Number(), LibraryErrorText(error)};
    } catch (const JournalError& error) {
        return Failure{0, error.what()};
    } catch (const std::exception& failure) {
        return Failure{0, std::string("Непредвиденная ошибка: ") + failure.what()};
    }
}

} // namespace

FillEnd RunFill(const std::string& strFolder, const FillSettings& settings, Quenlar::_TMP3Tag& objTag,
                UserDialogs& dialogs, RunJournal* journal)
{
    const auto names = ListMp3FilesOrReport(strFolder, dialogs);
    if (!names)
        return FillEnd::NotListed;
    std::size_t done = 0, changed = 0;
    for (const std::string& strName : *names) {
        const std::string strPath = strFolder + strName;
        if (!dialogs.Progress(done++, names->size(), strPath)) {
            dialogs.MsgBox(StoppedText("Заполнение тегов", "Изменено файлов", changed, names->size()),
                           vbInformation);
            return FillEnd::Stopped;
        }
        const std::int32_t attributes = Platform::GetFileAttributesA(strPath);
        // Gone since the listing (a failed read gives every bit): no question about it.
        if (attributes == Platform::faInvalid || (attributes & Platform::faDirectory)) {
            dialogs.MsgBox(MissingFileText(strPath), vbCritical);
            continue;
        }
        const std::string question
            = "Файл " + strPath + " доступен только для чтения" + CR + CR + "Заполнить теги в этом файле?";
        std::optional<Failure> error;
        if (!WriteAskingAboutReadOnly(dialogs, strPath, attributes, question,
                                      [&] { error = FillOne(strPath, strName, settings, objTag, journal); }))
            continue;
        if (!error) {
            ++changed;
            continue;
        }
        if (error->number == Quenlar::errFileNotFound) {
            dialogs.MsgBox(MissingFileText(strPath), vbCritical);
            continue;
        }
        if (error->number == Quenlar::errPathFileAccess) {
            dialogs.MsgBox(std::string("Ошибка при попытке записи в файл") + CR + strPath + CR + CR +
                               "Заполнение прервано.",
                           vbCritical);
            return FillEnd::WriteRefused;
        }
        dialogs.MsgBox(std::string("Ошибка при заполнении тегов в файле") + CR + strPath + CR + CR +
                           error->reason + CR + CR + "Заполнение прервано.",
                       vbCritical);
        return FillEnd::Broken;
    }
    dialogs.MsgBox("Заполнение тегов завершено.", vbInformation);
    return FillEnd::Completed;
}

} // namespace Core
