// SPDX-License-Identifier: GPL-3.0-or-later
#include "Reports.h"

#include "Codepage.h"
#include "FileSystem.h"

#include <cstdio>
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

std::string StoppedText(const std::string& what, const std::string& counted, std::size_t changed,
                        std::size_t total)
{
    return what + " прервано. " + counted + ": " + std::to_string(changed) + " из " + std::to_string(total) + ".";
}

namespace {
constexpr std::size_t kNamedAtMost = 20;
} // namespace

void SkippedFiles::Add(const std::string& path, const std::string& why)
{
    if (lines_.size() < kNamedAtMost)
        lines_.push_back(path + " — " + why);
    ++count_;
}

std::string SkippedFiles::Text() const
{
    if (count_ == 0)
        return {};
    std::string text = std::string(CR) + CR + "Пропущены:";
    for (const std::string& line : lines_)
        text += CR + line;
    if (count_ > lines_.size())
        text += std::string(CR) + "и ещё " + std::to_string(count_ - lines_.size()) + ".";
    return text;
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

namespace {

// «ő» (U+0151); a control character by its number alone.
std::string Named(char32_t c)
{
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    if (c < 0xA0)
        return code;
    return "«" + Quenlar::Codepage::Utf8(c) + "» (" + code + ")";
}

} // namespace

bool MayStoreAsQuestionMarks(UserDialogs& dialogs, const std::u32string& lost, const std::string& where,
                             const std::string& question)
{
    if (lost.empty())
        return true;
    std::string list;
    for (const char32_t c : lost)
        list += (list.empty() ? "" : ", ") + Named(c);
    const std::string body = where + (lost.size() == 1 ? " есть знак, которого" : " есть знаки, которых")
        + " нет в кодировке тегов Windows-1251: " + list + "." + CR
        + (lost.size() == 1 ? "Он будет записан" : "Они будут записаны") + " как «?»." + CR + CR + question;
    return dialogs.MsgBox(body, vbYesNoWarning | vbDefaultButton2) == vbYes;
}

bool WriteAskingAboutReadOnly(UserDialogs& dialogs, const std::string& path, std::int32_t attributes,
                              const std::function<std::string()>& question, const std::function<void()>& write)
{
    std::optional<Platform::WritableScope> writable;
    if (attributes & Platform::faReadOnly) {
        if (dialogs.MsgBox(question(), vbYesNoQuestion) != vbYes)
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
