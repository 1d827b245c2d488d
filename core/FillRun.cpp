// SPDX-License-Identifier: GPL-3.0-or-later
#include "FillRun.h"

#include "Codepage.h"
#include "FileSystem.h"
#include "Reports.h"
#include "RunLoop.h"
#include "TagObjects.h"

#include <functional>
#include <optional>

namespace Core {

namespace {

struct Failure {
    std::int32_t number; // the library's error number, 0 for any other failure
    std::string reason;
};

// Reads and fills one file, and writes it unless mayWrite refuses the texts
// the templates gave it; why that failed, if it did.
std::optional<Failure> FillOne(const std::string& strPath, const std::string& strName, const FillSettings& settings,
                               Quenlar::_TMP3Tag& objTag, const std::function<bool(const std::string&)>& mayWrite,
                               RunJournal* journal)
{
    try {
        objTag.TagRead(strPath);
        if (!mayWrite(FillTagFields(objTag, strName, settings)))
            return std::nullopt;
        if (journal)
            journal->WriteTag(objTag, strPath);
        else
            objTag.TagWrite(strPath, false);
        return std::nullopt;
    } catch (const Quenlar::LibraryError& error) {
        return Failure{error.Number(), TagErrorReason(strPath, error)};
    } catch (const JournalError& error) {
        return Failure{0, error.what()};
    } catch (const std::exception& failure) {
        return Failure{0, std::string("Непредвиденная ошибка: ") + failure.what()};
    }
}

// The warning about characters that the tags cannot hold: once before the
// run for the text of the window, and once during it at the first file whose
// name or tag brings in others.
class QuestionMarkWarning {
public:
    explicit QuestionMarkWarning(UserDialogs& dialogs) : dialogs_(dialogs) {}

    bool BeforeRun(const FillSettings& settings)
    {
        std::string texts;
        for (const TextSetting* s : {&settings.Title, &settings.Artist, &settings.Album, &settings.Comment,
                                     &settings.Year})
            if (s->Enabled)
                texts += s->Value;
        accepted_ = Quenlar::Codepage::CharactersNotHeld(texts);
        return MayStoreAsQuestionMarks(dialogs_, accepted_, "В шаблонах и полях", "Всё равно заполнить теги?");
    }

    // Texts are what the templates gave the file at path.
    bool AtFile(const std::string& path, const std::string& texts)
    {
        if (asked_)
            return true;
        std::u32string lost = Quenlar::Codepage::CharactersNotHeld(texts);
        std::erase_if(lost, [&](char32_t c) { return accepted_.find(c) != std::u32string::npos; });
        if (lost.empty())
            return true;
        asked_ = true;
        refused_ = !MayStoreAsQuestionMarks(dialogs_, lost, "В тегах, которые шаблоны дают файлу " + path + ",",
                                            "Продолжить заполнение? Об остальных файлах вопроса не будет.");
        return !refused_;
    }

    // The user answered No during the run: it stops.
    bool Refused() const { return refused_; }

private:
    UserDialogs& dialogs_;
    std::u32string accepted_; // agreed to before the run
    bool asked_ = false;
    bool refused_ = false;
};

} // namespace

FillEnd RunFill(const std::string& strFolder, const FillSettings& settings, Quenlar::_TMP3Tag& objTag,
                UserDialogs& dialogs, RunJournal* journal)
{
    QuestionMarkWarning warning(dialogs);
    if (!warning.BeforeRun(settings))
        return FillEnd::Declined;
    std::size_t changed = 0;
    FillEnd broken = FillEnd::Broken;
    const auto loop = ForEachMp3File(dialogs, strFolder, [&](const std::string& strPath, const std::string& strName) {
        const std::int32_t attributes = Platform::GetFileAttributesA(strPath);
        // Gone since the listing (a failed read gives every bit): no question about it.
        if (attributes == Platform::faInvalid || (attributes & Platform::faDirectory)) {
            dialogs.MsgBox(MissingFileText(strPath), vbCritical);
            return ItemEnd::Next;
        }
        const auto question = [&] {
            return "Файл " + strPath + " доступен только для чтения" + CR + CR + "Заполнить теги в этом файле?";
        };
        std::optional<Failure> error;
        const auto mayWrite = [&](const std::string& texts) { return warning.AtFile(strPath, texts); };
        if (!WriteAskingAboutReadOnly(dialogs, strPath, attributes, question,
                                      [&] { error = FillOne(strPath, strName, settings, objTag, mayWrite, journal); }))
            return ItemEnd::Next;
        if (warning.Refused())
            return ItemEnd::Stop;
        if (!error) {
            ++changed;
            return ItemEnd::Next;
        }
        if (error->number == Quenlar::errFileNotFound) {
            dialogs.MsgBox(MissingFileText(strPath), vbCritical);
            return ItemEnd::Next;
        }
        if (error->number == Quenlar::errPathFileAccess) {
            dialogs.MsgBox(std::string("Ошибка при попытке записи в файл") + CR + strPath + CR + CR + error->reason
                               + CR + CR + "Заполнение прервано.",
                           vbCritical);
            broken = FillEnd::WriteRefused;
            return ItemEnd::Break;
        }
        dialogs.MsgBox(std::string("Ошибка при заполнении тегов в файле") + CR + strPath + CR + CR + error->reason
                           + CR + CR + "Заполнение прервано.",
                       vbCritical);
        return ItemEnd::Break;
    });
    if (!loop)
        return FillEnd::NotListed;
    switch (loop->kind) {
    case LoopEnd::Stopped:
        dialogs.MsgBox(StoppedText("Заполнение тегов", "Изменено файлов", changed, loop->total), vbInformation);
        return FillEnd::Stopped;
    case LoopEnd::Broken:
        return broken;
    case LoopEnd::Finished:
        break;
    }
    dialogs.MsgBox("Заполнение тегов завершено.", vbInformation);
    return FillEnd::Completed;
}

} // namespace Core
